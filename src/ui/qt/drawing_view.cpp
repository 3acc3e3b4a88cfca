#include "ui/qt/drawing_view.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QToolTip>
#include <QWheelEvent>

#include <cmath>

#include "app/palette.h"
#include "sim/units.h"
#include "ui/qt/log_painter.h"
#include "ui/qt/picture_box.h"

namespace korvel::qt {

namespace {

// A notch of the wheel zooms by this much; a menu step by twice as much.
constexpr double kWheelStep = 1.25;
constexpr double kMenuStep = 2;
// The redraw follows this long after the wheel or a drag stopped.
constexpr int kSettleMs = 150;
// A disc larger than this is not drawn over the view: it would cover it.
constexpr double kLargestDiscPixels = 1e6;
// A point of the trail answers the pointer within this many pixels.
constexpr double kTipReach = 5;
// The arrow keys move the view by this share of its size.
constexpr double kKeyPanShare = 0.1;

Vec2 toVec(QPointF p) { return {p.x(), p.y()}; }

Vec2 craftOf(const SimulationState& s) { return {s.posX[kCraft], s.posY[kCraft]}; }

QString number(double value, int decimals) { return QString::number(value, 'f', decimals); }

}  // namespace

DrawingView::DrawingView(PictureBox& picture, const Korvel& core) : QObject(&picture), picture_(picture), core_(core) {
    picture.installEventFilter(this);
    picture.setMouseTracking(false);
    // The arrow keys pan once a click gave it the focus; Tab never stops here.
    picture.setFocusPolicy(Qt::ClickFocus);
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] {
        cacheValid_ = false;
        picture_.repaintSoon();
        emit changed();
    });
    scaleBar_ = new QLabel(&picture);
    scaleBar_->setObjectName("scaleBar");
    scaleBar_->setAccessibleName("scale bar");
    scaleBar_->hide();
    picture.setView(this);
    syncScale();
    setProfile(profile_);
}

bool DrawingView::active() const {
    return !profile_.drawnByCore || !transform_.typed() ||
           picture_.size() != picture_.image().deviceIndependentSize().toSize();
}

void DrawingView::syncScale() {
    const auto& settings = core_.settings();
    transform_.setScreenScale(settings ? settings->view.screenScale() : 1);
    transform_.setSize(picture_.width(), picture_.height());
}

std::optional<QPointF> DrawingView::toWidget(Vec2 world) const {
    const Vec2 at = transform_.toScreen(world);
    if (!std::isfinite(at.x) || !std::isfinite(at.y)) return std::nullopt;
    return toPoint(at);
}

void DrawingView::redraw() {
    syncScale();
    const qreal dpr = picture_.devicePixelRatioF();
    cache_ = QImage(QSize(qMax(1, qRound(picture_.width() * dpr)), qMax(1, qRound(picture_.height() * dpr))),
                    QImage::Format_RGB32);
    cache_.setDevicePixelRatio(dpr);
    cache_.fill(toQColor(profile_.ground));
    QPainter painter(&cache_);
    painter.setRenderHint(QPainter::Antialiasing);
    paintBackground(painter, core_, transform_, profile_);
    paintSecondPlanetPath(painter, core_.log().secondPlanetPath(), transform_, profile_);
    paintTrail(painter, core_.log().trail().rows(), transform_, lineWidth_, profile_.trail);
    cacheTransform_ = transform_;
    cacheValid_ = true;
}

