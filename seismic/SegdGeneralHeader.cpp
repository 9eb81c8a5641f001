#include "seismic/SegdGeneralHeader.h"

#include "seismic/SegdBytes.h"

#include <QDate>
#include <algorithm>

namespace {

// Positions (1-based from the start of the file) of the general header fields.
constexpr int fileNumberByte = 1;
constexpr int formatCodeByte = 3;
constexpr int yearByte = 11;
constexpr int additionalBlocksByte = 12; // high nibble; the day of year follows it
constexpr int hourByte = 14;
constexpr int manufacturerByte = 17;
constexpr int serialNumberByte = 18;
constexpr int bytesPerScanByte = 20;
constexpr int baseIntervalByte = 23;
constexpr int recordTypeByte = 26; // high nibble; the record length follows it
constexpr int scanTypesByte = 28;
constexpr int channelSetsByte = 29;
constexpr int skewBlocksByte = 30;
constexpr int extendedBlocksByte = 31;
constexpr int externalBlocksByte = 32;
// Block 2.
constexpr int extendedFileNumberByte = 33;
constexpr int extendedChannelSetsByte = 36;
constexpr int extendedExtendedBlocksByte = 38;
constexpr int extendedExternalBlocksRev2Byte = 40;
constexpr int extendedSkewBlocksRev3Byte = 41;
constexpr int revisionByte = 43;
constexpr int extendedRecordLengthRev2Byte = 47; // milliseconds, 24 bits
constexpr int extendedRecordLengthRev3Byte = 49; // microseconds, 32 bits
constexpr int extendedGeneralBlocksRev3Byte = 55;
constexpr int samplingIntervalRev3Byte = 57; // microseconds, 24 bits
constexpr int extendedExternalBlocksRev3Byte = 60;
// Block 3 of revision 3.
constexpr int timeZeroByte = 65;
constexpr int recordBytesByte = 73;

// A one-byte count of 2 BCD digits, or the binary count of block 2 when the byte is all ones.
int count(const SegdBytes& bytes, int byte, int extendedByte, int extendedBytes)
{
    if (bytes.uint8(byte) != 0xFF)
        return bytes.bcd(byte, 2);
    return extendedBytes == 3 ? int(bytes.uint24(extendedByte)) : int(bytes.uint16(extendedByte));
}

// Every nibble of the bytes is a decimal digit.
bool decimal(const SegdBytes& bytes, int byte, int length)
{
    for (int i = 0; i < length; ++i) {
        const quint32 pair = bytes.uint8(byte + i);
        if ((pair >> 4) > 9 || (pair & 0x0F) > 9)
            return false;
    }
    return true;
}

// The format codes of the standard: demultiplexed (8xxx) and multiplexed (0xxx).
bool standardFormatCode(int code)
{
    switch (code % 1000) {
    case 15:
    case 22:
    case 24:
    case 36:
    case 38:
    case 42:
    case 44:
    case 48:
    case 58:
    case 80:
        return code / 1000 == 8 || code / 1000 == 0;
    default:
        return false;
    }
}

} // namespace

bool SegdGeneralHeader::looksValid(const SegdBytes& bytes)
{
    if (bytes.size() < blockBytes)
        return false;
    const bool numbered = bytes.uint16(fileNumberByte) == 0xFFFF || decimal(bytes, fileNumberByte, 2);
    const bool counted = bytes.uint8(channelSetsByte) == 0xFF || decimal(bytes, channelSetsByte, 1);
    return numbered && counted && decimal(bytes, formatCodeByte, 2) &&
           standardFormatCode(bytes.bcd(formatCodeByte, 4)) && decimal(bytes, yearByte, 1) &&
           (bytes.uint8(additionalBlocksByte) & 0x0F) <= 9 && decimal(bytes, additionalBlocksByte + 1, 1) &&
           bytes.bcd(additionalBlocksByte, 3, true) <= 366 && decimal(bytes, hourByte, 3) &&
           bytes.bcd(hourByte, 2) < 24 && bytes.bcd(hourByte + 1, 2) < 60 &&
           bytes.bcd(hourByte + 2, 2) <= 60 && decimal(bytes, manufacturerByte, 1) &&
           decimal(bytes, scanTypesByte, 1);
}

