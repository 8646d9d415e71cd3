// The title star's phases at the scene time in seconds, for its literal arithmetic. They run once
// a vertex; every corner of a draw gets the same values, so every fragment receives them exactly
// as they were worked out.
#define SCENE_SCRIPT
uniform float time;

varying float star_turn; // phi = 3.1 sin(2.3 time) sin(time), radians
varying float star_spin; // 4 time, radians

void scene_script()
{
    star_turn = 3.1 * sin(2.3 * time) * sin(time);
    star_spin = 4.0 * time;
}
