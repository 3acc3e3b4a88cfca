#include "ui/qt/view_tools.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "app/palette.h"
#include "sim/units.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/log_painter.h"
#include "ui/qt/orbit_insight.h"
#include "ui/qt/picture_box.h"

namespace korvel::qt {

namespace {

// The arrows follow the craft ten times a second: often enough to read,
// seldom enough that the drawing's own repaints keep their pace.
constexpr int kPaceMs = 100;
// Labels keep this far from the drawing's edges.
constexpr int kLabelMargin = 6;
// An end's marker, and the arrowhead, pixels.
constexpr double kEndRadius = 4;

QPointF at(const ViewTransform& t, Vec2 world) { return toPoint(t.toScreen(world)); }

QLabel* makeLabel(QWidget& parent, const char* name, const QString& accessibleName) {
    auto* label = new QLabel(&parent);
    label->setObjectName(name);
    label->setAccessibleName(accessibleName);
    label->hide();
    return label;
}

}  // namespace

ViewTools::ViewTools(PictureBox& picture, DrawingView& view, const Korvel& core, const OrbitInsight& insight)
    : QObject(&picture), picture_(picture), view_(view), core_(core), insight_(&insight) {
    // Installed after the view's own filter, so a press near a tape end
    // reaches the tape before the view takes it for a pan.
    picture.installEventFilter(this);
    gridLabel_ = makeLabel(picture, "gridLabel", "grid spacing");
    tapeReading_ = makeLabel(picture, "tapeReading", "measuring tape reading");
    arrowScale_ = makeLabel(picture, "arrowScale", "arrow scale");
    pace_.setSingleShot(true);
    pace_.setInterval(kPaceMs);
    connect(&pace_, &QTimer::timeout, this, &ViewTools::arrowsMoved);
    connect(&view, &DrawingView::changed, this, &ViewTools::refresh);
    picture.setPainterOver([this](QPainter& painter, bool forPicture) { paint(painter, forPicture); });
}

void ViewTools::setGridShown(bool shown) {
    grid_ = shown;
    refresh();
}

void ViewTools::setTapeShown(bool shown) {
    tape_ = shown;
    if (tape_ && !tapePlaced_) placeTape();
    refresh();
}

void ViewTools::setVelocityArrowShown(bool shown) {
    velocity_ = shown;
    speedPerSquare_.reset();
    refresh();
}

void ViewTools::setGravityArrowShown(bool shown) {
    gravity_ = shown;
    pullPerSquare_.reset();
    refresh();
}

void ViewTools::onTick() {
    if ((velocity_ || gravity_) && !pace_.isActive()) pace_.start();
}

Vec2 ViewTools::craft() const {
    const SimulationState& s = core_.state();
    return {s.posX[kCraft], s.posY[kCraft]};
}

std::vector<Vec2> ViewTools::pulls() const {
    const SimulationState& s = core_.state();
    std::vector<Vec2> pulls;
    if (!core_.settings()) return pulls;
    pulls.push_back(
        pullOn(craft(), {s.posX[kPlanet], s.posY[kPlanet]}, gravityParameter(core_.settings()->planetMass)));
    if (s.secondPlanetOn)
        pulls.push_back(
            pullOn(craft(), {s.posX[kSecondPlanet], s.posY[kSecondPlanet]}, gravityParameter(s.secondPlanetMass)));
    return pulls;
}

std::vector<SnapTarget> ViewTools::targets() const {
    std::vector<Vec2> apsides;
    if (insight_ && insight_->pathShown()) {
        const orbit::PredictedPath& path = insight_->path();
        if (path.periapsis) apsides.push_back(*path.periapsis);
        if (path.apoapsis) apsides.push_back(*path.apoapsis);
    }
    return snapTargets(craft(), apsides, core_.log().trail().rows());
}

void ViewTools::placeTape() {
    // From the planet's centre to the craft, or across a quarter of the view
    // before a run.
    const ViewTransform& t = view_.transform();
    ends_[0] = {{0, 0}, std::nullopt};
    ends_[1] = core_.settings() ? SnapTarget{craft(), std::nullopt}
                                : SnapTarget{t.toWorld({t.width() * 0.75, t.height() / 2}), std::nullopt};
    tapePlaced_ = true;
}

void ViewTools::setTapeEnds(Vec2 first, Vec2 second) {
    const std::vector<SnapTarget> near = targets();
    for (std::size_t end = 0; end < 2; ++end) {
        const Vec2 at = end == 0 ? first : second;
        const auto found = std::find_if(near.begin(), near.end(), [at](const SnapTarget& t) { return t.world == at; });
        ends_[end] = found != near.end() ? *found : SnapTarget{at, std::nullopt};
    }
    tapePlaced_ = true;
    refresh();
}

void ViewTools::moveTapeEnd(int end, QPointF widget, double reachPixels) {
    ends_.at(static_cast<std::size_t>(end)) =
        snapEnd({widget.x(), widget.y()}, targets(), view_.transform(), reachPixels);
    refresh();
}

void ViewTools::updateLabels() {
    const ViewTransform& t = view_.transform();
    const auto grid = gridSpacing(t.pixelsPerMetre());
    gridLabel_->setText(grid ? QString::fromStdString(grid->text) : QString());
    gridLabel_->setVisible(grid_ && grid);
    tapeReading_->setText("tape " + QString::fromStdString(tapeReading(ends_[0], ends_[1]).text));
    tapeReading_->setVisible(tape_);
    QStringList scales;
    if (velocity_ && speedPerSquare_) scales << QString::fromStdString(speedText(*speedPerSquare_, 1));
    if (gravity_ && pullPerSquare_) scales << QString::fromStdString(accelerationText(*pullPerSquare_, 1));
    arrowScale_->setText("1 grid square = " + scales.join("; "));
    arrowScale_->setVisible(!scales.isEmpty());
    // In the corners the scale bar leaves free, and never off the drawing.
    const int w = picture_.width();
    const int h = picture_.height();
    for (QLabel* label : {gridLabel_, tapeReading_, arrowScale_}) {
        label->ensurePolished();
        label->adjustSize();
        label->resize(std::min(label->width(), std::max(1, w - 2 * kLabelMargin)), label->height());
    }
    gridLabel_->move(kLabelMargin, kLabelMargin);
    tapeReading_->move(std::max(0, w - tapeReading_->width() - kLabelMargin), kLabelMargin);
    arrowScale_->move(std::max(0, w - arrowScale_->width() - kLabelMargin),
                      std::max(0, h - arrowScale_->height() - kLabelMargin));
}

void ViewTools::refresh() {
    updateArrowScales();
    updateLabels();
    arrows_ = arrowShapes();
    picture_.repaintSoon();
}

void ViewTools::paint(QPainter& painter, bool withLabels) const {
    if (!grid_ && !tape_ && !velocity_ && !gravity_) return;
    painter.save();
    // The grid's lines lie along the pixels: crisp, and cheap at every repaint.
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (grid_) paintGrid(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    if (tape_) paintTape(painter);
    paintArrows(painter);
    if (withLabels) paintLabels(painter);
    painter.restore();
}

void ViewTools::setProfile(const Profile& profile) {
    profile_ = profile;
    // The labels in the colour of the scale bar, which reads on either ground.
    const QString style = QString("color: %1; background: transparent;").arg(toQColor(profile_.scaleBar).name());
    for (QLabel* label : {gridLabel_, tapeReading_, arrowScale_}) label->setStyleSheet(style);
    // A new style may bring new metrics: the labels are sized anew.
    refresh();
}

void ViewTools::paintGrid(QPainter& painter) const {
    const ViewTransform& t = view_.transform();
    const auto grid = gridSpacing(t.pixelsPerMetre());
    if (!grid) return;
    const WorldBox box = t.visible();
    const QColor line = toQColor(profile_.graphGrid);
    const QColor axis = toQColor(profile_.graphText);
    // Lines already lie within the visible box, so they map to finite pixels.
    for (const double x : gridLines(box.low.x, box.high.x, grid->metres)) {
        painter.setPen(QPen(x == 0 ? axis : line, 1));
        painter.drawLine(at(t, {x, box.low.y}), at(t, {x, box.high.y}));
    }
    for (const double y : gridLines(box.low.y, box.high.y, grid->metres)) {
        painter.setPen(QPen(y == 0 ? axis : line, 1));
        painter.drawLine(at(t, {box.low.x, y}), at(t, {box.high.x, y}));
    }
}

void ViewTools::paintTape(QPainter& painter) const {
    const ViewTransform& t = view_.transform();
    const WorldBox box = t.visible(kClipMarginPixels);
    Vec2 a = ends_[0].world;
    Vec2 b = ends_[1].world;
    painter.setPen(QPen(toQColor(profile_.preview), 2));
    if (clipToBox(a, b, box)) painter.drawLine(at(t, a), at(t, b));
    for (int end = 0; end < 2; ++end) {
        const Vec2 world = ends_[static_cast<std::size_t>(end)].world;
        if (!t.visible().contains(world)) continue;
        // The end the keyboard moves is filled.
        painter.setBrush(end == chosenEnd_ ? QBrush(toQColor(profile_.preview)) : QBrush(Qt::NoBrush));
        painter.drawEllipse(at(t, world), kEndRadius, kEndRadius);
    }
}

void ViewTools::paintLabels(QPainter& painter) const {
    painter.setPen(toQColor(profile_.scaleBar));
    for (const QLabel* label : {gridLabel_, tapeReading_, arrowScale_}) {
        if (!label->isVisibleTo(&picture_)) continue;
        painter.setFont(label->font());
        painter.drawText(label->geometry(), label->alignment(), label->text());
    }
}

bool ViewTools::onMouse(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (event->type() == QEvent::MouseButtonPress) {
        if (!tape_ || mouse->button() != Qt::LeftButton) return false;
        const ViewTransform& t = view_.transform();
        for (int end = 0; end < 2; ++end) {
            const QPointF endAt = at(t, ends_[static_cast<std::size_t>(end)].world);
            if (QLineF(endAt, mouse->position()).length() <= kGrabPixels) {
                dragging_ = end;
                chosenEnd_ = end;
                picture_.setFocus(Qt::MouseFocusReason);
                refresh();
                return true;
            }
        }
        return false;
    }
    if (!dragging_) return false;
    if (event->type() == QEvent::MouseMove) moveTapeEnd(*dragging_, mouse->position(), kGrabPixels);
    if (event->type() == QEvent::MouseButtonRelease) dragging_.reset();
    return true;
}

bool ViewTools::onKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!tape_) return false;
    if (key == Qt::Key_BracketLeft || key == Qt::Key_BracketRight) {
        chosenEnd_ = key == Qt::Key_BracketLeft ? 0 : 1;
        refresh();
        return true;
    }
    if (!(modifiers & Qt::ShiftModifier)) return false;
    QPointF step;
    if (key == Qt::Key_Left) step = {-kKeyStepPixels, 0};
    if (key == Qt::Key_Right) step = {kKeyStepPixels, 0};
    if (key == Qt::Key_Up) step = {0, -kKeyStepPixels};
    if (key == Qt::Key_Down) step = {0, kKeyStepPixels};
    if (step.isNull()) return false;
    const QPointF from = at(view_.transform(), ends_[static_cast<std::size_t>(chosenEnd_)].world);
    // An end far outside the view comes back to its middle first.
    const QPointF middle(picture_.width() / 2.0, picture_.height() / 2.0);
    const bool near = std::abs(from.x()) < 1e6 && std::abs(from.y()) < 1e6;
    moveTapeEnd(chosenEnd_, (near ? from : middle) + step, kKeySnapPixels);
    return true;
}

bool ViewTools::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &picture_) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: return onMouse(event);
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        return onKey(key->key(), key->modifiers());
    }
    default: return false;
    }
}

}  // namespace korvel::qt
