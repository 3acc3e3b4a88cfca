#include <QApplication>

#include "command_line.h"
#include "ui/qt/main_window.h"
#include "ui/qt/program_font.h"

int main(int argc, char** argv) {
    const korvel::qt::CommandLine line = korvel::qt::readCommandLine(argc, argv);
    if (line.exitStatus) return *line.exitStatus;
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(KORVEL_VERSION);
    // Lets docks and compositors match the window to its desktop entry.
    QGuiApplication::setDesktopFileName(KORVEL_APP_ID);
    korvel::qt::useProgramFont();
    korvel::qt::MainWindow window;
    window.show();
    // A file that does not open says so in the window, which starts all the same.
    if (!line.scenarios.isEmpty()) window.openScenarioFile(line.scenarios.first());
    return QApplication::exec();
}
