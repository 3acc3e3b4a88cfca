// The real window's files on the offscreen platform: scenarios opened,
// dropped, refused and saved, the picture saved and copied, and the run's
// data exported, each failure named with its reason.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <functional>

#include "app/files/scenario_file.h"
#include "app/panel.h"
#include "qt_support.h"
#include "sim/numbers.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/run_files.h"
#include "ui/qt/scenario_files.h"
#include "ui/qt/scenario_notes.h"
#include "ui/qt/view_tools.h"

using korvel::qt::KorvelWindow;
using korvel::qt::MainWindow;
using namespace korvel::qt::testing;

class FilesTest : public QObject {
    Q_OBJECT

    // Drops `file` on `window`, as from a file manager; whether the window
    // took the drag and the drop.
    static bool dropOn(MainWindow& window, const QString& file) {
        QMimeData dropped;
        dropped.setUrls({QUrl::fromLocalFile(file)});
        QDragEnterEvent enter(QPoint(300, 200), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        QDropEvent drop(QPointF(300, 200), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }

    static QString write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

    // Recent files and dialog folders go here, not into the settings of
    // whoever runs the tests.
    QTemporaryDir settings_;

private slots:
    void initTestCase() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path()); }

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

    void theToolsShowOverTheDrawingAndInThePicture() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        runPaused(m, 300);
        const QImage drawing = w.picture().image().copy();
        const QImage plain = w.picture().shownImage();
        const auto* grid = w.picture().findChild<QLabel*>("gridLabel");
        QVERIFY(grid && !grid->isVisible());
        action(m, "actionGrid")->trigger();
        QVERIFY(grid->isVisible());
        QVERIFY2(QRegularExpression("^grid [0-9,.]+ km$").match(grid->text()).hasMatch(), qPrintable(grid->text()));
        QVERIFY(!grid->accessibleName().isEmpty());
        QVERIFY(w.picture().shownImage() != plain);

