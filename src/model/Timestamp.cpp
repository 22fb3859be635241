#include "Timestamp.h"

#include <chrono>

double Timestamp::nowSinceReferenceDate() {
    using namespace std::chrono;
    const double unix = duration<double>(system_clock::now().time_since_epoch()).count();
    return fromUnix(unix);
}
