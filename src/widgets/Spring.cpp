#include "Spring.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double naturalFrequency(const Spring& spring) {
    return 2.0 * std::numbers::pi / std::max(spring.response, 1e-6);
}

} // namespace

double Spring::stiffness() const {
    const double omega = naturalFrequency(*this);
    return omega * omega;
}

double Spring::damping() const {
    return 4.0 * std::numbers::pi * dampingFraction / std::max(response, 1e-6);
}

double Spring::displacement(double t, double x0, double v0) const {
    const double omega = naturalFrequency(*this);
    const double zeta = std::max(dampingFraction, 0.0);
    if (zeta < 1.0) {
        const double omegaD = omega * std::sqrt(1.0 - zeta * zeta);
        return std::exp(-zeta * omega * t) *
               (x0 * std::cos(omegaD * t) + (v0 + zeta * omega * x0) / omegaD * std::sin(omegaD * t));
    }
    if (zeta == 1.0)
        return std::exp(-omega * t) * (x0 + (v0 + omega * x0) * t);
    const double root = std::sqrt(zeta * zeta - 1.0);
    const double r1 = -omega * (zeta - root);
    const double r2 = -omega * (zeta + root);
    const double a = (v0 - r2 * x0) / (r1 - r2);
    return a * std::exp(r1 * t) + (x0 - a) * std::exp(r2 * t);
}

double Spring::velocity(double t, double x0, double v0) const {
    // Differentiated numerically: exact enough to carry motion across a retarget.
    constexpr double h = 1e-5;
    return (displacement(t + h, x0, v0) - displacement(std::max(0.0, t - h), x0, v0)) / (t < h ? t + h : 2 * h);
}
