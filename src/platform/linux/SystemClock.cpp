#include "SystemClock.h"

#include <chrono>

double SystemClock::now() const {
    // Since C++20 the system clock counts from the Unix epoch.
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}
