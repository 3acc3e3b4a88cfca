#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <optional>
#include <string>

#include "app/files/data_csv.h"
#include "app/files/scenario_file.h"
#include "app/headless_run.h"
#include "app/view/plot_axis.h"
#include "sim/numbers.h"
#include "ui/qt/safe_file_dialog.h"
#include "ui/qt/scenario_files.h"

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace korvel::qt {
namespace {

#ifdef Q_OS_WIN
// The program has no console of its own: started from one, it writes its
// messages there, unless they already go to a file or a pipe.
void reachConsole() {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err && err != INVALID_HANDLE_VALUE && GetFileType(err) != FILE_TYPE_UNKNOWN) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stderr);
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE || GetFileType(out) == FILE_TYPE_UNKNOWN)
        std::freopen("CONOUT$", "w", stdout);
}
bool stderrIsTerminal() { return _isatty(_fileno(stderr)); }
// The rows end in CR LF already; a text-mode stdout would add another CR.
void binaryStdout() { _setmode(_fileno(stdout), _O_BINARY); }
#else
void reachConsole() {}
bool stderrIsTerminal() { return isatty(fileno(stderr)); }
void binaryStdout() {}
#endif

// A fault of a run without a window: the message on stderr, status 2.
int fault(const std::string& message) {
    std::fprintf(stderr, "korvel: %s\n", message.c_str());
    return 2;
}

std::string native(const QString& fileName) { return QDir::toNativeSeparators(fileName).toStdString(); }

// A number of simulated seconds from the command line, read as the panel reads
// numbers, whatever the locale.
std::optional<double> seconds(const QString& text) {
    const auto number = korvel::strictNumber(text.toStdString());
    if (!number || !(*number > 0)) return std::nullopt;
    return number;
}

// Shows how far a long run has gone, on a terminal only, and only once it
// has taken a second.
class Progress {
public:
    Progress() : terminal_(stderrIsTerminal()) { clock_.start(); }
    void show(double share) {
        if (!terminal_ || clock_.elapsed() < 1000) return;
        shown_ = true;
        std::fprintf(stderr, "\rkorvel: %3d %% of the run", static_cast<int>(share * 100));
        std::fflush(stderr);
    }
    void end() {
        if (shown_) std::fprintf(stderr, "\rkorvel: 100 %% of the run\n");
    }

private:
    bool terminal_;
    bool shown_ = false;
    QElapsedTimer clock_;
};

// The rows a spreadsheet holds, its header included.
constexpr double kSpreadsheetRows = 1'048'576;

// Says before a run that would write more rows than a spreadsheet holds, and
// names a round interval that fits: the header, the first and the last
// moment come on top of one row an interval.
void warnOfTooManyRows(double duration, double every) {
    const double rows = std::floor(duration / every) + 3;
    if (!(rows > kSpreadsheetRows)) return;
    const double fits = korvel::roundStepAtLeast(duration / (kSpreadsheetRows - 3));
    std::fprintf(stderr,
                 "korvel: this run writes %s rows, more than a spreadsheet holds (1,048,576); "
                 "--every %s would fit.\n",
                 korvel::plainNumberText(rows).c_str(), korvel::plainNumberText(fits).c_str());
}

// Where the rows go: a file put in place whole, so a fault leaves no file and
// no old one changed, or with "-" standard output, for a pipe. Anything else
// that is not a regular file is never replaced.
class CsvOutput {
public:
    explicit CsvOutput(const QString& name) : name_(name), toStdout_(name == "-"), file_(name) {}
    // Why it cannot be written, or nothing.
    QString open() {
        if (toStdout_) {
            binaryStdout();
            return standardOutput_.open(stdout, QIODevice::WriteOnly) ? QString() : standardOutput_.errorString();
        }
        if (QString why = korvel::qt::notReplaceable(name_); !why.isEmpty()) return why;
        return file_.open(QIODevice::WriteOnly) ? QString() : file_.errorString();
    }
    bool write(const std::string& text) {
        return device().write(text.data(), qint64(text.size())) == qint64(text.size());
    }
    bool finish() { return toStdout_ ? standardOutput_.flush() : file_.commit(); }
    void cancel() {
        if (!toStdout_) file_.cancelWriting();
    }
    QString errorString() const { return toStdout_ ? standardOutput_.errorString() : file_.errorString(); }
    // A fault in writing: nothing is left, and the program says so.
    int unwritten(const QString& why) {
        cancel();
        return fault("the data could not be written to \"" + native(name_) + "\": " + why.toStdString() + ".");
    }

private:
    QFileDevice& device() { return toStdout_ ? static_cast<QFileDevice&>(standardOutput_) : file_; }
    QString name_;
    bool toStdout_;
    QSaveFile file_;
    QFile standardOutput_;
};

