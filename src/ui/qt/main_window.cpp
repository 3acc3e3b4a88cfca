#include "ui/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QShortcut>
#include <QSignalBlocker>

#include "ui/qt/drawing_view.h"
#include "ui/qt/help_windows.h"
#include "ui/qt/kept_view.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/look_menus.h"
#include "ui/qt/orbit_insight.h"
#include "ui/qt/run_files.h"
#include "ui/qt/scenario_files.h"
#include "ui/qt/scenario_notes.h"
#include "ui/qt/tool_windows.h"
#include "ui/qt/view_tools.h"

namespace korvel::qt {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    korvel_ = new KorvelWindow(this);
    setCentralWidget(korvel_);
    setWindowTitle(korvel_->windowTitle());
    // Every size compiled in; each file tells its own size.
    QIcon icon;
    for (const QFileInfo& file : QDir(":/icons").entryInfoList(QDir::Files)) icon.addFile(file.filePath());
    setWindowIcon(icon);

    insight_ = new OrbitInsight(*korvel_, this);
    scenarios_ = new ScenarioFiles(this, *korvel_);
    runFiles_ = new RunFiles(this, *korvel_);
    notes_ = new ScenarioNotes(this);
    // A scenario file dropped on the window opens.
    setAcceptDrops(true);
    connect(korvel_, &KorvelWindow::happened, insight_, &OrbitInsight::onEvents);
    connect(korvel_, &KorvelWindow::ticked, insight_, &OrbitInsight::onTick);
    connect(&korvel_->view(), &DrawingView::changed, insight_, &OrbitInsight::viewChanged);
    tools_ = new ViewTools(korvel_->picture(), korvel_->view(), korvel_->core(), *insight_);
    connect(korvel_, &KorvelWindow::ticked, tools_, &ViewTools::onTick);
    buildMenus();
    // The menus' items are what a kept view is read from and put back into.
    scenarios_->setViewKeeping(
        [this] { return keptView(*this, korvel_->view(), *tools_); },
        [this](const ScenarioView& kept) { applyKeptView(*this, kept, korvel_->view(), *tools_); });
}

MainWindow::~MainWindow() {
    // Before the client area: its buttons' last focus events must not reach
    // a controller that reads a window already half gone.
    delete insight_;
}

QAction* MainWindow::addItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys,
                             const QString& whatItDoes) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    action->setStatusTip(whatItDoes);
    return action;
}

void MainWindow::buildMenus() {
    QMenu* file = buildFileMenu();
    buildViewMenu();
    buildHelpMenu();
    // F10 opens the menus, as on Windows; Alt does in the style itself.
    auto* toMenus = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(toMenus, &QShortcut::activated, this, [this, file] { menuBar()->setActiveAction(file->menuAction()); });
}

QMenu* MainWindow::buildFileMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("menuFile");
    connect(addItem(file, "actionOpenScenario", "Open Scenario\u2026", QKeySequence(Qt::CTRL | Qt::Key_O),
                    "Open Scenario\u2026 (a set-up, or a run kept with its drawing)"),
            &QAction::triggered, scenarios_, &ScenarioFiles::askToOpen);
    QMenu* recent = file->addMenu("Open &Recent");
    recent->setObjectName("menuRecentScenarios");
    scenarios_->fillRecentMenu(recent);
    QMenu* examples = file->addMenu("&Examples");
    examples->setObjectName("menuExamples");
    scenarios_->fillExamplesMenu(examples);
    connect(addItem(file, "actionSaveScenario", "Save Scenario\u2026", QKeySequence(Qt::CTRL | Qt::Key_S),
                    "Save Scenario\u2026 (the panel, and the run so far with its drawing)"),
            &QAction::triggered, scenarios_, &ScenarioFiles::askToSave);
    file->addSeparator();
    connect(addItem(file, "actionSavePicture", "Save Picture\u2026", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                    "Save Picture\u2026 (a PNG of the drawing and the path over it)"),
            &QAction::triggered, runFiles_, &RunFiles::askToSavePicture);
    connect(addItem(file, "actionCopyPicture", "Copy Picture", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                    "Copy Picture to the clipboard"),
            &QAction::triggered, runFiles_, &RunFiles::copyPicture);
    connect(addItem(file, "actionExportData", "Export Data\u2026", QKeySequence(Qt::CTRL | Qt::Key_E),
                    "Export Data\u2026 (the run so far as CSV, for a spreadsheet)"),
            &QAction::triggered, runFiles_, &RunFiles::askToExportData);
    file->addSeparator();
    // Exactly what the "Quit" button does.
    connect(addItem(file, "actionQuit", "Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), "Quit, like the \"Quit\" button"),
            &QAction::triggered, korvel_, &KorvelWindow::quit);
    return file;
}

