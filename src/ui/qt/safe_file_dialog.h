#pragma once
// File dialogs that never read a file's contents. Qt's own dialog asks what
// type each file is, and by default finds out by reading it: a FIFO, or a
// file such as /proc/kmsg, blocks that read for ever, and the program with it.
// Beside them, where such a dialog starts and how its file is written.

#include <QAbstractFileIconProvider>
#include <QStandardPaths>
#include <QString>

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

// The platform's folder of that kind where it exists, else the home folder:
// where a file dialog starts.
QString existingFolder(QStandardPaths::StandardLocation location);

// Why a new file may not take the place of `fileName`, or nothing: only a
// regular file, or nothing yet, may be replaced; never a device, a FIFO or a
// folder.
QString notReplaceable(const QString& fileName);

// Writes the bytes aside and puts them in place whole, so that a failure
// leaves any old file as it was; refuses what notReplaceable() refuses. Gives
// why it failed, or nothing.
QString writeWhole(const QString& fileName, std::string_view bytes);

}  // namespace korvel::qt
