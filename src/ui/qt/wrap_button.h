#pragma once
// A push button whose caption wraps onto more lines when it does not fit.
// text() stays exactly the caption; only the painting differs. Enter presses
// it as Space does, as many desktop users expect. It shows the focus outline
// whenever it has the focus.

#include <QAccessibleWidget>
#include <QPushButton>

#include <string>
#include <string_view>

#include "ui/accessibility.h"

namespace korvel::qt {

class WrapButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

    // What assistive technology reads for a caption; by default the caption
    // without the blanks around it.
    using Spoken = std::string (*)(std::string_view caption);
    void setSpoken(Spoken spoken) { spoken_ = spoken; }
    QString spokenName() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter and keypad Enter press a focused button, as Space does.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    Spoken spoken_ = spokenCaption;
};

// A WrapButton as assistive technology sees it. Its name is worked out from
// the caption only when asked for: a new caption already tells assistive
// technology that the name changed, so a readout rewritten at display pace
// costs nothing more while no one listens.
class AccessibleButton : public QAccessibleWidget {
public:
    explicit AccessibleButton(WrapButton* button) : QAccessibleWidget(button) {}
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString& action) override;

private:
    WrapButton* button() const { return static_cast<WrapButton*>(widget()); }
};

}  // namespace korvel::qt
