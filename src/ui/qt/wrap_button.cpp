#include "ui/qt/wrap_button.h"

#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

#include "ui/qt/focus_outline.h"

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
    // The style draws the bevel; the caption and the focus outline are ours.
    // The style's own focus mark would show only after a focus change by key,
    // and would tint the face.
    option.text.clear();
    option.state &= ~QStyle::State_HasFocus;
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
    drawFocusOutline(painter, *this, palette().color(QPalette::Button));
}

QString WrapButton::spokenName() const { return QString::fromStdString(spoken_(text().toStdString())); }

QAccessible::Role AccessibleButton::role() const {
    return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
}

QAccessible::State AccessibleButton::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = button()->isCheckable();
    state.checked = button()->isChecked();
    state.pressed = button()->isDown();
    state.defaultButton = button()->isDefault();
    return state;
}

QString AccessibleButton::text(QAccessible::Text t) const {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return button()->spokenName();
    return QAccessibleWidget::text(t);
}

QStringList AccessibleButton::actionNames() const {
    QStringList names;
    if (widget()->isEnabled()) names << (button()->isCheckable() ? toggleAction() : pressAction());
    return names + QAccessibleWidget::actionNames();
}

void AccessibleButton::doAction(const QString& action) {
    if (!widget()->isEnabled()) return;
    if (action == pressAction())
        button()->animateClick();
    else if (action == toggleAction())
        button()->toggle();
    else
        QAccessibleWidget::doAction(action);
}

}  // namespace korvel::qt
