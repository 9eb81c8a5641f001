#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonOutput.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/EbcdicTable.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"

#include <QJsonArray>

namespace {

QString sampleFormatName(int code)
{
    switch (code) {
    case 1:
        return QStringLiteral("IBM float");
    case 2:
        return QStringLiteral("4-byte int");
    case 3:
        return QStringLiteral("2-byte int");
    case 4:
        return QStringLiteral("4-byte fixed");
    case 5:
        return QStringLiteral("IEEE float");
    case 8:
        return QStringLiteral("1-byte int");
    default:
        return QStringLiteral("undefined");
    }
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
    int extendedCount = 0;
    bool littleEndian = false;
    int samples = 0;
    double sampleInterval = 0;
    int sampleFormat = 0;
    int traceLength = 0;
    int traceCount = 0;
    bool partial = false;    // the data part is not a whole number of traces
    qint64 partialBytes = 0; // bytes after the last whole trace

    QString revisionText() const
    {
        return QStringLiteral("%1.%2").arg((revision >> 8) & 0xFF).arg(revision & 0xFF);
    }
    QString encoding() const { return ascii ? QStringLiteral("ASCII") : QStringLiteral("EBCDIC"); }
    QString byteOrder() const
    {
        return littleEndian ? QStringLiteral("little endian") : QStringLiteral("big endian");
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
    facts.extendedCount = data->extendedTextHeaders();
    facts.littleEndian = format->endianOrder == SegyFormat::LittleEndian;
    facts.samples = data->samples();
    facts.sampleInterval = data->sampleInterval();
    facts.sampleFormat = data->sampleFormat();
    facts.traceLength = data->traceLength();
    facts.traceCount = data->traceCount();
    facts.partial = data->partialTrace();
    facts.partialBytes = command.bytesAfterLastTrace();
    return facts;
}

void printText(const Facts& facts, TerminalConsole& console)
{
    const QColor black(Qt::black);
    console.message(row(QStringLiteral("File"), facts.file), black);
    console.message(QStringLiteral("Textual header (%1):").arg(facts.encoding()), black);
    for (const QString& line : facts.textualHeader)
        console.message(line, black);
    console.message(row(QStringLiteral("Revision"),
                        QStringLiteral("%1 (%2)").arg(facts.revision).arg(facts.revisionText())),
                    black);
    console.message(row(QStringLiteral("Extended text headers"), QString::number(facts.extendedCount)),
                    black);
    for (int header = 0; header < facts.extendedHeaders.size(); ++header) {
        console.message(QStringLiteral("Extended textual header %1:").arg(header + 1), black);
        for (const QString& line : facts.extendedHeaders.at(header))
            console.message(line, black);
    }
    console.message(row(QStringLiteral("Byte order"), facts.byteOrder()), black);
    console.message(row(QStringLiteral("Samples per trace"), QString::number(facts.samples)), black);
    console.message(row(QStringLiteral("Sample interval"), QStringLiteral("%1 ms").arg(facts.sampleInterval)),
                    black);
    console.message(
        row(QStringLiteral("Sample format"),
            QStringLiteral("%1 (%2)").arg(facts.sampleFormat).arg(sampleFormatName(facts.sampleFormat))),
        black);
    console.message(row(QStringLiteral("Trace length"), QStringLiteral("%1 bytes").arg(facts.traceLength)),
                    black);
    console.message(row(QStringLiteral("Trace count"), QString::number(facts.traceCount)), black);
}

QJsonObject json(const Facts& facts)
{
    QJsonArray extended;
    for (const QStringList& lines : facts.extendedHeaders)
        extended.append(QJsonArray::fromStringList(lines));
    return {{QStringLiteral("file"), facts.file},
            {QStringLiteral("textualHeaderEncoding"), facts.encoding()},
            {QStringLiteral("textualHeader"), QJsonArray::fromStringList(facts.textualHeader)},
            {QStringLiteral("revision"), facts.revision},
            {QStringLiteral("revisionText"), facts.revisionText()},
            {QStringLiteral("extendedTextHeaders"), facts.extendedCount},
            {QStringLiteral("extendedTextualHeaders"), extended},
            {QStringLiteral("byteOrder"), facts.byteOrder()},
            {QStringLiteral("samplesPerTrace"), facts.samples},
            {QStringLiteral("sampleIntervalMs"), facts.sampleInterval},
            {QStringLiteral("sampleFormat"), facts.sampleFormat},
            {QStringLiteral("sampleFormatName"), sampleFormatName(facts.sampleFormat)},
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
                      "headers, the byte order found, samples per trace, sample interval, sample format,\n"
                      "trace length and trace count, and warns when the data part of the file is not a\n"
                      "whole number of traces."))
                  .option(JsonOutput::option())
                  .argument(SegyCommand::fileArgument()))
