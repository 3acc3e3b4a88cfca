#pragma once
// The keyboard focus, shown the same way on every control and however the
// focus came: a 2 px outline just inside the control, in the style's highlight
// colour taken dark enough to stand out from the control's face and the window.

#include <QLineEdit>

class QImage;
class QPainter;

namespace korvel::qt {

// Draws the outline when `control` has the focus, that is whenever Space or
// Enter would reach it.
void drawFocusOutline(QPainter& painter, const QWidget& control, const QColor& face);
// The same on a face the style drew into `drawn`, judged against the colours
// it has just inside the outline and at its centre.
void drawFocusOutline(QPainter& painter, const QWidget& control, const QImage& drawn);

// A box of the panel: a line edit with the focus outline.
class PanelBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvel::qt
