#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/EbcdicTable.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyLayout.h"

#include <QJsonArray>

namespace {

QString sampleFormatName(int code)
{
    const int index = SegyLayout::sampleFormatIndex(code);
    return index < SegyLayout::sampleFormatCount ? QLatin1String(SegyLayout::sampleFormats[index].name)
                                                 : QStringLiteral("undefined");
}

QString row(const QString& label, const QString& value)
{
    return QStringLiteral("%1 %2").arg(label + QLatin1Char(':'), -24).arg(value);
}

// Printable 80-column lines of a textual header's bytes.
QStringList cardImages(const QByteArray& bytes, bool ascii)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const char c = ascii ? byte : EbcdicTable::toAscii((unsigned char)byte);
        text.append(c >= 32 && c < 127 ? QLatin1Char(c) : QLatin1Char(' '));
    }
    QStringList lines;
    for (int at = 0; at < text.size(); at += 80)
        lines.append(text.mid(at, 80).trimmed().isEmpty() ? QString() : text.mid(at, 80).trimmed());
    return lines;
}

// What `obrio segy info` reports, read once and then shown as text or as JSON.
struct Facts {
    QString file;
    bool ascii = false;
    QStringList textualHeader;
    QList<QStringList> extendedHeaders;
    int revision = 0;
    QString revisionText;
    int extendedCount = 0;
    bool littleEndian = false;
    SegyData::ByteOrderEvidence evidence = SegyData::ByteOrderEvidence::Format;
    int samples = 0;
    double sampleInterval = 0;
    int sampleFormat = 0;
    int traceHeaderLength = 0;
    int traceLength = 0;
    int traceCount = 0;
    qint64 dataStart = 0;
    int trailerStanzas = 0;
    SegyBinaryHeader fields;
    qint64 partialBytes = 0; // bytes after the last whole trace

    QString encoding() const { return ascii ? QStringLiteral("ASCII") : QStringLiteral("EBCDIC"); }
    QString byteOrder() const
    {
        return littleEndian ? QStringLiteral("little endian") : QStringLiteral("big endian");
    }
    // How the byte order was told: "constant", "guessed" or "format".
    QString evidenceName() const
    {
        switch (evidence) {
        case SegyData::ByteOrderEvidence::Constant:
            return QStringLiteral("constant");
        case SegyData::ByteOrderEvidence::Guessed:
            return QStringLiteral("guessed");
        case SegyData::ByteOrderEvidence::Format:
            break;
        }
        return QStringLiteral("format");
    }
    QString evidenceText() const
    {
        switch (evidence) {
        case SegyData::ByteOrderEvidence::Constant:
            return QStringLiteral("the binary header's byte-order constant");
        case SegyData::ByteOrderEvidence::Guessed:
            return QStringLiteral("guessed from the sample format code");
        case SegyData::ByteOrderEvidence::Format:
            break;
        }
        return QStringLiteral("set by the format");
    }
};

Facts readFacts(const SegyCommand& command)
{
    const auto& format = command.format;
    const auto& data = command.data;
    const int textSize = format->textHeaderSize;
    Facts facts;
    facts.file = command.file();
    facts.ascii = format->textHeaderAscii;
    facts.textualHeader = cardImages(data->textHeaderRaw().left(textSize), facts.ascii);
    const QByteArray extended = data->textHeaderRaw().mid(textSize);
    for (int header = 0; header * textSize < extended.size(); ++header)
        facts.extendedHeaders.append(cardImages(extended.mid(header * textSize, textSize), facts.ascii));
    facts.revision = data->revision();
    facts.fields = data->binaryFields();
    facts.revisionText = facts.fields.revisionText();
    facts.extendedCount = data->extendedTextHeaders();
    facts.littleEndian = format->endianOrder == SegyFormat::LittleEndian;
    facts.evidence = data->byteOrderEvidence();
    facts.samples = data->samples();
    facts.sampleInterval = data->sampleInterval();
    facts.sampleFormat = data->sampleFormat();
    facts.traceHeaderLength = data->traceHeaderLength();
    facts.traceLength = data->traceLength();
    facts.traceCount = data->traceCount();
    facts.dataStart = data->dataStart();
    facts.trailerStanzas = data->trailerStanzas();
    facts.partialBytes = command.bytesAfterLastTrace();
    return facts;
}

