#pragma once
// About This Scenario: the title and description of the scenario last opened
// or saved (for an example, what it shows, or the task to do), in a tool
// window of its own, so that a student can read a task while doing it.

#include <QWidget>

class QFileDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTextBrowser;

namespace korvel::qt {

class ScenarioNotes : public QWidget {
    Q_OBJECT
public:
    explicit ScenarioNotes(QWidget* parent = nullptr);

    // Shows `title` and `description`. A description written as rich text
    // shows as such, any other as plain text; neither reads a file or follows
    // a link it names.
    void showNotes(const QString& title, const QString& description);

    QString title() const;
    QString description() const;

signals:
    // The operator closed it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // As tall as its text needs, up to a share of the screen; a longer text
    // scrolls.
    void fitHeight();

    QLabel* title_ = nullptr;
    QTextBrowser* description_ = nullptr;
};

// The title and description boxes of a save dialog.
struct NotesFields {
    QLineEdit* title = nullptr;
    QPlainTextEdit* description = nullptr;
};

// Adds boxes for a scenario's title and description to `dialog`, under its
// file name, holding `title` and `description`; neither takes more than a
// scenario file keeps.
NotesFields addNotesFields(QFileDialog* dialog, const QString& title, const QString& description);

}  // namespace korvel::qt
