#pragma once
// Tool windows (Orbit Data, About This Scenario, Help, Keyboard Shortcuts)
// beside the main window: each where the others leave room, never over the
// panel, and kept so as it grows, shrinks and shows again.

class QWidget;

namespace korvel::qt {

// Moves the tool window `tool` beside `main`, on the side with room, or over
// `drawing` where neither side has any; never over the rest of `main`, and
// never on the spot of another tool window of `main`. From then on it grows
// away from `main`, and a size or a showing that would put it over the panel
// or off the screen places it anew.
void placeBeside(QWidget* tool, const QWidget* main, const QWidget* drawing);

// Esc pressed in `window` closes it.
void closeOnEscape(QWidget* window);

}  // namespace korvel::qt
