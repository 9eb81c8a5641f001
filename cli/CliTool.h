#pragma once

#include <QStringList>

#include <vector>

class TerminalConsole;

// One `obrio <tool> ...` subcommand. Each tool lives in its own cli/ file and registers
// itself with OBRIO_TOOL, so adding a tool touches no shared file.
struct CliTool {
    using Run = int (*)(const QStringList& arguments, TerminalConsole& console);
    using NeedsGui = bool (*)(const QStringList& arguments);
    const char* name;
    const char* summary;
    Run run;                     // arguments start after the tool name; returns the exit status
    NeedsGui needsGui = nullptr; // actions that draw text get a QGuiApplication without a display
};

namespace cli {

// Exit statuses of obrio.
enum ExitStatus { Success = 0, JobFailed = 1, UsageError = 2 };

void registerTool(const CliTool& tool);
const std::vector<CliTool>& tools();

// Writes a usage or argument error to standard error and returns UsageError.
int usageError(const QString& text);
// Writes text (normally a --help page) to standard output.
void printText(const QString& text);

} // namespace cli

#define OBRIO_TOOL(identifier, toolName, toolSummary, runFunction)                                           \
    OBRIO_GUI_TOOL(identifier, toolName, toolSummary, runFunction, nullptr)

#define OBRIO_GUI_TOOL(identifier, toolName, toolSummary, runFunction, needsGuiFunction)                     \
    namespace {                                                                                              \
    const bool identifier##Registered =                                                                      \
        (cli::registerTool({toolName, toolSummary, runFunction, needsGuiFunction}), true);                   \
    }
