#include "ui/qt/tool_windows.h"

#include <QLayout>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QWidget>

#include "app/view/tool_placement.h"

namespace korvel::qt {
namespace {

// Marks the windows placed here, so each is placed clear of the others.
constexpr const char* kToolWindow = "korvelToolWindow";

ScreenRect screenRect(const QRect& r) { return {r.left(), r.top(), r.width(), r.height()}; }

// The size of `tool` with its frame. Before it first shows, the frame is not
// known yet: the main window's stands in for it.
QSize frameSize(const QWidget* tool, const QWidget* main) {
    QSize frame = tool->frameGeometry().size() - tool->size();
    if (frame.isNull()) frame = main->frameGeometry().size() - main->size();
    return tool->size() + frame;
}

// Keeps a tool window clear of the main window's panel as it changes size or
// shows again, and lets it grow away from the main window.
class ToolWindowKeeper : public QObject {
public:
    ToolWindowKeeper(QWidget* tool, const QWidget* main, const QWidget* drawing)
        : QObject(tool), tool_(tool), main_(main), drawing_(drawing) {}

    void placeAnew() {
        if (!main_ || !drawing_ || !main_->screen()) return;
        // Its size as it will show: a window that its layout resizes as it
        // shows lands a frame's width off the place it was given (so under
        // openbox).
        if (tool_->layout()) tool_->layout()->activate();
        const QSize size = frameSize(tool_, main_);
        moveTo(placeToolWindow(surroundings(), size.width(), size.height()));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != tool_ || !main_ || !drawing_ || !main_->screen() || !tool_->isVisible()) return false;
        switch (event->type()) {
        case QEvent::Resize: resized(static_cast<QResizeEvent*>(event)->oldSize()); break;
        case QEvent::Show:
            // Shown again after the main window moved, it may stand over the panel.
            if (surroundings().coversPanel(screenRect(tool_->frameGeometry()))) placeAnew();
            break;
        case QEvent::Move:
            if (tool_->frameGeometry().topLeft() != placedAt_) place_.movedByHand();
            break;
        default: break;
        }
        return false;
    }

private:
    Surroundings surroundings() const {
        Surroundings around{screenRect(main_->frameGeometry()),
                            screenRect(QRect(drawing_->mapToGlobal(QPoint(0, 0)), drawing_->size())),
                            screenRect(main_->screen()->availableGeometry()),
                            {}};
        for (const QWidget* other : main_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (other != tool_ && other->isWindow() && other->isVisible() && other->property(kToolWindow).toBool())
                around.others.push_back(screenRect(other->frameGeometry()));
        return around;
    }

    void resized(QSize oldSize) {
        if (!oldSize.isValid()) return;
        const QRect frame = tool_->frameGeometry();
        const QSize margins = frame.size() - tool_->size();
        const ScreenRect before{frame.left(), frame.top(), oldSize.width() + margins.width(),
                                oldSize.height() + margins.height()};
        moveTo(place_.resized(before, frame.width(), frame.height(), surroundings()));
    }

    void moveTo(const ScreenRect& at) {
        placedAt_ = QPoint(at.left, at.top);
        if (tool_->frameGeometry().topLeft() != placedAt_) tool_->move(placedAt_);
    }

    QWidget* tool_;
    QPointer<const QWidget> main_;
    QPointer<const QWidget> drawing_;
    ToolWindowPlace place_;
    // Where it was last put: a move elsewhere is the operator's.
    QPoint placedAt_;
};

}  // namespace

void placeBeside(QWidget* tool, const QWidget* main, const QWidget* drawing) {
    ToolWindowKeeper* keeper = nullptr;
    for (QObject* child : tool->children())
        if (auto* found = dynamic_cast<ToolWindowKeeper*>(child)) keeper = found;
    if (!keeper) {
        keeper = new ToolWindowKeeper(tool, main, drawing);
        tool->installEventFilter(keeper);
        tool->setProperty(kToolWindow, true);
    }
    keeper->placeAnew();
}

void closeOnEscape(QWidget* window) {
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(close, &QShortcut::activated, window, &QWidget::close);
}

}  // namespace korvel::qt
