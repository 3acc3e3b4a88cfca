#pragma once
// Sine and cosine that give the same bits on every platform. The C runtimes'
// own differ in the last places (near π/2 by hundreds of units), and a run's
// first velocity then differs, so every angle that reaches the simulation
// state goes through these. They use double +, −, × and / alone, so they
// are as exact as IEEE arithmetic, which every platform does alike.

namespace korvel {

// sin(radians), within 1 unit in the last place; NaN for an infinite or NaN
// angle; −0 stays −0.
double portableSin(double radians);

// cos(radians), within 1 unit in the last place; NaN for an infinite or NaN
// angle.
double portableCos(double radians);

// √(x² + y²) from a correctly rounded square root, scaled where the squares
// would overflow or underflow: the C runtimes' hypot differ in the last
// place. Infinite when either is; NaN when either is NaN and neither infinite.
double portableHypot(double x, double y);

}  // namespace korvel