void MainWindow::buildViewMenu() {
    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("menuView");
    QAction* path =
        addItem(view, "actionPredictedPath", "Predicted Path", QKeySequence(Qt::Key_F2), "Predicted Path on or off");
    path->setCheckable(true);
    connect(path, &QAction::toggled, insight_, &OrbitInsight::setPathShown);
    QAction* data =
        addItem(view, "actionOrbitData", "Orbit Data", QKeySequence(Qt::Key_F3), "Orbit Data window on or off");
    data->setCheckable(true);
    connect(data, &QAction::toggled, insight_, &OrbitInsight::setDataShown);
    connect(insight_, &OrbitInsight::dataClosed, data, [data] { data->setChecked(false); });
    buildNotesItem(view);
    buildFullScreenItem(view);
    view->addSeparator();
    buildZoomItems(view);
    view->addSeparator();
    buildLookMenus(view, korvel_->view(), *insight_, *tools_);
    view->addSeparator();
    buildToolItems(view);
}

void MainWindow::buildToolItems(QMenu* view) {
    const auto toggle = [this, view](const char* name, const QString& text, const QKeySequence& keys,
                                     const QString& whatItDoes, void (ViewTools::*show)(bool)) {
        QAction* item = addItem(view, name, text, keys, whatItDoes);
        item->setCheckable(true);
        connect(item, &QAction::toggled, tools_, show);
    };
    toggle("actionGrid", "Grid", QKeySequence(Qt::CTRL | Qt::Key_G),
           "Grid on or off: lines at a round spacing, written in the corner", &ViewTools::setGridShown);
    toggle("actionTape", "Measuring Tape", QKeySequence(Qt::CTRL | Qt::Key_T),
           "Measuring tape on or off: drag its ends, or press [ or ] to choose an end and Shift+arrow keys to move it",
           &ViewTools::setTapeShown);
    toggle("actionVelocityArrow", "Velocity Arrow", QKeySequence(),
           "The craft's velocity as an arrow, to the grid's scale", &ViewTools::setVelocityArrowShown);
    toggle("actionGravityArrow", "Gravity Arrows", QKeySequence(),
           "The pull of each planet on the craft as an arrow, to the grid's scale", &ViewTools::setGravityArrowShown);
}

void MainWindow::buildZoomItems(QMenu* view) {
    DrawingView* drawing = &korvel_->view();
    connect(addItem(view, "actionZoomIn", "Zoom In", QKeySequence::ZoomIn, "Look closer at the middle of the drawing"),
            &QAction::triggered, drawing, &DrawingView::zoomIn);
    connect(addItem(view, "actionZoomOut", "Zoom Out", QKeySequence::ZoomOut, "See more of the world"),
            &QAction::triggered, drawing, &DrawingView::zoomOut);
    connect(addItem(view, "actionFitOrbit", "Fit Orbit", QKeySequence(Qt::CTRL | Qt::Key_9),
                    "Show the whole trail and the predicted path"),
            &QAction::triggered, this, [this] { korvel_->view().fit(insight_->path().points); });
    connect(addItem(view, "actionResetView", "Reset View", QKeySequence(Qt::CTRL | Qt::Key_0),
                    "Back to the screen scale typed, centred on the planet"),
            &QAction::triggered, drawing, &DrawingView::reset);
    QAction* follow = addItem(view, "actionFollowCraft", "Follow Craft", QKeySequence(), "Keep the craft in view");
    follow->setCheckable(true);
    connect(follow, &QAction::toggled, drawing, &DrawingView::setFollowCraft);
}

