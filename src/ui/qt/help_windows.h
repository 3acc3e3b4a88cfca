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

// The length unit and gravity's constant, as a teacher checks them; the
// guide and Orbit Data both state them in these words. Plain text.
QString unitsNote();

// Version, licence, and the Qt in use with its licence.
QString aboutText();

}  // namespace korvel::qt
