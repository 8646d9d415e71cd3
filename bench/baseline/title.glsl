// Title scene: white ground, a pulsing twelve-pointed star from 4 to 17 s, and ten sprites cut
// from the title atlas, each faded in and out in its own time window. Times are seconds of scene
// time; uv runs from (0, 0) at the viewport's top left to (1, 1) at its bottom right.
varying vec2 uv;
uniform sampler2D sampler;
uniform float time;

// Sprite rectangles in the atlas: (u, v, width, height) in texture coordinates.
uniform vec4 uv_called;
uniform vec4 uv_heregoes;
uniform vec4 uv_kelpworks;
uniform vec4 uv_wisp;
uniform vec4 uv_wisplogo;
uniform vec4 uv_presents;
uniform vec4 uv_duskmere;
uniform vec4 uv_suchwisp;
uniform vec4 uv_veryquill;
uniform vec4 uv_wow;

const vec4 onevec = vec4(1.0, 1.0, 1.0, 1.0);

const float bg_show = 4.0;
const float bg_hide = 17.0;
const float bg_fade = 0.5;

const float kelp_start = 1.5;
const float kelp_finish = 3.9;
const float presents_start = 4.0;
const float presents_finish = 5.6;
const float duskmere_start = 5.8;
const float duskmere_finish = 8.0;
const float called_start = 6.8;
const float called_finish = 8.0;
const float wisplogo_start = 8.2;
const float wisplogo_finish = 14.8;
const float wisp_start = 8.2;
const float wisp_finish = 14.8;
const float wow_start = 11.5;
const float wow_finish = 12.3;
const float suchwisp_start = 12.5;
const float suchwisp_finish = 12.9;
const float veryquill_start = 13.0;
const float veryquill_finish = 14.3;
const float heregoes_start = 15.5;
const float heregoes_finish = 17.5;

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

    if (time < bg_show + bg_fade)
        color.a *= 1.0 + (time - (bg_show + bg_fade)) / bg_fade;
    else if (time > bg_hide - bg_fade)
        color.a *= 1.0 - (time - (bg_hide - bg_fade)) / bg_fade;
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

bool shown(float start, float finish)
{
    return start < time && time < finish;
}

// While its window is open, the element's premultiplied colour covers what lies beneath.
vec4 cover(vec4 color, vec4 obj_uv, vec4 pos, float speed, float start, float finish)
{
    if (!shown(start, finish))
        return color;
    vec4 s = render_object(obj_uv, pos, speed, start, finish);
    return vec4(color.rgb * (1.0 - s.a) + s.rgb, color.a + s.a);
}

// While its window is open, the element's colour is added and never darkens what lies beneath.
vec4 add(vec4 color, vec4 obj_uv, vec4 pos, float speed, float start, float finish)
{
    if (!shown(start, finish))
        return color;
    vec4 s = render_object(obj_uv, pos, speed, start, finish);
    return vec4(color.rgb + s.rgb * s.a, color.a + s.a);
}

void main()
{
    vec4 color = onevec;
    if (shown(bg_show, bg_hide))
        color = render_background();

    // Screen rectangles (x, y, w, h) in uv units; the group logo slides left as it shows.
    color = cover(color, uv_kelpworks, vec4(0.3 - time / 22.0, 0.2, 0.7, 0.6), 0.8, kelp_start, kelp_finish);
    color = cover(color, uv_presents, vec4(0.3, 0.45, 0.4, 0.1), 0.2, presents_start, presents_finish);
    color = cover(color, uv_duskmere, vec4(0.15, 0.45, 0.7, 0.1), 0.2, duskmere_start, duskmere_finish);
    color = cover(color, uv_called, vec4(0.65, 0.6, 0.2, 0.08), 0.3, called_start, called_finish);
    color = add(color, uv_wisplogo, vec4(0.025, 0.2, 0.55, 0.5), 0.3, wisplogo_start, wisplogo_finish);
    color = cover(color, uv_wisp, vec4(0.62, 0.35, 0.28, 0.35), 0.2, wisp_start, wisp_finish);
    color = cover(color, uv_wow, vec4(0.6, 0.3, 0.06, 0.05), 0.3, wow_start, wow_finish);
    color = cover(color, uv_suchwisp, vec4(0.8, 0.33, 0.12, 0.09), 0.2, suchwisp_start, suchwisp_finish);
    color = cover(color, uv_veryquill, vec4(0.8, 0.67, 0.14, 0.1), 0.3, veryquill_start, veryquill_finish);
    color = cover(color, uv_heregoes, vec4(0.3, 0.45, 0.4, 0.1), 0.3, heregoes_start, heregoes_finish);

    gl_FragColor = color;
}
