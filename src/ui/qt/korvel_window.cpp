#include "ui/qt/korvel_window.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "app/accessibility.h"
#include "app/panel.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/focus_outline.h"
#include "ui/qt/operator_message.h"
#include "ui/qt/wrap_button.h"

namespace korvel::qt {

namespace {

int twipsToPixels(int twips) { return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel)); }

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Pixel size of the window's font: the panel's captions must fit controls
// 25 to 33 pixels high, two lines where needed.
constexpr int kFontPixels = 9;

// Boxes whose default text is a description longer than the box.
bool describedBox(int index) { return index == kBoxSecondPlanetMass || index == kBoxSecondPlanetDist; }

// Assistive technology sees the window as a window and the drawing as a
// picture, where plain widgets would be two empty fillers.
QAccessibleInterface* accessibleByRole(const QString& className, QObject* object) {
    if (!object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String(KorvelWindow::staticMetaObject.className()))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String(PictureBox::staticMetaObject.className()))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    if (className == QLatin1String(WrapButton::staticMetaObject.className()))
        return new AccessibleButton(static_cast<WrapButton*>(widget));
    return nullptr;
}

}  // namespace

QRect twipsToRect(const TwipsRect& rect) {
    const int left = twipsToPixels(rect.left);
    const int top = twipsToPixels(rect.top);
    const int right = twipsToPixels(rect.left + rect.width);
    const int bottom = twipsToPixels(rect.top + rect.height);
    return QRect(left, top, right - left, bottom - top);
}

KorvelWindow::KorvelWindow(QWidget* parent) : QWidget(parent) {
    static const bool accessibleRolesKnown = (QAccessible::installFactory(accessibleByRole), true);
    (void)accessibleRolesKnown;
    setObjectName("Korvel");
    setWindowTitle("Korvel Simulation");
    // It may grow (maximised, full screen), never shrink below its start.
    setMinimumSize(startSize());
    resize(startSize());
    QFont font = this->font();
    font.setPixelSize(kFontPixels);
    setFont(font);

    buildPicture();
    buildSingleButtons();
    buildPanel();
    buildBank();
    timer_.onTick([this] { tick(); });
    setTabOrderChain();

    // Texts reach the widgets at display pace: a tick rewrites the readouts
    // every millisecond, and repainting them as often would eat the tick rate.
    flushTimer_.setSingleShot(true);
    flushTimer_.setInterval(PictureBox::kRepaintIntervalMs);
    connect(&flushTimer_, &QTimer::timeout, this, &KorvelWindow::flushTexts);

    core_ = std::make_unique<Korvel>(Platform{*this, *picture_, timer_, clock_, random_});
    view_ = new DrawingView(*picture_, *core_);
    core_->Form_Load();
    flushTexts();
}

void KorvelWindow::buildPicture() {
    picture_ = new PictureBox(this);
    picture_->setObjectName("Picture1");
    picture_->setGeometry(twipsToRect(grownPictureRect(growth())));
    // The drawing keeps its start size; a larger Picture1 shows a view of it.
    picture_->setDrawingSize(twipsToRect(kPictureRect).size());
    // Its size in twips is the scale until a run sets one; 8500 exactly, not
    // the 8505 that whole pixels would give.
    picture_->setScale(kPictureRect.height, kPictureRect.width);
    picture_->setAccessibleName("Orbit drawing");
    picture_->setAccessibleDescription(
        "The planet in blue with its grey rings, and the craft's track drawn live as the run "
        "goes on; the second planet shows in green.");
}

void KorvelWindow::buildSingleButtons() {
    run_ = makeButton("runSImulation", "Run Simulation", kRunRect);
    // The light red face in its exact colour, whatever the style would shade.
    run_->setStyleSheet(
        "QPushButton { background-color: rgb(255, 128, 128); border: 1px solid rgb(128, 64, 64);"
        " border-radius: 2px; }"
        "QPushButton:pressed { background-color: rgb(224, 104, 104); }");
    stop_ = makeButton("cmd_stop_simulation", "pause simulation", kPauseRect);
    exit_ = makeButton("cmd_exit_program", "Quit ", kQuitRect);
    restart_ = makeButton("cmd_restart", "Run (don't clear)", kRestartRect);
    apply_ = makeButton("cmd_apply", "Apply Impulse", kApplyRect);
    continue_ = makeButton("cmd_continue", "Continue", kContinueRect);

    connect(run_, &QPushButton::clicked, this, [this] { dispatch([this] { core_->runSImulation_Click(); }); });
    connect(stop_, &QPushButton::clicked, this, [this] { dispatch([this] { core_->cmd_stop_simulation_Click(); }); });
    connect(exit_, &QPushButton::clicked, this, &KorvelWindow::quit);
    connect(restart_, &QPushButton::clicked, this, [this] { dispatch([this] { core_->cmd_restart_Click(); }); });
    connect(apply_, &QPushButton::clicked, this, [this] { dispatch([this] { core_->cmd_apply_Click(); }); });
    connect(continue_, &QPushButton::clicked, this, [this] { dispatch([this] { core_->cmd_continue_Click(); }); });
}

