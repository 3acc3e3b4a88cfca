// The real window's menu bar on the offscreen platform: its items and keys,
// the dialogs they open, the help windows, a scenario's notes, and Quit.

#include <QAbstractFileIconProvider>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <utility>

#include "app/files/scenario_file.h"
#include "qt_support.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/help_windows.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/orbit_insight.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/scenario_notes.h"

using korvel::qt::MainWindow;
using namespace korvel::qt::testing;

class MenusTest : public QObject {
    Q_OBJECT

    struct Item {
        const char* menu;
        const char* name;
        const char* text;
        const char* keys;
    };
    static constexpr Item kItems[] = {
        {"menuFile", "actionOpenScenario", "Open Scenario\u2026", "Ctrl+O"},
        {"menuFile", "actionSaveScenario", "Save Scenario\u2026", "Ctrl+S"},
        {"menuFile", "actionSavePicture", "Save Picture\u2026", "Ctrl+Shift+S"},
        {"menuFile", "actionCopyPicture", "Copy Picture", "Ctrl+Shift+C"},
        {"menuFile", "actionExportData", "Export Data\u2026", "Ctrl+E"},
        {"menuFile", "actionQuit", "Quit", "Ctrl+Q"},
        {"menuView", "actionPredictedPath", "Predicted Path", "F2"},
        {"menuView", "actionOrbitData", "Orbit Data", "F3"},
        {"menuView", "actionScenarioNotes", "About This Scenario", "F4"},
        {"menuView", "actionFullScreen", "Full Screen", "F11"},
        {"menuHelp", "actionHelp", "Korvel Simulation Help", "F1"},
        {"menuHelp", "actionShortcuts", "Keyboard Shortcuts", ""},
        {"menuHelp", "actionAbout", "About Korvel Simulation", ""},
        {"menuHelp", "actionAboutQt", "About Qt", ""},
    };

