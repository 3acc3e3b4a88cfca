#include <QApplication>

#include "ui/qt/main_window.h"
#include "ui/qt/program_font.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(KORVEL_VERSION);
    // Lets docks and compositors match the window to its desktop entry.
    QGuiApplication::setDesktopFileName(KORVEL_APP_ID);
    korvel::qt::useProgramFont();
    korvel::qt::MainWindow window;
    window.show();
    return QApplication::exec();
}
