#include <QApplication>
#include <QCommandLineParser>

#include "ui/qt/main_window.h"
#include "ui/qt/program_font.h"

namespace {

// What the command line says: read before any window, so that --help and
// --version need no display.
QStringList scenarioArguments(int& argc, char** argv) {
    const QCoreApplication reader(argc, argv);
    QCoreApplication::setApplicationVersion(KORVEL_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription("Simulate a craft orbiting a planet, and steer it with impulses.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("scenario", "A scenario file (.korvel) to open.", "[SCENARIO]");
    parser.process(reader);
    return parser.positionalArguments();
}

}  // namespace

int main(int argc, char** argv) {
    const QStringList scenarios = scenarioArguments(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(KORVEL_VERSION);
    // Lets docks and compositors match the window to its desktop entry.
    QGuiApplication::setDesktopFileName(KORVEL_APP_ID);
    korvel::qt::useProgramFont();
    korvel::qt::MainWindow window;
    window.show();
    // A file that does not open says so in the window, which starts all the same.
    if (!scenarios.isEmpty()) window.openScenarioFile(scenarios.first());
    return QApplication::exec();
}
