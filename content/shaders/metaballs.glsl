// Metaballs scene: five spheres blended by a smooth minimum, ray-marched from an eye behind the
// screen, over white. Their size, lighting and motion follow the scene time in seconds, by the
// time script of metaballs_script.glsl, which the vertex stage runs.
// Screen directions: +x right, +y down, +z into the screen.
varying vec2 uv;
uniform sampler2D sampler;

const int march_steps = 40;
const vec3 light_pos = vec3(-2.0, -4.0, -1.0);
const vec3 c_light_pos = vec3(2.0, 4.0, 0.0);
const float ar = 0.5625; // viewport height per unit of width

// From the time script, worked out in the vertex stage for the scene time.
varying float ball_size;
varying float diffuse_amount;
varying float specular_amount;
varying float motion_time; // seconds of ball motion
varying vec3 ball_pos[5];

float sphere_distance(vec3 q, vec3 centre, float size)
{
    return length(q - centre) - size;
}

// 1 / ball_size, worked out once a pixel, so that the march and the shading multiply rather than
// divide: some implementations, SwiftShader's among them, divide at full precision at a high cost.
float inv_size;

// Polynomial smooth minimum with blending radius ball_size.
float smin(float a, float b)
{
    float h = clamp(0.5 + 0.5 * (b - a) * inv_size, 0.0, 1.0);
    return b * (1.0 - h) + a * h - ball_size * h * (1.0 - h);
}

// The balls are visited in order 0 to 4 and each is read with a constant index: a varying array
// indexed by a loop counter is read through an indexed load on every pixel by some
// implementations, SwiftShader's among them, which made the march much slower there.

// The blend starts from the first ball's own distance, which is exactly what the smooth minimum
// of it and a far value of 10000 gives.
float metaballs_distance(vec3 q)
{
    float d = sphere_distance(q, ball_pos[0], ball_size);
    d = smin(d, sphere_distance(q, ball_pos[1], ball_size));
    d = smin(d, sphere_distance(q, ball_pos[2], ball_size));
    d = smin(d, sphere_distance(q, ball_pos[3], ball_size));
    d = smin(d, sphere_distance(q, ball_pos[4], ball_size));
    return d;
}

// The normal n so far with the ball about `centre` blended in, weighted by how deep q lies
// inside it. The blend is worked out for every ball and kept by a select rather than under an if:
// SwiftShader runs both sides of a branch anyway, and merging what a branch assigned costs it a
// masked store for every component.
vec3 add_ball_normal(vec3 n, vec3 q, vec3 centre)
{
    vec3 v = q - centre;
    float len = length(v);
    float d = len - ball_size;
    vec3 ni = v * (1.0 / len);
    vec3 start = dot(n, n) == 0.0 ? ni : n;
    float w = (ball_size - d) * inv_size;
    // smoothstep(0, 1, smoothstep(0, 1, 1 - w)), written out.
    float t = clamp(1.0 - w, 0.0, 1.0);
    t = t * t * (3.0 - 2.0 * t);
    t = t * t * (3.0 - 2.0 * t);
    vec3 blended = normalize(w * ni + t * start);
    return d < ball_size ? blended : n;
}

// The balls' own normals, each weighted by how deep q lies inside its ball.
vec3 metaballs_normal(vec3 q)
{
    vec3 n = vec3(0.0, 0.0, 0.0);
    n = add_ball_normal(n, q, ball_pos[0]);
    n = add_ball_normal(n, q, ball_pos[1]);
    n = add_ball_normal(n, q, ball_pos[2]);
    n = add_ball_normal(n, q, ball_pos[3]);
    n = add_ball_normal(n, q, ball_pos[4]);
    return normalize(n);
}

// x to the fourth, by two squarings rather than an exp2 and a log2.
float fourth_power(float x)
{
    float x2 = x * x;
    return x2 * x2;
}

// Dark red base, red diffuse light, a white highlight and a blue one from a second light. Each
// highlight takes the reflected light's component along +z, the way the eye looks; reflecting a
// unit vector about the unit normal leaves it a unit vector.
vec4 render_sphere(vec3 q)
{
    vec3 n = metaballs_normal(q);

    vec3 l = normalize(light_pos - q);
    float diffuse = max(dot(n, l), 0.0) * diffuse_amount;
    vec3 r = reflect(l, n);
    float specular = fourth_power(max(r.z, 0.0)) * specular_amount;

    vec3 lc = normalize(c_light_pos - q);
    vec3 rc = reflect(lc, n);
    float blue = fourth_power(max(rc.z, 0.0)) * specular_amount;

    return vec4(0.1 + 0.5 * diffuse + specular, specular, specular + 0.7 * blue,
                1.0 + diffuse + specular + blue);
}

// How much further than the bound below a point may lie, so that float rounding in the distance
// field cannot carry it past the bound unnoticed.
const float bound_margin = 0.01;

