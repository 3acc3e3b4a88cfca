#pragma once
// Finding and driving the real window's controls and menu items by their
// names, for the window's Qt tests, and the start every one of those programs shares.

#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "ui/qt/korvel_window.h"
#include "ui/qt/program_font.h"

class QAction;
class QLineEdit;
class QPushButton;
class QWidget;

namespace korvel::qt {
class MainWindow;
}

namespace korvel::qt::testing {

QString boxName(int i);
QString labelName(int i);
QString bankName(int i);

// A control by name; warns when there is none.
QWidget* child(KorvelWindow& w, const QString& name);
QLineEdit* box(KorvelWindow& w, int i);
QPushButton* button(KorvelWindow& w, const QString& name);
QPushButton* bank(KorvelWindow& w, int i);

void click(KorvelWindow& w, const QString& name);

// A menu item of the main window by name; warns when there is none.
QAction* action(MainWindow& m, const char* name);
// A run of the panel as it stands, paused after `ms`, with the path on.
void runPaused(MainWindow& m, int ms);

// Runs the event loop without the sleeps of QTest::qWait, so ticks come at
// their own pace.
void spin(int milliseconds);

// The panel's labels, its boxes' texts and the bank's captions at start-up.
extern const QStringList kLabels;
extern const QStringList kDefaults;
extern const QStringList kBank;

// A pixel of the craft's trail, in any of its colours.
bool isTrail(QRgb c);
int countTrail(const QImage& image);

// Runs one suite as the program runs: in its own font. Suites share no
// application, so none sees what another left behind.
template <class Suite>
int runWindowSuite(int argc, char** argv) {
    QApplication app(argc, argv);
    useProgramFont();
    // The window starts as it does on a machine never used: whatever colours
    // or line width the one running the tests chose stay out of them.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    Suite suite;
    return QTest::qExec(&suite, argc, argv);
}

}  // namespace korvel::qt::testing
