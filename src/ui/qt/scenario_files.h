#pragma once
// Scenario files as the operator meets them: open and save dialogs, the
// recent list, the examples compiled into the program, and files dropped on
// the window. A file that does not open is named in a message with its first
// fault, and nothing changes.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

#include "app/scenario.h"

class QMenu;
class QWidget;

namespace korvel::qt {

class KorvelWindow;

// Reads a whole scenario file, or says why not, in the words every refusal
// uses. Only a regular file that is not empty is read, and no more of it than
// a scenario may hold: a device or a pipe could block the read for ever.
std::optional<QByteArray> readScenarioFile(const QString& fileName, std::string& fault);

class ScenarioFiles : public QObject {
    Q_OBJECT
public:
    // Dialogs open over `owner`; scenarios go into `korvel`.
    ScenarioFiles(QWidget* owner, KorvelWindow& korvel);

    // Opens a file and puts it at the top of the recent list; one that does
    // not open leaves the list.
    bool open(const QString& fileName);
    // Opens an example from the program's resources.
    bool openExample(const QString& resource);
    // Saves the panel, and the run with its drawing when one has started. A
    // name without an extension gets ".korvel".
    bool save(const QString& fileName);

    // How the window's view is kept in a scenario and shown again: `current`
    // gives the view to save (none for the everyday one), `show` puts a kept
    // one on the screen once its scenario has opened.
    void setViewKeeping(std::function<std::optional<ScenarioView>()> current,
                        std::function<void(const ScenarioView&)> show);

    // Ask for a file, without stopping the run.
    void askToOpen();
    void askToSave();

    // The recent files, newest first; kept in an INI file on every platform.
    QStringList recent() const;
    void clearRecent();
    // Fills `menu` with the recent files and "Clear Recent", and keeps it so.
    void fillRecentMenu(QMenu* menu);
    // Fills `menu` with an item per example.
    void fillExamplesMenu(QMenu* menu);

    static constexpr int kRecentCount = 8;

signals:
    void recentChanged();
    // A scenario opened, or was saved with this title and description. The
    // title is never empty: without one, the file's name stands for it.
    void notesChanged(const QString& title, const QString& description, bool opened);

private:
    // The scenario in `bytes`, applied whole, or the message why not.
    bool apply(const QString& shownName, const QByteArray& bytes);
    void remember(const QString& fileName);
    void forget(const QString& fileName);
    void setRecent(const QStringList& files);
    void refuse(const QString& shownName, const std::string& fault);

    QWidget* owner_;
    KorvelWindow& korvel_;
    std::function<std::optional<ScenarioView>()> currentView_;
    std::function<void(const ScenarioView&)> showView_;
};

}  // namespace korvel::qt
