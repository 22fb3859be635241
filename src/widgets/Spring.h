#pragma once

// A damped spring of unit mass described the way the interface's animations are: `response`,
// the period in seconds of the undamped oscillation, and `dampingFraction`, the damping as a
// fraction of critical damping (1: no overshoot; below 1: overshoot and settle). Stiffness is
// (2π / response)² and damping 4π · dampingFraction / response.
struct Spring {
    double response = 0.55;
    double dampingFraction = 0.825;

    double stiffness() const;
    double damping() const;

    // Distance from the target `t` seconds after release from `displacement` at `velocity`.
    double displacement(double t, double displacement0, double velocity0) const;
    double velocity(double t, double displacement0, double velocity0) const;
};
