#pragma once

#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TerminalConsole;

// One action of `obrio segy`: each lives in its own cli/ file and registers itself with
// OBRIO_SEGY_ACTION, so further actions touch no shared file.
struct SegyAction {
    class Command;
    using Run = int (*)(Command& command, TerminalConsole& console);
    const char* name;
    const char* usage;      // the --help page of the action
    const char* valueFlags; // the options taking a value, besides --format, separated by blanks
    int positionals;        // file arguments the action takes
    Run run;

    // The parsed command line of an action, and the SEG-Y file it names.
    class Command {
    public:
        QStringList files;
        QMap<QString, QString> values;
        QString formatPath;

        bool has(const QString& flag) const { return values.contains(flag); }
        // A whole number option; false (and a usage message) when it is not one.
        [[nodiscard]] bool number(const QString& flag, int fallback, int* value) const;
        // The format of --format, or the standard one; null when the file cannot be read.
        std::unique_ptr<SegyFormat> loadFormat(TerminalConsole& console) const;
        // Loads the format and opens files[0] for reading through it; false when either
        // failed (reported on the console).
        [[nodiscard]] bool openFile(TerminalConsole& console);

        // Set by openFile; the format outlives the data set that reads through it.
        std::unique_ptr<SegyFormat> format;
        std::unique_ptr<SegyData> data;
    };
};

namespace segycli {

void registerAction(const SegyAction& action);
const std::vector<SegyAction>& actions();

} // namespace segycli

#define OBRIO_SEGY_ACTION(identifier, actionName, actionUsage, flags, positionalCount, runFunction)          \
    namespace {                                                                                              \
    const bool identifier##SegyRegistered =                                                                  \
        (segycli::registerAction({actionName, actionUsage, flags, positionalCount, runFunction}), true);     \
    }
