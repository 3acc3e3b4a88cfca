#pragma once
// Where everything sits in the window, in twips (1/1440 inch; 15 twips are
// one logical pixel), from the client area's top-left corner.

#include <algorithm>

#include "app/platform.h"
#include "app/view/view_geometry.h"

namespace korvel {

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidthTwips = 11085;
constexpr int kClientHeightTwips = 8400;

// Picture1, as wide as the view's aspect has it.
constexpr TwipsRect kPictureRect{120, 240, 100 * kViewAspectWidth, 100 * kViewAspectHeight};

// The single buttons.
constexpr TwipsRect kRunRect{9600, 120, 1200, 375};
constexpr TwipsRect kPauseRect{9120, 7320, 975, 495};
constexpr TwipsRect kQuitRect{10200, 7320, 855, 495};
constexpr TwipsRect kRestartRect{9120, 6840, 975, 495};
constexpr TwipsRect kApplyRect{10200, 6840, 855, 495};
constexpr TwipsRect kContinueRect{9120, 7800, 975, 495};

// The panel's grid, which start-up lays the control arrays out on.
constexpr int kPanelX0 = 8800;
constexpr int kPanelY0 = 1100;
constexpr int kRowPitch = 450;

// How much larger than at start the client area is, in twips. The window
// never gets smaller than its start size, so a negative growth counts as none.
struct TwipsGrowth {
    int width = 0;
    int height = 0;
};

// Picture1 in a grown window: its top-left stays, and it takes all the room
// the window gained.
constexpr TwipsRect grownPictureRect(const TwipsGrowth& growth) {
    return {kPictureRect.left, kPictureRect.top, kPictureRect.width + std::max(0, growth.width),
            kPictureRect.height + std::max(0, growth.height)};
}

// A panel control (anything but Picture1) placed at `start` in the start-size
// window: in a grown window it keeps its size, its top and its distance from
// the right edge.
constexpr TwipsRect grownPanelRect(const TwipsRect& start, const TwipsGrowth& growth) {
    return {start.left + std::max(0, growth.width), start.top, start.width, start.height};
}

}  // namespace korvel
