#pragma once

#include "platform/Clock.h"

// "Now" from the system's wall clock.
class SystemClock : public Clock {
public:
    double now() const override;
};
