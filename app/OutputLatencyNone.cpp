// Where nothing reports the sound's latency (Windows, a browser): the clock keeps to the
// audio callbacks alone.
#include "app/OutputLatency.h"

namespace OutputLatency {

bool start(const char*, Report) {
    return false;
}

void stop() {}

} // namespace OutputLatency
