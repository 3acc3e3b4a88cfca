#include "ui/qt/picture_box.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "app/view/window_layout.h"
#include "sim/units.h"
#include "ui/qt/drawing_view.h"

namespace korvel::qt {

namespace {

bool finite(double v) { return std::isfinite(v); }

// A double that is not NaN, clamped into [lo, hi] before it becomes an int,
// so even 1e30 converts safely.
int clampToInt(double v, int lo, int hi) {
    if (v <= lo) return lo;
    if (v >= hi) return hi;
    return static_cast<int>(v);
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    // Every paint copies the image over the whole exposed area.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    repaintTimer_.setSingleShot(true);
    repaintTimer_.setInterval(kRepaintIntervalMs);
    connect(&repaintTimer_, &QTimer::timeout, this, &PictureBox::flushDirty);
    fitImage();
}

void PictureBox::setDrawingSize(QSize size) {
    drawingSize_ = size;
    fitImage();
}

bool PictureBox::showsDrawing() const { return !view_ || !view_->active(); }

QSize PictureBox::shownSize() const {
    if (showsDrawing()) return image_.size();
    const qreal dpr = image_.devicePixelRatio();
    return {qMax(1, qRound(width() * dpr)), qMax(1, qRound(height() * dpr))};
}

void PictureBox::repaintSoon() { repaintSoon(QRectF(rect())); }

void PictureBox::repaintSoon(const QRectF& area) {
    const QRectF shown = area.intersected(QRectF(rect()));
    if (shown.isEmpty()) return;
    const qreal dpr = image_.devicePixelRatio();
    markDirty(static_cast<int>(std::floor(shown.left() * dpr)), static_cast<int>(std::floor(shown.top() * dpr)),
              static_cast<int>(std::ceil(shown.right() * dpr)), static_cast<int>(std::ceil(shown.bottom() * dpr)));
}

void PictureBox::fitImage() {
    const qreal dpr = devicePixelRatioF();
    const QSize logical = drawingSize_.isValid() ? drawingSize_ : size();
    const QSize deviceSize(qMax(1, qRound(logical.width() * dpr)), qMax(1, qRound(logical.height() * dpr)));
    if (image_.size() == deviceSize && image_.devicePixelRatio() == dpr) return;
    QImage fresh(deviceSize, QImage::Format_RGB32);
    fresh.fill(back_);
    fresh.setDevicePixelRatio(dpr);
    if (!image_.isNull()) {
        // Keep what was drawn when the pixel density changes.
        QPainter painter(&fresh);
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(fresh.deviceIndependentSize())), image_);
    }
    image_ = std::move(fresh);
    // Drawn for the old size; its owner draws it anew.
    overlay_ = QImage();
    if (!userScale_) {
        scaleWidth_ = logical.width() * static_cast<double>(kTwipsPerPixel);
        scaleHeight_ = logical.height() * static_cast<double>(kTwipsPerPixel);
    }
    updateMapping();
    markDirty(0, 0, image_.width() - 1, image_.height() - 1);
}

void PictureBox::updateMapping() {
    mappingValid_ = false;
    if (!finite(scaleWidth_) || !finite(scaleHeight_) || scaleWidth_ == 0 || scaleHeight_ == 0) return;
    pxPerUnitX_ = image_.width() / scaleWidth_;
    pxPerUnitY_ = image_.height() / scaleHeight_;
    mappingValid_ = finite(pxPerUnitX_) && finite(pxPerUnitY_) && pxPerUnitX_ != 0 && pxPerUnitY_ != 0;
}

void PictureBox::setBackColor(Color color) {
    fitImage();
    back_ = toQRgb(color);
    image_.fill(back_);
    markDirty(0, 0, image_.width() - 1, image_.height() - 1);
}

void PictureBox::setDrawing(const QImage& drawing) {
    fitImage();
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(image_.deviceIndependentSize())), drawing);
    painter.end();
    markDirty(0, 0, image_.width() - 1, image_.height() - 1);
}

