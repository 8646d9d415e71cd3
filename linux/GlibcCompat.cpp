// The portable player runs on glibc 2.35 and later. The C++ run-time library linked into it asks
// for one newer symbol, arc4random (glibc 2.36; its std::random_device can read it), so the link
// wraps that symbol (-Wl,--wrap=arc4random) and this supplies it from getrandom, which glibc has
// had since 2.25. The name is the linker's convention for a wrapped symbol.
#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

extern "C" std::uint32_t __wrap_arc4random() {
    std::uint32_t value;
    for (;;) {
        const ssize_t got = getrandom(&value, sizeof value, 0);
        if (got == static_cast<ssize_t>(sizeof value))
            return value;
        // A short read is only possible when interrupted; arc4random itself cannot fail.
        if (got < 0 && errno != EINTR)
            std::abort();
    }
}
