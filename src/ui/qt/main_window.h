#pragma once
// The program's window: a menu bar over the client area `Korvel`, which starts
// at its twips size and grows with the window (maximised, or full screen with
// F11; Esc leaves full screen) but never shrinks. The menus open and save scenarios,
// save and copy the picture, export the run's data, turn the predicted path, the Orbit Data window
// and the scenario's notes on and off, and open the help. A scenario file
// dropped on it opens.

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;

namespace korvel::qt {

class KorvelWindow;
class OrbitInsight;
class RunFiles;
class ScenarioFiles;
class ScenarioNotes;
class ViewTools;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    KorvelWindow& korvel() { return *korvel_; }
    OrbitInsight& insight() { return *insight_; }

    // Opens a scenario file as the operator would; one that does not open is
    // named in a message, and nothing changes.
    bool openScenarioFile(const QString& fileName);

    ScenarioFiles& scenarios() { return *scenarios_; }
    // Save Picture, Copy Picture and Export Data.
    RunFiles& runFiles() { return *runFiles_; }
    // About This Scenario; hidden until asked for or a scenario with a
    // description opens.
    ScenarioNotes& scenarioNotes() { return *notes_; }
    // The grid, the measuring tape and the arrows over the drawing.
    ViewTools& tools() { return *tools_; }

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildMenus();
    QMenu* buildFileMenu();
    void buildViewMenu();
    void buildNotesItem(QMenu* view);
    void buildZoomItems(QMenu* view);
    void buildToolItems(QMenu* view);
    void showScenarioNotes(bool shown);
    void buildFullScreenItem(QMenu* view);
    void setFullScreen(bool on);
    void buildHelpMenu();
    // A menu item; `whatItDoes` is what the shortcuts window says of its keys.
    QAction* addItem(QMenu* menu, const char* name, const QString& text, const QKeySequence& keys,
                     const QString& whatItDoes = QString());
    // Makes the window once, then shows it again.
    void showHelpWindow(QPointer<QWidget>& window, const std::function<QWidget*()>& make);
    void showAbout();

    KorvelWindow* korvel_ = nullptr;
    OrbitInsight* insight_ = nullptr;
    ScenarioFiles* scenarios_ = nullptr;
    RunFiles* runFiles_ = nullptr;
    ScenarioNotes* notes_ = nullptr;
    ViewTools* tools_ = nullptr;
    QAction* fullScreen_ = nullptr;
    bool notesPlaced_ = false;
    QPointer<QWidget> help_;
    QPointer<QWidget> shortcuts_;
};

}  // namespace korvel::qt
