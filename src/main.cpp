#include <QApplication>

#include "ui/qt/korvel_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    korvel::qt::KorvelWindow window;
    window.show();
    return QApplication::exec();
}
