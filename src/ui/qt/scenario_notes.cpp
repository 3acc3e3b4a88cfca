#include "ui/qt/scenario_notes.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "app/scenario.h"
#include "ui/qt/tool_windows.h"

namespace korvel::qt {
namespace {

constexpr int kWidth = 380;
// A description taller than this share of the screen scrolls.
constexpr double kTallestShare = 0.6;

// A description comes from any file: an image or a style sheet it names is
// never read (a FIFO or a device there would block the program).
class TextWithoutResources : public QTextDocument {
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

}  // namespace

ScenarioNotes::ScenarioNotes(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("ScenarioNotes");
    setWindowTitle("About This Scenario");
    title_ = new QLabel;
    title_->setObjectName("scenarioTitle");
    title_->setAccessibleName("scenario title");
    title_->setTextFormat(Qt::PlainText);
    title_->setWordWrap(true);
    title_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont heading = title_->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    title_->setFont(heading);

    description_ = new QTextBrowser;
    description_->setObjectName("scenarioDescription");
    description_->setAccessibleName("scenario description");
    description_->setDocument(new TextWithoutResources(description_));
    // A link in a description is text, never a way out of the program.
    description_->setOpenLinks(false);
    description_->setOpenExternalLinks(false);
    description_->setFrameShape(QFrame::NoFrame);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(description_, 1);
    closeOnEscape(this);
    showNotes("No scenario opened",
              "Open a scenario, or one of File > Examples, to read its title and description here: for a "
              "task, what to do.");
}

void ScenarioNotes::showNotes(const QString& title, const QString& description) {
    title_->setText(title);
    if (description.isEmpty())
        description_->setPlainText("This scenario has no description.");
    else if (Qt::mightBeRichText(description))
        description_->setHtml(description);
    else
        description_->setPlainText(description);
    fitHeight();
}

QString ScenarioNotes::title() const { return title_->text(); }

QString ScenarioNotes::description() const { return description_->toPlainText(); }

void ScenarioNotes::fitHeight() {
    const QMargins margins = layout()->contentsMargins();
    const int textWidth = kWidth - margins.left() - margins.right();
    QTextDocument* document = description_->document();
    document->setTextWidth(textWidth);
    const int wanted = margins.top() + title_->heightForWidth(textWidth) + layout()->spacing() +
                       static_cast<int>(std::ceil(document->size().height())) + margins.bottom() + 2;
    const QScreen* shownOn = screen();
    const int tallest = shownOn ? static_cast<int>(shownOn->availableGeometry().height() * kTallestShare) : wanted;
    resize(kWidth, std::min(wanted, tallest));
}

void ScenarioNotes::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

NotesFields addNotesFields(QFileDialog* dialog, const QString& title, const QString& description) {
    // Counted in UTF-16 units, so never more characters than a file keeps.
    constexpr int kLongest = static_cast<int>(kScenarioLongestText);
    NotesFields fields{new QLineEdit(title.left(kLongest), dialog),
                       new QPlainTextEdit(description.left(kLongest), dialog)};
    fields.title->setObjectName("scenarioTitleField");
    fields.title->setMaxLength(kLongest);
    fields.title->setPlaceholderText("the file's name");
    QPlainTextEdit* text = fields.description;
    text->setObjectName("scenarioDescriptionField");
    text->setPlaceholderText("What it shows and what to try; for a task, what to do.");
    text->setTabChangesFocus(true);
    text->setFixedHeight(text->fontMetrics().lineSpacing() * 5 + 2 * text->frameWidth() + 8);
    QObject::connect(text, &QPlainTextEdit::textChanged, text, [text] {
        if (text->toPlainText().size() <= kLongest) return;
        text->setPlainText(text->toPlainText().left(kLongest));
        text->moveCursor(QTextCursor::End);
    });
    auto* titleLabel = new QLabel("&Title:", dialog);
    titleLabel->setBuddy(fields.title);
    auto* descriptionLabel = new QLabel("&Description:", dialog);
    descriptionLabel->setBuddy(text);
    // Qt's own dialog (never the platform's, which takes no boxes) is laid
    // out in a grid: the boxes go in rows of their own under the file name.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        const int row = grid->rowCount();
        grid->addWidget(titleLabel, row, 0);
        grid->addWidget(fields.title, row, 1);
        grid->addWidget(descriptionLabel, row + 1, 0, Qt::AlignTop);
        grid->addWidget(text, row + 1, 1);
    } else if (dialog->layout()) {
        for (QWidget* w : {static_cast<QWidget*>(titleLabel), static_cast<QWidget*>(fields.title),
                           static_cast<QWidget*>(descriptionLabel), static_cast<QWidget*>(text)})
            dialog->layout()->addWidget(w);
    }
    return fields;
}

}  // namespace korvel::qt
