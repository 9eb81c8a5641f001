#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"
#include "devices/ObrDevice.h"
#include "seismic/EbcdicTable.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"

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

int runInfo(const cli::Arguments& arguments, TerminalConsole& console)
{
    SegyCommand command(arguments);
    if (!command.openFile(console))
        return cli::JobFailed;
    const auto& format = command.format;
    const auto& data = command.data;
    const QColor black(Qt::black);
    const int textSize = format->textHeaderSize;
    console.message(row(QStringLiteral("File"), command.file()), black);
    console.message(QStringLiteral("Textual header (%1):")
                        .arg(format->textHeaderAscii ? QStringLiteral("ASCII") : QStringLiteral("EBCDIC")),
                    black);
    for (const QString& line : cardImages(data->textHeaderRaw().left(textSize), format->textHeaderAscii))
        console.message(line, black);
    const int revision = data->revision();
    console.message(
        row(QStringLiteral("Revision"),
            QStringLiteral("%1 (%2.%3)").arg(revision).arg((revision >> 8) & 0xFF).arg(revision & 0xFF)),
        black);
    console.message(
        row(QStringLiteral("Extended text headers"), QString::number(data->extendedTextHeaders())), black);
    const QByteArray extended = data->textHeaderRaw().mid(textSize);
    for (int header = 0; header * textSize < extended.size(); ++header) {
        console.message(QStringLiteral("Extended textual header %1:").arg(header + 1), black);
        for (const QString& line :
             cardImages(extended.mid(header * textSize, textSize), format->textHeaderAscii))
            console.message(line, black);
    }
    console.message(row(QStringLiteral("Byte order"), format->endianOrder == SegyFormat::LittleEndian
                                                          ? QStringLiteral("little endian")
                                                          : QStringLiteral("big endian")),
                    black);
    console.message(row(QStringLiteral("Samples per trace"), QString::number(data->samples())), black);
    console.message(
        row(QStringLiteral("Sample interval"), QStringLiteral("%1 ms").arg(data->sampleInterval())), black);
    console.message(
        row(QStringLiteral("Sample format"),
            QStringLiteral("%1 (%2)").arg(data->sampleFormat()).arg(sampleFormatName(data->sampleFormat()))),
        black);
    console.message(row(QStringLiteral("Trace length"), QStringLiteral("%1 bytes").arg(data->traceLength())),
                    black);
    console.message(row(QStringLiteral("Trace count"), QString::number(data->traceCount())), black);
    if (data->partialTrace())
        console.warning(
            QStringLiteral("the data part of %1 is not a whole number of traces: %2 bytes follow the "
                           "last whole trace")
                .arg(command.file())
                .arg((data->device()->size() - data->dataStart()) -
                     qint64(data->traceCount()) * data->traceLength()),
            false);
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
                  .argument(SegyCommand::fileArgument()))
