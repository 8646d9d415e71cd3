// Title scene: white ground, a pulsing twelve-pointed star from 4 to 17 s, and sprites cut from
// the title atlas, each faded in and out in its own time window. Times are seconds of scene
// time; uv runs from (0, 0) at the viewport's top left to (1, 1) at its bottom right.
//
// Each draw covers part of the viewport and composes, in order, the star (in the variants built
// with STAR defined) and the ELEMENTS elements it is given (a define, 1 unless set); it writes the finished picture, already laid
// over white, so it is drawn without blending. The star's shape comes from angle-sum identities,
// except where STAR_EXACT is defined too: that variant runs the shape's literal arithmetic, with
// the phases title_star_script.glsl works out in the vertex stage, and is drawn over the star's
// hard edges, where the last digit decides a pixel's colour.
varying vec2 uv;
uniform sampler2D sampler;
#ifdef STAR_EXACT
varying float star_turn; // phi = 3.1 sin(2.3 time) sin(time), from the vertex stage
varying float star_spin; // 4 time, from the vertex stage
#endif

uniform float star_fade;  // the star's alpha factor: it ramps in and out over half a second
uniform vec4 star_phase;  // (cos phi, sin phi, cos 4 time, sin 4 time), phi = 3.1 sin(2.3 time) sin(time)

#ifndef ELEMENTS
#define ELEMENTS 1
#endif
#if ELEMENTS > 0
// The elements this draw composes, in composition order.
uniform vec4 element_uv[ELEMENTS];       // sprite rectangle in the atlas: (u, v, width, height)
uniform vec4 element_pos[ELEMENTS];      // screen rectangle in uv units: (x, y, w, h)
uniform float element_fade[ELEMENTS];    // alpha factor, ramping in and out over its fade length
uniform float element_additive[ELEMENTS]; // 1.0: added; 0.0: covers what lies beneath
#endif

const vec4 onevec = vec4(1.0, 1.0, 1.0, 1.0);

// The star: a warm fill, transparent at the centre, inside a light-blue outline, its alpha
// multiplied by star_fade.
vec4 render_background()
{
    vec2 pos = (uv - vec2(0.5, 0.5)) * vec2(2.0, 1.125);
    float radius = length(pos);
    float d = 0.0;
    if (radius > 0.0) {
#ifdef STAR_EXACT
        float theta = atan(pos.x, pos.y);
        float depth = sin(theta + star_turn);
        d = radius * (1.2 + sin(12.0 * theta + star_spin) * 0.6 * depth);
#else
        // theta = atan(pos.x, pos.y): z = (cos theta, sin theta), and z to the twelfth power
        // gives (cos 12 theta, sin 12 theta).
        vec2 z = vec2(pos.y, pos.x) / radius;
        vec2 z2 = vec2(z.x * z.x - z.y * z.y, 2.0 * z.x * z.y);
        vec2 z4 = vec2(z2.x * z2.x - z2.y * z2.y, 2.0 * z2.x * z2.y);
        vec2 z8 = vec2(z4.x * z4.x - z4.y * z4.y, 2.0 * z4.x * z4.y);
        vec2 z12 = vec2(z8.x * z4.x - z8.y * z4.y, z8.x * z4.y + z8.y * z4.x);
        float depth = z.y * star_phase.x + z.x * star_phase.y;
        float points = z12.y * star_phase.z + z12.x * star_phase.w;
        d = radius * (1.2 + points * 0.6 * depth);
#endif
    }

    vec4 color;
    if (d > 0.8)
        color = vec4(0.0, 0.0, 0.0, 0.0);
    else if (d > 0.75)
        color = vec4(0.30, 0.75, 1.0, 1.0);
    else
        color = vec4(1.0, 0.7, d * d * d, d * d);

    color.a *= star_fade;
    return color;
}

// One sprite stretched over its screen rectangle pos = (x, y, w, h), edges included, with its
// alpha multiplied by `fade`.
vec4 render_object(vec4 obj_uv, vec4 pos, float fade)
{
    if (uv.x < pos.x || uv.y < pos.y || uv.x > pos.x + pos.z || uv.y > pos.y + pos.w)
        return vec4(0.0, 0.0, 0.0, 0.0);

    vec2 p = (uv - pos.xy) / pos.zw;
    vec4 color = texture2D(sampler, obj_uv.xy + p * obj_uv.zw);
    color.a *= fade;
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

#if ELEMENTS > 0
    for (int i = 0; i < ELEMENTS; i++) {
        vec4 s = render_object(element_uv[i], element_pos[i], element_fade[i]);
        color = element_additive[i] > 0.5 ? add(color, s) : cover(color, s);
    }
#endif

    // The colour saturates to 0..1 and is laid over white by its alpha.
    color = clamp(color, 0.0, 1.0);
    gl_FragColor = vec4(color.rgb * color.a + (1.0 - color.a), 1.0);
}
