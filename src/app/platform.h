#pragma once
// What the handlers see of the window and the platform: small interfaces, so
// the whole core builds, runs and is tested without Qt.

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// A 24-bit colour, red + 256 * green + 65536 * blue.
using Color = std::uint32_t;

// Builds a colour; a component above 255 counts as 255.
constexpr Color rgb(int red, int green, int blue) {
    auto clamp = [](int c) { return static_cast<Color>(c < 0 ? 0 : (c > 255 ? 255 : c)); };
    return clamp(red) + 256u * clamp(green) + 65536u * clamp(blue);
}

constexpr Color kBlack = rgb(0, 0, 0);

// Positions and sizes in twips (1/1440 inch), from the client area's top-left.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};

// The three control arrays of the window.
enum class ControlArray { lbl_mass_id, txt_masses, cmd_color };

constexpr int kLabelCount = 12;  // lbl_mass_id(0..11)
constexpr int kBoxCount = 14;    // txt_masses(0..13)
constexpr int kBankCount = 10;   // cmd_color(0..9)

// The window's controls, addressed by array and index.
class Controls {
public:
    virtual ~Controls() = default;
    // The caption of a label or button, or the text of a box.
    virtual std::string text(ControlArray array, int index) const = 0;
    virtual void setText(ControlArray array, int index, std::string_view text) = 0;
    virtual void place(ControlArray array, int index, const TwipsRect& rect) = 0;
    // Tells the operator something without blocking: handlers still run to
    // completion one at a time.
    virtual void showMessage(std::string_view message) = 0;
    // Closes a message left open, if any: its cause has gone.
    virtual void closeMessage() = 0;
    // Ends the program at once; no further handler runs.
    virtual void endProgram() = 0;
    // Whether anyone reads the readouts and captions a tick writes: a run
    // without a window has no one, so its ticks leave them unwritten.
    virtual bool seen() const { return true; }
};

// Fill styles of the drawing surface.
constexpr int kFillSolid = 0;
constexpr int kFillHollow = 1;

// The drawing surface `Picture1`. Coordinates are user units after setScale;
// anything off the surface, however far, is clipped.
class Surface {
public:
    virtual ~Surface() = default;
    // Fills the whole surface with the colour, erasing every drawing.
    virtual void setBackColor(Color color) = 0;
    // User scale: (0, 0) is the top-left corner, x grows right up to
    // scaleWidth and y down to scaleHeight. Negative values flip the axis.
    virtual void setScale(double scaleHeight, double scaleWidth) = 0;
    // 0: circles drawn afterwards are filled solid with the fill colour;
    // 1: they are hollow.
    virtual void setFillStyle(int style) = 0;
    virtual void setFillColor(Color color) = 0;
    // A whole circle: outline in the colour, inside as the fill settings say.
    virtual void circle(double x, double y, double radius, Color color) = 0;
    // One point.
    virtual void pset(double x, double y, Color color) = 0;
    // Whether anyone looks at the drawing: a run without a window draws no
    // trail at all.
    virtual bool seen() const { return true; }
};

// The timer `Timer1`: ticks every `interval` ms while enabled; 0 means none.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool enabled() const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds on a monotonic clock: never goes back, never wraps.
    virtual double now() const = 0;
    // Seconds since local midnight; only seeds the random source.
    virtual double timeOfDay() const = 0;
};

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(double value) = 0;
    // Uniform in [0, 1).
    virtual float next() = 0;
};

}  // namespace korvel
