#include "ui/qt/scenario_files.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include <memory>

#include "app/files/scenario_file.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/safe_file_dialog.h"
#include "ui/qt/scenario_notes.h"

namespace korvel::qt {
namespace {

constexpr const char* kRecentKey = "recentScenarios";
const QStringList kNameFilters = {"Korvel scenarios (*.korvel)", "All files (*)"};
// A drawing is the surface's pixels; one far larger is no drawing of ours.
constexpr int kLargestDrawingSide = 8192;

QString shownName(const QString& fileName) { return QFileInfo(fileName).fileName(); }

// A scenario's title, or else its file's name without the extension.
QString titleOr(const std::string& title, const QString& fileName) {
    return title.empty() ? QFileInfo(fileName).completeBaseName() : QString::fromStdString(title);
}

// A title as a file name: without the characters some file systems refuse.
QString asFileName(QString title) {
    static const QRegularExpression refused(R"([/\\:*?"<>|\x00-\x1f])");
    title.replace(refused, "-");
    return title.trimmed().isEmpty() ? QString("korvel-scenario") : title.trimmed();
}

// The drawing of a kept run, or a null image when its PNG is not one.
QImage decodeDrawing(const QByteArray& png) {
    QBuffer buffer;
    buffer.setData(png);
    QImageReader reader(&buffer, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kLargestDrawingSide || size.height() > kLargestDrawingSide) return {};
    return reader.read();
}

// The drawing as a PNG in base64, as a kept run holds it.
std::string encodeDrawing(const QImage& drawing) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(drawing);
    return bytes.toBase64().toStdString();
}

}  // namespace

std::optional<QByteArray> readScenarioFile(const QString& fileName, std::string& fault) {
    const QFileInfo info(fileName);
    if (!info.exists()) {
        fault = "it does not exist";
    } else if (!info.isFile()) {
        fault = "it is not a file";
    } else if (info.size() == 0) {
        fault = "it is empty";
    } else if (info.size() > static_cast<qint64>(kScenarioLargestFile)) {
        fault = tooLargeFault();
    } else {
        QFile file(fileName);
        if (file.open(QIODevice::ReadOnly)) return file.read(kScenarioLargestFile + 1);
        fault = "it cannot be read: " + file.errorString().toStdString();
    }
    return std::nullopt;
}

ScenarioFiles::ScenarioFiles(QWidget* owner, KorvelWindow& korvel) : QObject(owner), owner_(owner), korvel_(korvel) {}

bool ScenarioFiles::apply(const QString& name, const QByteArray& bytes) {
    const ScenarioRead read = parseScenario(std::string_view(bytes.constData(), bytes.size()));
    if (!read.scenario) {
        refuse(name, read.fault);
        return false;
    }
    const Scenario& scenario = *read.scenario;
    QImage drawing;
    if (scenario.run) {
        // The reader has seen base64's shape; this is where it is decoded.
        const auto png = QByteArray::fromBase64Encoding(QByteArray::fromStdString(scenario.run->drawingBase64),
                                                        QByteArray::AbortOnBase64DecodingErrors);
        if (!png) {
            refuse(name, "\"drawing\" in \"run\" is not base64");
            return false;
        }
        drawing = decodeDrawing(*png);
        if (drawing.isNull()) {
            refuse(name, "its run's drawing is not a PNG image of a drawing");
            return false;
        }
    }
    korvel_.openScenario(scenario, drawing);
    // After the run opened or cleared: its typed scale would reset the zoom.
    if (scenario.view && showView_) showView_(*scenario.view);
    emit notesChanged(titleOr(scenario.title, name), QString::fromStdString(scenario.description), true);
    return true;
}

void ScenarioFiles::setViewKeeping(std::function<std::optional<ScenarioView>()> current,
                                   std::function<void(const ScenarioView&)> show) {
    currentView_ = std::move(current);
    showView_ = std::move(show);
}

void ScenarioFiles::refuse(const QString& name, const std::string& fault) {
    korvel_.showMessage(refusalMessage(QDir::toNativeSeparators(name).toStdString(), fault));
}

bool ScenarioFiles::open(const QString& fileName) {
    std::string fault;
    const auto bytes = readScenarioFile(fileName, fault);
    if (!bytes) refuse(shownName(fileName), fault);
    if (!bytes || !apply(shownName(fileName), *bytes)) {
        forget(fileName);
        return false;
    }
    remember(fileName);
    return true;
}

bool ScenarioFiles::openExample(const QString& resource) {
    QFile file(resource);
    return file.open(QIODevice::ReadOnly) && apply(shownName(resource), file.readAll());
}

