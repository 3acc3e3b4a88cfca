#pragma once
// The help that needs no README: a short guide and the keyboard shortcuts,
// each in a window of its own, the About text, and the note on units.

#include <QList>
#include <QString>

class QAction;
class QWidget;

namespace korvel::qt {

// Top-level windows, owned by `parent`, not yet shown.
QWidget* makeGuideWindow(QWidget* parent);
// The shortcuts window lists the keys of `actions` and the keys no menu has.
QWidget* makeShortcutsWindow(QWidget* parent, const QList<QAction*>& actions);

// Gravity's constant and the distance button's divisor, as a teacher checks
// them; the guide and Orbit Data both state them in these words, each after
// its own word on the length unit. Plain text.
QString unitsNote();

// Version, licence, and the Qt in use with its licence.
QString aboutText();

}  // namespace korvel::qt
