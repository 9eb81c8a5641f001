#include "cli/CliInvocation.h"

#include "cli/CliCommand.h"
#include "cli/CliHelp.h"
#include "cli/CliParser.h"

#include <QCoreApplication>

namespace cli {

namespace {

bool isHelp(const QString& word)
{
    return word == QLatin1String("-h") || word == QLatin1String("--help");
}

// Help wins wherever it stands among the options, even beside a mistake.
bool asksForHelp(const QStringList& words)
{
    for (const QString& word : words) {
        if (word == QLatin1String("--"))
            return false;
        if (isHelp(word))
            return true;
    }
    return false;
}

// Takes -v, -vv and --verbose off the front of the words, raising the detail level.
void skipVerbosity(QStringList* words, int* level)
{
    while (!words->isEmpty() && raiseVerbosity(words->first(), level))
        words->removeFirst();
}

} // namespace

Invocation::Invocation(const QStringList& words)
{
    read(words);
}

void Invocation::read(QStringList words)
{
    const Command* command = resolve(&words);
    if (!command)
        return;
    if (asksForHelp(words)) {
        printText(commandHelp(*command));
        exitStatus = Success;
        return;
    }
    auto arguments = std::make_unique<Arguments>(*command);
    if (!parse(*command, words, arguments.get(), &level)) {
        exitStatus = UsageError;
        return;
    }
    parsed = std::move(arguments);
    found = command;
}

// Finds the command the first words name and takes those words off; null when the line is already
// answered (exitStatus says how).
const Command* Invocation::resolve(QStringList* words)
{
    skipVerbosity(words, &level);
    if (words->isEmpty()) {
        printText(mainHelp(), true);
        exitStatus = UsageError;
        return nullptr;
    }
    const QString name = words->takeFirst();
    if (isHelp(name) || name == QLatin1String("help")) {
        printText(mainHelp());
        exitStatus = Success;
        return nullptr;
    }
    if (name == QLatin1String("--version")) {
        printText(QStringLiteral("obrio %1").arg(QCoreApplication::applicationVersion()));
        exitStatus = Success;
        return nullptr;
    }
    if (name.startsWith(QLatin1Char('-'))) {
        exitStatus = usageError(QStringLiteral("unknown option %1").arg(name));
        return nullptr;
    }
    const Command* tool = findTool(name);
    if (!tool) {
        exitStatus = usageError(QStringLiteral("unknown tool '%1'").arg(name));
        return nullptr;
    }
    if (tool->run)
        return tool;

    skipVerbosity(words, &level);
    if (words->isEmpty()) {
        exitStatus = usageError(QStringLiteral("%1 needs an action").arg(name), name);
        return nullptr;
    }
    const QString actionName = words->takeFirst();
    if (isHelp(actionName)) {
        printText(toolHelp(*tool));
        exitStatus = Success;
        return nullptr;
    }
    if (actionName.startsWith(QLatin1Char('-'))) {
        exitStatus = usageError(QStringLiteral("%1 needs an action before %2").arg(name, actionName), name);
        return nullptr;
    }
    const Command* action = findAction(name, actionName);
    if (!action)
        exitStatus = usageError(QStringLiteral("unknown %1 action '%2'").arg(name, actionName), name);
    return action;
}

} // namespace cli
