#pragma once

#include "seismic/HeaderDataType.h"

#include <QtGlobal>

// The standard SEG-Y layout (revisions 0 and 1) in one place: the header sizes, the header words
// that readers, writers and the copy tools take at their standard positions whatever a format
// file says, and the sample format codes with their sizes. A SegyFormat starts from these and may
// move the words it names; the words here do not move.
namespace SegyLayout {

constexpr int textHeaderSize = 3200;
constexpr int binaryHeaderSize = 400;
// Textual and binary header together: where the first trace of a plain file starts.
constexpr int fileHeaderSize = textHeaderSize + binaryHeaderSize;
constexpr int traceHeaderSize = 240;

// A header word: its 1-based start byte within its header and its HeaderDataType.
struct Word {
    int startByte;
    int type;

    // Byte offset of a binary header word from the start of a plain file.
    constexpr int fileOffset() const { return textHeaderSize + startByte - 1; }
};

// The value of a word in a header of `length` bytes; 0 when it does not lie inside.
inline double read(const char* header, qint64 length, Word word, bool swap)
{
    return HeaderDataType::readValue(header, length, word.startByte, word.type, swap);
}

// Binary header words.
constexpr Word sampleIntervalWord{17, HeaderDataType::Int16}; // microseconds
constexpr Word samplesPerTraceWord{21, HeaderDataType::UInt16};
constexpr Word sampleFormatWord{25, HeaderDataType::Int16};
constexpr Word revisionWord{301, HeaderDataType::Int16};
constexpr Word fixedLengthWord{303, HeaderDataType::Int16};
constexpr Word extendedTextHeadersWord{305, HeaderDataType::Int16};
constexpr Word extensionMarkerWord{310, HeaderDataType::Int16};
// The extension marker and the six 16-bit words that follow it.
constexpr int extensionMarker = 7855;
constexpr int extensionWordCount = 6;
// The revision word of revision 1.0.
constexpr int revisionOne = 256;

// The extended textual headers of a file of `fileSize` bytes whose binary header counts `count` of
// them, with headers of the sizes given: the count when that many fit in the file, else none.
// Writers of revision 0 fill the word too, so the revision word is not asked.
constexpr int extendedTextHeaders(int count, qint64 fileSize, int textSize, int binarySize)
{
    return count > 0 && (qint64(count) + 1) * textSize + binarySize <= fileSize ? count : 0;
}

// Trace header words.
constexpr Word sequentialTraceWord{1, HeaderDataType::Int32};
constexpr Word traceIdWord{29, HeaderDataType::Int16};
constexpr Word traceSamplesWord{115, HeaderDataType::Int16};
constexpr Word traceIntervalWord{117, HeaderDataType::Int16}; // microseconds
// Year, then day of year, hour, minute and second, one 16-bit word each.
constexpr Word yearWord{157, HeaderDataType::Int16};
constexpr Word userDefined9Word{213, HeaderDataType::Int16};

// Sample format codes of the binary header (revision 2).
enum SampleFormatCode : int {
    IbmFloat = 1,
    Int32 = 2,
    Int16 = 3,
    FixedPointGain = 4,
    IeeeFloat = 5,
    IeeeDouble = 6,
    Int24 = 7,
    Int8 = 8,
    Int64 = 9,
    UInt32 = 10,
    UInt16 = 11,
    UInt64 = 12,
    UInt24 = 15,
    UInt8 = 16
};

struct SampleFormat {
    int code;
    int bytesPerSample;
    const char* name;  // short, for format files and messages: "IEEE double"
    const char* label; // the entry of the sample format boxes, size first: "8-byte IEEE double"
};

// Every code a reader knows, in the order the boxes list them; any other code names no sample
// format. Fixed point with gain is read, never written.
constexpr SampleFormat sampleFormats[] = {
    {IbmFloat, 4, "IBM float", "4-byte IBM float"},
    {Int32, 4, "32-bit integer", "4-byte integer"},
    {Int16, 2, "16-bit integer", "2-byte integer"},
    {FixedPointGain, 4, "fixed point with gain", "4-byte fixed point"},
    {IeeeFloat, 4, "IEEE single", "4-byte IEEE float"},
    {IeeeDouble, 8, "IEEE double", "8-byte IEEE double"},
    {Int24, 3, "24-bit integer", "3-byte integer"},
    {Int8, 1, "8-bit integer", "1-byte integer"},
    {Int64, 8, "64-bit integer", "8-byte integer"},
    {UInt32, 4, "32-bit unsigned integer", "4-byte unsigned integer"},
    {UInt16, 2, "16-bit unsigned integer", "2-byte unsigned integer"},
    {UInt64, 8, "64-bit unsigned integer", "8-byte unsigned integer"},
    {UInt24, 3, "24-bit unsigned integer", "3-byte unsigned integer"},
    {UInt8, 1, "8-bit unsigned integer", "1-byte unsigned integer"},
};
constexpr int sampleFormatCount = int(sizeof sampleFormats / sizeof sampleFormats[0]);

// The position of a code in sampleFormats; sampleFormatCount for a code no reader knows.
constexpr int sampleFormatIndex(int code)
{
    for (int i = 0; i < sampleFormatCount; ++i) {
        if (sampleFormats[i].code == code)
            return i;
    }
    return sampleFormatCount;
}

// Bytes of one sample of a code; 0 for a code no reader knows.
constexpr int bytesPerSample(int code)
{
    const int index = sampleFormatIndex(code);
    return index < sampleFormatCount ? sampleFormats[index].bytesPerSample : 0;
}

constexpr bool knownSampleFormat(int code)
{
    return bytesPerSample(code) > 0;
}

} // namespace SegyLayout
