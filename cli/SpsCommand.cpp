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

QString FileLayout::detectionText() const
{
    return QStringLiteral("Detected layout: %1 (%2); %3")
        .arg(detected.name(), detected.reason,
             layout.sameColumns(detected.layout) ? QStringLiteral("in force")
                                                 : QStringLiteral("--layout auto reads with it"));
}

std::optional<FileLayout> layoutFor(SpsKind kind, const QString& path, const SpsLines& lines,
                                    const QString& choice, TerminalConsole& console)
{
    FileLayout chosen{SpsLayout::defaults(kind), SpsDetection::detect(kind, lines), false};
    if (choice == QStringLiteral("auto")) {
        chosen.layout = chosen.detected.layout;
        chosen.automatic = true;
        return chosen;
    }
    std::optional<SpsLayoutInForce> inForce;
    if (!layoutInForce(kind, path, choice, console, &inForce))
        return std::nullopt;
    chosen.layout = inForce->layout();
    return chosen;
}

cli::Option layoutOption(const char* defaultText)
{
    return cli::option(
        "layout", "FILE.fmt|sps21|auto",
        QStringLiteral("read with this format file, the SPS 2.1 layout, or the layout found from "
                       "the header and first records (default: %1)")
            .arg(QLatin1String(defaultText)));
}

} // namespace SpsCommand
