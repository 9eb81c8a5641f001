#include "cli/CliRun.h"

#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/TerminalConsole.h"

#include <QStringList>

namespace cli {

int runAction(const Command& command, const Arguments& arguments, TerminalConsole& console)
{
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
