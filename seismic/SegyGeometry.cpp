#include "seismic/SegyGeometry.h"

#include "seismic/EbcdicTable.h"
#include "seismic/SeismicLimits.h"

#include <algorithm>
#include <limits>

namespace {

// Whether a textual header is the stanza that ends the extended ones: its first line, in ASCII or
// in EBCDIC.
bool endsText(const QByteArray& header)
{
    const QByteArray stanza(SegyBinaryHeader::endTextStanza);
    if (header.startsWith(stanza))
        return true;
    QByteArray ascii = header.left(stanza.size());
    for (char& byte : ascii)
        byte = EbcdicTable::toAscii(uchar(byte));
    return ascii == stanza;
}

// The headers a stanza ends, counted up to and with it; -1 when none ends them before limit.
int textHeadersUpToStanza(qint64 start, int size, qint64 limit, const SegyGeometry::TextReader& readText)
{
    int count = 0;
    for (qint64 position = start; position + size <= limit; position += size) {
        ++count;
        if (endsText(readText(position, size)))
            return count;
    }
    return -1;
}

} // namespace

SegyGeometry SegyGeometry::compute(const Inputs& in, const TextReader& readText)
{
    SegyGeometry geometry;
    const SegyBinaryHeader& binary = in.binary;
    const qint64 headersEnd = qint64(in.textHeaderSize) + in.binaryHeaderSize;
    const bool known = in.fileSize >= 0;

    // Extended textual headers.
    const int stated = binary.extendedTextHeaders;
    if (stated == SegyBinaryHeader::variableTextHeaders && binary.revision2() && known && readText) {
        const qint64 limit = binary.firstTraceOffset > 0
                                 ? qint64(std::min<quint64>(binary.firstTraceOffset, quint64(in.fileSize)))
                                 : in.fileSize;
        geometry.extendedTextHeaders = textHeadersUpToStanza(headersEnd, in.textHeaderSize, limit, readText);
        if (geometry.extendedTextHeaders < 0) {
            geometry.problem = QStringLiteral("no \"%1\" stanza ends the extended textual headers")
                                   .arg(QLatin1String(SegyBinaryHeader::endTextStanza));
            return geometry;
        }
    } else if (stated > 0 && known) {
        // Writers of older revisions fill the word too: a count that does not fit the file is
        // taken as none.
        const bool fits = (qint64(stated) + 1) * in.textHeaderSize + in.binaryHeaderSize <= in.fileSize;
        geometry.extendedTextHeaders = fits ? stated : 0;
        geometry.extendedCountIgnored = !fits;
    }

    // The first trace.
    geometry.dataStart = headersEnd + qint64(geometry.extendedTextHeaders) * in.textHeaderSize;
    if (binary.revision2() && binary.firstTraceOffset > 0) {
        if (binary.firstTraceOffset < quint64(geometry.dataStart) ||
            (known && binary.firstTraceOffset > quint64(in.fileSize))) {
            geometry.problem =
                QStringLiteral("the first trace is said to start at byte offset %1, outside the "
                               "%2 to %3 bytes the file holds after its headers")
                    .arg(binary.firstTraceOffset)
                    .arg(geometry.dataStart)
                    .arg(in.fileSize);
            return geometry;
        }
        geometry.dataStart = qint64(binary.firstTraceOffset);
    }

    // Trace records.
    const quint64 additional = binary.additionalTraceHeaders;
    const quint64 longest =
        quint64(SeismicLimits::maxHeaderBytes) / SegyBinaryHeader::additionalTraceHeaderSize;
    if (additional > longest) {
        geometry.problem =
            QStringLiteral("%1 additional trace headers in every trace are more than any file holds")
                .arg(additional);
        return geometry;
    }
    geometry.traceHeaderLength =
        in.traceHeaderSize + qint64(additional) * SegyBinaryHeader::additionalTraceHeaderSize;
    geometry.traceLength = geometry.traceHeaderLength + qint64(in.samples) * in.bytesPerSample;

    // The trailer, and the traces between.
    geometry.dataEnd = known ? in.fileSize : 0;
    if (binary.revision2() && binary.trailerStanzas > 0 && known) {
        const qint64 trailer = qint64(binary.trailerStanzas) * SegyBinaryHeader::stanzaSize;
        if (trailer > in.fileSize - geometry.dataStart) {
            geometry.problem = QStringLiteral("%1 trailer stanzas of %2 bytes do not fit after the headers")
                                   .arg(binary.trailerStanzas)
                                   .arg(SegyBinaryHeader::stanzaSize);
            return geometry;
        }
        geometry.trailerStanzas = binary.trailerStanzas;
        geometry.dataEnd = in.fileSize - trailer;
    }
    if (!known || geometry.traceLength <= 0)
        return geometry;
    const qint64 data = std::max<qint64>(geometry.dataEnd - geometry.dataStart, 0);
    geometry.traceCount = std::min<qint64>(data / geometry.traceLength, std::numeric_limits<int>::max());
    geometry.bytesAfterTraces = data - geometry.traceCount * geometry.traceLength;
    if (binary.revision2() && binary.traceCount > 0) {
        if (binary.traceCount < quint64(geometry.traceCount)) {
            geometry.warnings.append(
                QStringLiteral("the binary header states %1 traces; the %2 whole traces after "
                               "them are not read")
                    .arg(binary.traceCount)
                    .arg(geometry.traceCount - qint64(binary.traceCount)));
            geometry.traceCount = qint64(binary.traceCount);
        } else if (binary.traceCount > quint64(geometry.traceCount)) {
            geometry.warnings.append(QStringLiteral("the binary header says %1 traces, the file holds %2")
                                         .arg(binary.traceCount)
                                         .arg(geometry.traceCount));
        }
    }
    return geometry;
}
