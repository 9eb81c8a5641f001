#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegdCommand.h"
#include "cli/TerminalConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/GpsTime.h"
#include "seismic/SegdData.h"
#include "seismic/SegdReader.h"

#include <QDate>
#include <QJsonArray>
#include <algorithm>

namespace {

QString row(const QString& label, const QString& value)
{
    return QStringLiteral("%1 %2").arg(label + QLatin1Char(':'), -24).arg(value);
}

QString manufacturerText(const SegdGeneralHeader& general)
{
    return general.sercel() ? QStringLiteral("%1 (Sercel)").arg(general.manufacturer)
                            : QString::number(general.manufacturer);
}

QString setType(const SegdChannelSet& set)
{
    return set.seismic() ? QStringLiteral("seismic") : QStringLiteral("aux %1").arg(set.rawType, 0, 16);
}

QDate recordingDate(const SegdGeneralHeader& general)
{
    return QDate(general.year, 1, 1).addDays(general.dayOfYear - 1);
}

void printText(const SegdData& data, const QString& path, TerminalConsole& console)
{
    const SegdFieldMap& map = data.fieldMap();
    const SegdGeneralHeader& general = map.general();
    const QColor black(Qt::black);
    const auto say = [&](const QString& label, const QString& value) {
        console.message(row(label, value), black);
    };
    say(QStringLiteral("File"), path);
    say(QStringLiteral("Revision"), general.revisionText());
    say(QStringLiteral("Manufacturer"), manufacturerText(general));
    say(QStringLiteral("Field file"), QString::number(general.fieldFile));
    say(QStringLiteral("Date and time"), general.dateWithDayText() + QLatin1Char(' ') + general.timeText());
    if (general.timeZero != 0)
        say(QStringLiteral("Time zero"), GpsTime::text(general.timeZero));
    say(QStringLiteral("Format code"), QStringLiteral("%1 (%2)")
                                           .arg(general.formatCode)
                                           .arg(QLatin1String(SegdSampleDecoder::name(map.decoder()))));
    say(QStringLiteral("Sample interval"), QStringLiteral("%1 ms").arg(data.sampleInterval()));
    say(QStringLiteral("Record length"), QStringLiteral("%1 ms").arg(data.recordLength()));
    say(QStringLiteral("Header length"), QStringLiteral("%1 bytes").arg(general.headerLength()));
    const auto& sets = map.channelSets();
    const auto empty =
        std::count_if(sets.begin(), sets.end(), [](const SegdChannelSet& set) { return set.channels == 0; });
    // Recorders write descriptors for every set they could record; the empty ones are only
    // counted.
    say(QStringLiteral("Channel sets"),
        empty == 0 ? QString::number(sets.size())
                   : QStringLiteral("%1 (%2 without channels not listed)").arg(sets.size()).arg(empty));
    console.message(QStringLiteral("  %1 %2 %3 %4 %5 %6")
                        .arg(QStringLiteral("Set"), 5)
                        .arg(QStringLiteral("Type"), -10)
                        .arg(QStringLiteral("Channels"), 9)
                        .arg(QStringLiteral("Samples"), 9)
                        .arg(QStringLiteral("Interval"), 9)
                        .arg(QStringLiteral("Extensions"), 11),
                    black);
    for (const SegdFieldMap::Run& run : map.runs()) {
        const SegdChannelSet& set = sets[size_t(run.set)];
        console.message(QStringLiteral("  %1 %2 %3 %4 %5 %6")
                            .arg(set.number, 5)
                            .arg(setType(set), -10)
                            .arg(set.channels, 9)
                            .arg(run.shape.samples, 9)
                            .arg(QStringLiteral("%1 ms").arg(set.sampleInterval), 9)
                            .arg(run.shape.extensions, 11),
                        black);
    }
    say(QStringLiteral("Trace count"), QString::number(data.traceCount()));
    say(QStringLiteral("Samples per trace"), QString::number(data.samples()));
    if (map.bytesAfterTraces() > 0)
        say(QStringLiteral("After the last trace"), QStringLiteral("%1 bytes").arg(map.bytesAfterTraces()));
}

QJsonObject json(const SegdData& data, const QString& path)
{
    const SegdFieldMap& map = data.fieldMap();
    const SegdGeneralHeader& general = map.general();
    QJsonArray sets;
    for (const SegdFieldMap::Run& run : map.runs()) {
        const SegdChannelSet& set = map.channelSets()[size_t(run.set)];
        sets.append(QJsonObject{{QStringLiteral("set"), set.number},
                                {QStringLiteral("seismic"), set.seismic()},
                                {QStringLiteral("typeCode"), set.rawType},
                                {QStringLiteral("channels"), set.channels},
                                {QStringLiteral("samples"), run.shape.samples},
                                {QStringLiteral("sampleIntervalMs"), double(set.sampleInterval)},
                                {QStringLiteral("startTimeMs"), double(set.startTime)},
                                {QStringLiteral("endTimeMs"), double(set.endTime)},
                                {QStringLiteral("extensions"), run.shape.extensions},
                                {QStringLiteral("traceRecordBytes"), double(run.shape.recordBytes())}});
    }
    const QDate date = recordingDate(general);
    return {{QStringLiteral("file"), path},
            {QStringLiteral("revision"), general.revisionText()},
            {QStringLiteral("manufacturer"), general.manufacturer},
            {QStringLiteral("sercel"), general.sercel()},
            {QStringLiteral("fieldFile"), general.fieldFile},
            {QStringLiteral("date"), date.isValid() ? QJsonValue(date.toString(Qt::ISODate)) : QJsonValue()},
            {QStringLiteral("dayOfYear"), general.dayOfYear},
            {QStringLiteral("time"), general.timeText()},
            {QStringLiteral("timeZeroUtc"),
             general.timeZero != 0 ? QJsonValue(GpsTime::text(general.timeZero)) : QJsonValue()},
            {QStringLiteral("formatCode"), general.formatCode},
            {QStringLiteral("formatName"), QLatin1String(SegdSampleDecoder::name(map.decoder()))},
            {QStringLiteral("sampleIntervalMs"), double(data.sampleInterval())},
            {QStringLiteral("recordLengthMs"), double(data.recordLength())},
            {QStringLiteral("headerLength"), double(general.headerLength())},
            {QStringLiteral("channelSets"), sets},
            {QStringLiteral("traceCount"), data.traceCount()},
            {QStringLiteral("samplesPerTrace"), data.samples()},
            {QStringLiteral("fileSize"), double(map.size())},
            {QStringLiteral("bytesAfterLastTrace"), double(map.bytesAfterTraces())}};
}

int runInfo(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString path = arguments.positional(0);
    const auto data = SegdCommand::open(path, console);
    if (!data)
        return cli::JobFailed;
    if (JsonOutput::wanted(arguments))
        JsonOutput::print(json(*data, path));
    else
        printText(*data, path, console);
    // The traces a file cut short holds are described; what is missing was said on opening.
    return data->fieldMap().cutShort() ? cli::JobFailed : cli::Success;
}

} // namespace

OBRIO_COMMAND(segdInfo,
              cli::Command::action("segd", "info",
                                   QStringLiteral("general header facts, channel sets and trace count"),
                                   runInfo)
                  .describe(QStringLiteral(
                      "Shows the revision, manufacturer code, field file number, recording date and\n"
                      "time (and the GPS time zero of revision 3 as UTC), format code, sample interval,\n"
                      "record length and header length, then each channel set that has channels with\n"
                      "its type (seismic, or auxiliary with the file's type code in hexadecimal),\n"
                      "channels, samples per trace, interval and trace header extensions, and the trace\n"
                      "count. The samples per trace are those the traces hold: the count the file\n"
                      "states, or its channel set times, whichever tiles the file (-v says which). A\n"
                      "file cut short is described as far as it goes, and the exit status is 1."))
                  .option(JsonOutput::option())
                  .argument(SegdCommand::fileArgument()))