// The most the smooth minimum of the five balls' distances can lie below the least of them, per
// unit of k: smin is non-decreasing in both inputs and lowers two equal ones by k / 4, so five
// equal distances are the worst case, lowered by 0.25, 0.1406, 0.0928 and 0.0667 k in turn.
const float blend_reach = 0.5502;

// The span (first entry, last exit) widened to where the ray o + s r (|r| = 1) runs inside the
// sphere of `radius` about `centre`.
vec2 add_bound(vec2 span, vec3 o, vec3 r, vec3 centre, float radius)
{
    vec3 oc = o - centre;
    float b = dot(oc, r);
    float disc = b * b - (dot(oc, oc) - radius * radius);
    if (disc > 0.0) {
        float root = sqrt(disc);
        span.x = min(span.x, -b - root);
        span.y = max(span.y, -b + root);
    }
    return span;
}

// Where the ray o + s r (s >= 0, |r| = 1) runs inside some ball's bound: a sphere of radius
// (1 + blend_reach) ball_size + 0.01 + margin about its centre. Outside every bound each ball's
// distance is at least blend_reach ball_size + 0.01, so the blended distance stays at or above
// 0.01, where the march changes nothing. Returns (first entry, last exit) along the ray;
// first > last when the ray meets no bound.
vec2 bound_span(vec3 o, vec3 r)
{
    float radius = (1.0 + blend_reach) * ball_size + 0.01 + bound_margin;
    vec2 span = vec2(1.0e9, -1.0e9);
    span = add_bound(span, o, r, ball_pos[0], radius);
    span = add_bound(span, o, r, ball_pos[1], radius);
    span = add_bound(span, o, r, ball_pos[2], radius);
    span = add_bound(span, o, r, ball_pos[3], radius);
    span = add_bound(span, o, r, ball_pos[4], radius);
    return span;
}

// How many of a ray's steps within 0.01 of the surface are gathered before they are shaded.
const int shade_slots = 4;

// Marches 40 steps with no far limit. Passing within 0.01 of the surface darkens the colour
// (dark rims along silhouettes); reaching 0.001 takes the shaded colour and ends the march.
// A ray that never enters a bound stays as it is, and the steps after the last bound's exit
// would change nothing, so the march ends there. The shading does not steer the march, so the
// steps within 0.01 are gathered while marching and shaded afterwards, in the order taken, a few
// at a time: only those steps pay for it, not every step of the march. A hit's colour replaces
// the darkened one, so the steps gathered before it in its batch are dropped unshaded.
vec4 march(vec3 o, vec3 r, vec4 color)
{
    vec2 span = bound_span(o, r);
    if (span.y < 0.0 || span.x > span.y)
        return color;
    float s = 0.0;
    int steps = 0;
    bool ended = false;
    for (int batch = 0; batch < march_steps; batch++) {
        float near_s[shade_slots]; // distance travelled at each gathered step
        int gathered = 0;
        bool hit = false; // a step reached 0.001; it is then the only one gathered
        for (int i = 0; i < march_steps; i++) {
            if (ended || steps >= march_steps || gathered == shade_slots)
                break;
            if (s > span.y) {
                ended = true;
                break;
            }
            vec3 q = o + s * r;
            float d = metaballs_distance(q);
            if (d <= 0.001) {
                near_s[0] = s;
                gathered = 1;
                hit = true;
                ended = true;
                break;
            }
            if (d < 0.01) {
                if (gathered == 0)
                    near_s[0] = s;
                else if (gathered == 1)
                    near_s[1] = s;
                else if (gathered == 2)
                    near_s[2] = s;
                else
                    near_s[3] = s;
                gathered++;
            }
            s += d;
            steps++;
        }
        for (int k = 0; k < shade_slots; k++) {
            if (k >= gathered)
                break;
            // A constant index for each slot, as for the balls above.
            float near = k == 0 ? near_s[0] : k == 1 ? near_s[1] : k == 2 ? near_s[2] : near_s[3];
            vec4 c = render_sphere(o + near * r);
            if (hit)
                return c;
            color -= vec4(0.04 * c.a);
        }
        if (ended || steps >= march_steps)
            break;
    }
    return color;
}

void main()
{
    inv_size = 1.0 / ball_size;
    vec2 p = vec2(uv.x * (0.8 / ar) - 0.4 / ar, uv.y * 0.8 - 0.4);
    vec4 color = vec4(1.0, 1.0, 1.0, 1.0);
    // A ball size of 0 (the very first instant, and once the balls have shrunk away) leaves
    // nothing to march against.
    if (motion_time < 77.4 && ball_size > 0.0)
        color = march(vec3(p, 0.0), normalize(vec3(p, 1.0)), color);
    gl_FragColor = color;
}
