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
    std::optional<SpsLayoutInForce> inForce;
    if (!SpsCommand::layoutInForce(*kind, path, arguments.text(QStringLiteral("layout")), console, &inForce))
        return cli::JobFailed;
    const SpsLayout& layout = inForce->layout();
    if (SpsRevision21::declaredBy(lines) && !SpsRevision21::inForce(layout))
        console.warning(SpsRevision21::mismatchText(path) + QStringLiteral("; --layout sps21 reads it so"),
                        false);

    const SpsScanner scanner(lines);
    const qint64 dataLines = scanner.dataLines(layout);
    const auto ranges = scanner.all(layout);
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
                             JsonOutput::numberShown(shown(field, ranges[size_t(field)].maximum))}});
        }
        JsonOutput::print({{QStringLiteral("file"), path},
                           {QStringLiteral("dataLines"), double(dataLines)},
                           {QStringLiteral("dataLineRule"), dataLineRule(layout)},
                           {QStringLiteral("fields"), fields}});
        return cli::Success;
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
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    spsRanges,
    cli::Command::action("sps", "ranges", QStringLiteral("minimum and maximum of every field of an SPS file"),
                         runRanges)
        .describe(QStringLiteral(
            "Reads FILE and shows, for every field of the layout in force, its columns and its\n"
            "minimum and maximum over the data lines, as the SPS analyzers compute them: text\n"
            "that is not a number counts as 0; \"-\" means no data line (and no range for codes).\n"
            "A file whose H00 line says SPS 2.1 read with another layout gets a warning."))
        .option(SpsCommand::kindOption())
        .option(JsonOutput::option())
        .option(cli::option("layout", "FILE.fmt|sps21",
                            QStringLiteral("use this format file, or the SPS 2.1 layout, instead of the "
                                           "layout in force")))
        .argument(cli::argument("FILE", QStringLiteral("the SPS file"))))
