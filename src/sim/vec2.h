#pragma once
// The one 2-D vector of the program: a position in metres, a velocity in m/s,
// or a point in the drawing's user units, as its name where it is used says.

namespace korvel {

struct Vec2 {
    double x = 0;
    double y = 0;
    friend bool operator==(const Vec2&, const Vec2&) = default;
};

}  // namespace korvel
