#include "orbit/prediction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

namespace korvel::orbit {
namespace {

// Classic fourth-order Runge-Kutta on the tick's equations, with a step of a
// fixed share of the local orbital time scale √(d³/μ) of the nearest pull. So
// a revolution takes about the same number of steps however wide, a close pass
// gets short steps, and a far escape long ones. Against Kepler it stays within
// metres over a revolution, where one pixel of the default view is 77 km.
constexpr double kInfinity = std::numeric_limits<double>::infinity();

constexpr double kStepShare = 2 * std::numbers::pi / 256;

// The craft, and the second planet while it is on.
struct Bodies {
    double x, y, vx, vy;
    double px, py, pvx, pvy;
};

struct Pulls {
    double craft;   // μ of the planet on the craft, m³/s²
    double second;  // μ of the second planet on the craft
    double orbit;   // μ under which the second planet moves
    bool secondOn;
};

// Acceleration towards a body at offset (dx, dy) from it; none at its centre.
inline void addPull(double dx, double dy, double mu, double& ax, double& ay) {
    const double rr = dx * dx + dy * dy;
    if (rr == 0) return;
    const double k = mu / (rr * std::sqrt(rr));
    ax -= k * dx;
    ay -= k * dy;
}

Bodies rate(const Bodies& b, const Pulls& g) {
    Bodies d{b.vx, b.vy, 0, 0, b.pvx, b.pvy, 0, 0};
    addPull(b.x, b.y, g.craft, d.vx, d.vy);
    if (g.secondOn) {
        addPull(b.x - b.px, b.y - b.py, g.second, d.vx, d.vy);
        addPull(b.px, b.py, g.orbit, d.pvx, d.pvy);
    }
    return d;
}

Bodies along(const Bodies& b, const Bodies& d, double h) {
    return {b.x + h * d.x,   b.y + h * d.y,   b.vx + h * d.vx,   b.vy + h * d.vy,
            b.px + h * d.px, b.py + h * d.py, b.pvx + h * d.pvx, b.pvy + h * d.pvy};
}

Bodies rk4Step(const Bodies& b, const Pulls& g, double h) {
    const Bodies k1 = rate(b, g);
    const Bodies k2 = rate(along(b, k1, h / 2), g);
    const Bodies k3 = rate(along(b, k2, h / 2), g);
    const Bodies k4 = rate(along(b, k3, h), g);
    const auto mix = [h](double y, double a, double b2, double c, double d) {
        return y + h / 6 * (a + 2 * b2 + 2 * c + d);
    };
    return {mix(b.x, k1.x, k2.x, k3.x, k4.x),           mix(b.y, k1.y, k2.y, k3.y, k4.y),
            mix(b.vx, k1.vx, k2.vx, k3.vx, k4.vx),      mix(b.vy, k1.vy, k2.vy, k3.vy, k4.vy),
            mix(b.px, k1.px, k2.px, k3.px, k4.px),      mix(b.py, k1.py, k2.py, k3.py, k4.py),
            mix(b.pvx, k1.pvx, k2.pvx, k3.pvx, k4.pvx), mix(b.pvy, k1.pvy, k2.pvy, k3.pvy, k4.pvy)};
}

// The orbital time scale √(d³/|μ|) of one pull; infinite without one.
double timeScale(double dx, double dy, double mu) {
    if (mu == 0) return kInfinity;
    const double rr = dx * dx + dy * dy;
    return std::sqrt(rr * std::sqrt(rr) / std::abs(mu));
}

bool finite(const Bodies& b) {
    return std::isfinite(b.x) && std::isfinite(b.y) && std::isfinite(b.vx) && std::isfinite(b.vy) &&
           std::isfinite(b.px) && std::isfinite(b.py) && std::isfinite(b.pvx) && std::isfinite(b.pvy);
}

// The apsis of three points whose distances turn at the middle one: the
// vertex of the parabola through them, so a marker sits where the distance
// really turns, not at the nearest step.
Vec2 turningPoint(const Vec2& a, const Vec2& b, const Vec2& c, double ra, double rb, double rc) {
    const double curve = ra - 2 * rb + rc;
    const double u = curve != 0 ? std::clamp((ra - rc) / (2 * curve), -1.0, 1.0) : 0;
    // Quadratic through the three points at parameter -1, 0, 1.
    const auto at = [u](double p, double q, double s) { return q + u * (s - p) / 2 + u * u * (p - 2 * q + s) / 2; };
    return {at(a.x, b.x, c.x), at(a.y, b.y, c.y)};
}

// A path that no pull bends: the straight line to well outside the view.
void straightLine(const Bodies& start, double reach, double timeSign, PredictedPath& path) {
    const double vx = timeSign * start.vx;
    const double vy = timeSign * start.vy;
    const double v2 = vx * vx + vy * vy;
    if (!(v2 > 0)) return;
    // The time t > 0 at which |start + v t| = reach.
    const double along = start.x * vx + start.y * vy;
    const double rr = start.x * start.x + start.y * start.y;
    const double t = (-along + std::sqrt(along * along + v2 * (reach * reach - rr))) / v2;
    const Vec2 end{start.x + vx * t, start.y + vy * t};
    if (!std::isfinite(end.x) || !std::isfinite(end.y) || !(t > 0)) return;
    path.points = {{start.x, start.y}, end};
    path.end = PredictedPath::End::Escaped;
}

// Marks the nearest and farthest turning points, unless the distance hardly
// changes along the path (a circle has no apsides to speak of).
void markApsides(PredictedPath& path, const std::vector<double>& radius) {
    if (radius.size() < 3) return;
    const auto [lowest, highest] = std::minmax_element(radius.begin(), radius.end());
    if (*highest - *lowest < 1e-4 * *highest) return;
    double nearest = kInfinity, farthest = -kInfinity;
    for (std::size_t i = 1; i + 1 < radius.size(); ++i) {
        const double r = radius[i];
        const auto apsis = [&] {
            return turningPoint(path.points[i - 1], path.points[i], path.points[i + 1], radius[i - 1], r,
                                radius[i + 1]);
        };
        if (r <= radius[i - 1] && r < radius[i + 1] && r < nearest) {
            nearest = r;
            path.periapsis = apsis();
        }
        if (r >= radius[i - 1] && r > radius[i + 1] && r > farthest) {
            farthest = r;
            path.apoapsis = apsis();
        }
    }
}

Bodies startBodies(const SimulationState& state, bool secondOn) {
    Bodies b{state.posX[kCraft], state.posY[kCraft], state.velX[kCraft], state.velY[kCraft], 0, 0, 0, 0};
    if (secondOn) {
        b.px = state.posX[kSecondPlanet];
        b.py = state.posY[kSecondPlanet];
        b.pvx = state.velX[kSecondPlanet];
        b.pvy = state.velY[kSecondPlanet];
    }
    return b;
}

// The next step, s: a fixed share of the shortest local orbital time among
// the pulls. Not above 0, or not finite, when no step can be taken.
double stepLength(const Bodies& b, const Pulls& pulls, double reach) {
    double scale = timeScale(b.x, b.y, pulls.craft);
    if (pulls.secondOn)
        scale = std::min({scale, timeScale(b.x - b.px, b.y - b.py, pulls.second), timeScale(b.px, b.py, pulls.orbit)});
    // No step carries the craft further than a sixteenth of the reach, so
    // a weakly bent path is still drawn as a curve.
    const double speed = std::hypot(b.vx, b.vy);
    const double h = std::min(kStepShare * scale, reach / (16 * speed));
    // Exactly at a centre the time scale is 0: step out of it by a hair.
    return h > 0 ? h : 1e-6 * reach / speed;
}

// Follows the bodies step by step from the start, adding each point to the
// path with its distance from the planet, until the path ends or no step can
// be taken.
class PathTracer {
public:
    PathTracer(PredictedPath& path, const Pulls& pulls, const Bodies& start, double sign, double reach, double surface)
        : path_(path), pulls_(pulls), b_(start), sign_(sign), reach_(reach), surface_(surface) {
        add({start.x, start.y});
    }