SegdGeneralHeader SegdGeneralHeader::parse(const SegdBytes& bytes)
{
    SegdGeneralHeader header;
    header.fieldFile = bytes.uint16(fileNumberByte) == 0xFFFF ? int(bytes.uint24(extendedFileNumberByte))
                                                              : bytes.bcd(fileNumberByte, 4);
    header.formatCode = bytes.bcd(formatCodeByte, 4);
    const int additional = int(bytes.uint8(additionalBlocksByte) >> 4);
    // Revision 0 files have a single block, so no revision word.
    if (additional > 0) {
        header.majorRevision = int(bytes.uint8(revisionByte));
        header.minorRevision = int(bytes.uint8(revisionByte + 1));
        header.revision = float(header.majorRevision + header.minorRevision / 10.0);
    }
    const bool revision3 = header.majorRevision >= 3;
    const int extendedAdditional = int(bytes.uint16(extendedGeneralBlocksRev3Byte));
    header.blocks = 1 + (revision3 && extendedAdditional > 0 ? extendedAdditional : additional);

    const int shortYear = bytes.bcd(yearByte, 2);
    header.year = shortYear + (shortYear < 50 ? 2000 : 1900);
    header.dayOfYear = bytes.bcd(additionalBlocksByte, 3, true);
    header.hour = bytes.bcd(hourByte, 2);
    header.minute = bytes.bcd(hourByte + 1, 2);
    header.second = bytes.bcd(hourByte + 2, 2);
    header.manufacturer = bytes.bcd(manufacturerByte, 2);
    header.serialNumber = bytes.bcd(serialNumberByte, 4);
    header.bytesPerScan = bytes.bcd(bytesPerScanByte, 6);

    // The base scan interval is a binary count of sixteenths of a millisecond; revision 3
    // also states the interval in microseconds.
    const quint32 baseInterval = bytes.uint8(baseIntervalByte);
    const quint32 microseconds = revision3 ? bytes.uint24(samplingIntervalRev3Byte) : 0;
    if (microseconds > 0)
        header.sampleInterval = float(microseconds / 1000.0);
    else if (baseInterval != 0xFF)
        header.sampleInterval = float(baseInterval / 16.0);

    header.recordType = int(bytes.uint8(recordTypeByte) >> 4);
    const qint32 extendedLengthRev3 = revision3 ? bytes.int32(extendedRecordLengthRev3Byte) : 0;
    if (extendedLengthRev3 != 0)
        header.recordLength = float(extendedLengthRev3 / 1000.0);
    else if ((bytes.uint16(recordTypeByte) & 0x0FFF) == 0x0FFF)
        header.recordLength = revision3 ? 0.0f : float(bytes.uint24(extendedRecordLengthRev2Byte));
    else
        header.recordLength = float(bytes.bcd(recordTypeByte, 3, true) * 102.4);

    header.scanTypes = std::max(bytes.bcd(scanTypesByte, 2), 1);
    header.channelSets = bytes.uint8(channelSetsByte) == 0xFF ? bytes.int16(extendedChannelSetsByte)
                                                              : bytes.bcd(channelSetsByte, 2);
    header.skewBlocks = revision3 ? count(bytes, skewBlocksByte, extendedSkewBlocksRev3Byte, 2)
                                  : bytes.bcd(skewBlocksByte, 2);
    header.extendedBlocks = count(bytes, extendedBlocksByte, extendedExtendedBlocksByte, revision3 ? 3 : 2);
    header.externalBlocks = revision3 ? count(bytes, externalBlocksByte, extendedExternalBlocksRev3Byte, 3)
                                      : count(bytes, externalBlocksByte, extendedExternalBlocksRev2Byte, 2);
    if (revision3) {
        header.timeZero = bytes.int64(timeZeroByte);
        header.recordBytes = bytes.uint64(recordBytesByte);
    }
    return header;
}

qint64 SegdGeneralHeader::descriptorOffset(int scanType, int set) const
{
    const qint64 scanTypeBytes = qint64(channelSets) * descriptorBytes() + qint64(skewBlocks) * blockBytes;
    return qint64(blocks) * blockBytes + scanType * scanTypeBytes + qint64(set) * descriptorBytes();
}

qint64 SegdGeneralHeader::extendedOffset() const
{
    return descriptorOffset(scanTypes, 0);
}

qint64 SegdGeneralHeader::externalOffset() const
{
    return extendedOffset() + qint64(extendedBlocks) * blockBytes;
}

qint64 SegdGeneralHeader::headerLength() const
{
    return externalOffset() + qint64(externalBlocks) * blockBytes;
}

QString SegdGeneralHeader::dateText() const
{
    return QDate(year, 1, 1).addDays(dayOfYear - 1).toString(QStringLiteral("MM/dd/yyyy"));
}

QString SegdGeneralHeader::dateWithDayText() const
{
    return QStringLiteral("%1 (day %2)").arg(dateText()).arg(dayOfYear, 3, 10, QLatin1Char('0'));
}

QString SegdGeneralHeader::timeText() const
{
    const QLatin1Char zero('0');
    return QStringLiteral("%1:%2:%3")
        .arg(hour, 2, 10, zero)
        .arg(minute, 2, 10, zero)
        .arg(second, 2, 10, zero);
}

QString SegdGeneralHeader::revisionText() const
{
    return QStringLiteral("%1.%2").arg(majorRevision).arg(minorRevision);
}
