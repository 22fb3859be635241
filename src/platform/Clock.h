#pragma once

#include <limits>

// The source of "now" for everything that stamps or compares times.
class Clock {
public:
    // A moment before every other, for "never yet".
    static constexpr double distantPast = -std::numeric_limits<double>::max();

    virtual ~Clock() = default;

    // Seconds since 1970-01-01 00:00:00 UTC.
    virtual double now() const = 0;
};
