#include "cli/CliRun.h"

#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/TerminalConsole.h"

#include <QFileInfo>
#include <QStringList>

namespace cli {

namespace {

// An output that names a file already there; empty when none does or --overwrite is given.
// Devices and pipes (/dev/stdout) are written, not replaced.
QString existingOutput(const Command& command, const Arguments& arguments)
{
    if (arguments.has(QStringLiteral("overwrite")))
        return QString();
    for (const QString& name : command.outputs) {
        if (arguments.has(name) && QFileInfo(arguments.text(name)).isFile())
            return arguments.text(name);
    }
    return QString();
}

} // namespace

int runAction(const Command& command, const Arguments& arguments, TerminalConsole& console)
{
    const QString existing = existingOutput(command, arguments);
    if (!existing.isEmpty()) {
        console.error(QStringLiteral("%1 exists: --overwrite replaces it").arg(existing), false);
        return JobFailed;
    }
    const int usageBefore = usageErrorCount();
    const int errorsBefore = console.errorCount();
    int status = command.run(arguments, console);
    if (usageErrorCount() > usageBefore)
        return UsageError;
    if (status != Success && status != JobFailed && status != UsageError)
        status = JobFailed;
    const bool errorSaid = console.errorCount() > errorsBefore;
    if (errorSaid && status == Success)
        return JobFailed;
    if (status == JobFailed && !errorSaid) {
        const QString subject =
            arguments.positionals().isEmpty()
                ? QString()
                : QStringLiteral(" on ") + arguments.positionals().join(QStringLiteral(", "));
        console.error(
            QStringLiteral("obrio %1 failed%2 without saying why (a fault of obrio: please report it)")
                .arg(command.name(), subject),
            false);
    }
    if (status == UsageError && usageErrorCount() == usageBefore) {
        // A usage status needs its line too.
        usageError(QStringLiteral("the command line was refused"), command.name());
    }
    return status;
}

} // namespace cli
