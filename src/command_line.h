#pragma once
// The command line, read before any window: --help, --version and a run
// without a window (`--export-data`) end the program there. Started from a
// console on Windows, the program writes its messages to it from then on.

#include <QStringList>

#include <optional>

namespace korvel::qt {

struct CommandLine {
    // The status to exit with at once: help or the version shown, a run
    // without a window done or refused, a command line that does not read
    // (status 2); nothing when the window is to open.
    std::optional<int> exitStatus;
    // The scenario files named, for the window to open.
    QStringList scenarios;
};

CommandLine readCommandLine(int argc, char** argv);

}  // namespace korvel::qt
