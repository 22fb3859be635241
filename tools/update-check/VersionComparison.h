#pragma once

#include <QString>

// Orders version strings the way appcast readers do. A version is read as runs of digits, runs of
// letters and separators (anything else). Numeric runs compare as numbers of any length; letter
// runs (pre-release tags such as "a", "beta", "rc") compare alphabetically, ignoring case, and sort
// before a number or the end of the version, so "1.0b1" < "1.0" < "1.0.1". Separators only divide
// runs. A version that stops where the other goes on with numbers counts as followed by zeros, so
// "1.0" equals "1.0.0".
namespace VersionComparison {

// Negative when `a` is older than `b`, zero when they are the same version, positive when newer.
int compare(const QString& a, const QString& b);

inline bool isNewer(const QString& candidate, const QString& running) {
    return compare(candidate, running) > 0;
}

} // namespace VersionComparison
