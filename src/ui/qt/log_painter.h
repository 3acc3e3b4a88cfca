#pragma once
// The run drawn from its log through a view, as Picture1 shows it at any
// view but the default one: what the drawing holds, at any scale, with the
// trail as lines.

#include <QPointF>

#include <vector>

#include "app/korvel.h"
#include "app/palette.h"
#include "app/view/view_transform.h"

class QPainter;

namespace korvel::qt {

inline QPointF toPoint(Vec2 v) { return {v.x, v.y}; }

// The rings, the planet's disc and the red reference circle.
void paintBackground(QPainter& painter, const Korvel& core, const ViewTransform& view, const Profile& colours);
// Faintly, where the second planet has been; a point that is not finite
// breaks the line.
void paintSecondPlanetPath(QPainter& painter, const std::vector<Vec2>& path, const ViewTransform& view,
                           const Profile& colours);
// The trail through its rows, `lineWidth` logical pixels wide: clipped to the
// view, thinned on the screen, and stroked in short strokes that take the
// trail's colours in turn. A "run started" row begins a stroke of its own.
void paintTrail(QPainter& painter, const std::vector<DataRow>& rows, const ViewTransform& view, double lineWidth,
                const std::array<Color, 3>& colours);

}  // namespace korvel::qt
