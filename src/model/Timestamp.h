#pragma once

// Dates are kept as seconds since 2001-01-01 00:00:00 UTC, the form the folders file stores,
// so a stored value survives a read and a write unchanged.
namespace Timestamp {

inline constexpr double kReferenceDateSince1970 = 978307200.0;

inline double fromUnix(double secondsSince1970) {
    return secondsSince1970 - kReferenceDateSince1970;
}
inline double toUnix(double secondsSinceReferenceDate) {
    return secondsSinceReferenceDate + kReferenceDateSince1970;
}

// The system clock, for values made outside any injected clock (a folder built in a view).
double nowSinceReferenceDate();

} // namespace Timestamp
