#pragma once
// The program's units and its law of gravity, each written once.

#include <cmath>

namespace korvel {

// The length unit, metres: the Earth's radius. Distances typed into the panel
// are multiples of it, and one unit of the drawing is this long.
constexpr int kLengthUnit = 6'380'000;

// Pull at one length unit of a planet of one Earth mass, m/s².
constexpr double kSurfaceGravity = 9.8;

constexpr double kSecondsPerMinute = 60;

// The gravitational parameter μ of a planet of `mass` Earth masses, m³/s²:
// 9.8 × mass × length unit². Every pull in the program is μ / r².
constexpr double gravityParameter(double mass) {
    return kSurfaceGravity * mass * (static_cast<double>(kLengthUnit) * kLengthUnit);
}

// The second planet's law: it orbits the planet as if the planet had one
// Earth mass, whatever the run's planet mass.
constexpr double kSecondPlanetOrbitMu = gravityParameter(1);

// The local orbital time √(r³/μ), s, at `r` metres from a centre of
// gravitational parameter `mu`: a revolution there is 2π of it.
inline double localOrbitalTime(double r, double mu) { return std::sqrt(r * r * r / mu); }

// The radius of the disc drawn for a planet of `mass` Earth masses, in length
// units: mass^(1/3). Not finite for a negative mass.
inline double discRadius(double mass) { return std::pow(mass, 1.0 / 3.0); }

}  // namespace korvel
