#pragma once

#include <QtGlobal>

// Where the traces of a SEG-Y disk file lie, as the copy tools find it from the file's first
// SegyLayout::fileHeaderSize bytes, without a format file: the sample format code is taken
// big-endian, or in the other byte order when big-endian it names no format; the sample count
// and the count of extended textual headers are read in the same order. Every size comes from
// the standard layout, bytes per sample from the code.
struct SegyCopyLayout {
    // The sample format code names a format in one of the byte orders; nothing else is set
    // otherwise.
    bool known = false;
    // The binary header is little-endian: its sample format code names a format only that way.
    bool littleEndian = false;
    int sampleFormat = 0;
    int samples = 0;
    // Extended textual headers between the binary header and the traces: the binary header's
    // count when that many fit in the file, else none.
    int extendedTextHeaders = 0;
    int traceLength = 0;

    // `headers` holds the file's first fileHeaderSize bytes; a negative `fileSize` (a tape,
    // whose headers come as blocks) gives no extended textual headers.
    static SegyCopyLayout read(const char* headers, qint64 fileSize);

    // Bytes before the first trace.
    qint64 dataStart() const;
};