void PictureBox::setScale(double scaleHeight, double scaleWidth) {
    fitImage();
    userScale_ = true;
    scaleHeight_ = scaleHeight;
    scaleWidth_ = scaleWidth;
    updateMapping();
}

void PictureBox::setFillStyle(int style) { filled_ = (style == 0); }

void PictureBox::setFillColor(Color color) { fill_ = toQRgb(color); }

void PictureBox::pset(double x, double y, Color color) {
    if (!mappingValid_) return;
    const double px = x * pxPerUnitX_;
    const double py = y * pxPerUnitY_;
    // Written so that NaN fails too.
    if (!(px >= 0 && px < image_.width() && py >= 0 && py < image_.height())) return;
    const int ix = static_cast<int>(px);
    const int iy = static_cast<int>(py);
    reinterpret_cast<QRgb*>(image_.scanLine(iy))[ix] = toQRgb(color);
    markDirty(ix, iy, ix, iy);
}

void PictureBox::span(int y, int x0, int x1, QRgb rgb) {
    QRgb* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
    std::fill(row + x0, row + x1 + 1, rgb);
}

void PictureBox::circle(double x, double y, double radius, Color color) {
    if (!mappingValid_) return;
    const double cx = x * pxPerUnitX_;
    const double cy = y * pxPerUnitY_;
    // Round in device pixels, sized by the horizontal axis.
    const double r = std::abs(radius * pxPerUnitX_);
    if (!finite(cx) || !finite(cy) || !finite(r)) return;

    const int w = image_.width();
    const int h = image_.height();
    const QRgb rim = toQRgb(color);
    if (r > 0) discRows(cx, cy, r, rim);
    // However small, a circle marks its centre.
    if (r < 1 && cx >= 0 && cx < w && cy >= 0 && cy < h) {
        const int ix = static_cast<int>(cx);
        const int iy = static_cast<int>(cy);
        reinterpret_cast<QRgb*>(image_.scanLine(iy))[ix] = rim;
        markDirty(ix, iy, ix, iy);
    }
}

// Pixel (i, j) belongs to a disc of radius q when its centre (i + 0.5, j + 0.5)
// lies inside. The rim is the disc of radius r less the disc of radius r - 1,
// so it is one pixel wide.
void PictureBox::discRows(double cx, double cy, double r, QRgb rim) {
    const int w = image_.width();
    const int h = image_.height();
    const double maxX = w - 1;
    // Clips a span given in doubles (possibly huge) and draws it.
    auto draw = [&](int row, double a, double b, QRgb rgb) {
        if (!(a <= b) || b < 0 || a > maxX) return;
        span(row, clampToInt(a, 0, w - 1), clampToInt(b, 0, w - 1), rgb);
    };
    const double rowLo = std::ceil(cy - r - 0.5);
    const double rowHi = std::floor(cy + r - 0.5);
    if (rowHi >= 0 && rowLo <= h - 1 && rowLo <= rowHi) {
        const int j0 = clampToInt(rowLo, 0, h - 1);
        const int j1 = clampToInt(rowHi, 0, h - 1);
        const double inner = r - 1;
        for (int j = j0; j <= j1; ++j) {
            const double dy = j + 0.5 - cy;
            // Relative form, so neither huge nor tiny radii overflow.
            const double t = dy / r;
            const double d = 1 - t * t;
            if (!(d >= 0)) continue;
            const double half = r * std::sqrt(d);
            const double a = std::ceil(cx - half - 0.5);
            const double b = std::floor(cx + half - 0.5);
            if (!(a <= b)) continue;
            double ia = 1, ib = 0;  // empty inner span
            if (inner > 0) {
                const double ti = dy / inner;
                const double di = 1 - ti * ti;
                if (di >= 0) {
                    const double halfInner = inner * std::sqrt(di);
                    ia = std::ceil(cx - halfInner - 0.5);
                    ib = std::floor(cx + halfInner - 0.5);
                }
            }
            if (ia <= ib) {
                draw(j, a, ia - 1, rim);
                if (filled_) draw(j, ia, ib, fill_);
                draw(j, ib + 1, b, rim);
            } else {
                draw(j, a, b, rim);
            }
        }
        markDirty(clampToInt(std::floor(cx - r), 0, w - 1), j0, clampToInt(std::ceil(cx + r), 0, w - 1), j1);
    }
}

