#include "tests/support/SegyRevision2Fixture.h"

#include <algorithm>
#include <cstring>

namespace segy2 {

namespace {

// Writes the value's bytes big-endian at the 1-based file byte, reversed for a little-endian file.
template <typename T> void put(QByteArray& bytes, int byte, T value, bool littleEndian)
{
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    // Into big-endian first, whatever the machine.
    if (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
        std::reverse(raw, raw + sizeof(T));
    if (littleEndian)
        std::reverse(raw, raw + sizeof(T));
    bytes.replace(byte - 1, int(sizeof(T)), QByteArray(raw, int(sizeof(T))));
}

QByteArray textHeader(const QString& text)
{
    return text.toLatin1().leftJustified(3200, ' ', true);
}

QByteArray traceHeader(int trace, const File& file)
{
    QByteArray header(240, '\0');
    put<qint32>(header, 1, trace + 1, file.littleEndian);
    put<qint32>(header, 9, 100 + trace / 2, file.littleEndian);
    put<qint32>(header, 13, trace + 1, file.littleEndian);
    put<qint16>(header, 29, 1, file.littleEndian);
    return header;
}

QByteArray patternSamples(int trace, int length)
{
    QByteArray bytes(length, '\0');
    for (int i = 0; i < length; ++i)
        bytes[i] = char((trace * 31 + i * 7) & 0xFF);
    return bytes;
}

} // namespace

int bytesPerSample(int code)
{
    switch (code) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 10:
        return 4;
    case 3:
    case 11:
        return 2;
    case 6:
    case 9:
    case 12:
        return 8;
    case 7:
    case 15:
        return 3;
    case 8:
    case 16:
        return 1;
    default:
        return 0;
    }
}

int traceLength(const File& file)
{
    return 240 * (1 + file.additionalTraceHeaders) + file.samples * bytesPerSample(file.sampleFormat);
}

qint64 traceOffset(const File& file, int trace)
{
    const int texts = file.extendedText.size() + (file.variableText ? 1 : 0);
    return 3600 + qint64(texts) * 3200 + file.gapBeforeTraces + qint64(trace) * traceLength(file);
}

QByteArray build(const File& file)
{
    const bool le = file.littleEndian;
    QByteArray bytes = textHeader(QStringLiteral("C 1 REVISION 2 TEST FILE"));
    QByteArray binary(400, '\0');
    // Binary header positions are file bytes less 3200.
    const auto at = [](int fileByte) { return fileByte - 3200; };
    put<qint16>(binary, at(3217), qint16(file.extendedInterval ? 0 : qint16(file.intervalMicroseconds)), le);
    put<quint16>(binary, at(3221), quint16(file.extendedSamples ? 0 : file.samples), le);
    put<qint16>(binary, at(3225), qint16(file.sampleFormat), le);
    if (file.extendedSamples)
        put<quint32>(binary, at(3269), quint32(file.samples), le);
    if (file.extendedInterval)
        put<double>(binary, at(3273), file.intervalMicroseconds, le);
    if (file.byteOrderConstant != 0)
        put<quint32>(binary, at(3297), file.byteOrderConstant, le);
    // The revision as two bytes, major then minor, in either byte order.
    binary[at(3501) - 1] = char(file.majorRevision);
    binary[at(3502) - 1] = char(file.minorRevision);
    put<qint16>(binary, at(3503), 1, le); // fixed length traces
    const int texts = file.extendedText.size() + (file.variableText ? 1 : 0);
    put<qint16>(binary, at(3505), qint16(file.variableText ? -1 : texts), le);
    put<quint32>(binary, at(3507), quint32(file.additionalTraceHeaders), le);
    put<quint64>(binary, at(3513), file.statedTraces, le);
    if (file.gapBeforeTraces > 0)
        put<quint64>(binary, at(3521), quint64(traceOffset(file, 0)), le);
    put<qint32>(binary, at(3529), file.trailerStanzas, le);
    bytes += binary;

    for (const QString& text : file.extendedText)
        bytes += textHeader(text);
    if (file.variableText)
        bytes += textHeader(QStringLiteral("((SEG: EndText))"));
    bytes += QByteArray(file.gapBeforeTraces, 'G');
    const int sampleBytes = file.samples * bytesPerSample(file.sampleFormat);
    for (int trace = 0; trace < file.traces; ++trace) {
        bytes += traceHeader(trace, file);
        for (int k = 1; k <= file.additionalTraceHeaders; ++k) {
            QByteArray extension(240, '\0');
            put<quint64>(extension, 1, quint64(trace + 1), le);
            extension.replace(232, 8, QByteArray("SEG0000") + char('0' + k));
            bytes += extension;
        }
        bytes += file.sampleBytes ? file.sampleBytes(trace, sampleBytes) : patternSamples(trace, sampleBytes);
    }
    for (int k = 0; k < file.trailerStanzas; ++k)
        bytes += textHeader(QStringLiteral("((SEG: Trailer %1))").arg(k + 1));
    return bytes;
}

} // namespace segy2
