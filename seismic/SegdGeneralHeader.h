#pragma once

#include <QString>
#include <QtGlobal>

class SegdBytes;

// The general header blocks of a SEG-D field file, read by the rules of its revision: revisions
// 0 to 2 with 32-byte channel set descriptors and BCD counts, revision 3 with 96-byte
// descriptors and binary extensions in blocks 2 and 3.
struct SegdGeneralHeader {
    // Bytes the readers need before they know the header's length: blocks 1 to 3.
    static constexpr int leadingBytes = 96;
    static constexpr int blockBytes = 32;
    // The manufacturer code of Sercel recording systems, whose files carry Sercel's additions.
    static constexpr int sercelManufacturer = 13;

    // The values of the leading blocks (fewer when the file is shorter; missing fields read 0).
    static SegdGeneralHeader parse(const SegdBytes& leading);
    // Whether a first block reads as a general header: decimal digits where the standard puts
    // them, a format code of the standard, a time of day. Tells field files among other files.
    static bool looksValid(const SegdBytes& firstBlock);

    int descriptorBytes() const { return majorRevision >= 3 ? 3 * blockBytes : blockBytes; }
    // Channel set descriptors of every scan type.
    qint64 descriptorCount() const { return qint64(scanTypes) * channelSets; }
    // Bytes before the first trace: general header, scan type headers with their skew blocks,
    // extended and external headers.
    qint64 headerLength() const;
    qint64 descriptorOffset(int scanType, int set) const;
    qint64 extendedOffset() const;
    qint64 externalOffset() const;
    bool sercel() const { return manufacturer == sercelManufacturer; }
    // "MM/dd/yyyy" and "hh:mm:ss".
    QString dateText() const;
    // The date as the field writes it too: "02/21/2007 (day 052)".
    QString dateWithDayText() const;
    QString timeText() const;
    // "2.1": major and minor revision.
    QString revisionText() const;

    int fieldFile = 0;
    int formatCode = 0;
    int majorRevision = 0;
    int minorRevision = 0;
    float revision = 0;
    int year = 0;
    int dayOfYear = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int manufacturer = 0;
    int serialNumber = 0;
    int bytesPerScan = 0;
    float sampleInterval = 0; // milliseconds
    int recordType = 0;
    float recordLength = 0; // milliseconds
    int blocks = 1;
    int scanTypes = 1;
    // Channel sets per scan type; negative when a damaged extended count says so.
    int channelSets = 0;
    int skewBlocks = 0;
    int extendedBlocks = 0;
    int externalBlocks = 0;
    // Revision 3 block 3: time zero in microseconds since the GPS epoch (0: not stated), and
    // the size of the record the recorder states, in bytes.
    qint64 timeZero = 0;
    quint64 recordBytes = 0;
};
