#include "app/view/tool_placement.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace korvel {
namespace {

constexpr int kGap = 8;
// How far a window that finds no free place steps from one it would hide.
constexpr int kCascade = 32;

// `start` moved so that `length` from it stays within [low, high] where it fits.
int within(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

bool intersect(const ScreenRect& a, const ScreenRect& b) {
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

// Closer than the gap to any of `others`.
bool crowds(const ScreenRect& at, const std::vector<ScreenRect>& others) {
    const ScreenRect wider{at.left - kGap, at.top - kGap, at.width + 2 * kGap, at.height + 2 * kGap};
    return std::any_of(others.begin(), others.end(), [&](const ScreenRect& other) { return intersect(wider, other); });
}

// The top nearest `wanted` at which a window at `left` stays on `screen`
// clear of `others`: level with `wanted`, or just above or below another.
std::optional<int> freeTop(int left, int width, int height, int wanted, const ScreenRect& screen,
                           const std::vector<ScreenRect>& others) {
    std::vector<int> tops{wanted};
    for (const ScreenRect& other : others) {
        tops.push_back(other.bottom() + kGap);
        tops.push_back(other.top - kGap - height);
    }
    std::optional<int> best;
    for (int top : tops) {
        top = within(top, height, screen.top, screen.bottom());
        if (crowds({left, top, width, height}, others)) continue;
        if (!best || std::abs(top - wanted) < std::abs(*best - wanted)) best = top;
    }
    return best;
}

// The place `before` keeps at the new size, if it fits there: on the screen
// and off the panel.
std::optional<ScreenRect> keptPlace(const ScreenRect& before, int width, int height, const Surroundings& around) {
    const ScreenRect& main = around.main;
    const ScreenRect& screen = around.screen;
    const bool leftOfMain = before.right() <= main.left;
    const bool rightOfMain = before.left >= main.right();
    ScreenRect at{leftOfMain ? before.right() - width : before.left,
                  within(before.top, height, screen.top, screen.bottom()), width, height};
    if (!leftOfMain && !rightOfMain) at.left = within(at.left, width, screen.left, screen.right());
    if (at.left < screen.left || at.right() > screen.right() || around.coversPanel(at)) return std::nullopt;
    return at;
}

}  // namespace

bool Surroundings::coversPanel(const ScreenRect& window) const {
    return intersect(window, {drawing.right(), main.top, main.right() - drawing.right(), main.height});
}

ScreenRect placeToolWindow(const Surroundings& around, int width, int height) {
    const ScreenRect& main = around.main;
    const ScreenRect& drawing = around.drawing;
    const ScreenRect& screen = around.screen;
    const std::vector<ScreenRect>& others = around.others;
    std::vector<int> sides;
    if (screen.right() - main.right() - kGap >= width) sides.push_back(main.right() + kGap);
    if (main.left - screen.left - kGap >= width) sides.push_back(main.left - kGap - width);
    for (const int left : sides)
        if (const auto top = freeTop(left, width, height, main.top, screen, others)) return {left, *top, width, height};

    // Over the drawing, its right edge at the drawing's where it is wider.
    const int maxRight = std::min(drawing.right(), screen.right());
    ScreenRect place{within(drawing.left, width, screen.left, maxRight),
                     within(drawing.top, height, screen.top, screen.bottom()), width, height};
    if (const auto top = freeTop(place.left, width, height, place.top, screen, others)) {
        place.top = *top;
        return place;
    }
    // No free place: at least not on the spot of another, so each shows.
    for (std::size_t i = 0; i <= others.size(); ++i) {
        const bool taken = std::any_of(others.begin(), others.end(), [&](const ScreenRect& other) {
            return other.left == place.left && other.top == place.top;
        });
        if (!taken) break;
        place.left = within(place.left - kCascade, width, screen.left, maxRight);
        place.top = within(place.top + kCascade, height, screen.top, screen.bottom());
    }
    return place;
}

ScreenRect ToolWindowPlace::resized(const ScreenRect& before, int width, int height, const Surroundings& around) {
    if (home_) {
        if (const auto home = keptPlace(*home_, width, height, around)) {
            home_.reset();
            return *home;
        }
    }
    if (const auto kept = keptPlace(before, width, height, around)) return *kept;
    if (!home_) home_ = before;
    return placeToolWindow(around, width, height);
}

}  // namespace korvel
