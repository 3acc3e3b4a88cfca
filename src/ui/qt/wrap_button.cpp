#include "ui/qt/wrap_button.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

namespace korvel::qt {

namespace {

// Smallest pixel size a caption shrinks to before it breaks inside words.
constexpr int kSmallestFontPixels = 7;

bool fitsByWords(const QFont& font, const QRect& area, const QString& caption) {
    const QRect needed = QFontMetrics(font).boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
    return needed.width() <= area.width() && needed.height() <= area.height();
}

// Enter as Space, with the same press, release and repeat handling; other
// keys and Enter with modifiers go on as they are.
template <typename Handler>
void asSpaceIfEnter(QKeyEvent* event, Handler&& handle) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        handle(event);
        return;
    }
    QKeyEvent space(event->type(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                    event->isAutoRepeat());
    handle(&space);
    event->setAccepted(space.isAccepted());
}

}  // namespace

void WrapButton::keyPressEvent(QKeyEvent* event) {
    asSpaceIfEnter(event, [this](QKeyEvent* e) { QPushButton::keyPressEvent(e); });
}

void WrapButton::keyReleaseEvent(QKeyEvent* event) {
    asSpaceIfEnter(event, [this](QKeyEvent* e) { QPushButton::keyReleaseEvent(e); });
}

void WrapButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    // The style draws the bevel and focus frame; the caption is ours.
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    // A caption that does not fit by whole words, such as a long readout,
    // gets a smaller font before it is broken inside a word, so it stays whole.
    QFont captionFont = font();
    while (captionFont.pixelSize() > kSmallestFontPixels && !fitsByWords(captionFont, area, caption))
        captionFont.setPixelSize(captionFont.pixelSize() - 1);
    painter.setFont(captionFont);

    QTextOption layout(Qt::AlignCenter);
    layout.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(QRectF(area), caption, layout);
}

}  // namespace korvel::qt
