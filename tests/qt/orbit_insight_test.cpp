// The real window with its menu bar on the offscreen platform: the menus, the
// orbit drawn over the drawing, and the picture as saved.

#include "ui/qt/orbit_insight.h"

#include <QAbstractFileIconProvider>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QEnterEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/panel.h"
#include "app/scenario_file.h"
#include "orbit/elements.h"
#include "qt_support.h"
#include "sim/numbers.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/run_files.h"
#include "ui/qt/scenario_files.h"
#include "ui/qt/scenario_notes.h"

using korvel::qt::KorvelWindow;
using korvel::qt::MainWindow;
using namespace korvel::qt::testing;

class OrbitInsightTest : public QObject {
    Q_OBJECT

    static QAction* action(MainWindow& m, const char* name) {
        auto* a = m.findChild<QAction*>(name);
        if (!a) qWarning("no action %s", name);
        return a;
    }

    // A run of the panel as it stands, paused after `ms`, with the path on.
    static void runPaused(MainWindow& m, int ms) {
        action(m, "actionPredictedPath")->setChecked(true);
        click(m.korvel(), "runSImulation");
        spin(ms);
        click(m.korvel(), "cmd_stop_simulation");
    }

    static void point(QWidget* button, bool in) {
        if (in) {
            QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), button->mapToGlobal(QPointF(4, 4)));
            QApplication::sendEvent(button, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
        }
    }

    static bool samePoints(const std::vector<korvel::Vec2>& a, const std::vector<korvel::Vec2>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](auto p, auto q) { return p.x == q.x && p.y == q.y; });
    }

    // Recent files and dialog folders go here, not into the settings of
    // whoever runs the tests.
    QTemporaryDir settings_;

