#include "app/tool_placement.h"

#include <algorithm>

namespace korvel {
namespace {

constexpr int kGap = 8;

// `start` moved so that `length` from it stays within [low, high] where it fits.
int within(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

}  // namespace

ScreenRect placeToolWindow(const ScreenRect& main, const ScreenRect& drawing, int width, int height,
                           const ScreenRect& screen) {
    ScreenRect place{0, within(main.top, height, screen.top, screen.bottom()), width, height};
    const int roomRight = screen.right() - main.right() - kGap;
    const int roomLeft = main.left - screen.left - kGap;
    if (roomRight >= width) {
        place.left = main.right() + kGap;
    } else if (roomLeft >= width) {
        place.left = main.left - kGap - width;
    } else {
        // Over the drawing, its right edge at the drawing's where it is wider.
        place.left = within(drawing.left, width, screen.left, std::min(drawing.right(), screen.right()));
        place.top = within(drawing.top, height, screen.top, screen.bottom());
    }
    return place;
}

ScreenRect keptOnScreen(const ScreenRect& window, const ScreenRect& screen) {
    return {within(window.left, window.width, screen.left, screen.right()),
            within(window.top, window.height, screen.top, screen.bottom()), window.width, window.height};
}

}  // namespace korvel
