// The metaballs' time script: their size, lighting and motion at the scene time in seconds.
// It runs once a vertex, before the common vertex work; every corner of the quad gets the same
// values, so every fragment receives them exactly as they were worked out.
#define SCENE_SCRIPT
uniform float time;

varying float ball_size;
varying float diffuse_amount;
varying float specular_amount;
varying float motion_time; // seconds of ball motion, from 15.5 s of scene time
varying vec3 ball_pos[5];

void scene_script()
{
    ball_size = 0.2;
    diffuse_amount = 0.0;
    specular_amount = 0.0;
    if (time < 2.0)
        ball_size -= 0.2 - 0.1 * time;
    if (time < 15.5) {
        ball_size += 0.01 * sin(15.0 * time);
        if (time > 12.0) {
            float a = (3.5 - (time - 12.0)) / 3.5;
            ball_size = a * ball_size + 0.2 * (1.0 - a);
        }
    }
    if (time > 6.5)
        diffuse_amount = min(time - 6.5, 1.0);
    if (time > 13.0)
        specular_amount = min(time - 13.0, 1.0);

    float m = time > 15.5 ? time - 15.5 : 0.0;
    float movement = 1.0;
    if (m > 70.0) {
        movement = smoothstep(0.0, 1.0, max(1.0 - 0.25 * (m - 70.0), 0.0));
        if (m > 75.4)
            ball_size *= max(1.0 - 0.5 * (m - 75.4), 0.0);
    }
    motion_time = m;
    for (int i = 0; i < 5; i++) {
        float k = float(i + 1);
        ball_pos[i] = vec3(0.5 * movement * sin(m * 0.12 * (1.01 * k)),
                           0.2 * movement * sin(m * 0.18 * (1.01 * k)),
                           1.0 + 0.3 * movement * cos(m * 0.15 * (1.02 * k)));
    }
}
