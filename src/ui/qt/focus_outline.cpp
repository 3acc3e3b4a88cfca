#include "ui/qt/focus_outline.h"

#include <QPainter>

#include "ui/accessibility.h"
#include "ui/qt/picture_box.h"

namespace korvel::qt {

namespace {

constexpr qreal kOutlineWidth = 2;
// The corner radius of the style's own frames.
constexpr qreal kCornerRadius = 2;

Color toColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

}  // namespace

void drawFocusOutline(QPainter& painter, const QWidget& control, const QColor& face) {
    if (!control.hasFocus()) return;
    const QColor window = control.window()->palette().color(QPalette::Window);
    const Color outline =
        focusOutlineColor(toColor(control.palette().color(QPalette::Highlight)), toColor(face), toColor(window));
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

void PanelBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    // The readouts repaint at display pace; only the focused box draws more.
    if (!hasFocus()) return;
    QPainter painter(this);
    drawFocusOutline(painter, *this, palette().color(QPalette::Base));
}

}  // namespace korvel::qt
