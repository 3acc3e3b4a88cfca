#pragma once
// Where a tool window (Orbit Data, Help, Keyboard Shortcuts) opens, in
// logical pixels of the desktop: beside the main window, never over its panel.

namespace korvel {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

// The place of a tool window `width` × `height`: beside `main` on the side
// with room, level with its top; where neither side has room, over `drawing`
// (the part of `main` it may hide), as far from the rest of `main` as it can
// be. Always within `screen` as far as its size allows.
ScreenRect placeToolWindow(const ScreenRect& main, const ScreenRect& drawing, int width, int height,
                           const ScreenRect& screen);

// `window` moved as little as it takes to lie within `screen`, as far as its
// size allows: a tool window that grew stays on the screen.
ScreenRect keptOnScreen(const ScreenRect& window, const ScreenRect& screen);

}  // namespace korvel
