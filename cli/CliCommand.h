#pragma once

#include "cli/CliParameters.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <vector>

class TerminalConsole;

namespace cli {

class Arguments;

// Exit statuses of obrio.
enum ExitStatus { Success = 0, JobFailed = 1, UsageError = 2 };

// One declaration of `obrio`: a tool (`obrio tape`) or one of its actions (`obrio tape rewind`).
// Each lives in its own cli/ file and registers itself with OBRIO_COMMAND, so adding a tool or an
// action touches no shared file. The parser, the help pages and the convention test all read
// these declarations.
struct Command {
    using Run = int (*)(const Arguments& arguments, TerminalConsole& console);

    QString toolName;
    QString actionName;      // empty for the tool itself
    QString summary;         // its line in the list of tools or of the tool's actions
    QString description;     // the paragraph of its help page
    QVector<Option> options; // a tool's options hold for every one of its actions as well
    QVector<Argument> arguments;
    QStringList outputs; // the options naming a file to write, refused when it exists
    Run run = nullptr;   // null for a tool that only groups actions; returns the exit status
    bool draws = false;  // draws pictures: runs with a (headless) GUI application

    // A tool whose actions do the work.
    static Command tool(const char* name, const QString& summary);
    // A tool that is run as it is (`obrio setup`).
    static Command tool(const char* name, const QString& summary, Run run);
    static Command action(const char* tool, const char* name, const QString& summary, Run run);

    Command& describe(const QString& text);
    Command& option(const Option& option);
    // An option naming a file the action writes: an existing file is kept unless --overwrite,
    // which this adds.
    Command& output(const Option& option);
    Command& argument(const Argument& argument);
    Command& drawing();

    QString name() const; // "tape rewind", or "setup"
    bool isTool() const { return actionName.isEmpty(); }
};

void registerCommand(const Command& command);
// The tools, sorted by name.
std::vector<const Command*> tools();
const Command* findTool(const QString& name);
// The actions of a tool, sorted by name; empty for a tool run as it is.
std::vector<const Command*> actionsOf(const QString& tool);
const Command* findAction(const QString& tool, const QString& name);

// Writes "obrio: TEXT (see obrio HELPCOMMAND --help)" to standard error and returns UsageError;
// the one form of every usage error.
int usageError(const QString& text, const QString& helpCommand = QString());
// How many usage errors have been written.
int usageErrorCount();
// Writes text (normally a help page) to standard output, or to standard error.
void printText(const QString& text, bool toError = false);

} // namespace cli

#define OBRIO_COMMAND(identifier, ...)                                                                       \
    namespace {                                                                                              \
    const bool identifier##Registered = (cli::registerCommand(__VA_ARGS__), true);                           \
    }
