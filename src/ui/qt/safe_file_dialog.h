#pragma once
// File dialogs that never read a file's contents. Qt's own dialog asks what
// type each file is, and by default finds out by reading it: a FIFO, or a
// file such as /proc/kmsg, blocks that read for ever, and the program with it.
// Beside them, where such a dialog starts, how it hands the keyboard back,
// and how its file is written.

#include <QAbstractFileIconProvider>
#include <QSettings>
#include <QString>

#include <string>
#include <string_view>

class QFileDialog;

namespace korvel::qt {

// Icons and type names from a file's name and kind alone.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

// Makes `dialog` one that judges files by their names only.
void neverReadContents(QFileDialog* dialog);

// Opens `dialog` as one that judges files by their names only, without
// stopping the run. It deletes itself once done, and the keyboard goes back
// to `owner`'s window: after a refused file, a window manager may leave the
// focus nowhere (Esc and F2 would do nothing until a click).
void openFileDialog(QFileDialog* dialog, QWidget* owner);

// The program's settings, in an INI file on every platform.
QSettings programSettings();

// The kinds of file whose dialogs each remember their own folder.
enum class FileKind { Scenario, Picture, Data };

// Where a dialog for that kind of file starts: the folder one was last opened
// from or saved in, else the user's documents folder, else the home folder.
QString startFolder(FileKind kind);
// Remembers the folder of `fileName` for the dialogs of its kind.
void rememberFolder(FileKind kind, const QString& fileName);

// Why a new file may not take the place of `fileName`, or nothing: only a
// regular file, or nothing yet, may be replaced; never a device, a FIFO or a
// folder.
QString notReplaceable(const QString& fileName);

// Writes the bytes aside and puts them in place whole, so that a failure
// leaves any old file as it was; refuses what notReplaceable() refuses. Gives
// why it failed, or nothing.
QString writeWhole(const QString& fileName, std::string_view bytes);

// The one wording of a save that failed, whatever was saved:
// "The <what> could not be saved as "<file>": <why>."
std::string notSavedMessage(const char* what, const QString& fileName, const QString& why);

}  // namespace korvel::qt
