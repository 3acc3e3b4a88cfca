#pragma once
// A push button whose caption wraps onto more lines when it does not fit.
// text() stays exactly the caption; only the painting differs.

#include <QPushButton>

namespace korvel::qt {

class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace korvel::qt
