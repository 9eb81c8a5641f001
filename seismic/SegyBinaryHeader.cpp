#include "seismic/SegyBinaryHeader.h"

#include "seismic/SampleConversion.h"

#include <cstring>

namespace {

// Positions of the fields, 1-based within the binary header.
constexpr int samplesByte = 69;
constexpr int intervalByte = 73;
constexpr int revisionByte = 301;
constexpr int extendedTextHeadersByte = 305;
constexpr int additionalTraceHeadersByte = 307;
constexpr int firstTraceOffsetByte = 321;
constexpr int trailerStanzasByte = 329;
// Revision numbers a major revision byte can hold; a larger byte is the high byte of a
// revision 1 word written little-endian.
constexpr int highestMajorRevision = 9;

// size bytes at byte, reversed when swap is set; false when they are not inside length.
template <typename T> bool field(const char* binary, qint64 length, int byte, bool swap, T* value)
{
    if (byte < 1 || byte - 1 + qint64(sizeof(T)) > length)
        return false;
    std::memcpy(value, binary + byte - 1, sizeof(T));
    if (swap)
        SampleConversion::swapBytes(value, int(sizeof(T)));
    return true;
}

template <typename T> T fieldOr0(const char* binary, qint64 length, int byte, bool swap)
{
    T value{};
    return field(binary, length, byte, swap, &value) ? value : T{};
}

} // namespace

SegyBinaryHeader::ByteOrder SegyBinaryHeader::statedByteOrder(const char* binary, qint64 length)
{
    quint32 bigEndian = 0;
    if (!field(binary, length, byteOrderConstantByte, Q_BYTE_ORDER == Q_LITTLE_ENDIAN, &bigEndian))
        return ByteOrder::NotStated;
    switch (bigEndian) {
    case byteOrderConstant:
        return ByteOrder::BigEndian;
    case 0x04030201:
        return ByteOrder::LittleEndian;
    case 0x02010403:
        return ByteOrder::PairSwapped;
    default:
        return ByteOrder::NotStated;
    }
}

SegyBinaryHeader SegyBinaryHeader::read(const char* binary, qint64 length, bool swap)
{
    SegyBinaryHeader header;
    const int major = int(quint8(fieldOr0<char>(binary, length, revisionByte, false)));
    if (major >= 2 && major <= highestMajorRevision) {
        header.majorRevision = major;
        header.minorRevision = int(quint8(fieldOr0<char>(binary, length, revisionByte + 1, false)));
    } else {
        // Revisions before 2 kept a 16-bit word (256 = 1.0); a word beyond the revisions is none.
        const quint16 word = fieldOr0<quint16>(binary, length, revisionByte, swap);
        if ((word >> 8) <= highestMajorRevision) {
            header.majorRevision = word >> 8;
            header.minorRevision = word & 0xFF;
        }
    }
    header.extendedTextHeaders = fieldOr0<qint16>(binary, length, extendedTextHeadersByte, swap);
    if (!header.revision2())
        return header;
    header.samples = fieldOr0<quint32>(binary, length, samplesByte, swap);
    header.intervalMicroseconds = fieldOr0<double>(binary, length, intervalByte, swap);
    header.additionalTraceHeaders = fieldOr0<quint32>(binary, length, additionalTraceHeadersByte, swap);
    header.traceCount = fieldOr0<quint64>(binary, length, SegyBinaryHeader::traceCountByte, swap);
    header.firstTraceOffset = fieldOr0<quint64>(binary, length, firstTraceOffsetByte, swap);
    header.trailerStanzas = fieldOr0<qint32>(binary, length, trailerStanzasByte, swap);
    return header;
}

QString SegyBinaryHeader::revisionText() const
{
    return QStringLiteral("%1.%2").arg(majorRevision).arg(minorRevision);
}
