#pragma once
// Where everything sits in the window, in twips (1/1440 inch; 15 twips are
// one logical pixel), from the client area's top-left corner.

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

}  // namespace korvel
