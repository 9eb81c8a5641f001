#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFieldRanges.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyTraceExtension.h"
#include "seismic/SegyWordRanges.h"
#include "seismic/SeismicTrace.h"

#include <QJsonArray>
#include <limits>
#include <vector>

namespace {

QJsonObject rangeObject(const QString& field, const QString& minimum, const QString& maximum)
{
    return {{QStringLiteral("field"), field},
            {QStringLiteral("minimum"), JsonOutput::numberShown(minimum)},
            {QStringLiteral("maximum"), JsonOutput::numberShown(maximum)}};
}

int runHeaders(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    const int first = int(arguments.integer(QStringLiteral("first"), 1));
    int last = int(arguments.integer(QStringLiteral("last"), 24));
    if (last < first)
        return arguments.usageError(QStringLiteral("the trace range %1 to %2 is empty").arg(first).arg(last));
    if (!command.openFile(console))
        return cli::JobFailed;
    const auto& data = command.data;
    last = std::min(last, data->traceCount());
    const auto trace = data->makeTrace();
    if (!trace || !data->seekSequentialTrace(first))
        return cli::JobFailed;
    std::vector<char> buffer(size_t(std::max(data->traceLength(), 0)));
    SegyFieldRanges ranges;
    // Only the headers that hold extension 1 give its words a range.
    SegyWordRanges extension(SegyFormat::extensionOneHeaderWords());
    bool extended = false;
    const qint64 headerLength = SegyTraceExtension::headerLength(*data);
    for (int n = first; n <= last; ++n) {
        if (!data->readTraceInto(buffer.data(), *trace))
            return cli::JobFailed;
        ranges.add(*trace);
        if (SegyTraceExtension::holdsExtensionOne(buffer.data(), headerLength)) {
            extension.add(buffer.data(), headerLength, data->swapBytes());
            extended = true;
        }
    }
    if (JsonOutput::wanted(arguments)) {
        QJsonArray fields;
        for (int row = 0; row < SegyFieldRanges::count; ++row)
            fields.append(rangeObject(QString::fromLatin1(SegyFieldRanges::fields()[size_t(row)].label),
                                      ranges.minimumText(row), ranges.maximumText(row)));
        QJsonObject document{{QStringLiteral("first"), first},
                             {QStringLiteral("last"), last},
                             {QStringLiteral("fields"), fields}};
        if (extended) {
            QJsonArray words;
            for (int row = 0; row < extension.words().size(); ++row)
                words.append(rangeObject(extension.words()[row].name, extension.minimumText(row),
                                         extension.maximumText(row)));
            document.insert(QStringLiteral("extension1"), words);
        }
        JsonOutput::print(document);
        return cli::Success;
    }
    const QColor black(Qt::black);
    console.message(QStringLiteral("Traces %1 to %2").arg(first).arg(last), black);
    console.message(QStringLiteral("%1 %2 %3")
                        .arg(QStringLiteral("Field"), -22)
                        .arg(QStringLiteral("Minimum"), 16)
                        .arg(QStringLiteral("Maximum"), 16),
                    black);
    for (int row = 0; row < SegyFieldRanges::count; ++row)
        console.message(QStringLiteral("%1 %2 %3")
                            .arg(QString::fromLatin1(SegyFieldRanges::fields()[size_t(row)].label), -22)
                            .arg(ranges.minimumText(row), 16)
                            .arg(ranges.maximumText(row), 16),
                        black);
    if (!extended)
        return cli::Success;
    console.message(QStringLiteral("Trace header extension 1"), black);
    for (int row = 0; row < extension.words().size(); ++row)
        console.message(QStringLiteral("%1 %2 %3")
                            .arg(extension.words()[row].name, -33)
                            .arg(extension.minimumText(row), 22)
                            .arg(extension.maximumText(row), 22),
                        black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(segyHeaders,
              cli::Command::action("segy", "headers",
                                   QStringLiteral("ranges of the 29 trace header fields over a trace range"),
                                   runHeaders)
                  .describe(QStringLiteral(
                      "Reads traces N to M (default 1 to 24, at most the trace count) and shows, for\n"
                      "each of the 29 fields the SEG-Y analyzer shows, its minimum and maximum; then,\n"
                      "when traces hold trace header extension 1 (SEG-Y revision 2), the same for\n"
                      "its words over those traces, as stored."))
                  .option(cli::option("first", "N", QStringLiteral("the first trace (default 1)"),
                                      cli::integer(1, std::numeric_limits<int>::max())))
                  .option(cli::option("last", "M", QStringLiteral("the last trace (default 24)"),
                                      cli::integer(1, std::numeric_limits<int>::max())))
                  .option(JsonOutput::option())
                  .argument(SegyCommand::fileArgument()))