    // Recent files and dialog folders go here, not into the settings of
    // whoever runs the tests.
    QTemporaryDir settings_;

private slots:
    void initTestCase() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path()); }

    void theClientAreaStartsAtItsSizeUnderTheMenuBar() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QCOMPARE(m.windowTitle(), QString("Korvel Simulation"));
        QVERIFY(m.windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(m.windowIcon().availableSizes().contains(QSize(256, 256)));
        // The client area starts at its size under the menu bar, and the
        // window never gets smaller than that.
        QCOMPARE(m.korvel().size(), QSize(739, 560));
        QCOMPARE(m.korvel().y(), m.menuBar()->geometry().bottom() + 1);
        QCOMPARE(m.size(), QSize(739, 560 + m.menuBar()->height()));
        QCOMPARE(m.minimumSize(), m.size());
    }

    void menusCarryTheirNamesAndKeys() {
        MainWindow m;
        for (const Item& item : kItems) {
            QAction* a = action(m, item.name);
            QVERIFY(a);
            QCOMPARE(a->text(), QString::fromUtf8(item.text));
            QCOMPARE(a->shortcut(), QKeySequence(item.keys));
            QVERIFY(m.findChild<QMenu*>(item.menu)->actions().contains(a));
            QCOMPARE(a->isChecked(), false);
        }
        QVERIFY(action(m, "actionPredictedPath")->isCheckable() && action(m, "actionOrbitData")->isCheckable());
        QCOMPARE(m.findChild<QMenu*>("menuView")->title(), QString("&View"));
        // No key that the boxes edit with.
        for (QAction* a : m.findChildren<QAction*>())
            for (const char* editing : {"Ctrl+C", "Ctrl+V", "Ctrl+X", "Ctrl+A", "Ctrl+Z", "Ctrl+Y"})
                QVERIFY2(a->shortcut() != QKeySequence(editing), qPrintable(a->text()));
    }

    // Colours and line widths are exclusive choices in the View menu, kept
    // for the next start. Light draws the view on white at once, the drawing
    // staying black behind it; Dark at the typed view gives the drawing back,
    // pixel for pixel.
    void coloursAndLineWidthsAreKeptAndLightDrawsOnWhite() {
        const QStringList choices{"actionColoursDark", "actionColoursLight", "actionLineWidth1", "actionLineWidth2",
                                  "actionLineWidth3"};
        {
            MainWindow m;
            m.show();
            QVERIFY(QTest::qWaitForWindowExposed(&m));
            auto* view = m.findChild<QMenu*>("menuView");
            for (const QString& name : choices) {
                QAction* a = action(m, qPrintable(name));
                QVERIFY(a && a->isCheckable() && a->actionGroup() && a->actionGroup()->isExclusive());
                auto* menu = qobject_cast<QMenu*>(a->parent());
                QVERIFY(menu && menu->actions().contains(a) && view->actions().contains(menu->menuAction()));
            }
            QVERIFY(action(m, "actionColoursDark")->isChecked() && action(m, "actionLineWidth1")->isChecked());
            korvel::qt::PictureBox& picture = m.korvel().picture();
            click(m.korvel(), "runSImulation");
            spin(1500);
            click(m.korvel(), "cmd_stop_simulation");
            const auto shown = [&] { return picture.grab().toImage().convertToFormat(QImage::Format_RGB32); };
            const QImage before = shown();
            QCOMPARE(before, picture.image());

            action(m, "actionColoursLight")->trigger();
            QVERIFY(m.korvel().view().active() && !action(m, "actionColoursDark")->isChecked());
            const QImage light = shown();
            QCOMPARE(light.pixelColor(2, 2), QColor(Qt::white));
            QCOMPARE(picture.image().pixelColor(2, 2), QColor(Qt::black));
            QVERIFY(m.korvel().findChild<QLabel*>("scaleBar")->isVisible());
            // A wider line covers more of the ground.
            const auto inked = [](const QImage& image) {
                int n = 0;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != qRgb(255, 255, 255);
                return n;
            };
            action(m, "actionLineWidth3")->trigger();
            QVERIFY(inked(shown()) > inked(light) + countTrail(picture.image()));
        }
        {
            MainWindow m;
            QVERIFY(action(m, "actionColoursLight")->isChecked() && action(m, "actionLineWidth3")->isChecked());
            QVERIFY(m.korvel().view().active());
            m.show();
            QVERIFY(QTest::qWaitForWindowExposed(&m));
            click(m.korvel(), "runSImulation");
            spin(1500);
            click(m.korvel(), "cmd_stop_simulation");
            action(m, "actionLineWidth1")->trigger();
            action(m, "actionColoursDark")->trigger();
            QVERIFY(!m.korvel().view().active());
            QVERIFY(!m.korvel().findChild<QLabel*>("scaleBar")->isVisible());
            korvel::qt::PictureBox& picture = m.korvel().picture();
            // Drawn behind the view all along.
            QVERIFY(countTrail(picture.image()) > 100);
            QCOMPARE(picture.grab().toImage().convertToFormat(QImage::Format_RGB32), picture.image());
        }
    }

    // The shortcuts window lists every key of the menus; help and About open
    // windows of their own, About with the version, the licences and Qt.
    void helpShortcutsAndAboutOpenWindowsOfTheirOwn() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        action(m, "actionShortcuts")->trigger();
        auto* list = m.findChild<QWidget*>("shortcutsWindow");
        QVERIFY(list && list->isVisible() && list->isWindow());
        const QString keys = list->findChild<QTextBrowser*>()->toPlainText();
        for (const Item& item : kItems) QVERIFY2(keys.contains(item.keys), item.keys);
        // Every row in view, without a scroll bar.
        QCOMPARE(list->findChild<QTextBrowser*>()->verticalScrollBar()->maximum(), 0);
        action(m, "actionHelp")->trigger();
        QVERIFY(m.findChild<QWidget*>("helpWindow")->isVisible());
        QApplication::setApplicationVersion("9.8.7");
        action(m, "actionAbout")->trigger();
        auto* about = m.findChild<QMessageBox*>("aboutBox");
        QVERIFY(about && about->isVisible() && !about->isModal());
        for (const QString& part : {QString("9.8.7"), QString("MIT"), QString(qVersion()), QString("LGPL")})
            QVERIFY2(about->text().contains(part), qPrintable(part));
    }

    // The length unit and μ a teacher checks read alike wherever they show.
    void helpAndOrbitDataStateTheUnitsInTheSameWords() {
        MainWindow m;
        action(m, "actionHelp")->trigger();
        const QString help = m.findChild<QWidget*>("helpWindow")->findChild<QTextBrowser*>()->toPlainText();
        action(m, "actionOrbitData")->setChecked(true);
        const QString data = m.insight().dataWindow()->findChild<QLabel*>("unitsNote")->text();
        for (const QString& shown : {help, data}) {
            QVERIFY2(shown.contains(korvel::qt::unitsNote()), qPrintable(shown));
            QVERIFY(shown.contains("6,380 km") && shown.contains("3.989e14") && shown.contains("6,400 km"));
        }
    }

    void keyboardReachesTheMenusOutsideTheTabOrder() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        m.activateWindow();
        QTRY_VERIFY(m.isActiveWindow());
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("runSImulation"));
        child(m.korvel(), "cmd_continue")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString("runSImulation"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
        QTRY_VERIFY(m.menuBar()->activeAction());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTest::keyClick(m.menuBar(), Qt::Key_Escape);
        QTRY_VERIFY(!m.menuBar()->activeAction());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Alt, Qt::AltModifier);
        QTRY_VERIFY(m.menuBar()->activeAction());
    }

    void fileDialogsNeverReadContents() {
        QTemporaryDir dir;
        // A PNG without its extension: only reading it would tell. A FIFO or
        // /proc/kmsg would block that read for ever.
        QFile file(dir.filePath("drawing"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\x89PNG\r\n\x1a\n", 8));
        file.close();
        MainWindow m;
        for (const auto& [item, name] : {std::pair{"actionSavePicture", "savePictureDialog"},
                                         {"actionOpenScenario", "openScenarioDialog"},
                                         {"actionSaveScenario", "saveScenarioDialog"}}) {
            action(m, item)->trigger();
            auto* dialog = m.findChild<QFileDialog*>(name);
            QVERIFY2(dialog && dialog->iconProvider(), name);
            QCOMPARE(dialog->iconProvider()->type(QFileInfo(file.fileName())), QString("File"));
            dialog->close();
        }
    }

    void anExampleShowsItsTaskBesideThePanel() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QFile resource(":/examples/7-hohmann-transfer.korvel");
        QVERIFY(resource.open(QIODevice::ReadOnly));
        const QByteArray bytes = resource.readAll();
        const auto example = korvel::parseScenario(std::string_view(bytes.constData(), bytes.size())).scenario;
        QVERIFY(example);
        // The task opens in a window of its own, clear of the panel; Esc
        // closes it, and the menu says so.
        action(m, "example-7-hohmann-transfer")->trigger();
        korvel::qt::ScenarioNotes& notes = m.scenarioNotes();
        QVERIFY(notes.isVisible() && action(m, "actionScenarioNotes")->isChecked());
        QCOMPARE(notes.title(), QString::fromStdString(example->title));
        QCOMPARE(notes.description(), QString::fromStdString(example->description));
        const QWidget& drawing = m.korvel().picture();
        const QRect panel(drawing.mapToGlobal(QPoint(drawing.width(), 0)), m.frameGeometry().bottomRight());
        QVERIFY(!notes.frameGeometry().intersects(panel));
        notes.activateWindow();
        QTRY_VERIFY(notes.isActiveWindow());
        QTRY_COMPARE(QGuiApplication::focusWindow(), notes.windowHandle());
        QTest::keyClick(&notes, Qt::Key_Escape);
        QTRY_VERIFY(!notes.isVisible() && !action(m, "actionScenarioNotes")->isChecked());
    }

    void quitOrCloseEndsTheProgram() {
        for (bool quit : {true, false}) {
            MainWindow m;
            m.show();
            QVERIFY(QTest::qWaitForWindowExposed(&m));
            QTimer::singleShot(50, &m, [&] { quit ? action(m, "actionQuit")->trigger() : (void)m.close(); });
            QTimer::singleShot(5000, &m, [] { QCoreApplication::exit(99); });
            QCOMPARE(QCoreApplication::exec(), 0);
            QVERIFY(m.korvel().ended());
            QVERIFY(!m.isVisible());
        }
    }
};

int main(int argc, char** argv) { return runWindowSuite<MenusTest>(argc, argv); }

#include "menus_test.moc"