// `korvel --export-data FILE --duration SECONDS [--every SECONDS] SCENARIO`.
int exportData(const QString& output, const QString& durationText, const QString& everyText,
               const QStringList& scenarios) {
    if (scenarios.isEmpty()) return fault("no scenario given: name a scenario file (.korvel) to run.");
    if (scenarios.size() > 1) return fault("more than one scenario given: a run without a window runs one.");
    if (durationText.isEmpty()) return fault("--duration is missing: give the simulated seconds to run.");
    const auto duration = seconds(durationText);
    if (!duration)
        return fault("the duration \"" + durationText.toStdString() + "\" is not a number of seconds above 0.");
    const auto every = seconds(everyText);
    if (!every) return fault("the interval \"" + everyText.toStdString() + "\" is not a number of seconds above 0.");

    const QString& scenarioName = scenarios.first();
    std::string unread;
    const auto bytes = korvel::qt::readScenarioFile(scenarioName, unread);
    if (!bytes) return fault(korvel::refusalMessage(native(scenarioName), unread));
    const korvel::ScenarioRead read = korvel::parseScenario(std::string_view(bytes->constData(), bytes->size()));
    if (!read.scenario) return fault(korvel::refusalMessage(native(scenarioName), read.fault));

    CsvOutput out(output);
    if (const QString why = out.open(); !why.isEmpty()) return out.unwritten(why);
    warnOfTooManyRows(*duration, *every);
    constexpr auto style = korvel::CsvStyle::Comma;
    std::string text = korvel::csvHeader(style);
    // Written in pieces, so that a long run needs little memory.
    constexpr std::size_t kPiece = 1 << 20;
    bool written = true;
    const auto flush = [&] {
        written = written && out.write(text);
        text.clear();
    };
    Progress progress;
    const korvel::HeadlessOutcome outcome = korvel::runHeadless(*read.scenario, {*duration, *every},
                                                                {[&](const korvel::DataRow& row) {
                                                                     korvel::appendCsvRow(text, row, style);
                                                                     if (text.size() >= kPiece) flush();
                                                                 },
                                                                 [&](double share) { progress.show(share); }});
    progress.end();
    if (!outcome.fault.empty()) {
        out.cancel();
        return fault("\"" + native(scenarioName) + "\" does not run: " + outcome.fault);
    }
    flush();
    if (!written || !out.finish()) return out.unwritten(out.errorString());
    if (!outcome.stopped.empty()) std::fprintf(stderr, "korvel: the run stopped early: %s\n", outcome.stopped.c_str());
    return 0;
}

}  // namespace

CommandLine readCommandLine(int argc, char** argv) {
    reachConsole();
    // The command line is read before any window, so that --help, --version
    // and a run without a window need no display.
    const QCoreApplication reader(argc, argv);
    QCoreApplication::setApplicationVersion(KORVEL_VERSION);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Simulate a craft orbiting a planet, and steer it with impulses.\n\n"
        "Without a window: korvel --export-data FILE.csv --duration SECONDS [--every SECONDS] SCENARIO\n"
        "runs the scenario on exact 1 ms ticks and writes its data as CSV; a fault exits with status 2.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption exportOption("export-data",
                                          "Run SCENARIO without a window and write its data as CSV to <file>.", "file");
    const QCommandLineOption durationOption("duration", "Simulated seconds to run (with --export-data).", "seconds");
    const QCommandLineOption everyOption("every", "Simulated seconds between rows (with --export-data).", "seconds",
                                         "10");
    parser.addOptions({exportOption, durationOption, everyOption});
    parser.addPositionalArgument("scenario", "A scenario file (.korvel) to open.", "[SCENARIO]");
    // Read once; every fault of the command line exits with status 2.
    if (!parser.parse(QCoreApplication::arguments())) return {fault(parser.errorText().toStdString()), {}};
    if (parser.isSet(help) || parser.isSet("help-all")) parser.showHelp(0);
    if (parser.isSet(version)) parser.showVersion();
    if (parser.isSet(exportOption))
        return {exportData(parser.value(exportOption), parser.value(durationOption), parser.value(everyOption),
                           parser.positionalArguments()),
                {}};
    if (parser.isSet(durationOption) || parser.isSet(everyOption))
        return {fault("--duration and --every go with --export-data."), {}};
    return {std::nullopt, parser.positionalArguments()};
}

}  // namespace korvel::qt