    // One step on; false when the path ends there (on the surface, after a
    // full turn, leaving for good) or no step can be taken.
    bool step() {
        const double h = stepLength(b_, pulls_, reach_);
        if (!(h > 0) || !std::isfinite(h)) return false;
        const Bodies next = rk4Step(b_, pulls_, sign_ * h);
        if (!finite(next)) return false;
        const double r = std::hypot(next.x, next.y);
        if (meetsSurface(next, r, h) || completesRevolution(next)) return false;
        add({next.x, next.y});
        b_ = next;
        elapsed_ += h;
        return !leavesForGood(r);
    }

    const std::vector<double>& radius() const { return radius_; }

private:
    void add(Vec2 point) {
        path_.points.push_back(point);
        radius_.push_back(std::hypot(point.x, point.y));
    }

    // The point a share u of the way from the current bodies to next.
    Vec2 between(const Bodies& next, double u) const {
        return Vec2{b_.x + u * (next.x - b_.x), b_.y + u * (next.y - b_.y)};
    }

    // Crossing the surface: the impact where the distance meets it.
    bool meetsSurface(const Bodies& next, double r, double h) {
        const double previous = radius_.back();
        if (!(r < surface_ && previous >= surface_)) return false;
        const double share = (previous - surface_) / (previous - r);
        path_.impact = between(next, share);
        path_.timeToImpact = elapsed_ + share * h;
        add(*path_.impact);
        path_.end = PredictedPath::End::Surface;
        return true;
    }

