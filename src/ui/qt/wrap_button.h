#pragma once
// A push button whose caption wraps onto more lines when it does not fit.
// text() stays exactly the caption; only the painting differs. Enter presses
// it as Space does, as many desktop users expect.

#include <QPushButton>

namespace korvel::qt {

class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter and keypad Enter press a focused button, as Space does.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace korvel::qt