void DrawingView::drawNewSegment() {
    if (!core_.settings()) return;
    const std::vector<DataRow>& rows = core_.log().trail().rows();
    const std::size_t firstNew = std::min(trailRowsDrawn_, rows.size());
    const bool thinned = rows.size() < trailRowsDrawn_;
    trailRowsDrawn_ = rows.size();
    const Vec2 craft = craftOf(core_.state());
    const std::optional<Vec2> from = std::exchange(lastDrawn_, craft);
    if (!from || !active() || !cacheValid_ || !(cacheTransform_ == transform_)) return;
    // Thinning moved the rows: what was drawn from them is drawn anew.
    if (thinned) {
        cacheValid_ = false;
        picture_.repaintSoon();
        return;
    }
    QPainter painter(&cache_);
    painter.setPen(QPen(toQColor(profile_.trail[0]), lineWidth_, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const WorldBox box = transform_.visible(2 * lineWidth_ + 2);
    // Only where the segments went is repainted: a whole large view repainted
    // each display frame would cost the ticks their rate.
    const double margin = lineWidth_ + 2;
    QRectF drawn;
    Vec2 start = *from;
    // The rows a long tick recorded on its way, then where the craft is.
    for (std::size_t i = firstNew; i <= rows.size(); ++i) {
        Vec2 a = start;
        Vec2 b = i < rows.size() ? rows[i].position : craft;
        start = b;
        if (!clipToBox(a, b, box)) continue;
        const QLineF line(toPoint(transform_.toScreen(a)), toPoint(transform_.toScreen(b)));
        painter.drawLine(line);
        drawn |= QRectF(line.p1(), line.p2()).normalized().adjusted(-margin, -margin, margin, margin);
    }
    if (!drawn.isEmpty()) picture_.repaintSoon(drawn);
}

void DrawingView::paint(QPainter& painter) {
    syncScale();
    if (!cacheValid_ || cache_.deviceIndependentSize() != QSizeF(picture_.size())) redraw();
    if (cacheTransform_ == transform_) {
        painter.drawImage(QPointF(0, 0), cache_);
    } else {
        // Moving: the cached image where its world now lands, until the redraw.
        painter.fillRect(picture_.rect(), toQColor(profile_.ground));
        const double scale = transform_.pixelsPerMetre() / cacheTransform_.pixelsPerMetre();
        const Vec2 origin = transform_.toScreen(cacheTransform_.toWorld({0, 0}));
        const QRectF target(toPoint(origin), cache_.deviceIndependentSize() * scale);
        if (std::isfinite(scale) && target.isValid() && target.width() < 1e6 && target.height() < 1e6)
            painter.drawImage(target, cache_);
    }
    if (const auto disc = secondPlanetDisc()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(toQColor(profile_.secondPlanet));
        painter.drawEllipse(*disc);
    }
    if (scaleBar_->isVisible()) {
        const ScaleBar bar = scaleBar(transform_.pixelsPerMetre(), kScaleBarShare * picture_.width());
        const QPointF start(scaleBar_->x(), scaleBar_->y() - 3);
        painter.setPen(QPen(toQColor(profile_.scaleBar), 2));
        painter.drawLine(start, start + QPointF(bar.pixels, 0));
    }
}

QImage DrawingView::image() {
    const qreal dpr = picture_.devicePixelRatioF();
    QImage shown(QSize(qRound(picture_.width() * dpr), qRound(picture_.height() * dpr)), QImage::Format_RGB32);
    shown.setDevicePixelRatio(dpr);
    QPainter painter(&shown);
    paint(painter);
    if (scaleBar_->isVisible()) {
        painter.setPen(toQColor(profile_.scaleBar));
        painter.setFont(scaleBar_->font());
        painter.drawText(scaleBar_->geometry(), scaleBar_->alignment(), scaleBar_->text());
    }
    return shown;
}

void DrawingView::moved() {
    showScaleBar();
    picture_.repaintSoon();
    settle_.start();
}

void DrawingView::redrawSoon() {
    cacheValid_ = false;
    showScaleBar();
    picture_.repaintSoon();
    emit changed();
}

void DrawingView::zoomIn() {
    transform_.zoomAbout({picture_.width() / 2.0, picture_.height() / 2.0}, kMenuStep);
    redrawSoon();
}

void DrawingView::zoomOut() {
    transform_.zoomAbout({picture_.width() / 2.0, picture_.height() / 2.0}, 1 / kMenuStep);
    redrawSoon();
}

void DrawingView::fit(const std::vector<Vec2>& path) {
    const auto& settings = core_.settings();
    if (!settings) return;
    // The planet always, then the trail and the path.
    const double planet = discRadius(settings->planetMass) * kLengthUnit;
    WorldBox box{{-planet, -planet}, {planet, planet}};
    const auto take = [&box](Vec2 p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
        box.low = {std::min(box.low.x, p.x), std::min(box.low.y, p.y)};
        box.high = {std::max(box.high.x, p.x), std::max(box.high.y, p.y)};
    };
    for (const DataRow& row : core_.log().trail().rows()) take(row.position);
    for (const Vec2& p : path) take(p);
    take(craftOf(core_.state()));
    transform_.fit(box);
    redrawSoon();
}

void DrawingView::reset() {
    transform_.reset();
    waiting_.reset();
    redrawSoon();
}

void DrawingView::setZoomAndCentre(double zoom, Vec2 centre) {
    syncScale();
    transform_.setZoomAndCentre(zoom, centre);
    if (!core_.settings()) waiting_.emplace(zoom, centre);
    redrawSoon();
}

void DrawingView::setFollowCraft(bool follow) {
    follow_ = follow;
    if (follow_ && core_.settings()) {
        transform_.centreOn(craftOf(core_.state()));
        redrawSoon();
    }
}

void DrawingView::setLineWidth(double width) {
    lineWidth_ = width;
    redrawSoon();
}

void DrawingView::setProfile(const Profile& profile) {
    profile_ = profile;
    scaleBar_->setStyleSheet(QString("color: %1; background: transparent;").arg(toQColor(profile_.scaleBar).name()));
    redrawSoon();
}

void DrawingView::onEvents(const std::vector<RunEvent>& events) {
    for (const RunEvent& event : events) {
        switch (event.kind) {
        case EventKind::RunStarted:
        case EventKind::RunOpened:
        case EventKind::RunCleared:
            // A new typed scale resets the zoom; the same one keeps it.
            syncScale();
            if (waiting_ && event.kind == EventKind::RunStarted)
                transform_.setZoomAndCentre(waiting_->first, waiting_->second);
            waiting_.reset();
            lastDrawn_.reset();
            cacheValid_ = false;
            break;
        default: break;
        }
    }
    showScaleBar();
    picture_.repaintSoon();
}

void DrawingView::onTick() {
    if (follow_ && core_.settings()) {
        // Kept near the middle: once the craft leaves the middle half, the
        // view centres on it again.
        const Vec2 at = transform_.toScreen(craftOf(core_.state()));
        if (std::abs(at.x - transform_.width() / 2) > transform_.width() / 4 ||
            std::abs(at.y - transform_.height() / 2) > transform_.height() / 4) {
            transform_.centreOn(craftOf(core_.state()));
            redrawSoon();
        }
    }
    drawNewSegment();
    // The second planet moves: where it was and where it is, repainted.
    const auto disc = active() ? secondPlanetDisc() : std::nullopt;
    if (disc != secondPlanetShown_) {
        if (secondPlanetShown_) picture_.repaintSoon(secondPlanetShown_->adjusted(-1, -1, 1, 1));
        if (disc) picture_.repaintSoon(disc->adjusted(-1, -1, 1, 1));
        secondPlanetShown_ = disc;
    }
}

std::optional<QRectF> DrawingView::secondPlanetDisc() const {
    const SimulationState& s = core_.state();
    if (!s.secondPlanetOn) return std::nullopt;
    const Vec2 at = transform_.toScreen({s.posX[kSecondPlanet], s.posY[kSecondPlanet]});
    // However small, it shows; so large, it would only cover the view.
    const double r = std::max(1.0, s.secondPlanetRadius * kLengthUnit * transform_.pixelsPerMetre());
    if (!(std::abs(at.x) < 1e6 && std::abs(at.y) < 1e6 && r < kLargestDiscPixels)) return std::nullopt;
    return QRectF(at.x - r, at.y - r, 2 * r, 2 * r);
}

void DrawingView::showScaleBar() {
    const bool shown = active();
    if (shown) {
        const ScaleBar bar = scaleBar(transform_.pixelsPerMetre(), kScaleBarShare * picture_.width());
        scaleBar_->setText(QString::fromStdString(bar.text));
        scaleBar_->adjustSize();
        scaleBar_->move(10, picture_.height() - scaleBar_->height() - 6);
    }
    scaleBar_->setVisible(shown);
}

bool DrawingView::showTip(const QPoint& at) const {
    const auto& settings = core_.settings();
    if (!settings) return false;
    const DataRow* nearest = nullptr;
    double best = kTipReach * kTipReach;
    for (const DataRow& row : core_.log().trail().rows()) {
        const Vec2 p = transform_.toScreen(row.position);
        const double d = (p.x - at.x()) * (p.x - at.x()) + (p.y - at.y()) * (p.y - at.y());
        if (d <= best) {
            best = d;
            nearest = &row;
        }
    }
    if (!nearest) return false;
    QString text = QString("time %1 s\ndistance %2 km (%3 units)\nspeed %4 m/s\ntotal energy %5 MJ/kg")
                       .arg(number(nearest->time, 1), number(nearest->distance() / 1000, 1),
                            number(nearest->distance() / kLengthUnit, 4), number(nearest->speed(), 1),
                            number(nearest->total() / 1e6, 3));
    if (nearest->event.kind == EventKind::ImpulseFired)
        text += "\nburn: " + QString::fromStdString(eventText(nearest->event));
    QToolTip::showText(picture_.mapToGlobal(at), text, &picture_);
    return true;
}

bool DrawingView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &picture_) return false;
    switch (event->type()) {
    case QEvent::Resize:
        syncScale();
        cacheValid_ = false;
        showScaleBar();
        emit changed();
        return false;
    case QEvent::Wheel: {
        auto* wheel = static_cast<QWheelEvent*>(event);
        const double notches = wheel->angleDelta().y() / 120.0;
        if (notches == 0) return false;
        transform_.zoomAbout(toVec(wheel->position()), std::pow(kWheelStep, notches));
        moved();
        emit changed();
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) dragFrom_ = mouse->position();
        return false;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!dragFrom_ || !(mouse->buttons() & Qt::LeftButton)) return false;
        transform_.panBy(toVec(mouse->position() - *dragFrom_));
        dragFrom_ = mouse->position();
        moved();
        emit changed();
        return true;
    }
    case QEvent::MouseButtonRelease: dragFrom_.reset(); return false;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const double dx = kKeyPanShare * picture_.width();
        const double dy = kKeyPanShare * picture_.height();
        Vec2 delta;
        if (key == Qt::Key_Left)
            delta = {dx, 0};
        else if (key == Qt::Key_Right)
            delta = {-dx, 0};
        else if (key == Qt::Key_Up)
            delta = {0, dy};
        else if (key == Qt::Key_Down)
            delta = {0, -dy};
        else
            return false;
        transform_.panBy(delta);
        redrawSoon();
        return true;
    }
    case QEvent::ToolTip: {
        if (!showTip(static_cast<QHelpEvent*>(event)->pos())) QToolTip::hideText();
        return true;
    }
    default: return false;
    }
}

}  // namespace korvel::qt
