#pragma once
// The help that needs no README: a short guide and the keyboard shortcuts,
// each in a window of its own, and the About text.

#include <QList>
#include <QString>

class QAction;
class QWidget;

namespace korvel::qt {

// Top-level windows, owned by `parent`, not yet shown.
QWidget* makeGuideWindow(QWidget* parent);
// The shortcuts window lists the keys of `actions` and the keys no menu has.
QWidget* makeShortcutsWindow(QWidget* parent, const QList<QAction*>& actions);

// Moves the tool window `tool` beside `main`, on the side with room, or over
// `drawing` where neither side has any; never over the rest of `main`. It
// stays on the screen whenever it grows.
void placeBeside(QWidget* tool, const QWidget* main, const QWidget* drawing);

// Version, licence, and the Qt in use with its licence.
QString aboutText();

}  // namespace korvel::qt
