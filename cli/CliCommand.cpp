#include "cli/CliCommand.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace cli {

namespace {

// Each command on the heap, so that pointers handed out stay valid while more commands register.
std::vector<std::unique_ptr<Command>>& registry()
{
    static std::vector<std::unique_ptr<Command>> list;
    return list;
}

std::vector<const Command*> sortedWhere(bool (*keep)(const Command&, const QString&), const QString& key)
{
    std::vector<const Command*> found;
    for (const auto& command : registry()) {
        if (keep(*command, key))
            found.push_back(command.get());
    }
    std::sort(found.begin(), found.end(),
              [](const Command* a, const Command* b) { return a->name() < b->name(); });
    return found;
}

} // namespace

Command Command::tool(const char* name, const QString& summary)
{
    Command command;
    command.toolName = QLatin1String(name);
    command.summary = summary;
    return command;
}

Command Command::tool(const char* name, const QString& summary, Run run)
{
    Command command = Command::tool(name, summary);
    command.run = run;
    return command;
}

Command Command::action(const char* tool, const char* name, const QString& summary, Run run)
{
    Command command = Command::tool(tool, summary, run);
    command.actionName = QLatin1String(name);
    return command;
}

Command& Command::describe(const QString& text)
{
    description = text;
    return *this;
}

Command& Command::option(const Option& option)
{
    options.append(option);
    return *this;
}

Command& Command::output(const Option& option)
{
    outputs.append(option.name);
    const bool offered = std::any_of(options.cbegin(), options.cend(),
                                     [](const Option& o) { return o.name == QLatin1String("overwrite"); });
    if (!offered)
        options.append(flag("overwrite", QStringLiteral("replace an output file that exists")));
    return this->option(option);
}

Command& Command::argument(const Argument& argument)
{
    arguments.append(argument);
    return *this;
}

Command& Command::drawing()
{
    draws = true;
    return *this;
}

QString Command::name() const
{
    return isTool() ? toolName : toolName + QLatin1Char(' ') + actionName;
}

void registerCommand(const Command& command)
{
    registry().push_back(std::make_unique<Command>(command));
}

std::vector<const Command*> tools()
{
    return sortedWhere([](const Command& command, const QString&) { return command.isTool(); }, QString());
}

const Command* findTool(const QString& name)
{
    for (const Command* tool : tools()) {
        if (tool->toolName == name)
            return tool;
    }
    return nullptr;
}

std::vector<const Command*> actionsOf(const QString& tool)
{
    return sortedWhere([](const Command& command,
                          const QString& key) { return !command.isTool() && command.toolName == key; },
                       tool);
}

const Command* findAction(const QString& tool, const QString& name)
{
    for (const Command* action : actionsOf(tool)) {
        if (action->actionName == name)
            return action;
    }
    return nullptr;
}

namespace {
int usageErrors = 0;
} // namespace

int usageErrorCount()
{
    return usageErrors;
}

int usageError(const QString& text, const QString& helpCommand)
{
    ++usageErrors;
    const QString help = helpCommand.isEmpty() ? QStringLiteral("obrio --help")
                                               : QStringLiteral("obrio %1 --help").arg(helpCommand);
    std::fflush(stdout);
    std::fprintf(stderr, "obrio: %s (see %s)\n", text.toLocal8Bit().constData(),
                 help.toLocal8Bit().constData());
    return UsageError;
}

void printText(const QString& text, bool toError)
{
    FILE* stream = toError ? stderr : stdout;
    std::fputs(text.toLocal8Bit().constData(), stream);
    if (!text.endsWith(QLatin1Char('\n')))
        std::fputc('\n', stream);
    std::fflush(stream);
}

} // namespace cli
