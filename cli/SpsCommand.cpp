#include "cli/SpsCommand.h"

#include "cli/CliCommand.h"
#include "cli/TerminalConsole.h"

namespace SpsCommand {

cli::Option kindOption()
{
    return cli::option("kind", "S|R|X", QStringLiteral("the records: S source, R receiver, X relation"))
        .required();
}

std::optional<SpsKind> kind(const cli::Arguments& arguments, int* status)
{
    SpsKind kind;
    if (SpsKinds::fromLetter(arguments.text(QStringLiteral("kind")), &kind))
        return kind;
    *status = arguments.usageError(QStringLiteral("--kind needs S, R or X"));
    return std::nullopt;
}

bool layoutInForce(SpsKind kind, const QString& spsPath, const QString& choice, TerminalConsole& console,
                   std::optional<SpsLayoutInForce>* result)
{
    *result =
        choice.isEmpty() ? SpsLayoutInForce::forFile(kind, spsPath) : SpsLayoutInForce::chosen(kind, choice);
    for (const QString& problem : (*result)->problems()) {
        if ((*result)->ok())
            console.warning(problem, false);
        else
            console.error(problem, false);
    }
    return (*result)->ok();
}

} // namespace SpsCommand
