#pragma once
// File dialogs that never read a file's contents. Qt's own dialog asks what
// type each file is, and by default finds out by reading it: a FIFO, or a
// file such as /proc/kmsg, blocks that read for ever, and the program with it.

#include <QAbstractFileIconProvider>

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

}  // namespace korvel::qt
