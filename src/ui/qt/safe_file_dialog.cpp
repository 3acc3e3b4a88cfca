#include "ui/qt/safe_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/platform.h"

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

void openFileDialog(QFileDialog* dialog, QWidget* owner) {
    neverReadContents(dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, owner, [owner] { owner->window()->activateWindow(); });
    // open(), not exec(): the ticks go on while the operator chooses.
    dialog->open();
}

QSettings programSettings() { return QSettings(QSettings::IniFormat, QSettings::UserScope, "korvel", "korvel"); }

namespace {

// The word for what a kind of file holds, in the messages.
const char* whatItHolds(FileKind kind) {
    switch (kind) {
    case FileKind::Scenario: return "scenario";
    case FileKind::Picture: return "picture";
    case FileKind::Data: break;
    }
    return "data";
}

QString folderKey(FileKind kind) {
    switch (kind) {
    case FileKind::Scenario: return QStringLiteral("folders/scenario");
    case FileKind::Picture: return QStringLiteral("folders/picture");
    case FileKind::Data: break;
    }
    return QStringLiteral("folders/data");
}

}  // namespace

QString startFolder(FileKind kind) {
    const QString last = programSettings().value(folderKey(kind)).toString();
    if (!last.isEmpty() && QDir(last).exists()) return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() || !QDir(documents).exists() ? QDir::homePath() : documents;
}

void rememberFolder(FileKind kind, const QString& fileName) {
    programSettings().setValue(folderKey(kind), QFileInfo(fileName).absolutePath());
}

void askForFile(QWidget* owner, const FileQuestion& question, const FileChosen& chosen,
                const std::function<void(QFileDialog*)>& addBoxes) {
    const QString folder = startFolder(question.kind);
    const QString start = question.suggestedName.isEmpty() ? folder : QDir(folder).filePath(question.suggestedName);
    auto* dialog = new QFileDialog(owner, question.title, start);
    dialog->setObjectName(question.name);
    dialog->setNameFilters(question.filters);
    dialog->setAcceptMode(question.mode);
    if (question.mode == QFileDialog::AcceptOpen) dialog->setFileMode(QFileDialog::ExistingFile);
    const QString suffix = QFileInfo(question.suggestedName).suffix();
    if (!suffix.isEmpty()) dialog->setDefaultSuffix(suffix);
    if (addBoxes) addBoxes(dialog);
    QObject::connect(dialog, &QFileDialog::fileSelected, owner,
                     [dialog, chosen](const QString& file) { chosen(file, dialog->selectedNameFilter()); });
    openFileDialog(dialog, owner);
}

QString notReplaceable(const QString& fileName) {
    const QFileInfo info(fileName);
    return info.exists() && !info.isFile() ? QString("it is not a regular file") : QString();
}

namespace {

QString writeWhole(const QString& fileName, std::string_view bytes) {
    if (QString why = notReplaceable(fileName); !why.isEmpty()) return why;
    QSaveFile file(fileName);
    const auto size = static_cast<qint64>(bytes.size());
    if (file.open(QIODevice::WriteOnly) && file.write(bytes.data(), size) == size && file.commit()) return {};
    const QString why = file.errorString();
    file.cancelWriting();
    return why;
}

}  // namespace

bool saveFile(Controls& messages, FileKind kind, const QString& fileName, std::string_view bytes,
              const QString& unmade) {
    const QString why = unmade.isEmpty() ? writeWhole(fileName, bytes) : unmade;
    if (why.isEmpty()) {
        rememberFolder(kind, fileName);
        return true;
    }
    messages.showMessage(QString("The %1 could not be saved as \"%2\": %3.")
                             .arg(whatItHolds(kind), QDir::toNativeSeparators(fileName), why)
                             .toStdString());
    return false;
}

}  // namespace korvel::qt
