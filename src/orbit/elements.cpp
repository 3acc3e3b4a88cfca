#include "orbit/elements.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel::orbit {
namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// x mod 2π in [0, 2π).
double wrapTurn(double angle) {
    const double wrapped = std::fmod(angle, kTwoPi);
    return wrapped < 0 ? wrapped + kTwoPi : wrapped;
}

// Time from mean anomaly `from` to `to` on a closed orbit, in the direction
// time runs: forward, the mean anomaly grows; backward, it shrinks.
double closedTime(double from, double to, double meanMotion, double timeSign) {
    return wrapTurn(timeSign < 0 ? from - to : to - from) / meanMotion;
}

// Time from mean anomaly `from` to `to` on an open orbit, if the craft gets
// there in the direction time runs.
std::optional<double> openTime(double from, double to, double meanMotion, double timeSign) {
    const double ahead = timeSign < 0 ? from - to : to - from;
    if (ahead < 0) return std::nullopt;
    return ahead / meanMotion;
}

// What the times along an orbit need besides its figures so far.
struct Motion {
    double mu = 0;            // m³/s²
    double r = 0;             // m
    double radialTimesR = 0;  // r·v
    double p = 0;             // semi-latus rectum
    double surface = 0;       // the planet's radius, m
    double timeSign = 1;
};

void ellipseFigures(OrbitFigures& f, const Motion& m) {
    const double a = -m.mu / (2 * f.energy);
    f.semiMajorAxis = a;
    f.apoapsis = 2 * a - f.periapsis;
    const double n = std::sqrt(m.mu / (a * a * a));
    f.period = kTwoPi / n;
    // e cos E and e sin E, finite even on a circle where E itself is not.
    const double eCosE = 1 - m.r / a;
    const double eSinE = m.radialTimesR / std::sqrt(m.mu * a);
    const double meanNow = std::atan2(eSinE, eCosE) - eSinE;
    f.timeToPeriapsis = closedTime(meanNow, 0, n, m.timeSign);
    f.timeToApoapsis = closedTime(meanNow, std::numbers::pi, n, m.timeSign);
    if (f.periapsis < m.surface && f.eccentricity > 0) {
        // Inbound through the surface at -E_s, outbound at +E_s.
        const double cosEs = std::clamp((1 - m.surface / a) / f.eccentricity, -1.0, 1.0);
        const double es = std::acos(cosEs);
        const double meanOut = es - f.eccentricity * std::sin(es);
        f.timeToSurface = closedTime(meanNow, m.timeSign < 0 ? meanOut : -meanOut, n, m.timeSign);
    }
}

void hyperbolaFigures(OrbitFigures& f, const Motion& m) {
    const double a = -m.mu / (2 * f.energy);  // negative
    f.semiMajorAxis = a;
    const double n = std::sqrt(m.mu / (-a * -a * -a));
    const double eSinhF = m.radialTimesR / std::sqrt(-m.mu * a);
    const double hyperbolic = std::asinh(eSinhF / f.eccentricity);
    const double meanNow = eSinhF - hyperbolic;
    f.timeToPeriapsis = openTime(meanNow, 0, n, m.timeSign);
    if (f.periapsis < m.surface) {
        const double fs = std::acosh(std::max(1.0, (1 - m.surface / a) / f.eccentricity));
        const double meanOut = f.eccentricity * std::sinh(fs) - fs;
        f.timeToSurface = openTime(meanNow, m.timeSign < 0 ? meanOut : -meanOut, n, m.timeSign);
    }
}

// A parabola: Barker's equation, t = √(p³/μ)/2 · (D + D³/3), D = tan(ν/2).
void parabolaFigures(OrbitFigures& f, const Motion& m) {
    const double scale = std::sqrt(m.p * m.p * m.p / m.mu) / 2;
    const auto time = [scale](double d) { return scale * (d + d * d * d / 3); };
    const double d = m.radialTimesR / std::sqrt(m.mu * m.p);
    const auto since = [&](double to) -> std::optional<double> {
        const double ahead = m.timeSign < 0 ? time(d) - time(to) : time(to) - time(d);
        return ahead < 0 ? std::nullopt : std::optional<double>(ahead);
    };
    f.timeToPeriapsis = since(0);
    if (f.periapsis < m.surface) {
        const double ds = std::sqrt(2 * m.surface / m.p - 1);
        f.timeToSurface = since(m.timeSign < 0 ? ds : -ds);
    }
}

// The figures without the finite ones among them: nothing when a figure
// every orbit has is not finite.
std::optional<OrbitFigures> finiteFigures(OrbitFigures f) {
    const bool finite = std::isfinite(f.speed) && std::isfinite(f.energy) && std::isfinite(f.eccentricity) &&
                        std::isfinite(f.periapsis) && std::isfinite(f.escapeSpeed);
    if (!finite) return std::nullopt;
    for (auto* figure :
         {&f.apoapsis, &f.semiMajorAxis, &f.period, &f.timeToPeriapsis, &f.timeToApoapsis, &f.timeToSurface})
        if (*figure && !std::isfinite(**figure)) figure->reset();
    return f;
}

}  // namespace

std::optional<OrbitFigures> orbitFigures(Vec2 position, Vec2 velocity, const Planet& planet, double timeSign) {
    if (!planet.attracts()) return std::nullopt;
    Motion m;
    m.mu = planet.mu();
    m.r = std::hypot(position.x, position.y);
    if (!(m.r > 0) || !std::isfinite(m.r)) return std::nullopt;
    m.radialTimesR = position.x * velocity.x + position.y * velocity.y;
    m.surface = planet.surfaceRadius();
    m.timeSign = timeSign;
    const double mu = m.mu;
    const double r = m.r;

    OrbitFigures f;
    const double v2 = velocity.x * velocity.x + velocity.y * velocity.y;
    const double h = position.x * velocity.y - position.y * velocity.x;
    f.speed = std::sqrt(v2);
    f.circularSpeed = std::sqrt(mu / r);
    f.escapeSpeed = std::sqrt(2 * mu / r);
    f.energy = v2 / 2 - mu / r;
    f.escapes = f.energy >= 0;
    // The eccentricity vector, ((v² - μ/r) r - (r·v) v) / μ.
    const double ex = ((v2 - mu / r) * position.x - m.radialTimesR * velocity.x) / mu;
    const double ey = ((v2 - mu / r) * position.y - m.radialTimesR * velocity.y) / mu;
    f.eccentricity = std::hypot(ex, ey);
    m.p = h * h / mu;
    f.periapsis = m.p / (1 + f.eccentricity);

    if (f.energy < 0)
        ellipseFigures(f, m);
    else if (f.energy > 0)
        hyperbolaFigures(f, m);
    else
        parabolaFigures(f, m);
    // Already inside the surface: the path is in it now.
    if (r < m.surface) f.timeToSurface = 0;
    return finiteFigures(f);
}

std::optional<double> secondPullShare(const SimulationState& state, const Planet& planet) {
    if (!state.secondPlanetOn || !planet.attracts()) return std::nullopt;
    const double r2 = state.posX[kCraft] * state.posX[kCraft] + state.posY[kCraft] * state.posY[kCraft];
    const double dx = state.posX[kCraft] - state.posX[kSecondPlanet];
    const double dy = state.posY[kCraft] - state.posY[kSecondPlanet];
    const double d2 = dx * dx + dy * dy;
    if (!(r2 > 0) || !(d2 > 0)) return std::nullopt;
    const double share = (state.secondPlanetMass / d2) / (planet.mass / r2);
    if (!std::isfinite(share)) return std::nullopt;
    return share;
}

}  // namespace korvel::orbit
