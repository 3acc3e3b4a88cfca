#pragma once
// The run as files, beside the scenario's: the picture the drawing surface
// shows, saved as a PNG or copied, and the run so far exported as CSV. A file
// that cannot be written is left as it was, and the operator is told which
// and why.

#include <QImage>
#include <QObject>
#include <QString>

#include "app/files/data_csv.h"

class QWidget;

namespace korvel::qt {

class KorvelWindow;

class RunFiles : public QObject {
    Q_OBJECT
public:
    // Dialogs open over `owner`; the picture and the run are `korvel`'s.
    RunFiles(QWidget* owner, KorvelWindow& korvel);

    // What the drawing surface shows, the orbit over the drawing included, in
    // its device pixels.
    QImage picture() const;
    // Writes picture() as a PNG.
    bool savePicture(const QString& fileName);
    void copyPicture();

    // Writes the run so far as CSV, whole or not at all.
    bool exportData(const QString& fileName, CsvStyle style);

    // Ask where to save, without stopping the run.
    void askToSavePicture();
    void askToExportData();

private:
    QWidget* owner_;
    KorvelWindow& korvel_;
};

}  // namespace korvel::qt