// The labels and boxes; array members have no place until Form_Load gives
// them one.
void KorvelWindow::buildPanel() {
    for (int i = 0; i < kLabelCount; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QString("lbl_mass_id(%1)").arg(i));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setGeometry(0, 0, 0, 0);
        labels_[i] = label;
    }
    for (int i = 0; i < kBoxCount; ++i) {
        auto* box = new PanelBox(this);
        box->setObjectName(QString("txt_masses(%1)").arg(i));
        box->setGeometry(0, 0, 0, 0);
        box->setTextMargins(0, 0, 0, 0);
        // What the box holds is what the handlers read; a change itself
        // triggers nothing.
        connect(box, &QLineEdit::textChanged, this, [this, i](const QString& text) {
            boxTexts_[i].text = text.toStdString();
            boxTexts_[i].pending = false;
        });
        boxes_[i] = box;
    }
    // Assistive technology names each box by its label; the two boxes without
    // one by what they hold, their description texts read as descriptions.
    for (int i = 0; i < kLabelCount; ++i) labels_[i]->setBuddy(boxes_[i]);
    boxes_[kBoxSecondPlanetMass]->setAccessibleName(kSecondPlanetMassName);
    boxes_[kBoxSecondPlanetDist]->setAccessibleName(kSecondPlanetDistName);
    for (int i : {kBoxSecondPlanetMass, kBoxSecondPlanetDist}) boxes_[i]->setAccessibleDescription(kDefaultTexts[i]);
}

void KorvelWindow::buildBank() {
    for (int i = 0; i < kBankCount; ++i) {
        auto* button = new WrapButton(this);
        button->setObjectName(QString("cmd_color(%1)").arg(i));
        button->setGeometry(0, 0, 0, 0);
        const auto press = [this, i] { dispatch([this, i] { core_->cmd_color_Click(i); }); };
        // The chosen impulse size shows as a pressed button (not in a button
        // group, which would take the other sizes out of the tab order). Any
        // toggle presses a size button: a click, a key, or the toggle action
        // of assistive technology, which does not click.
        if (i >= kBankImpulse1000 && i <= kBankImpulse1) {
            button->setCheckable(true);
            connect(button, &QPushButton::toggled, this, press);
        } else {
            connect(button, &QPushButton::clicked, this, press);
        }
        bank_[i] = button;
    }
    // The readout reads aloud as one, not as its caption, and shows fewer
    // digits where all of them do not fit.
    bank_[kBankDistance]->setSpoken(spokenDistance);
    bank_[kBankDistance]->setShortened(distanceCaption);
}

KorvelWindow::~KorvelWindow() = default;

WrapButton* KorvelWindow::makeButton(const char* name, const QString& caption, const TwipsRect& rect) {
    auto* button = new WrapButton(caption, this);
    button->setObjectName(name);
    placeOnPanel(button, rect);
    return button;
}

QSize KorvelWindow::startSize() { return {twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips)}; }

QSize KorvelWindow::sizeHint() const { return startSize(); }

// Whole pixels of growth are whole multiples of 15 twips, so a grown control
// moves by exactly the pixels the window gained.
TwipsGrowth KorvelWindow::growth() const {
    return {(width() - startSize().width()) * kTwipsPerPixel, (height() - startSize().height()) * kTwipsPerPixel};
}

void KorvelWindow::placeOnPanel(QWidget* control, const TwipsRect& rect) {
    const auto placed = std::find_if(panelPlaces_.begin(), panelPlaces_.end(),
                                     [control](const auto& place) { return place.first == control; });
    if (placed == panelPlaces_.end())
        panelPlaces_.emplace_back(control, rect);
    else
        placed->second = rect;
    control->setGeometry(twipsToRect(grownPanelRect(rect, growth())));
}

void KorvelWindow::layOut() {
    if (!picture_) return;
    const TwipsGrowth grown = growth();
    picture_->setGeometry(twipsToRect(grownPictureRect(grown)));
    for (const auto& [control, rect] : panelPlaces_) control->setGeometry(twipsToRect(grownPanelRect(rect, grown)));
}

void KorvelWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void KorvelWindow::setTabOrderChain() {
    std::vector<QWidget*> chain;
    chain.push_back(run_);
    for (int i = 0; i <= 3; ++i) chain.push_back(boxes_[i]);
    chain.push_back(stop_);
    chain.push_back(exit_);
    for (int i = 0; i <= 3; ++i) chain.push_back(bank_[i]);
    for (int i = 4; i <= 7; ++i) chain.push_back(boxes_[i]);
    for (int i = 4; i <= 7; ++i) chain.push_back(bank_[i]);
    chain.push_back(restart_);
    chain.push_back(apply_);
    for (int i = 8; i <= 11; ++i) chain.push_back(boxes_[i]);
    chain.push_back(bank_[8]);
    chain.push_back(boxes_[12]);
    chain.push_back(boxes_[13]);
    chain.push_back(bank_[9]);
    chain.push_back(continue_);
    for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

QWidget* KorvelWindow::widget(ControlArray array, int index) const {
    switch (array) {
    case ControlArray::lbl_mass_id: return index >= 0 && index < kLabelCount ? labels_[index] : nullptr;
    case ControlArray::txt_masses: return index >= 0 && index < kBoxCount ? boxes_[index] : nullptr;
    case ControlArray::cmd_color: return index >= 0 && index < kBankCount ? bank_[index] : nullptr;
    }
    return nullptr;
}

KorvelWindow::Slot& KorvelWindow::slot(ControlArray array, int index) {
    return const_cast<Slot&>(std::as_const(*this).slot(array, index));
}

const KorvelWindow::Slot& KorvelWindow::slot(ControlArray array, int index) const {
    static const Slot none;
    switch (array) {
    case ControlArray::lbl_mass_id: return index >= 0 && index < kLabelCount ? labelTexts_[index] : none;
    case ControlArray::txt_masses: return index >= 0 && index < kBoxCount ? boxTexts_[index] : none;
    case ControlArray::cmd_color: return index >= 0 && index < kBankCount ? bankTexts_[index] : none;
    }
    return none;
}

std::string KorvelWindow::text(ControlArray array, int index) const { return slot(array, index).text; }

void KorvelWindow::setText(ControlArray array, int index, std::string_view text) {
    if (!widget(array, index)) return;
    Slot& s = slot(array, index);
    // The same text again costs nothing.
    if (s.text == text) return;
    s.text.assign(text);
    s.pending = true;
    if (!textsPending_) {
        textsPending_ = true;
        flushTimer_.start();
    }
}

void KorvelWindow::flushTexts() {
    if (!textsPending_) return;
    textsPending_ = false;
    flushTimer_.stop();
    for (int i = 0; i < kLabelCount; ++i) {
        if (!labelTexts_[i].pending) continue;
        labelTexts_[i].pending = false;
        labels_[i]->setText(toQString(labelTexts_[i].text));
    }
    for (int i = 0; i < kBoxCount; ++i) {
        if (!boxTexts_[i].pending) continue;
        boxTexts_[i].pending = false;
        const QString text = toQString(boxTexts_[i].text);
        boxes_[i]->setText(text);
        // Show the start of a text longer than its box.
        boxes_[i]->setCursorPosition(0);
        if (describedBox(i)) boxes_[i]->setToolTip(text);
    }
    for (int i = 0; i < kBankCount; ++i) {
        if (!bankTexts_[i].pending) continue;
        bankTexts_[i].pending = false;
        bank_[i]->setText(toQString(bankTexts_[i].text));
    }
}

void KorvelWindow::place(ControlArray array, int index, const TwipsRect& rect) {
    if (QWidget* w = widget(array, index)) placeOnPanel(w, rect);
}

void KorvelWindow::showMessage(std::string_view message) {
    if (!message_) message_ = new OperatorMessage(this, picture_);
    message_->say(toQString(message));
}

QMessageBox* KorvelWindow::messageBox() const { return message_; }

void KorvelWindow::closeMessage() {
    if (message_) message_->hide();
}

void KorvelWindow::endProgram() {
    if (ended_) return;
    ended_ = true;
    timer_.setEnabled(false);
    if (message_) message_->close();
    // The top-level window, whether this is one or the client area of one.
    window()->close();
    QCoreApplication::exit(0);
}

void KorvelWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!ended_) endProgram();
}

template <typename Handler>
void KorvelWindow::dispatch(Handler&& handler) {
    if (ended_) return;
    handler();
    // The operator sees the effect of a click at once.
    flushTexts();
    showChosenSize();
    passOnEvents();
}

void KorvelWindow::passOnEvents() {
    if (!core_->hasEvents()) return;
    const std::vector<RunEvent> events = core_->drainEvents();
    view_->onEvents(events);
    emit happened(events);
}

void KorvelWindow::quit() {
    dispatch([this] { core_->cmd_exit_program_Click(); });
}

void KorvelWindow::openScenario(const Scenario& scenario, const QImage& drawing) {
    dispatch([&] {
        core_->openScenario(scenario);
        if (scenario.run) picture_->setDrawing(drawing);
    });
}

QWidget* KorvelWindow::burnButton(Burn burn) const {
    return burn == Burn::Apply ? apply_ : bank_[kBankForward + static_cast<int>(burn)];
}

void KorvelWindow::showChosenSize() {
    // The size in force decides, whatever the toggle did; setting it is no
    // new press.
    const int chosen = core_->state().impulseSize;
    for (int i = kBankImpulse1000; i <= kBankImpulse1; ++i) {
        const QSignalBlocker quiet(bank_[i]);
        bank_[i]->setChecked(kImpulseSizes[i - kBankImpulse1000] == chosen);
    }
}

void KorvelWindow::tick() {
    if (ended_) return;
    core_->Timer1_Timer();
    view_->onTick();
    // A motion out of range pauses the run.
    passOnEvents();
    emit ticked();
}

}  // namespace korvel::qt
