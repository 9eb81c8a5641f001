#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SpsCommand.h"
#include "cli/TerminalConsole.h"
#include "sps/SpsLines.h"
#include "sps/SpsRevision21.h"
#include "sps/SpsScanner.h"
#include "sps/SpsValue.h"

#include <QJsonArray>
#include <algorithm>

namespace {

QString dataLineRule(const SpsLayout& layout)
{
    if (!layout.readPointId())
        return QStringLiteral("every line from line %1").arg(layout.firstLine());
    const SpsColumns id = layout.columns(SpsLayout::pointIdField);
    return QStringLiteral("lines with \"%1\" in columns %2-%3")
        .arg(SpsKinds::recordLetter(layout.kind()))
        .arg(id.start)
        .arg(id.end);
}

constexpr int shownEntries = 20;

QJsonObject diagnosticsJson(SpsKind kind, const SpsDiagnostics& found)
{
    QJsonArray problems;
    for (const SpsCellProblem& problem : found.problems)
        problems.append(QJsonObject{{QStringLiteral("line"), problem.line},
                                    {QStringLiteral("field"), SpsKinds::fieldLabel(kind, problem.field)},
                                    {QStringLiteral("firstColumn"), problem.columns.start},
                                    {QStringLiteral("lastColumn"), problem.columns.end},
                                    {QStringLiteral("text"), QString::fromLatin1(problem.text)},
                                    {QStringLiteral("message"), SpsDiagnostics::problemText(kind, problem)}});
    QJsonArray strays;
    for (const SpsStrayLine& stray : found.strayLines)
        strays.append(QJsonObject{{QStringLiteral("line"), stray.line},
                                  {QStringLiteral("text"), QString::fromLatin1(stray.text)}});
    return {{QStringLiteral("unreadableRecords"), double(found.unreadableRecords)},
            {QStringLiteral("unreadableFields"), double(found.problemCount)},
            {QStringLiteral("problems"), problems},
            {QStringLiteral("headerLines"), double(found.headerLines)},
            {QStringLiteral("linesNotRecords"), double(found.strayLineCount)},
            {QStringLiteral("notRecords"), strays}};
}

void showDiagnostics(SpsKind kind, const SpsDiagnostics& found, TerminalConsole& console)
{
    const QColor black(Qt::black);
    console.message(found.summary(), black);
    for (int i = 0; i < std::min(shownEntries, int(found.problems.size())); ++i)
        console.message(QStringLiteral("  ") + SpsDiagnostics::problemText(kind, found.problems[i]), black);
    if (found.problemCount > shownEntries)
        console.message(QStringLiteral("  ... %1 more").arg(found.problemCount - shownEntries), black);
    for (int i = 0; i < std::min(shownEntries, int(found.strayLines.size())); ++i)
        console.message(QStringLiteral("  ") + SpsDiagnostics::strayText(found.strayLines[i]), black);
    if (found.strayLineCount > shownEntries)
        console.message(QStringLiteral("  ... %1 more").arg(found.strayLineCount - shownEntries), black);
}

int runRanges(const cli::Arguments& arguments, TerminalConsole& console)
{
    int status = cli::Success;
    const auto kind = SpsCommand::kind(arguments, &status);
    if (!kind)
        return status;
    const QString path = arguments.positional(0);
    SpsLines lines;
    if (!lines.read(path)) {
        console.error(lines.errorString(), false);
        return cli::JobFailed;
    }
    const auto chosen =
        SpsCommand::layoutFor(*kind, path, lines, arguments.text(QStringLiteral("layout")), console);
    if (!chosen)
        return cli::JobFailed;
    const SpsLayout& layout = chosen->layout;
    if (!chosen->automatic && SpsRevision21::declaredBy(lines) && !SpsRevision21::inForce(layout))
        console.warning(SpsRevision21::mismatchText(path) + QStringLiteral("; --layout sps21 reads it so"),
                        false);

    const SpsDiagnostics found = SpsScanner(lines).diagnose(layout);
    const qint64 dataLines = found.records;
    const auto& ranges = found.ranges;
    const bool failed = arguments.has(QStringLiteral("strict")) && found.unreadableRecords > 0;
    if (failed)
        console.error(QStringLiteral("%1: %2 unreadable record%3 (--strict)")
                          .arg(path)
                          .arg(found.unreadableRecords)
                          .arg(found.unreadableRecords == 1 ? QString() : QStringLiteral("s")),
                      false);
    const int outcome = failed ? cli::JobFailed : cli::Success;
    const auto shown = [&](int field, double value) {
        return ranges[size_t(field)].hasValues() ? SpsValue::text(layout.conversion(field), value)
                                                 : QStringLiteral("-");
    };
    if (JsonOutput::wanted(arguments)) {
        QJsonArray fields;
        for (int field = 1; field < SpsLayout::fieldCount; ++field) {
            const SpsColumns columns = layout.columns(field);
            fields.append(
                QJsonObject{{QStringLiteral("field"), layout.fieldName(field)},
                            {QStringLiteral("firstColumn"), columns.start},
                            {QStringLiteral("lastColumn"), columns.end},
                            {QStringLiteral("minimum"),
                             JsonOutput::numberShown(shown(field, ranges[size_t(field)].minimum))},
                            {QStringLiteral("maximum"),
                             JsonOutput::numberShown(shown(field, ranges[size_t(field)].maximum))},
                            {QStringLiteral("missing"), double(found.missing[size_t(field)])},
                            {QStringLiteral("unreadable"), double(found.unreadable[size_t(field)])}});
        }
        JsonOutput::print({{QStringLiteral("file"), path},
                           {QStringLiteral("dataLines"), double(dataLines)},
                           {QStringLiteral("dataLineRule"), dataLineRule(layout)},
                           {QStringLiteral("fields"), fields},
                           {QStringLiteral("detectedLayout"), chosen->detected.name()},
                           {QStringLiteral("detectedBecause"), chosen->detected.reason},
                           {QStringLiteral("detectedInForce"), layout.sameColumns(chosen->detected.layout)},
                           {QStringLiteral("diagnostics"), diagnosticsJson(*kind, found)}});
        return outcome;
    }
    const QColor black(Qt::black);
    console.message(QStringLiteral("%1: %2 data line%3 (%4)")
                        .arg(path)
                        .arg(dataLines)
                        .arg(dataLines == 1 ? QString() : QStringLiteral("s"))
                        .arg(dataLineRule(layout)),
                    black);
    const auto row = [](const QString& field, const QString& columns, const QString& minimum,
                        const QString& maximum) {
        return QStringLiteral("%1 %2 %3 %4")
            .arg(field, -20)
            .arg(columns, -8)
            .arg(minimum, 15)
            .arg(maximum, 15);
    };
    console.message(row(QStringLiteral("Field"), QStringLiteral("Columns"), QStringLiteral("Minimum"),
                        QStringLiteral("Maximum")),
                    black);
    for (int field = 1; field < SpsLayout::fieldCount; ++field) {
        const SpsColumns columns = layout.columns(field);
        console.message(
            row(layout.fieldName(field), QStringLiteral("%1-%2").arg(columns.start).arg(columns.end),
                shown(field, ranges[size_t(field)].minimum), shown(field, ranges[size_t(field)].maximum)),
            black);
    }
    showDiagnostics(*kind, found, console);
    console.message(chosen->detectionText(), black);
    return outcome;
}

} // namespace

OBRIO_COMMAND(
    spsRanges,
    cli::Command::action("sps", "ranges", QStringLiteral("minimum and maximum of every field of an SPS file"),
                         runRanges)
        .describe(QStringLiteral(
            "Reads FILE and shows, for every field of the layout in force, its columns and its\n"
            "minimum and maximum over the records, as the SPS analyzers compute them; \"-\" means\n"
            "no number (and no range for codes). Blank cells are missing and text that is no number\n"
            "is unreadable: neither counts in a range. Then the unreadable records and the lines that\n"
            "are not records (comments, prose, a bare record letter), the first 20 of each with their\n"
            "line numbers. --strict ends with status 1 when a record is unreadable. A file whose H00\n"
            "line says SPS 2.1 read with another layout gets a warning. The last line names the layout\n"
            "the header lines and the first records point to, and why."))
        .option(SpsCommand::kindOption())
        .option(JsonOutput::option())
        .option(cli::flag("strict", QStringLiteral("status 1 when any record is unreadable")))
        .option(SpsCommand::layoutOption("the layout in force"))
        .argument(cli::argument("FILE", QStringLiteral("the SPS file"))))
