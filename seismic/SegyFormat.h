#pragma once

#include "seismic/HeaderDataType.h"
#include "seismic/SegyLayout.h"

#include <QString>
#include <QVector>
#include <array>

// Where every value of interest lies in the three SEG-Y headers, in which type, and the byte
// order and text encoding of the file. Readers and writers take every position from here; a
// new format holds the standard layout.
class SegyFormat {
public:
    enum EndianOrder { FromData = 0, BigEndian = 1, LittleEndian = 2 };

    // A binary header word: start byte (1-based within the binary header), type, and a value
    // that replaces the file's when override is set (milliseconds for the sample interval).
    struct BinaryWord {
        int startByte;
        int type;
        bool override;
        double overrideValue;
    };

    // A word of the trace header list: shown, exported and written by name. Its start byte counts
    // from the start of the trace record, so a word may lie in an additional trace header (byte
    // 241 on). It is read and written only where it lies wholly inside the trace header the
    // reader hands over (traceHeaderSize bytes, within the trace); a word before byte 1 or
    // reaching past the header, into the samples, reads as 0 and is never written.
    struct HeaderWord {
        QString name;
        QString abbreviation;
        int startByte = 0;
        int type = HeaderDataType::Int32;
        bool inIndexFile = false;
        bool operator==(const HeaderWord& other) const;
    };

    // The position of a value that readers and writers move to and from trace keys.
    struct KeySlot {
        int startByte;
        int type;
    };

    static constexpr int keySlotCount = 65;
    // Slots that hold no trace key but the trace's scalars and recording delay.
    enum FixedSlot {
        ElevationScalarSlot = 32,
        CoordinateScalarSlot = 33,
        TimeScalarSlot = 34,
        StartTimeSlot = 35
    };

    explicit SegyFormat(bool flag = false);

    // The standard trace header list, in its order.
    static QVector<HeaderWord> standardHeaderWords();
    // The words of trace header extension 1 (SEG-Y revision 2), in byte order, with start bytes
    // counted from the start of the trace record (241 to 416). A new format does not list them:
    // they are shown where a trace header holds the extension (SegyTraceExtension).
    static QVector<HeaderWord> extensionOneHeaderWords();
    // The slot a format file addresses by this name, or -1.
    static int keySlotByName(const QString& name);
    // The name by which format files address a slot; empty for slots without one.
    static QString keySlotName(int slot);

    const KeySlot& keySlot(int slot) const;
    // Moves a slot and, for a named slot, the header word of that name (appended when the list
    // has none), so that a written format file carries the change.
    void setKeySlot(int slot, int startByte, int type);
    // Moves only the slot: for readers of format files, which keep the list themselves.
    void placeKeySlot(int slot, int startByte, int type);
    // The header word of that name, or null.
    const HeaderWord* headerWord(const QString& name) const;

    // Same layout, sizes, encodings and word list (the path and flag aside).
    bool operator==(const SegyFormat& other) const;

    QString path;
    QString spare;
    bool flag;
    bool exportFullHeader = true;
    bool endianFromData = true;
    int endianOrder = BigEndian;
    bool textHeaderAscii = false;
    int textHeaderSize = SegyLayout::textHeaderSize;
    int binaryHeaderSize = SegyLayout::binaryHeaderSize;
    int traceHeaderSize = SegyLayout::traceHeaderSize;
    BinaryWord samplesPerTrace{SegyLayout::samplesPerTraceWord.startByte,
                               SegyLayout::samplesPerTraceWord.type, false, 0};
    BinaryWord sampleInterval{SegyLayout::sampleIntervalWord.startByte, SegyLayout::sampleIntervalWord.type,
                              false, 2.0};
    BinaryWord sampleFormat{SegyLayout::sampleFormatWord.startByte, SegyLayout::sampleFormatWord.type, false,
                            SegyLayout::IeeeFloat};
    BinaryWord binaryWord55{55, HeaderDataType::Int16, false, 0};
    BinaryWord binaryWord29{29, HeaderDataType::Int16, false, 0};
    QVector<HeaderWord> headerWords;

private:
    std::array<KeySlot, keySlotCount> keySlots_;
};

bool operator==(const SegyFormat::BinaryWord& a, const SegyFormat::BinaryWord& b);
