#include "ui/qt/safe_file_dialog.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QMimeDatabase>

namespace korvel::qt {

QIcon NameOnlyIconProvider::icon(IconType type) const { return QFileIconProvider().icon(type); }

QIcon NameOnlyIconProvider::icon(const QFileInfo& info) const {
    // A stat, never a read.
    return icon(info.isDir() ? Folder : File);
}

QString NameOnlyIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) return QStringLiteral("Folder");
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension);
    return mime.isDefault() ? QStringLiteral("File") : mime.comment();
}

void neverReadContents(QFileDialog* dialog) {
    // The platform's own dialog would not take the provider.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The dialog keeps the provider but does not own it.
    static NameOnlyIconProvider provider;
    dialog->setIconProvider(&provider);
}

}  // namespace korvel::qt
