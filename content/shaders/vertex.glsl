uniform mat4 projection;
attribute vec4 position;
attribute vec2 uvIn;
varying vec2 uv;

void main()
{
    uv = uvIn;
    gl_Position = projection * position;
#ifdef SCENE_SCRIPT
    scene_script();
#endif
}