    // A full turn about the planet: the path closes where the turn does.
    bool completesRevolution(const Bodies& next) {
        const double turn = std::atan2(b_.x * next.y - b_.y * next.x, b_.x * next.x + b_.y * next.y);
        swept_ += turn;
        if (!(std::abs(swept_) >= 2 * std::numbers::pi)) return false;
        add(between(next, 1 - (std::abs(swept_) - 2 * std::numbers::pi) / std::abs(turn)));
        path_.end = PredictedPath::End::Revolution;
        return true;
    }

    // Leaving the view for good: moving outwards and unbound by the planet,
    // or so far out that it cannot matter.
    bool leavesForGood(double r) {
        const bool outwards = sign_ * (b_.x * b_.vx + b_.y * b_.vy) > 0;
        const double energy = (b_.vx * b_.vx + b_.vy * b_.vy) / 2 - pulls_.craft / r;
        if (!(r > reach_ && outwards && (energy >= 0 || r > 10 * reach_))) return false;
        path_.end = PredictedPath::End::Escaped;
        return true;
    }

    PredictedPath& path_;
    const Pulls& pulls_;
    Bodies b_;
    const double sign_;
    const double reach_;    // m
    const double surface_;  // m
    std::vector<double> radius_;
    double swept_ = 0;
    double elapsed_ = 0;  // s
};

}  // namespace

PredictedPath predictPath(const SimulationState& state, const PredictionSettings& settings) {
    PredictedPath path;
    const Pulls pulls{gravityParameter(settings.planet.mass), gravityParameter(state.secondPlanetMass),
                      kSecondPlanetOrbitMu, state.secondPlanetOn};
    const Bodies start = startBodies(state, pulls.secondOn);
    if (!finite(start) || !std::isfinite(pulls.craft) || !std::isfinite(pulls.second)) return path;

    const double sign = settings.timeSign < 0 ? -1 : 1;
    // Well outside the view, or beyond the craft if it is outside already.
    const double reach = 1.5 * std::max(settings.viewRadius, std::hypot(start.x, start.y));
    if (pulls.craft == 0 && !pulls.secondOn) {
        straightLine(start, reach, sign, path);
        return path;
    }
    PathTracer tracer(path, pulls, start, sign, reach, settings.planet.surfaceRadius());
    for (int step = 0; step < settings.stepBudget; ++step)
        if (!tracer.step()) break;
    if (path.points.size() < 2) path.points.clear();
    markApsides(path, tracer.radius());
    return path;
}

double distanceFromPath(const PredictedPath& path, Vec2 point) {
    double nearest = kInfinity;
    for (std::size_t i = 1; i < path.points.size(); ++i) {
        const Vec2 a = path.points[i - 1];
        const double dx = path.points[i].x - a.x, dy = path.points[i].y - a.y;
        const double length2 = dx * dx + dy * dy;
        const double u =
            length2 > 0 ? std::clamp(((point.x - a.x) * dx + (point.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
        nearest = std::min(nearest, std::hypot(point.x - a.x - u * dx, point.y - a.y - u * dy));
    }
    return nearest;
}

}  // namespace korvel::orbit
