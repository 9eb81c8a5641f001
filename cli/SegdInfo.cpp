#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegdCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int sercelManufacturer = 13;

QString row(const QString& label, const QString& value)
{
    return QStringLiteral("%1 %2").arg(label + QLatin1Char(':'), -24).arg(value);
}

QString formatName(SegdSampleDecoder::Decoder decoder)
{
    switch (decoder) {
    case SegdSampleDecoder::Binary20:
        return QStringLiteral("20-bit binary");
    case SegdSampleDecoder::Quaternary8:
        return QStringLiteral("8-bit quaternary");
    case SegdSampleDecoder::Quaternary16:
        return QStringLiteral("16-bit quaternary");
    case SegdSampleDecoder::Integer24:
        return QStringLiteral("24-bit integer");
    case SegdSampleDecoder::Integer32:
        return QStringLiteral("32-bit integer");
    case SegdSampleDecoder::Hexadecimal8:
        return QStringLiteral("8-bit hexadecimal");
    case SegdSampleDecoder::Hexadecimal16:
        return QStringLiteral("16-bit hexadecimal");
    case SegdSampleDecoder::IbmFloat:
        return QStringLiteral("IBM float");
    case SegdSampleDecoder::IeeeFloat:
        return QStringLiteral("IEEE float");
    case SegdSampleDecoder::None:
        break;
    }
    return QStringLiteral("not decoded");
}

// The trace header extensions of each channel set's first trace, read from the traces'
// headers (the descriptors of revisions before 3 need not state them); -1 for sets without
// traces or when the traces cannot be read.
std::vector<int> extensionsPerSet(SegdData& data)
{
    std::vector<int> extensions(data.channelSets().size(), -1);
    const auto trace = SeismicTrace::create(0, data.sampleInterval());
    if (!trace || !data.seekSequentialTrace(1))
        return extensions;
    size_t set = 0;
    int first = 0;
    for (const SegdChannelSet& channelSet : data.channelSets()) {
        if (channelSet.channels > 0 && data.seekSequentialTrace(first + 1) && data.readTrace(*trace))
            extensions[set] = SegdTraceHeaderRecord::extensions(data.traceHeaderRecords().back().bytes());
        first += channelSet.channels;
        ++set;
    }
    return extensions;
}

int runInfo(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString path = arguments.positional(0);
    const auto data = SegdCommand::open(path, console);
    if (!data)
        return cli::JobFailed;
    const SegdGeneralHeader& general = data->generalHeader();
    const QColor black(Qt::black);
    console.message(row(QStringLiteral("File"), path), black);
    console.message(row(QStringLiteral("Revision"), QString::number(double(general.revision), 'f', 1)),
                    black);
    console.message(
        row(QStringLiteral("Manufacturer"), general.manufacturer == sercelManufacturer
                                                ? QStringLiteral("%1 (Sercel)").arg(general.manufacturer)
                                                : QString::number(general.manufacturer)),
        black);
    console.message(row(QStringLiteral("Field file"), QString::number(general.fieldFile)), black);
    console.message(
        row(QStringLiteral("Date and time"), general.dateText() + QLatin1Char(' ') + general.timeText()),
        black);
    console.message(row(QStringLiteral("Format code"),
                        QStringLiteral("%1 (%2)").arg(general.formatCode).arg(formatName(data->decoder()))),
                    black);
    console.message(
        row(QStringLiteral("Sample interval"), QStringLiteral("%1 ms").arg(data->sampleInterval())), black);
    console.message(row(QStringLiteral("Record length"), QStringLiteral("%1 ms").arg(data->recordLength())),
                    black);
    console.message(
        row(QStringLiteral("Header length"), QStringLiteral("%1 bytes").arg(general.headerLength())), black);
    const auto& sets = data->channelSets();
    const auto empty =
        std::count_if(sets.begin(), sets.end(), [](const SegdChannelSet& set) { return set.channels == 0; });
    // Recorders write descriptors for every set they could record; the empty ones are only
    // counted.
    console.message(
        row(QStringLiteral("Channel sets"),
            empty == 0 ? QString::number(sets.size())
                       : QStringLiteral("%1 (%2 without channels not listed)").arg(sets.size()).arg(empty)),
        black);
    console.message(QStringLiteral("  %1 %2 %3 %4 %5 %6")
                        .arg(QStringLiteral("Set"), 5)
                        .arg(QStringLiteral("Type"), -10)
                        .arg(QStringLiteral("Channels"), 9)
                        .arg(QStringLiteral("Samples"), 9)
                        .arg(QStringLiteral("Interval"), 9)
                        .arg(QStringLiteral("Extensions"), 11),
                    black);
    const std::vector<int> extensions = extensionsPerSet(*data);
    for (size_t i = 0; i < sets.size(); ++i) {
        const SegdChannelSet& set = sets[i];
        if (set.channels == 0)
            continue;
        console.message(
            QStringLiteral("  %1 %2 %3 %4 %5 %6")
                .arg(set.number, 5)
                .arg(set.seismic() ? QStringLiteral("seismic")
                                   : QStringLiteral("aux %1").arg(set.rawType, 0, 16),
                     -10)
                .arg(set.channels, 9)
                .arg(set.samples, 9)
                .arg(QStringLiteral("%1 ms").arg(set.sampleInterval), 9)
                .arg(extensions[i] < 0 ? QStringLiteral("-") : QString::number(extensions[i]), 11),
            black);
    }
    console.message(row(QStringLiteral("Trace count"), QString::number(data->traceCount())), black);
    console.message(row(QStringLiteral("Samples per trace"), QString::number(data->samples())), black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(segdInfo,
              cli::Command::action("segd", "info",
                                   QStringLiteral("general header facts, channel sets and trace count"),
                                   runInfo)
                  .describe(QStringLiteral(
                      "Shows the revision, manufacturer code, field file number, recording date and\n"
                      "time, format code, sample interval, record length and header length, then\n"
                      "each channel set that has channels with its type (seismic, or auxiliary with\n"
                      "the file's type code in hexadecimal), channels, samples, interval and the trace\n"
                      "header extensions of its traces, and the trace count."))
                  .argument(SegdCommand::fileArgument()))
