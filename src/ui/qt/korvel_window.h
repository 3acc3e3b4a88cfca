#pragma once
// The window `Korvel`: every control at its twips geometry, the Qt side of
// the controls the handlers see, and the wiring of clicks and ticks to the
// handlers of the core. It starts at its twips size and never gets smaller;
// grown, the panel keeps to the right edge and the drawing takes the rest.

#include <QWidget>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/korvel.h"
#include "app/platform.h"
#include "app/view/window_layout.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/qt_platform.h"

class QLabel;
class QLineEdit;
class QMessageBox;
class QPushButton;

namespace korvel::qt {

class DrawingView;
class OperatorMessage;
class WrapButton;

// Logical pixels of a twips rectangle. Edges are rounded, not sizes, so
// controls that touch in twips still touch on the screen.
QRect twipsToRect(const TwipsRect& rect);

class KorvelWindow : public QWidget, public Controls {
    Q_OBJECT
public:
    explicit KorvelWindow(QWidget* parent = nullptr);
    ~KorvelWindow() override;

    // The client area's size at start, in logical pixels: also its least.
    static QSize startSize();
    QSize sizeHint() const override;

    // Controls.
    std::string text(ControlArray array, int index) const override;
    void setText(ControlArray array, int index, std::string_view text) override;
    void place(ControlArray array, int index, const TwipsRect& rect) override;
    void showMessage(std::string_view message) override;
    void closeMessage() override;
    void endProgram() override;

    Korvel& core() { return *core_; }
    PictureBox& picture() { return *picture_; }
    // Picture1 as a view of the run: zoom, pan and size.
    DrawingView& view() { return *view_; }
    QtTimer& timer() { return timer_; }
    const QtClock& clock() const { return clock_; }
    std::uint64_t tickCount() const { return timer_.tickCount(); }
    // The operator's message box; null until the first message.
    QMessageBox* messageBox() const;
    bool ended() const { return ended_; }

    // The button that fires `burn`.
    QWidget* burnButton(Burn burn) const;

    // One tick as the timer delivers it; its texts reach the widgets at
    // display pace.
    void tick();
    // Pushes the texts the handlers wrote into the widgets now.
    void flushTexts();

    // "Quit", from the button or the menu.
    void quit();
    // Writes the scenario's panel into the boxes; its run, if any, comes back
    // paused with `drawing` as its drawing.
    void openScenario(const Scenario& scenario, const QImage& drawing);

signals:
    // What a handler did, drained from the program after it ran.
    void happened(const std::vector<RunEvent>& events);
    // A tick ran, after its events went out.
    void ticked();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Slot {
        std::string text;
        bool pending = false;
    };

    void buildPicture();
    void buildSingleButtons();
    void buildPanel();
    void buildBank();
    WrapButton* makeButton(const char* name, const QString& caption, const TwipsRect& rect);
    // Puts a panel control at `rect` of the start-size window, kept to the
    // right edge however far the window has grown.
    void placeOnPanel(QWidget* control, const TwipsRect& rect);
    TwipsGrowth growth() const;
    void layOut();
    QWidget* widget(ControlArray array, int index) const;
    Slot& slot(ControlArray array, int index);
    const Slot& slot(ControlArray array, int index) const;
    // Runs a click handler of the core, then shows the texts it wrote.
    template <typename Handler>
    void dispatch(Handler&& handler);
    void passOnEvents();
    void setTabOrderChain();
    // Presses the button of the impulse size in force, and only that one.
    void showChosenSize();

    PictureBox* picture_ = nullptr;
    DrawingView* view_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* exit_ = nullptr;
    QPushButton* restart_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* continue_ = nullptr;
    std::array<QLabel*, kLabelCount> labels_{};
    std::array<QLineEdit*, kBoxCount> boxes_{};
    std::array<WrapButton*, kBankCount> bank_{};
    // Every panel control with its place in the start-size window.
    std::vector<std::pair<QWidget*, TwipsRect>> panelPlaces_;

    // What the handlers read and write. The widgets get the texts after each
    // click and at display pace during a run, so a tick that rewrites a
    // caption 100 times touches no widget.
    std::array<Slot, kLabelCount> labelTexts_{};
    std::array<Slot, kBoxCount> boxTexts_{};
    std::array<Slot, kBankCount> bankTexts_{};
    bool textsPending_ = false;
    QTimer flushTimer_;

    QtTimer timer_;
    QtClock clock_;
    MtRandom random_;
    std::unique_ptr<Korvel> core_;
    OperatorMessage* message_ = nullptr;
    bool ended_ = false;
};

}  // namespace korvel::qt
