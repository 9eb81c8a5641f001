#include "cli/SpsCommand.h"

#include "cli/CliCommand.h"
#include "cli/TerminalConsole.h"
#include "sps/SpsLines.h"

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

cli::Command& surveyFiles(cli::Command& command, bool relationOptional)
{
    const cli::Argument relation = cli::argument("X", QStringLiteral("the relation file"));
    return command.argument(cli::argument("S", QStringLiteral("the source file")))
        .argument(cli::argument("R", QStringLiteral("the receiver file")))
        .argument(relationOptional ? cli::Argument(relation).optional() : relation);
}

cli::Option layoutOption(const char* defaultText)
{
    return cli::option(
        "layout", "FILE.fmt|sps21|auto",
        QStringLiteral("read with this format file, the SPS 2.1 layout, or the layout found from "
                       "the header and first records (default: %1)")
            .arg(QLatin1String(defaultText)));
}

bool readSurvey(const QString& sourcePath, const QString& receiverPath, const QString& relationPath,
                QString choice, TerminalConsole& console, SpsSurvey* survey, QStringList* read)
{
    if (choice.isEmpty())
        choice = QStringLiteral("auto");
    for (const auto& [kind, path] : {std::pair{SpsKind::Source, sourcePath},
                                     {SpsKind::Receiver, receiverPath},
                                     {SpsKind::Relation, relationPath}}) {
        if (path.isEmpty())
            continue;
        SpsLines lines;
        if (!lines.read(path)) {
            console.error(lines.errorString(), false);
            return false;
        }
        const auto chosen = layoutFor(kind, path, lines, choice, console);
        if (!chosen)
            return false;
        const int before = survey->sources.size() + survey->receivers.size() + survey->relations.size();
        survey->read(lines, chosen->layout);
        const int records =
            survey->sources.size() + survey->receivers.size() + survey->relations.size() - before;
        *read << QStringLiteral("%1 %2: %3 %4 record%5, %6")
                     .arg(SpsKinds::recordLetter(kind))
                     .arg(path)
                     .arg(records)
                     .arg(SpsKinds::noun(kind))
                     .arg(records == 1 ? QString() : QStringLiteral("s"))
                     .arg(chosen->automatic ? chosen->detected.name()
                                            : QStringLiteral("the layout in force"));
    }
    return true;
}

} // namespace SpsCommand
