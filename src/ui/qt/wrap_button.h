#pragma once
// A push button whose caption wraps onto a second line, and takes a smaller
// font down to 8 px, when it does not fit; a readout too long for that shows
// fewer digits. text() stays exactly the caption; only the painting differs. Enter presses
// it as Space does, as many desktop users expect. It shows the focus outline
// whenever it has the focus.

#include <QAccessibleWidget>
#include <QPushButton>
#include <QStringList>

#include <string>
#include <string_view>

#include "app/accessibility.h"

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

    // A readout's caption with its number rounded to fewer significant
    // digits; by default captions are not shortened.
    using Shortened = std::string (*)(std::string_view caption, int digits);
    void setShortened(Shortened shortened) { shortened_ = shortened; }

    // The caption as it is drawn: its font, its lines, and the area they are
    // centred in, unshifted.
    struct CaptionLayout {
        QFont font;
        QStringList lines;
        QRect area;
    };
    CaptionLayout captionLayout() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter and keypad Enter press a focused button, as Space does.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    Spoken spoken_ = spokenCaption;
    Shortened shortened_ = nullptr;
    // The last layout, reused while the caption, font and size stay.
    mutable CaptionLayout layout_;
    mutable QString layoutCaption_;
    mutable QFont layoutFont_;
    mutable QSize layoutSize_;
    // What it draws with every digit alike, and the digits it was drawn
    // with: 0 whole, -1 broken anywhere as a last resort.
    mutable QString layoutShape_;
    mutable int layoutDigits_ = -1;
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
