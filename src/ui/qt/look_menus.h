#pragma once
// View → Colours (Dark, the drawing's own colours; Light, dark lines on white
// for a projector or print) and View → Line Width (1, 2 or 3 px): how the
// view, the path over it and the energy graph look. Both are kept in the
// settings and come back at the next start.

class QMenu;

namespace korvel::qt {

class DrawingView;
class OrbitInsight;
class ViewTools;

// Adds both submenus to `view` and applies what the settings kept.
void buildLookMenus(QMenu* view, DrawingView& drawing, OrbitInsight& insight, ViewTools& tools);

}  // namespace korvel::qt
