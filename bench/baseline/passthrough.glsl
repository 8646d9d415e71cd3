varying vec2 uv;
uniform sampler2D sampler;
uniform float time;

void main()
{
    gl_FragColor = texture2D(sampler, uv);
}