private slots:
    void initTestCase() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path()); }

    void menusCarryTheirNamesAndKeys() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        QCOMPARE(m.windowTitle(), QString("Korvel Simulation"));
        QVERIFY(m.windowIcon().availableSizes().contains(QSize(16, 16)));
        QVERIFY(m.windowIcon().availableSizes().contains(QSize(256, 256)));
        // The client area keeps its size and place under the menu bar.
        QCOMPARE(m.korvel().size(), QSize(739, 560));
        QCOMPARE(m.korvel().y(), m.menuBar()->geometry().bottom() + 1);
        QCOMPARE(m.size(), QSize(739, 560 + m.menuBar()->height()));
        QCOMPARE(m.minimumSize(), m.maximumSize());

        struct Item {
            const char* menu;
            const char* name;
            const char* text;
            const char* keys;
        };
        const Item items[] = {
            {"menuFile", "actionOpenScenario", "Open Scenario\u2026", "Ctrl+O"},
            {"menuFile", "actionSaveScenario", "Save Scenario\u2026", "Ctrl+S"},
            {"menuFile", "actionSavePicture", "Save Picture\u2026", "Ctrl+Shift+S"},
            {"menuFile", "actionCopyPicture", "Copy Picture", "Ctrl+Shift+C"},
            {"menuFile", "actionExportData", "Export Data\u2026", "Ctrl+E"},
            {"menuFile", "actionQuit", "Quit", "Ctrl+Q"},
            {"menuView", "actionPredictedPath", "Predicted Path", "F2"},
            {"menuView", "actionOrbitData", "Orbit Data", "F3"},
            {"menuView", "actionScenarioNotes", "About This Scenario", "F4"},
            {"menuHelp", "actionHelp", "Korvel Simulation Help", "F1"},
            {"menuHelp", "actionShortcuts", "Keyboard Shortcuts", ""},
            {"menuHelp", "actionAbout", "About Korvel Simulation", ""},
            {"menuHelp", "actionAboutQt", "About Qt", ""},
        };
        for (const Item& item : items) {
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

        // The shortcuts window lists every key of the menus; help and About open
        // windows of their own, About with the version, the licences and Qt.
        action(m, "actionShortcuts")->trigger();
        auto* list = m.findChild<QWidget*>("shortcutsWindow");
        QVERIFY(list && list->isVisible() && list->isWindow());
        const QString keys = list->findChild<QTextBrowser*>()->toPlainText();
        for (const Item& item : items) QVERIFY2(keys.contains(item.keys), item.keys);
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

    void pathLiesOnTheTrailAndNeverInTheDrawing() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        action(m, "actionPredictedPath")->setChecked(true);
        QVERIFY(m.insight().path().points.empty());  // no run yet
        // An ellipse out to 2.8 units; turned half round by a negative scale.
        box(w, 2)->setText("20000");
        box(w, 6)->setText("9500");
        for (const char* scale : {"3", "-3"}) {
            box(w, 3)->setText(scale);
            runPaused(m, 1000);  // more than a revolution
            const QImage drawing = w.picture().image().copy();
            const QImage shown = w.picture().shownImage();
            QCOMPARE(w.picture().grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
            // Every pixel the path changes lies within its markers' reach of the trail.
            int changed = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    if (shown.pixel(x, y) == drawing.pixel(x, y)) continue;
                    ++changed;
                    bool near = false;
                    for (int dy = -5; dy <= 5 && !near; ++dy)
                        for (int dx = -5; dx <= 5 && !near; ++dx)
                            near = drawing.valid(x + dx, y + dy) && isTrail(drawing.pixel(x + dx, y + dy));
                    QVERIFY2(near, qPrintable(QString("scale %1 at %2, %3").arg(scale).arg(x).arg(y)));
                }
            QVERIFY(changed > 500);
            action(m, "actionPredictedPath")->setChecked(false);
            QCOMPARE(w.picture().shownImage(), drawing);
            QCOMPARE(w.picture().image(), drawing);
        }
    }

    void previewShowsABurnAndBecomesThePathWhenPressed() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        runPaused(m, 100);
        QPushButton* forward = bank(w, 0);
        point(forward, true);
        QVERIFY(!m.insight().preview());  // no size chosen: nothing, and no message
        QVERIFY(!w.messageBox() || !w.messageBox()->isVisible());
        point(forward, false);

        QTest::mouseClick(bank(w, 4), Qt::LeftButton);
        const QImage drawing = w.picture().image().copy();
        const double speed = w.core().state().velX[korvel::kCraft];
        const QImage shownBefore = w.picture().shownImage();
        point(forward, true);
        QVERIFY(m.insight().preview());
        const auto preview = m.insight().preview()->points;
        QVERIFY(!samePoints(preview, m.insight().path().points));
        QCOMPARE(w.core().state().velX[korvel::kCraft], speed);
        QCOMPARE(w.picture().image(), drawing);
        forward->click();
        QVERIFY(samePoints(m.insight().path().points, preview));
        QVERIFY(!m.insight().preview());  // the pointer stays, but no second future shows
        point(forward, false);
        QVERIFY(!m.insight().preview());
        QVERIFY(w.picture().shownImage() != shownBefore);  // the new loop shows, not the old

        // "Apply Impulse" reads its direction now; one that is not a number
        // previews nothing, and a message left open stays as it is.
        QPushButton* apply = button(w, "cmd_apply");
        w.showMessage("left open");
        box(w, 7)->setText("up");
        point(apply, true);
        QVERIFY(!m.insight().preview());
        QVERIFY(w.messageBox()->isVisible());
        QCOMPARE(w.messageBox()->text(), QString("left open"));
        point(apply, false);
        // The focus previews as the pointer does.
        box(w, 7)->setText("3.14");
        m.activateWindow();
        QTRY_VERIFY(m.isActiveWindow());
        apply->setFocus();
        QVERIFY(m.insight().preview());
        box(w, 0)->setFocus();
        QVERIFY(!m.insight().preview());
        // After a press by key the focus stays, without a preview, until the
        // keyboard brings it back.
        apply->setFocus();
        QVERIFY(m.insight().preview());
        QTest::keyClick(apply, Qt::Key_Space);
        QVERIFY(!m.insight().preview());
        QTest::keyClick(apply, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTRY_COMPARE(QApplication::focusWidget(), apply);
        QVERIFY(m.insight().preview());
    }

    void orbitDataAloneShowsThePreviewAndAMasslessPlanetsDrift() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        action(m, "actionOrbitData")->setChecked(true);
        box(w, 12)->setText("0");
        box(w, 13)->setText("2.5");
        click(w, "runSImulation");
        click(w, "cmd_color(8)");
        spin(250);
        click(w, "cmd_stop_simulation");
        QWidget* data = m.insight().dataWindow();
        // A second planet of mass 0 pulls nothing: the drift is measured.
        QTRY_VERIFY2(data->findChild<QLabel*>("energyDrift")->text().contains("%"),
                     qPrintable(data->findChild<QLabel*>("energyDrift")->text()));
        QTest::mouseClick(bank(w, 4), Qt::LeftButton);
        point(bank(w, 0), true);
        QVERIFY(m.insight().preview());
        QVERIFY(data->findChild<QLabel*>("orbitPeriapsisPreview")->isVisible());
        QVERIFY(!w.picture().showsOverlay());  // no path drawn: Predicted Path is off
    }

    // The warning follows the path drawn, second planet included, where the
    // two-body orbit would say the opposite.
    void surfaceWarningSpeaksOfThePathDrawn() {
        const struct {
            const char *distance, *speed;
            bool meets;
        } cases[] = {{"1.5", "5858.9", true}, {"2", "4518.9", false}};
        for (const auto& c : cases) {
            MainWindow m;
            KorvelWindow& w = m.korvel();
            action(m, "actionOrbitData")->setChecked(true);
            box(w, 4)->setText(c.distance);
            box(w, 6)->setText(c.speed);
            box(w, 12)->setText(".05");
            box(w, 13)->setText("2.5");
            click(w, "runSImulation");
            click(w, "cmd_color(8)");
            click(w, "cmd_stop_simulation");
            QWidget* data = m.insight().dataWindow();
            QTRY_VERIFY(!data->findChild<QLabel*>("orbitPeriapsis")->text().startsWith("\u2014"));
            const auto& s = w.core().state();
            const auto twoBody = korvel::orbit::orbitFigures({s.posX[korvel::kCraft], s.posY[korvel::kCraft]},
                                                             {s.velX[korvel::kCraft], s.velY[korvel::kCraft]}, {1});
            QCOMPARE(twoBody->timeToSurface.has_value(), !c.meets);
            auto* warning = data->findChild<QLabel*>("orbitWarning");
            QCOMPARE(warning->isVisible(), c.meets);
            QCOMPARE(m.insight().path().impact.has_value(), c.meets);
            if (c.meets) {
                QVERIFY2(warning->text().endsWith("until the path meets the surface"), qPrintable(warning->text()));
                const double shown = warning->text().section(' ', 0, 0).toDouble();
                QCOMPARE(std::round(*m.insight().path().timeToImpact / 60 * 100) / 100, shown);
            }
        }
    }

    void stepWarningOnlyWhereTheTimeFactorIsTooCoarse() {
        for (const char* timeFactor : {"1000", "1e6"}) {
            MainWindow m;
            KorvelWindow& w = m.korvel();
            box(w, 2)->setText(timeFactor);
            click(w, "runSImulation");
            click(w, "cmd_stop_simulation");
            w.core().state().tickElapsed = 0.0011;  // a tick as the platform timer gives them
            action(m, "actionOrbitData")->setChecked(true);
            auto* warning = m.insight().dataWindow()->findChild<QLabel*>("orbitStepWarning");
            QCOMPARE(warning->isVisible(), QByteArray(timeFactor) == "1e6");
        }
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

    void savePictureWritesWhatTheSurfaceShows() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        runPaused(m, 300);
        const QImage shown = w.picture().shownImage();
        QVERIFY(shown != w.picture().image());
        QTemporaryDir dir;
        const QString file = dir.filePath("orbit.png");
        QVERIFY(m.runFiles().savePicture(file));
        QCOMPARE(QImage(file).convertToFormat(QImage::Format_RGB32), shown);
        // The next picture's dialog starts in that folder; a scenario's does not.
        action(m, "actionSavePicture")->trigger();
        QCOMPARE(QDir(m.findChild<QFileDialog*>("savePictureDialog")->directory()), QDir(dir.path()));
        action(m, "actionOpenScenario")->trigger();
        QVERIFY(QDir(m.findChild<QFileDialog*>("openScenarioDialog")->directory()) != QDir(dir.path()));
        m.runFiles().copyPicture();
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), shown);
        // A file that cannot be written is named, with the reason.
        const QString bad = dir.filePath("no folder/orbit.png");
        QVERIFY(!m.runFiles().savePicture(bad));
        QVERIFY(w.messageBox() && w.messageBox()->isVisible());
        QVERIFY2(w.messageBox()->text().contains(QDir::toNativeSeparators(bad) + "\": "),
                 qPrintable(w.messageBox()->text()));
        QVERIFY(!QFile::exists(bad));
    }

    void aScenarioKeepsTheRunAndIsRefusedWhole() {
        QTemporaryDir dir;
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        bank(m.korvel(), korvel::kBankImpulse1000)->click();
        runPaused(m, 300);
        const QString kept = dir.filePath("kept");
        QVERIFY(m.scenarios().save(kept));  // the extension added

        MainWindow other;
        other.show();
        KorvelWindow& w = other.korvel();
        // Dropped on the window, as from a file manager.
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(kept + ".korvel")});
        QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&other, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&other, &drop);
        QVERIFY(drop.isAccepted());
        const auto pixels = [](KorvelWindow& k) { return k.picture().image().convertToFormat(QImage::Format_RGB32); };
        QCOMPARE(pixels(w), pixels(m.korvel()));
        QVERIFY(w.core().paused());
        const korvel::SimulationState &a = w.core().state(), &b = m.korvel().core().state();
        QVERIFY(a.posX == b.posX && a.posY == b.posY && a.velX == b.velX && a.velY == b.velY);
        for (int i : {korvel::kBoxSpeed, korvel::kBoxRealtimeInterval, korvel::kBoxPlanetMass})
            QCOMPARE(box(w, i)->text(), box(m.korvel(), i)->text());
        QCOMPARE(bank(w, korvel::kBankImpulse1000)->isChecked(), true);
        QCOMPARE(other.scenarios().recent(), QStringList{QFileInfo(kept + ".korvel").absoluteFilePath()});

        // Refused whole, whatever the fault: the panel, the run, the drawing
        // and the pause stay as they were, and the message names the file.
        const auto write = [&](const char* name, const QByteArray& bytes) {
            QFile file(dir.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
            return file.fileName();
        };
        QFile keptFile(kept + ".korvel");
        keptFile.open(QIODevice::ReadOnly);
        QByteArray notPng = keptFile.readAll();
        notPng.replace(notPng.indexOf("\"drawing\": \"") + 12, 8, "YWJjZGVm");
        box(w, korvel::kBoxPlanetMass)->setText("7");
        const QImage before = pixels(w);
        const double x = w.core().state().posX[korvel::kCraft];
        for (const QString& bad :
             {write("broken.korvel", "{\"format\": \"korvel-scenario\",\n\"panel\": {\"planet mass\": 2,}}"),
              write("not-png.korvel", notPng), dir.filePath("missing.korvel")}) {
            QVERIFY(!other.openScenarioFile(bad));
            QVERIFY2(w.messageBox()->text().contains(QFileInfo(bad).fileName()), qPrintable(w.messageBox()->text()));
            QCOMPARE(box(w, korvel::kBoxPlanetMass)->text(), QString("7"));
            QCOMPARE(pixels(w), before);
            QCOMPARE(w.core().state().posX[korvel::kCraft], x);
            QVERIFY(w.core().paused());
            if (bad.endsWith("broken.korvel")) QVERIFY(w.messageBox()->text().contains("line 2, column"));
        }
        QVERIFY(!other.scenarios().recent().contains(dir.filePath("missing.korvel")));
    }

    void anExampleShowsItsTaskAndSaveWritesATeachersWords() {
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

        // Save Scenario takes a title and a description, and a title left
        // empty takes the file's name.
        QTemporaryDir dir;
        action(m, "actionSaveScenario")->trigger();
        auto* dialog = m.findChild<QFileDialog*>("saveScenarioDialog");
        auto* title = dialog->findChild<QLineEdit*>("scenarioTitleField");
        auto* description = dialog->findChild<QPlainTextEdit*>("scenarioDescriptionField");
        QVERIFY(title && description && title->isVisible());
        QCOMPARE(title->text(), notes.title());
        title->clear();
        description->setPlainText("Reach the circle in one burn.");
        dialog->setDirectory(dir.path());
        dialog->selectFile("lab");
        static_cast<QDialog*>(dialog)->accept();
        QFile saved(dir.filePath("lab.korvel"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray text = saved.readAll();
        const auto read = korvel::parseScenario(std::string_view(text.constData(), text.size())).scenario;
        QVERIFY(read);
        QCOMPARE(read->title, std::string("lab"));
        QCOMPARE(read->description, std::string("Reach the circle in one burn."));
        QCOMPARE(notes.title(), QString("lab"));
    }

    void exportDataWritesTheRunSoFarWhileItGoesOn() {
        MainWindow m;
        KorvelWindow& w = m.korvel();
        click(w, "runSImulation");
        action(m, "actionExportData")->trigger();
        auto* dialog = m.findChild<QFileDialog*>("exportDataDialog");
        QVERIFY(dialog && dialog->isVisible() && dialog->iconProvider());
        const std::uint64_t ticks = w.tickCount();
        QTRY_VERIFY(w.tickCount() > ticks + 3);
        // The semicolon style, chosen in the dialog; the last row is the
        // state at this moment.
        QTemporaryDir dir;
        dialog->selectNameFilter(dialog->nameFilters().at(1));
        dialog->setDirectory(dir.path());
        static_cast<QDialog*>(dialog)->accept();
        QFile file(dir.filePath("korvel-run.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QVERIFY(lines.size() > 3);
        std::string x = korvel::roundTripText(w.core().state().posX[korvel::kCraft]);
        std::replace(x.begin(), x.end(), '.', ',');
        QCOMPARE(lines.at(lines.size() - 2).split(';').at(1), QByteArray::fromStdString(x));
        // A file that cannot be written is named, with the reason.
        const QString bad = dir.filePath("no folder/run.csv");
        QVERIFY(!m.runFiles().exportData(bad, korvel::CsvStyle::Comma));
        QVERIFY2(w.messageBox()->text().contains(QDir::toNativeSeparators(bad) + "\": "),
                 qPrintable(w.messageBox()->text()));
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

int main(int argc, char** argv) { return runWindowSuite<OrbitInsightTest>(argc, argv); }

#include "orbit_insight_test.moc"
