#pragma once
// The help that needs no README: a short guide and the keyboard shortcuts,
// each in a window of its own, and the About text.

#include <QString>

class QWidget;

namespace korvel::qt {

// Top-level windows, owned by `parent`, not yet shown.
QWidget* makeGuideWindow(QWidget* parent);
QWidget* makeShortcutsWindow(QWidget* parent);

// Version, licence, and the Qt in use with its licence.
QString aboutText();

}  // namespace korvel::qt
