// The median of the last few values of a stream of readings.
#pragma once

#include <algorithm>
#include <array>

// Holds the last N values added and gives their median, or another quantile: a reading that
// scatters, or one that now and then is plainly wrong, without following any single one. 0
// before the first value.
template <int N> class RecentMedian {
public:
    void add(double value) {
        values[next] = value;
        next = (next + 1) % N;
        count = std::min(count + 1, N);
    }

    double median() const {
        if (count == 0)
            return 0.0;
        const std::array<double, N> sorted = held();
        return count % 2 ? sorted[count / 2] : (sorted[count / 2 - 1] + sorted[count / 2]) / 2.0;
    }

    // The value that a share `q` (0 to 1) of those held lie at or below: the nearest rank.
    double quantile(double q) const {
        if (count == 0)
            return 0.0;
        const std::array<double, N> sorted = held();
        const int rank = std::clamp(static_cast<int>(q * count + 0.5) - 1, 0, count - 1);
        return sorted[rank];
    }

    void clear() { count = next = 0; }

private:
    // The values held, sorted, in the first `count` places.
    std::array<double, N> held() const {
        std::array<double, N> sorted = values;
        std::sort(sorted.begin(), sorted.begin() + count);
        return sorted;
    }

    std::array<double, N> values{}; // a ring
    int next = 0;                   // where the next value goes
    int count = 0;                  // values held, up to N
};