bool ScenarioFiles::save(const QString& requested) {
    QString fileName = requested;
    if (QFileInfo(fileName).suffix().isEmpty()) fileName += ".korvel";
    Scenario scenario = korvel_.core().scenario();
    scenario.title = titleOr(scenario.title, fileName).toStdString();
    if (scenario.run) scenario.run->drawingBase64 = encodeDrawing(korvel_.picture().image());
    if (currentView_) scenario.view = currentView_();
    const std::string text = scenarioText(scenario);

    if (!saveFile(korvel_, FileKind::Scenario, fileName, text)) return false;
    remember(fileName);
    emit notesChanged(QString::fromStdString(scenario.title), QString::fromStdString(scenario.description), false);
    return true;
}

void ScenarioFiles::askToOpen() {
    askForFile(owner_,
               {"openScenarioDialog", "Open Scenario", FileKind::Scenario, QFileDialog::AcceptOpen, kNameFilters},
               [this](const QString& file, const QString&) { open(file); });
}

void ScenarioFiles::askToSave() {
    // A teacher writes the task into the file as it is saved, in boxes of the
    // dialog's own.
    const Scenario current = korvel_.core().scenario();
    const QString title = QString::fromStdString(current.title);
    auto fields = std::make_shared<NotesFields>();
    const auto addFields = [fields, title, description = QString::fromStdString(current.description)](
                               QFileDialog* dialog) { *fields = addNotesFields(dialog, title, description); };
    askForFile(
        owner_,
        {"saveScenarioDialog", "Save Scenario", FileKind::Scenario, QFileDialog::AcceptSave, kNameFilters,
         asFileName(title) + ".korvel"},
        [this, fields](const QString& file, const QString&) {
            korvel_.core().describeScenario(fields->title->text().trimmed().toStdString(),
                                            fields->description->toPlainText().trimmed().toStdString());
            save(file);
        },
        addFields);
}

QStringList ScenarioFiles::recent() const { return programSettings().value(kRecentKey).toStringList(); }

void ScenarioFiles::setRecent(const QStringList& files) {
    QSettings settings = programSettings();
    settings.setValue(kRecentKey, files);
    emit recentChanged();
}

void ScenarioFiles::remember(const QString& fileName) {
    rememberFolder(FileKind::Scenario, fileName);
    const QString path = QFileInfo(fileName).absoluteFilePath();
    QStringList files = recent();
    files.removeAll(path);
    files.prepend(path);
    setRecent(files.mid(0, kRecentCount));
}

void ScenarioFiles::forget(const QString& fileName) {
    QStringList files = recent();
    if (files.removeAll(QFileInfo(fileName).absoluteFilePath()) > 0) setRecent(files);
}

void ScenarioFiles::clearRecent() { setRecent({}); }

void ScenarioFiles::fillRecentMenu(QMenu* menu) {
    const auto fill = [this, menu] {
        menu->clear();
        const QStringList files = recent();
        for (int i = 0; i < files.size(); ++i) {
            // "&1" to "&8": each file has its key while the menu is open.
            QAction* action = menu->addAction(QString("&%1 %2").arg(i + 1).arg(shownName(files[i])));
            action->setStatusTip(QDir::toNativeSeparators(files[i]));
            connect(action, &QAction::triggered, this, [this, file = files[i]] { open(file); });
        }
        if (!files.isEmpty()) menu->addSeparator();
        QAction* clear = menu->addAction("Clear Recent");
        clear->setObjectName("actionClearRecent");
        clear->setEnabled(!files.isEmpty());
        connect(clear, &QAction::triggered, this, &ScenarioFiles::clearRecent);
    };
    fill();
    connect(this, &ScenarioFiles::recentChanged, menu, fill);
}

void ScenarioFiles::fillExamplesMenu(QMenu* menu) {
    // In the order of their file names.
    for (const QFileInfo& info : QDir(":/examples").entryInfoList(QDir::Files, QDir::Name)) {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QByteArray bytes = file.readAll();
        const ScenarioRead read = parseScenario(std::string_view(bytes.constData(), bytes.size()));
        if (!read.scenario) continue;
        QAction* action = menu->addAction(QString::fromStdString(read.scenario->title));
        action->setObjectName("example-" + info.completeBaseName());
        const QString description = QString::fromStdString(read.scenario->description);
        // As rich text, so that the tooltip wraps rather than running off the screen.
        action->setToolTip("<p>" + description.toHtmlEscaped() + "</p>");
        action->setStatusTip(description);
        connect(action, &QAction::triggered, this, [this, path = info.filePath()] { openExample(path); });
    }
    menu->setToolTipsVisible(true);
}

}  // namespace korvel::qt
