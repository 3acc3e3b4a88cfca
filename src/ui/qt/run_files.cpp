#include "ui/qt/run_files.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageWriter>

#include "ui/qt/korvel_window.h"
#include "ui/qt/safe_file_dialog.h"

namespace korvel::qt {
namespace {

constexpr const char* kCommaFilter = "CSV (*.csv)";
constexpr const char* kSemicolonFilter = "CSV, semicolons and decimal commas (*.csv)";

}  // namespace

RunFiles::RunFiles(QWidget* owner, KorvelWindow& korvel) : QObject(owner), owner_(owner), korvel_(korvel) {}

QImage RunFiles::picture() const { return korvel_.picture().shownImage(); }

bool RunFiles::savePicture(const QString& fileName) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    const QString unmade = writer.write(picture()) ? QString() : writer.errorString();
    return saveFile(korvel_, FileKind::Picture, fileName, std::string_view(png.constData(), png.size()), unmade);
}

void RunFiles::copyPicture() { QGuiApplication::clipboard()->setImage(picture()); }

bool RunFiles::exportData(const QString& fileName, CsvStyle style) {
    return saveFile(korvel_, FileKind::Data, fileName, csvText(korvel_.core().log().history().rows(), style));
}

void RunFiles::askToSavePicture() {
    askForFile(owner_,
               {"savePictureDialog",
                "Save Picture",
                FileKind::Picture,
                QFileDialog::AcceptSave,
                {"PNG images (*.png)"},
                "korvel-orbit.png"},
               [this](const QString& file, const QString&) { savePicture(file); });
}

void RunFiles::askToExportData() {
    askForFile(owner_,
               {"exportDataDialog",
                "Export Data",
                FileKind::Data,
                QFileDialog::AcceptSave,
                {kCommaFilter, kSemicolonFilter},
                "korvel-run.csv"},
               [this](const QString& file, const QString& filter) {
                   exportData(file, filter == kSemicolonFilter ? CsvStyle::Semicolon : CsvStyle::Comma);
               });
}

}  // namespace korvel::qt
