// Title scene: white ground, a pulsing twelve-pointed star from 4 to 17 s, and sprites cut from
// the title atlas, each faded in and out in its own time window. Times are seconds of scene
// time; uv runs from (0, 0) at the viewport's top left to (1, 1) at its bottom right.
//
// Each draw covers part of the viewport and composes, in order, the star (in the variant built
// with STAR defined) and the elements it is given; it writes the finished picture, already laid
// over white, so it is drawn without blending.
varying vec2 uv;
uniform sampler2D sampler;
uniform float time;

uniform vec2 star_window; // (show, hide): the star is drawn strictly between the two

// The elements this draw composes, in composition order: the first element_count entries.
const int max_elements = 10;
uniform int element_count;
uniform vec4 element_uv[max_elements];       // sprite rectangle in the atlas: (u, v, width, height)
uniform vec4 element_pos[max_elements];      // screen rectangle in uv units: (x, y, w, h)
uniform vec3 element_timing[max_elements];   // (fade length, start, finish), seconds
uniform float element_additive[max_elements]; // 1.0: added; 0.0: covers what lies beneath

const vec4 onevec = vec4(1.0, 1.0, 1.0, 1.0);
const float bg_fade = 0.5;

// The star: a warm fill, transparent at the centre, inside a light-blue outline. Its alpha
// ramps in over the first and out over the last half second of its window.
vec4 render_background()
{
    vec2 pos = (uv - vec2(0.5, 0.5)) * vec2(2.0, 1.125);
    float radius = length(pos);
    float d = 0.0;
    if (radius > 0.0) {
        float theta = atan(pos.x, pos.y);
        float depth = sin(theta + 3.1 * sin(2.3 * time) * sin(time));
        d = radius * (1.2 + sin(12.0 * theta + 4.0 * time) * 0.6 * depth);
    }

    vec4 color;
    if (d > 0.8)
        color = vec4(0.0, 0.0, 0.0, 0.0);
    else if (d > 0.75)
        color = vec4(0.30, 0.75, 1.0, 1.0);
    else
        color = vec4(1.0, 0.7, d * d * d, d * d);

    if (time < star_window.x + bg_fade)
        color.a *= 1.0 + (time - (star_window.x + bg_fade)) / bg_fade;
    else if (time > star_window.y - bg_fade)
        color.a *= 1.0 - (time - (star_window.y - bg_fade)) / bg_fade;
    return color;
}

// One sprite stretched over its screen rectangle pos = (x, y, w, h), edges included, with its
// alpha faded over `speed` seconds after `start` and before `finish`.
vec4 render_object(vec4 obj_uv, vec4 pos, float speed, float start, float finish)
{
    if (uv.x < pos.x || uv.y < pos.y || uv.x > pos.x + pos.z || uv.y > pos.y + pos.w)
        return vec4(0.0, 0.0, 0.0, 0.0);

    vec2 p = (uv - pos.xy) / pos.zw;
    vec4 color = texture2D(sampler, obj_uv.xy + p * obj_uv.zw);

    float start_val = start + speed;
    float finish_val = finish - speed;
    if (time < start_val)
        color.a *= clamp(1.0 + (time - start_val) / speed, 0.0, 1.0);
    else if (time > finish_val)
        color.a *= clamp(1.0 - (time - finish_val) / speed, 0.0, 1.0);
    return color;
}

// The element's premultiplied colour covers what lies beneath.
vec4 cover(vec4 color, vec4 s)
{
    return vec4(color.rgb * (1.0 - s.a) + s.rgb, color.a + s.a);
}

// The element's colour is added and never darkens what lies beneath.
vec4 add(vec4 color, vec4 s)
{
    return vec4(color.rgb + s.rgb * s.a, color.a + s.a);
}

void main()
{
    vec4 color = onevec;
#ifdef STAR
    color = render_background();
#endif

    for (int i = 0; i < max_elements; i++) {
        if (i >= element_count)
            break;
        vec4 s = render_object(element_uv[i], element_pos[i], element_timing[i].x,
                               element_timing[i].y, element_timing[i].z);
        color = element_additive[i] > 0.5 ? add(color, s) : cover(color, s);
    }

    // The colour saturates to 0..1 and is laid over white by its alpha.
    color = clamp(color, 0.0, 1.0);
    gl_FragColor = vec4(color.rgb * color.a + (1.0 - color.a), 1.0);
}
