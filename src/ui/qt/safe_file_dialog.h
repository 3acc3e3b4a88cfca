#pragma once
// File dialogs that never read a file's contents. Qt's own dialog asks what
// type each file is, and by default finds out by reading it: a FIFO, or a
// file such as /proc/kmsg, blocks that read for ever, and the program with it.
// Beside them, where such a dialog starts, how it hands the keyboard back,
// and how its file is written.

#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <string_view>

namespace korvel {
class Controls;
}

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

// What a file dialog asks for.
struct FileQuestion {
    // The dialog's objectName, by which tools and tests find it.
    const char* name;
    const char* title;
    // Which folder it starts in.
    FileKind kind;
    QFileDialog::AcceptMode mode;
    QStringList filters;
    // The file a saving dialog offers; its extension is the one a name typed
    // without one gets. An opening dialog offers none.
    QString suggestedName = {};
};

// Called with the file chosen and the name filter chosen with it.
using FileChosen = std::function<void(const QString& file, const QString& chosenFilter)>;

// Asks for a file as every dialog of the program does: over `owner`, in the
// folder startFolder() gives for its kind, judging files by their names only, and
// without stopping the run (see openFileDialog()). An opening dialog takes
// only a file that exists. `addBoxes`, if given, adds to the dialog before it
// shows. The folder is remembered by what the file is used for, once that
// works: a file that did not open or save leaves it as it was.
void askForFile(QWidget* owner, const FileQuestion& question, const FileChosen& chosen,
                const std::function<void(QFileDialog*)>& addBoxes = {});

// Why a new file may not take the place of `fileName`, or nothing: only a
// regular file, or nothing yet, may be replaced; never a device, a FIFO or a
// folder.
QString notReplaceable(const QString& fileName);

// Every save of the program: writes `bytes` aside and puts them in place
// whole as `fileName`, so that a failure leaves any old file as it was, and
// refuses what notReplaceable() refuses; once saved, remembers the folder for
// `kind`'s dialogs. A save that fails is told
// through `messages` in the one wording of a failed save, whatever was saved:
// "The scenario|picture|data could not be saved as "<file>": <why>." An
// `unmade` reason says the bytes could not be made: nothing is written, and
// that reason is told the same way.
bool saveFile(Controls& messages, FileKind kind, const QString& fileName, std::string_view bytes,
              const QString& unmade = {});

}  // namespace korvel::qt