void PictureBox::markDirty(int left, int top, int right, int bottom) {
    if (!dirty_) {
        dirty_ = true;
        dirtyLeft_ = left;
        dirtyTop_ = top;
        dirtyRight_ = right;
        dirtyBottom_ = bottom;
    } else {
        dirtyLeft_ = std::min(dirtyLeft_, left);
        dirtyTop_ = std::min(dirtyTop_, top);
        dirtyRight_ = std::max(dirtyRight_, right);
        dirtyBottom_ = std::max(dirtyBottom_, bottom);
    }
    if (!repaintTimer_.isActive()) repaintTimer_.start();
}

void PictureBox::flushDirty() {
    if (!dirty_) return;
    dirty_ = false;
    const qreal dpr = image_.devicePixelRatio();
    const int left = static_cast<int>(std::floor(dirtyLeft_ / dpr));
    const int top = static_cast<int>(std::floor(dirtyTop_ / dpr));
    const int right = static_cast<int>(std::ceil((dirtyRight_ + 1) / dpr));
    const int bottom = static_cast<int>(std::ceil((dirtyBottom_ + 1) / dpr));
    ++repaintRequests_;
    update(QRect(left, top, right - left, bottom - top));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    if (devicePixelRatioF() != image_.devicePixelRatio()) fitImage();
    QPainter painter(this);
    painter.setClipRect(event->rect());
    if (showsDrawing())
        painter.drawImage(QPointF(0, 0), image_);
    else
        view_->paint(painter);
    if (!overlay_.isNull()) painter.drawImage(QPointF(0, 0), overlay_);
    if (painterOver_) painterOver_(painter, false);
}

void PictureBox::setOverlay(QImage overlay) {
    if (overlay.isNull() && overlay_.isNull()) return;
    if (!overlay.isNull() && overlay.size() != shownSize()) return;
    overlay_ = std::move(overlay);
    ++repaintRequests_;
    update();
}

QImage PictureBox::blankOverlay() {
    // The overlay shown gives up its pixels: a new one every tenth of a second
    // would cost more to allocate than to draw.
    QImage overlay = std::move(overlay_);
    overlay_ = QImage();
    if (overlay.size() != shownSize() || overlay.devicePixelRatio() != image_.devicePixelRatio()) {
        overlay = QImage(shownSize(), QImage::Format_ARGB32_Premultiplied);
        overlay.setDevicePixelRatio(image_.devicePixelRatio());
    }
    overlay.fill(Qt::transparent);
    return overlay;
}

std::optional<QPointF> PictureBox::toWidget(double x, double y) const {
    if (!mappingValid_) return std::nullopt;
    // User units back to the world, for the view: the planet's centre is the
    // middle of the user scale, y down.
    if (!showsDrawing())
        return view_->toWidget({(x - scaleWidth_ / 2) * kLengthUnit, (scaleHeight_ / 2 - y) * kLengthUnit});
    const qreal dpr = image_.devicePixelRatio();
    return QPointF(x * pxPerUnitX_ / dpr, y * pxPerUnitY_ / dpr);
}

QImage PictureBox::shownImage() const {
    QImage shown = showsDrawing() ? image_.copy() : view_->image();
    QPainter painter(&shown);
    if (!overlay_.isNull()) painter.drawImage(QPointF(0, 0), overlay_);
    if (painterOver_) painterOver_(painter, true);
    painter.end();
    return shown;
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitImage();
}

}  // namespace korvel::qt
