#include "ui/qt/program_font.h"

#include <QApplication>
#include <QDir>
#include <QFontDatabase>

namespace korvel::qt {

bool useProgramFont() {
    static const QString family = QStringLiteral("DejaVu Sans");
    for (const QFileInfo& file : QDir(QStringLiteral(":/fonts")).entryInfoList(QDir::Files))
        QFontDatabase::addApplicationFont(file.filePath());
    if (!QFontDatabase::families().contains(family)) return false;
    QFont font = QApplication::font();
    font.setFamilies({family});
    QApplication::setFont(font);
    return true;
}

}  // namespace korvel::qt
