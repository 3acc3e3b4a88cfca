#include "ui/qt/wrap_button.h"

#include <QImage>
#include <QKeyEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <utility>
#include <vector>

#include "ui/qt/focus_outline.h"

namespace korvel::qt {

namespace {

// No caption is drawn smaller than this, and none on more lines.
constexpr int kSmallestFontPixels = 8;
constexpr int kMostLines = 2;
// A shortened readout keeps at least these significant digits; the longest
// a readout holds is 17.
constexpr int kFewestDigits = 7;
constexpr int kMostDigits = 17;

// Greedy breaking between words; empty when a word alone is too wide.
QStringList wrapByWords(const QFontMetrics& metrics, const QString& caption, int width) {
    QStringList lines;
    for (const QString& word : caption.split(' ', Qt::SkipEmptyParts)) {
        const QString joined = lines.isEmpty() ? word : lines.last() + ' ' + word;
        if (!lines.isEmpty() && metrics.horizontalAdvance(joined) <= width)
            lines.last() = joined;
        else if (metrics.horizontalAdvance(word) <= width)
            lines << word;
        else
            return {};
    }
    return lines;
}

// Breaking anywhere, the last resort of a caption that fits no other way.
QStringList wrapAnywhere(const QFontMetrics& metrics, const QString& caption, int width) {
    QStringList lines{QString()};
    for (const QChar c : caption.simplified()) {
        if (!lines.last().isEmpty() && metrics.horizontalAdvance(lines.last() + c) > width) lines << QString();
        lines.last() += c;
    }
    return lines;
}

// Height of lines drawn whole, ascent of the first to descent of the last.
int blockHeight(const QFontMetrics& metrics, int lines) {
    return (lines - 1) * metrics.lineSpacing() + metrics.ascent() + metrics.descent();
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
    QKeyEvent space(event->type(), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), event->isAutoRepeat());
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
    // The style draws the bevel; the caption and the focus outline are ours.
    // The style's own focus mark would show only after a focus change by key,
    // and would tint the face.
    option.text.clear();
    option.state &= ~QStyle::State_HasFocus;
    // The focused button keeps the face it drew, for the outline to stand
    // out from whatever it is: checked, pressed, or the style's own colour.
    QImage bevel;
    if (hasFocus()) {
        const qreal ratio = devicePixelRatioF();
        bevel = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        bevel.setDevicePixelRatio(ratio);
        bevel.fill(Qt::transparent);
        QPainter onImage(&bevel);
        style()->drawControl(QStyle::CE_PushButton, &option, &onImage, this);
        onImage.end();
        painter.drawImage(0, 0, bevel);
    } else {
        painter.drawControl(QStyle::CE_PushButton, option);
    }

    const CaptionLayout layout = captionLayout();
    QRect area = layout.area;
    if (option.state & (QStyle::State_Sunken | QStyle::State_On)) {
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    const QFontMetrics metrics(layout.font);
    painter.setFont(layout.font);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    int baseline = area.top() + (area.height() - blockHeight(metrics, int(layout.lines.size()))) / 2 + metrics.ascent();
    for (const QString& line : layout.lines) {
        painter.drawText(area.left() + (area.width() - metrics.horizontalAdvance(line)) / 2, baseline, line);
        baseline += metrics.lineSpacing();
    }
    if (hasFocus()) drawFocusOutline(painter, *this, bevel);
}

namespace {

// The lines of a caption that fits the area whole at this font, or none.
QStringList fittingLines(const QFontMetrics& metrics, const QString& caption, const QRect& area) {
    const QStringList lines = wrapByWords(metrics, caption, area.width());
    if (lines.isEmpty() || lines.size() > kMostLines || blockHeight(metrics, int(lines.size())) > area.height())
        return {};
    return lines;
}

// A caption with every digit alike: texts of one shape take one width in a
// font whose digits are all as wide, as UI fonts' are.
QString digitShape(const QString& caption) {
    QString shape = caption;
    for (QChar& c : shape)
        if (c.isDigit()) c = u'0';
    return shape;
}

// `caption` broken into lines of as many words as `lines` hold.
QStringList breakAlike(const QString& caption, const QStringList& lines) {
    const QStringList words = caption.split(' ', Qt::SkipEmptyParts);
    QStringList broken;
    qsizetype next = 0;
    for (const QString& line : lines) {
        const qsizetype count = line.split(' ', Qt::SkipEmptyParts).size();
        broken << words.mid(next, count).join(' ');
        next += count;
    }
    return broken;
}

}  // namespace

WrapButton::CaptionLayout WrapButton::captionLayout() const {
    if (layoutSize_ == size() && layoutFont_ == font()) {
        if (layoutCaption_ == text()) return layout_;
        // A readout rewritten at display pace keeps the digits, font and line
        // breaks of its last search while what it draws keeps that shape, or
        // loses up to three trailing places to rounding: no measuring.
        if (shortened_ && layoutDigits_ >= 0) {
            const QString drawn =
                layoutDigits_ ? QString::fromStdString(shortened_(text().toStdString(), layoutDigits_)) : text();
            const QString shape = digitShape(drawn.simplified());
            if (layoutShape_.startsWith(shape) && shape.size() + 3 >= layoutShape_.size()) {
                layout_.lines = breakAlike(drawn, layout_.lines);
                layoutCaption_ = text();
                return layout_;
            }
        }
    }
    QStyleOptionButton option;
    initStyleOption(&option);
    // Room for the shift of a pressed face, so the caption fits either way.
    const QRect area = style()
                           ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
                           .adjusted(0, 0, -style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                                     -style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    // The whole caption first (0 digits: not shortened), then a readout with
    // ever fewer digits; for each, the largest font down to the smallest that
    // fits it by words.
    std::vector<std::pair<QString, int>> candidates{{text(), 0}};
    if (shortened_) {
        const std::string caption = text().toStdString();
        for (int digits = kMostDigits; digits >= kFewestDigits; --digits) {
            const QString shorter = QString::fromStdString(shortened_(caption, digits));
            if (shorter != candidates.back().first) candidates.emplace_back(shorter, digits);
        }
    }
    const int largest = std::max(font().pixelSize(), QFontInfo(font()).pixelSize());
    CaptionLayout found{font(), {}, area};
    layoutDigits_ = -1;
    for (const auto& [candidate, digits] : candidates) {
        for (int pixels = largest; pixels >= kSmallestFontPixels && found.lines.isEmpty(); --pixels) {
            found.font.setPixelSize(pixels);
            found.lines = fittingLines(QFontMetrics(found.font), candidate, area);
        }
        if (!found.lines.isEmpty()) {
            layoutDigits_ = digits;
            break;
        }
    }
    if (found.lines.isEmpty()) {
        found.font.setPixelSize(kSmallestFontPixels);
        found.lines = wrapAnywhere(QFontMetrics(found.font), candidates.back().first, area.width());
    }
    layoutCaption_ = text();
    layoutShape_ = digitShape(found.lines.join(' '));
    layoutFont_ = font();
    layoutSize_ = size();
    layout_ = found;
    return found;
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