        // The tape's end near the craft follows a drag, and the view does not pan.
        action(m, "actionTape")->trigger();
        action(m, "actionVelocityArrow")->trigger();
        const QPointF end = *w.view().toWidget(m.tools().tapeEnd(1).world);
        const korvel::Vec2 centre = w.view().transform().centre();
        QTest::mousePress(&w.picture(), Qt::LeftButton, {}, end.toPoint());
        QMouseEvent move(QEvent::MouseMove, end + QPointF(-40, 30), w.picture().mapToGlobal(end + QPointF(-40, 30)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w.picture(), &move);
        QTest::mouseRelease(&w.picture(), Qt::LeftButton, {}, (end + QPointF(-40, 30)).toPoint());
        QCOMPARE(w.view().transform().centre().x, centre.x);
        QVERIFY((*w.view().toWidget(m.tools().tapeEnd(1).world) - end).manhattanLength() > 30);
        // From the keyboard: "[" takes the other end, Shift+Right moves it; the view stays.
        const QPointF planet = *w.view().toWidget({0, 0});
        QCOMPARE((*w.view().toWidget(m.tools().tapeEnd(0).world) - planet).manhattanLength(), 0.0);
        QTest::keyClick(&w.picture(), Qt::Key_BracketLeft);
        QTest::keyClick(&w.picture(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(w.view().transform().centre().x, centre.x);
        QCOMPARE(qRound(w.view().toWidget(m.tools().tapeEnd(0).world)->x() - planet.x()),
                 qRound(korvel::qt::ViewTools::kKeyStepPixels));
        const auto* tape = w.picture().findChild<QLabel*>("tapeReading");
        QVERIFY(tape->isVisible() && tape->text().contains(" km"));
        const auto* scale = w.picture().findChild<QLabel*>("arrowScale");
        QVERIFY2(scale->isVisible() && scale->text().startsWith("1 grid square = ") && scale->text().endsWith("m/s"),
                 qPrintable(scale->text()));
        // Over the drawing, never in it; and in the picture saved.
        const QImage tools = w.picture().shownImage();
        QCOMPARE(w.picture().image(), drawing);
        QTemporaryDir dir;
        QVERIFY(m.runFiles().savePicture(dir.filePath("tools.png")));
        QCOMPARE(QImage(dir.filePath("tools.png")).convertToFormat(QImage::Format_RGB32), tools);
        // Turned off, they leave nothing behind.
        const QStringList names{"actionGrid", "actionTape", "actionVelocityArrow"};
        for (const QString& name : names) action(m, qPrintable(name))->trigger();
        QCOMPARE(w.picture().shownImage(), plain);
        for (const QString& name : names) action(m, qPrintable(name))->trigger();

        // At either zoom limit the labels stay on the drawing and the picture draws.
        for (const bool in : {true, false}) {
            for (int i = 0; i < 45; ++i) in ? w.view().zoomIn() : w.view().zoomOut();
            QVERIFY(!w.picture().shownImage().isNull());
            for (const QLabel* label : {grid, tape, scale}) QVERIFY(w.picture().rect().contains(label->geometry()));
        }
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
        QVERIFY(dropOn(other, kept + ".korvel"));
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
        QFile keptFile(kept + ".korvel");
        keptFile.open(QIODevice::ReadOnly);
        QByteArray notPng = keptFile.readAll();
        notPng.replace(notPng.indexOf("\"drawing\": \"") + 12, 8, "YWJjZGVm");
        box(w, korvel::kBoxPlanetMass)->setText("7");
        const QImage before = pixels(w);
        const double x = w.core().state().posX[korvel::kCraft];
        for (const QString& bad :
             {write(dir, "broken.korvel", "{\"format\": \"korvel-scenario\",\n\"panel\": {\"planet mass\": 2,}}"),
              write(dir, "not-png.korvel", notPng), dir.filePath("missing.korvel")}) {
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

    // A set-up saved zoomed in Light with the grid on opens so in a fresh
    // window, and the first run keeps the zoom; the everyday view is not
    // written, and a file without a view leaves the operator's as it is.
    void aScenarioKeepsTheViewItWasSavedIn() {
        QTemporaryDir dir;
        MainWindow m;
        QVERIFY(m.scenarios().save(dir.filePath("plain.korvel")));
        QFile plain(dir.filePath("plain.korvel"));
        QVERIFY(plain.open(QIODevice::ReadOnly) && !plain.readAll().contains("\"view\""));
        action(m, "actionColoursLight")->trigger();
        action(m, "actionGrid")->trigger();
        m.korvel().view().zoomIn();
        m.korvel().view().zoomIn();
        const double zoom = m.korvel().view().transform().zoom();
        QVERIFY(zoom > 1);
        QVERIFY(m.scenarios().save(dir.filePath("setup.korvel")));
        // The settings back to Dark, which the fresh window starts in.
        action(m, "actionColoursDark")->trigger();

        MainWindow other;
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QVERIFY(!action(other, "actionColoursLight")->isChecked());
        QVERIFY(other.openScenarioFile(dir.filePath("setup.korvel")));
        QVERIFY(action(other, "actionColoursLight")->isChecked() && action(other, "actionGrid")->isChecked());
        QVERIFY(!action(other, "actionTape")->isChecked());
        QCOMPARE(other.korvel().view().transform().zoom(), zoom);
        click(other.korvel(), "runSImulation");
        QCOMPARE(other.korvel().view().transform().zoom(), zoom);
        QVERIFY(other.openScenarioFile(dir.filePath("plain.korvel")));
        QVERIFY(action(other, "actionColoursLight")->isChecked() && action(other, "actionGrid")->isChecked());
    }

    void saveScenarioWritesATeachersWords() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        action(m, "example-7-hohmann-transfer")->trigger();
        korvel::qt::ScenarioNotes& notes = m.scenarioNotes();

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

    // Whatever is saved, a save that fails says so in the same words and
    // names the file, and its dialogs do not start in that file's folder.
    void everyFailedSaveGivesTheOneMessage() {
        QTemporaryDir dir;
        MainWindow m;
        KorvelWindow& w = m.korvel();
        const struct {
            const char* what;
            std::function<bool(const QString&)> save;
            const char* item;
            const char* dialog;
        } saves[] = {
            {"scenario", [&](const QString& f) { return m.scenarios().save(f); }, "actionSaveScenario",
             "saveScenarioDialog"},
            {"picture", [&](const QString& f) { return m.runFiles().savePicture(f); }, "actionSavePicture",
             "savePictureDialog"},
            {"data", [&](const QString& f) { return m.runFiles().exportData(f, korvel::CsvStyle::Comma); },
             "actionExportData", "exportDataDialog"},
        };
        for (const auto& s : saves) {
            // A folder where the file would go: never replaced.
            const QString taken = dir.filePath(QString("run.") + s.what);
            QVERIFY(QDir().mkdir(taken));
            QVERIFY(!s.save(taken));
            QCOMPARE(w.messageBox()->text(), QString("The %1 could not be saved as \"%2\": it is not a regular file.")
                                                 .arg(s.what, QDir::toNativeSeparators(taken)));
            QVERIFY(QFileInfo(taken).isDir());
            action(m, s.item)->trigger();
            auto* dialog = m.findChild<QFileDialog*>(s.dialog);
            QVERIFY2(dialog && QDir(dialog->directory()) != QDir(dir.path()), s.dialog);
            dialog->close();
        }
    }
};

int main(int argc, char** argv) { return runWindowSuite<FilesTest>(argc, argv); }

#include "files_test.moc"
