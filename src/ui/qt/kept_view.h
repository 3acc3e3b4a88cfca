#pragma once
// The view a scenario keeps, as the window shows it: the colours and the line
// width as their View menu items, the grid, the tape and the arrows as
// theirs, the tape's ends, and the drawing's zoom and centre. The items are
// found by name, so that opening a view works as choosing them would.

#include <optional>

#include "app/scenario.h"

class QWidget;

namespace korvel::qt {

class DrawingView;
class ViewTools;

// The view in `window`, or none while it is the everyday one (Dark, 1 px, no
// tools, the typed scale unpanned), so that an everyday save keeps none.
std::optional<ScenarioView> keptView(const QWidget& window, const DrawingView& view, const ViewTools& tools);

// Chooses the kept view's items, puts the tape's ends, then the zoom and centre.
void applyKeptView(const QWidget& window, const ScenarioView& kept, DrawingView& view, ViewTools& tools);

}  // namespace korvel::qt
