#pragma once
// Where a tool window (Orbit Data, About This Scenario, Help, Keyboard
// Shortcuts) opens and where it goes when it grows, in logical pixels of the
// desktop: beside the main window, never over its panel, and clear of the
// other tool windows where there is room.

#include <optional>
#include <vector>

namespace korvel {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const ScreenRect&) const = default;
};

// What a tool window is placed among: the main window, its drawing (the part
// of it a tool window may hide; the panel is the part right of it), the
// screen, and the tool windows already open.
struct Surroundings {
    ScreenRect main;
    ScreenRect drawing;
    ScreenRect screen;
    std::vector<ScreenRect> others;

    bool coversPanel(const ScreenRect& window) const;
};

// The place of a tool window `width` × `height`: beside the main window on
// the side with room, as near level with its top as the other tool windows
// leave room for; where neither side has room, over the drawing, clear of the
// others where it can be and never on the spot of one. Always within the
// screen as far as its size allows.
ScreenRect placeToolWindow(const Surroundings& around, int width, int height);

// A tool window's place as its size changes. Beside the main window it keeps
// the edge next to it, so it grows away from it; elsewhere it keeps its
// top-left corner, moved back onto the screen. A size that would take it off
// the screen or over the panel from there places it anew, and once its size
// fits where it was, it goes back there.
class ToolWindowPlace {
public:
    ScreenRect resized(const ScreenRect& before, int width, int height, const Surroundings& around);
    // The operator moved it: that is where it belongs now.
    void movedByHand() { home_.reset(); }

private:
    // Where it was before a size that did not fit there moved it.
    std::optional<ScreenRect> home_;
};

}  // namespace korvel
