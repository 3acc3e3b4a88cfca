#include "ui/qt/focus_outline.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/accessibility.h"
#include "ui/qt/picture_box.h"

namespace korvel::qt {

namespace {

constexpr qreal kOutlineWidth = 2;
// The corner radius of the style's own frames.
constexpr qreal kCornerRadius = 2;

Color toColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

void drawOutline(QPainter& painter, const QWidget& control, const std::vector<Color>& faces) {
    if (!control.hasFocus()) return;
    const Color window = toColor(control.window()->palette().color(QPalette::Window));
    // Each face may darken it further; two rounds settle every face there is.
    Color outline = toColor(control.palette().color(QPalette::Highlight));
    for (int round = 0; round < 2; ++round)
        for (const Color face : faces) outline = focusOutlineColor(outline, face, window);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgb(toQRgb(outline)), kOutlineWidth));
    painter.setBrush(Qt::NoBrush);
    // The pen is centred on the path, so the outline covers the outer 2 px exactly.
    const qreal inset = kOutlineWidth / 2;
    painter.drawRoundedRect(QRectF(control.rect()).adjusted(inset, inset, -inset, -inset), kCornerRadius,
                            kCornerRadius);
    painter.restore();
}

}  // namespace

void drawFocusOutline(QPainter& painter, const QWidget& control, const QColor& face) {
    drawOutline(painter, control, {toColor(face)});
}

void drawFocusOutline(QPainter& painter, const QWidget& control, const QImage& drawn) {
    // Just inside the outline on each side, and the middle; corners the style
    // left transparent are not the face.
    const int w = drawn.width(), h = drawn.height();
    const int in = std::min({static_cast<int>(std::ceil(kOutlineWidth * drawn.devicePixelRatio())), w / 2, h / 2});
    const QPoint points[] = {{w / 2, in}, {w / 2, h - 1 - in}, {in, h / 2}, {w - 1 - in, h / 2}, {w / 2, h / 2}};
    std::vector<Color> faces;
    for (const QPoint& p : points) {
        if (!drawn.valid(p)) continue;
        const QRgb pixel = drawn.pixel(p);
        if (qAlpha(pixel) == 255) faces.push_back(toColor(QColor::fromRgb(pixel)));
    }
    if (faces.empty()) faces.push_back(toColor(control.palette().color(QPalette::Button)));
    drawOutline(painter, control, faces);
}

void PanelBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    // The readouts repaint at display pace; only the focused box draws more.
    if (!hasFocus()) return;
    QPainter painter(this);
    drawFocusOutline(painter, *this, palette().color(QPalette::Base));
}

}  // namespace korvel::qt
