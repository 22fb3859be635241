#pragma once

// The source of "now" for everything that stamps or compares times.
class Clock {
public:
    virtual ~Clock() = default;

    // Seconds since 1970-01-01 00:00:00 UTC.
    virtual double now() const = 0;
};