void printText(const Facts& facts, TerminalConsole& console)
{
    const QColor black(Qt::black);
    const auto say = [&](const QString& label, const QString& value) {
        console.message(row(label, value), black);
    };
    say(QStringLiteral("File"), facts.file);
    console.message(QStringLiteral("Textual header (%1):").arg(facts.encoding()), black);
    for (const QString& line : facts.textualHeader)
        console.message(line, black);
    say(QStringLiteral("Revision"), QStringLiteral("%1 (%2)").arg(facts.revision).arg(facts.revisionText));
    say(QStringLiteral("Extended text headers"), QString::number(facts.extendedCount));
    for (int header = 0; header < facts.extendedHeaders.size(); ++header) {
        console.message(QStringLiteral("Extended textual header %1:").arg(header + 1), black);
        for (const QString& line : facts.extendedHeaders.at(header))
            console.message(line, black);
    }
    say(QStringLiteral("Byte order"), facts.byteOrder());
    say(QStringLiteral("Byte order from"), facts.evidenceText());
    say(QStringLiteral("Samples per trace"), QString::number(facts.samples));
    say(QStringLiteral("Sample interval"), QStringLiteral("%1 ms").arg(facts.sampleInterval));
    say(QStringLiteral("Sample format"),
        QStringLiteral("%1 (%2)").arg(facts.sampleFormat).arg(sampleFormatName(facts.sampleFormat)));
    // The revision 2 fields only where the file sets them.
    const SegyBinaryHeader& fields = facts.fields;
    if (fields.samples > 0)
        say(QStringLiteral("Extended samples"), QString::number(fields.samples));
    if (fields.intervalMicroseconds > 0)
        say(QStringLiteral("Extended interval"), QStringLiteral("%1 us").arg(fields.intervalMicroseconds));
    if (fields.additionalTraceHeaders > 0)
        say(QStringLiteral("Additional headers"), QStringLiteral("%1 (trace header %2 bytes)")
                                                      .arg(fields.additionalTraceHeaders)
                                                      .arg(facts.traceHeaderLength));
    if (fields.firstTraceOffset > 0)
        say(QStringLiteral("First trace at byte"), QString::number(facts.dataStart + 1));
    if (fields.traceCount > 0)
        say(QStringLiteral("Stated trace count"), QString::number(fields.traceCount));
    if (facts.trailerStanzas > 0)
        say(QStringLiteral("Trailer stanzas"), QString::number(facts.trailerStanzas));
    say(QStringLiteral("Trace length"), QStringLiteral("%1 bytes").arg(facts.traceLength));
    say(QStringLiteral("Trace count"), QString::number(facts.traceCount));
}

// A revision 2 field as JSON: its value, or null where the file leaves it 0.
QJsonValue stated(double value)
{
    return value > 0 ? QJsonValue(value) : QJsonValue();
}

QJsonObject json(const Facts& facts)
{
    QJsonArray extended;
    for (const QStringList& lines : facts.extendedHeaders)
        extended.append(QJsonArray::fromStringList(lines));
    const SegyBinaryHeader& fields = facts.fields;
    return {{QStringLiteral("file"), facts.file},
            {QStringLiteral("textualHeaderEncoding"), facts.encoding()},
            {QStringLiteral("textualHeader"), QJsonArray::fromStringList(facts.textualHeader)},
            {QStringLiteral("revision"), facts.revision},
            {QStringLiteral("revisionText"), facts.revisionText},
            {QStringLiteral("extendedTextHeaders"), facts.extendedCount},
            {QStringLiteral("extendedTextualHeaders"), extended},
            {QStringLiteral("byteOrder"), facts.byteOrder()},
            {QStringLiteral("byteOrderFrom"), facts.evidenceName()},
            {QStringLiteral("samplesPerTrace"), facts.samples},
            {QStringLiteral("sampleIntervalMs"), facts.sampleInterval},
            {QStringLiteral("sampleFormat"), facts.sampleFormat},
            {QStringLiteral("sampleFormatName"), sampleFormatName(facts.sampleFormat)},
            {QStringLiteral("extendedSamplesPerTrace"), stated(fields.samples)},
            {QStringLiteral("extendedSampleIntervalUs"), stated(fields.intervalMicroseconds)},
            {QStringLiteral("additionalTraceHeaders"), double(fields.additionalTraceHeaders)},
            {QStringLiteral("traceHeaderLength"), facts.traceHeaderLength},
            {QStringLiteral("firstTraceOffset"), double(facts.dataStart)},
            {QStringLiteral("statedTraceCount"), stated(double(fields.traceCount))},
            {QStringLiteral("trailerStanzas"), facts.trailerStanzas},
            {QStringLiteral("traceLength"), facts.traceLength},
            {QStringLiteral("traceCount"), facts.traceCount},
            {QStringLiteral("bytesAfterLastTrace"), double(facts.partialBytes)}};
}

int runInfo(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    if (!command.openFile(console))
        return cli::JobFailed;
    const Facts facts = readFacts(command);
    if (JsonOutput::wanted(arguments))
        JsonOutput::print(json(facts));
    else
        printText(facts, console);
    command.warnOfPartialTrace(console);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(segyInfo,
              cli::Command::action("segy", "info",
                                   QStringLiteral("textual and binary header facts, trace length and count"),
                                   runInfo)
                  .describe(QStringLiteral(
                      "Shows the textual header as 80-column lines, the revision, the extended textual\n"
                      "headers, the byte order found and how (the byte-order constant of revision 2, a\n"
                      "guess from the sample format code, or the format file), samples per trace,\n"
                      "sample interval, sample format, the revision 2 fields the file sets (extended\n"
                      "samples and interval, additional trace headers, first trace offset, stated trace\n"
                      "count, trailer stanzas), trace length and trace count, and warns when the data part\n"
                      "of the file is not a whole number of traces."))
                  .option(JsonOutput::option())
                  .argument(SegyCommand::fileArgument()))
