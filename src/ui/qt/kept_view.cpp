#include "ui/qt/kept_view.h"

#include <QAction>
#include <QWidget>

#include <cmath>

#include "ui/qt/drawing_view.h"
#include "ui/qt/view_tools.h"

namespace korvel::qt {
namespace {

QAction* item(const QWidget& window, const QString& name) { return window.findChild<QAction*>(name); }

bool checked(const QWidget& window, const QString& name) {
    const QAction* action = item(window, name);
    return action && action->isChecked();
}

void check(const QWidget& window, const QString& name, bool on) {
    if (QAction* action = item(window, name)) action->setChecked(on);
}

QString lineWidthItem(int width) { return QString("actionLineWidth%1").arg(width); }

bool finite(Vec2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }

}  // namespace

std::optional<ScenarioView> keptView(const QWidget& window, const DrawingView& view, const ViewTools& tools) {
    ScenarioView kept;
    kept.colours = checked(window, "actionColoursLight") ? ViewColours::Light : ViewColours::Dark;
    for (int width = 1; width <= 3; ++width)
        if (checked(window, lineWidthItem(width))) kept.lineWidth = width;
    kept.grid = checked(window, "actionGrid");
    const Vec2 first = tools.tapeEnd(0).world;
    const Vec2 second = tools.tapeEnd(1).world;
    if (checked(window, "actionTape") && finite(first) && finite(second)) kept.tape = {{first, second}};
    kept.velocityArrow = checked(window, "actionVelocityArrow");
    kept.gravityArrow = checked(window, "actionGravityArrow");
    kept.zoom = view.transform().zoom();
    kept.centre = view.transform().centre();
    if (kept == ScenarioView{}) return std::nullopt;
    return kept;
}

void applyKeptView(const QWidget& window, const ScenarioView& kept, DrawingView& view, ViewTools& tools) {
    check(window, kept.colours == ViewColours::Light ? "actionColoursLight" : "actionColoursDark", true);
    check(window, lineWidthItem(kept.lineWidth), true);
    check(window, "actionGrid", kept.grid);
    // The ends first, so that turning the tape on does not place it afresh.
    if (kept.tape) tools.setTapeEnds((*kept.tape)[0], (*kept.tape)[1]);
    check(window, "actionTape", kept.tape.has_value());
    check(window, "actionVelocityArrow", kept.velocityArrow);
    check(window, "actionGravityArrow", kept.gravityArrow);
    view.setZoomAndCentre(kept.zoom, kept.centre);
}

}  // namespace korvel::qt
