#pragma once
// The operator's message: one non-blocking dialog, opened over the drawing so
// that the panel box it names stays in view. It leaves the keyboard focus on
// the control the operator is on, so the next Space presses that control; Esc
// anywhere in the window closes it, as its OK does. Assistive technology hears
// of every message as an alert. It follows the window: one said before the
// window is shown or placed (a scenario named on the command line) still
// opens over the drawing.

#include <QMessageBox>

class QShortcut;

namespace korvel::qt {

class OperatorMessage : public QMessageBox {
    Q_OBJECT
public:
    // `owner` is the window's widget, `over` the part of it the message
    // opens over.
    OperatorMessage(QWidget* owner, QWidget* over);

    // Shows `text`, in place of any message already open.
    void say(const QString& text);

signals:
    // Assistive technology was told of a message: by the dialog as it opens,
    // by us when a new text comes while it is open.
    void alerted();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void placeOver();

    QWidget* owner_;
    QWidget* over_;
    QShortcut* escape_;
};

}  // namespace korvel::qt
