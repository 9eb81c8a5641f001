#include "copy/SegyCopyLayout.h"
#include "copy/TapeScanJob.h"
#include "seismic/EbcdicTable.h"
#include "seismic/SegyBinaryHeader.h"
#include "seismic/SegyLayout.h"

#include <algorithm>

// The SEG-Y side of the tape scan: one SEG-Y file per tape file, its reel headers from the first
// 3,600 bytes whatever their blocking, its traces counted from the bytes that follow.

namespace {

constexpr int cardLength = 80;
constexpr uchar ebcdicBlank = 0x40;
constexpr double maximumMicroseconds = 1e9;

// The first card image of a textual header, in ASCII or EBCDIC: the one whose blank fills more of it.
QString firstCard(const char* text)
{
    const auto printable = [](char c) { return c >= 32 && c < 127; };
    const char* end = text + SegyLayout::textHeaderSize;
    const bool ascii = std::count(text, end, ' ') >= std::count(text, end, char(ebcdicBlank));
    QString card;
    for (int i = 0; i < cardLength; ++i) {
        const char c = ascii ? text[i] : EbcdicTable::toAscii(uchar(text[i]));
        card.append(printable(c) ? QLatin1Char(c) : QLatin1Char(' '));
    }
    return card.trimmed();
}

double intervalMs(const char* headers, const SegyCopyLayout& layout)
{
    const bool swap = layout.littleEndian != (Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
    const char* binary = headers + SegyLayout::textHeaderSize;
    const double extended =
        SegyBinaryHeader::read(binary, SegyLayout::binaryHeaderSize, swap).intervalMicroseconds;
    // Revision 2's double, where it holds a sensible interval, before the 16-bit word.
    const double microseconds =
        extended > 0 && extended < maximumMicroseconds
            ? extended
            : SegyLayout::read(binary, SegyLayout::binaryHeaderSize, SegyLayout::sampleIntervalWord, swap);
    return microseconds / 1000.0;
}

} // namespace

void TapeScanJob::scanSegyFile()
{
    const bool headersRead = blocks.readUpTo(SegyLayout::fileHeaderSize);
    if (blocks.readEnd() == 0 && !blocks.driveFailed())
        return;
    TapeScanEntry entry;
    if (!headersRead) {
        entry.problem =
            QStringLiteral("the tape file holds %1 bytes, fewer than the %2 of the SEG-Y file headers")
                .arg(blocks.readEnd())
                .arg(SegyLayout::fileHeaderSize);
        blocks.passRest();
        entry.bytes = blocks.readEnd();
        add(entry);
        return;
    }
    char headers[SegyLayout::fileHeaderSize];
    static_cast<void>(blocks.copy(0, headers, sizeof headers));
    entry.identified = true;
    entry.textLine = firstCard(headers);
    // On tape the headers come as blocks: no extended textual headers or trailer are placed.
    const SegyCopyLayout layout = SegyCopyLayout::read(headers, -1);
    entry.formatCode = layout.statedSampleFormat;
    blocks.passRest();
    entry.bytes = blocks.readEnd();
    if (!layout.known) {
        entry.problem =
            QStringLiteral("sample format code %1 is none of the standard's").arg(entry.formatCode);
    } else if (!layout.problem.isEmpty()) {
        entry.problem = layout.problem;
    } else {
        entry.formatName =
            QLatin1String(SegyLayout::sampleFormats[SegyLayout::sampleFormatIndex(entry.formatCode)].name);
        entry.samples = layout.samples;
        entry.intervalMs = intervalMs(headers, layout);
        const qint64 traceBytes = qMax<qint64>(entry.bytes - layout.dataStart(), 0);
        entry.traces = int(qMin<qint64>(traceBytes / layout.traceLength, INT_MAX));
        const qint64 rest = traceBytes % layout.traceLength;
        if (rest > 0)
            entry.problem = QStringLiteral("%1 bytes after trace %2 make no whole trace of %3 bytes")
                                .arg(rest)
                                .arg(entry.traces)
                                .arg(layout.traceLength);
    }
    add(entry);
}