void MainWindow::buildFullScreenItem(QMenu* view) {
    fullScreen_ = addItem(view, "actionFullScreen", "Full Screen", QKeySequence(Qt::Key_F11),
                          "Full Screen on or off (Esc leaves it)");
    fullScreen_->setCheckable(true);
    connect(fullScreen_, &QAction::toggled, this, &MainWindow::setFullScreen);
}

void MainWindow::setFullScreen(bool on) {
    if (on == isFullScreen()) return;
    // Only the full-screen state changes: a maximised window leaving full
    // screen is maximised again.
    setWindowState(windowState().setFlag(Qt::WindowFullScreen, on));
}

void MainWindow::changeEvent(QEvent* event) {
    // However full screen was left (Esc, F11, the window manager), the item
    // shows the state the window is in.
    if (event->type() == QEvent::WindowStateChange && fullScreen_) {
        const QSignalBlocker quiet(fullScreen_);
        fullScreen_->setChecked(isFullScreen());
    }
    QMainWindow::changeEvent(event);
}

// Esc reaches the window only when nothing took it: an open message closes
// first (its own Esc), and a control that uses Esc keeps it.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (isFullScreen() && event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        setFullScreen(false);
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::buildNotesItem(QMenu* view) {
    QAction* notes = addItem(view, "actionScenarioNotes", "About This Scenario", QKeySequence(Qt::Key_F4),
                             "About This Scenario window on or off (the scenario's title and task)");
    notes->setCheckable(true);
    connect(notes, &QAction::toggled, this, &MainWindow::showScenarioNotes);
    connect(notes_, &ScenarioNotes::closed, notes, [notes] { notes->setChecked(false); });
    // A scenario that describes itself shows its words as it opens, so that
    // a task can be read while it is done.
    connect(scenarios_, &ScenarioFiles::notesChanged, this,
            [this, notes](const QString& title, const QString& description, bool opened) {
                notes_->showNotes(title, description);
                if (!opened || description.isEmpty()) return;
                notes->setChecked(true);
                notes_->raise();
            });
}

void MainWindow::showScenarioNotes(bool shown) {
    if (!shown) {
        notes_->hide();
        return;
    }
    if (!notesPlaced_) {
        notesPlaced_ = true;
        placeBeside(notes_, this, &korvel_->picture());
    }
    notes_->show();
    notes_->raise();
}

void MainWindow::buildHelpMenu() {
    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("menuHelp");
    connect(addItem(help, "actionHelp", "Korvel Simulation Help", QKeySequence(Qt::Key_F1)), &QAction::triggered, this,
            [this] { showHelpWindow(help_, [this] { return makeGuideWindow(this); }); });
    // Its list is built from the menus' own keys.
    connect(addItem(help, "actionShortcuts", "Keyboard Shortcuts", QKeySequence()), &QAction::triggered, this, [this] {
        showHelpWindow(shortcuts_, [this] { return makeShortcutsWindow(this, menuBar()->findChildren<QAction*>()); });
    });
    help->addSeparator();
    connect(addItem(help, "actionAbout", "About Korvel Simulation", QKeySequence()), &QAction::triggered, this,
            &MainWindow::showAbout);
    connect(addItem(help, "actionAboutQt", "About Qt", QKeySequence()), &QAction::triggered, qApp,
            &QApplication::aboutQt);
}

void MainWindow::showHelpWindow(QPointer<QWidget>& window, const std::function<QWidget*()>& make) {
    if (!window) {
        window = make();
        placeBeside(window, this, &korvel_->picture());
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void MainWindow::showAbout() {
    auto* box = new QMessageBox(QMessageBox::NoIcon, "About Korvel Simulation", aboutText(), QMessageBox::Ok, this);
    box->setObjectName("aboutBox");
    box->setIconPixmap(windowIcon().pixmap(64, 64));
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // The run goes on while it is open.
    box->setModal(false);
    box->show();
}

bool MainWindow::openScenarioFile(const QString& fileName) { return scenarios_->open(fileName); }

namespace {

// The local file a drop carries, if it carries exactly one.
QString droppedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.first().isLocalFile() ? urls.first().toLocalFile() : QString();
}

}  // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    const QString file = droppedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    openScenarioFile(file);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    korvel_->endProgram();
}

}  // namespace korvel::qt
