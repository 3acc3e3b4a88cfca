#include "ui/qt/operator_message.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QShortcut>

#include <algorithm>

namespace korvel::qt {

OperatorMessage::OperatorMessage(QWidget* owner, QWidget* over)
    : QMessageBox(QMessageBox::Warning, owner->window()->windowTitle(), QString(), QMessageBox::Ok, owner),
      owner_(owner),
      over_(over),
      escape_(new QShortcut(QKeySequence(Qt::Key_Escape), owner)) {
    setObjectName("message");
    setWindowModality(Qt::NonModal);
    setModal(false);
    // A quoted box text is shown as typed, never read as markup that could
    // size the dialog.
    setTextFormat(Qt::PlainText);
    // Shown without taking the keyboard: the platform leaves the window
    // active, and the OK button is for the pointer.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    for (QAbstractButton* b : buttons()) b->setFocusPolicy(Qt::NoFocus);
    // Esc closes it from any control of the window, while it is open; at
    // other times Esc is left to the controls.
    escape_->setContext(Qt::WindowShortcut);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, &QWidget::hide);
    // The window manager places the window after it is shown; the drawing
    // is only where it is once that is done.
    owner->window()->installEventFilter(this);
}

void OperatorMessage::say(const QString& text) {
    setText(text);
    if (isVisible()) {
        // Opening it tells assistive technology; a new text in the open
        // dialog must tell it too.
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
        emit alerted();
        adjustSize();
        placeOver();
    } else {
        // Never exec(): the handler that reports returns at once.
        show();
    }
    raise();
}

bool OperatorMessage::event(QEvent* event) {
    // A platform that activates every window it shows (or a click on the
    // dialog) gets the activation handed back, with the focus where it was.
    if (event->type() == QEvent::WindowActivate && owner_->isVisible()) owner_->window()->activateWindow();
    return QMessageBox::event(event);
}

bool OperatorMessage::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (isVisible() && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)) placeOver();
    return QMessageBox::eventFilter(watched, event);
}

void OperatorMessage::showEvent(QShowEvent* event) {
    QMessageBox::showEvent(event);
    emit alerted();
    placeOver();
    escape_->setEnabled(true);
}

void OperatorMessage::hideEvent(QHideEvent* event) {
    escape_->setEnabled(false);
    QMessageBox::hideEvent(event);
}

void OperatorMessage::placeOver() {
    // Centred across the drawing, a quarter of the way down, and kept within
    // its left and right edges so it never reaches the panel.
    const QRect drawing(over_->mapToGlobal(QPoint(0, 0)), over_->size());
    const QSize outer = frameGeometry().size().expandedTo(size());
    const int left = std::clamp(drawing.center().x() - outer.width() / 2, drawing.left(),
                                std::max(drawing.left(), drawing.right() + 1 - outer.width()));
    const int top = drawing.top() + std::max(0, (drawing.height() - outer.height()) / 4);
    move(left, top);
}

}  // namespace korvel::qt
