#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "seismic/TraceKey.h"

#include <QDateTime>
#include <algorithm>
#include <limits>
#include <vector>

namespace {

const char* typeNames[] = {"int8", "int16", "int32", "ibm", "ieee", "uint16"};

int runDump(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    const int number = int(arguments.integer(QStringLiteral("trace"), 1));
    if (!command.openFile(console))
        return cli::JobFailed;
    const auto& format = command.format;
    const auto& data = command.data;
    const auto trace = SeismicTrace::create(data->samples(), data->sampleInterval());
    std::vector<char> bytes(size_t(std::max(data->traceLength(), 0)));
    // The raw bytes first, then the full decoding of the same trace.
    if (!trace || !data->seekSequentialTrace(number) || !data->readTraceInto(bytes.data(), *trace) ||
        !data->seekSequentialTrace(number) || !data->readTrace(*trace))
        return cli::JobFailed;

    const QColor black(Qt::black);
    const qint64 headerLength = std::min<qint64>(format->traceHeaderSize, qint64(bytes.size()));
    console.message(QStringLiteral("Trace %1 at byte %2").arg(number).arg(trace->filePosition), black);
    console.message(QStringLiteral("Header words:"), black);
    QVector<SegyFormat::HeaderWord> words = format->headerWords;
    std::stable_sort(words.begin(), words.end(),
                     [](const SegyFormat::HeaderWord& a, const SegyFormat::HeaderWord& b) {
                         return a.startByte < b.startByte;
                     });
    for (const SegyFormat::HeaderWord& word : words) {
        const double value = HeaderDataType::readValue(bytes.data(), headerLength, word.startByte, word.type,
                                                       data->swapBytes());
        const bool known = word.type >= 0 && word.type < 6;
        console.message(QStringLiteral("  %1 %2 %3 %4")
                            .arg(word.startByte, 4)
                            .arg(QString::fromLatin1(known ? typeNames[word.type] : "?"), -6)
                            .arg(word.name, -46)
                            .arg(value, 0, 'g', 10),
                        black);
    }
    console.message(QStringLiteral("Decoded keys:"), black);
    for (const TraceKey::Info& info : TraceKey::table) {
        if (TraceKey::isStored(info.key))
            console.message(QStringLiteral("  %1 %2 %3")
                                .arg(info.key, 3)
                                .arg(QString::fromLatin1(info.name), -26)
                                .arg(trace->value(info.key), 0, 'g', 12),
                            black);
    }
    console.message(QStringLiteral("  Coordinate scalar %1, elevation scalar %2, time scalar %3")
                        .arg(trace->coordinateScalar)
                        .arg(trace->elevationScalar)
                        .arg(trace->timeScalar),
                    black);
    console.message(
        QStringLiteral("  Recording delay %1 ms, acquisition time %2")
            .arg(trace->startTime)
            .arg(trace->timestamp
                     ? QDateTime::fromMSecsSinceEpoch(trace->timestamp, Qt::UTC).toString(Qt::ISODate)
                     : QStringLiteral("unknown")),
        black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(segyDump,
              cli::Command::action(
                  "segy", "dump",
                  QStringLiteral("one trace's header words by byte position and its decoded keys"), runDump)
                  .describe(QStringLiteral(
                      "Shows the words of the format's trace header list in byte order (byte, type,\n"
                      "name, value as stored) and then every trace key as the reader decodes it."))
                  .option(cli::option("trace", "N", QStringLiteral("the trace to show, counted from 1"),
                                      cli::integer(1, std::numeric_limits<int>::max()))
                              .required())
                  .argument(SegyCommand::fileArgument()))
