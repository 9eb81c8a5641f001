#pragma once

#include "seismic/SegyGeometry.h"

#include <QString>
#include <QtGlobal>

class QFile;

// Where the traces of a SEG-Y disk file lie, as the copy tools find it from the file's headers,
// without a format file: the byte order from the binary header's constant (revision 2), else the
// one in which the sample format code names a format (big-endian first); the sample count, the
// extended textual headers, the additional trace headers, the first trace and the trailer
// stanzas by the standard's rules. Every size comes from the standard layout, bytes per sample
// from the code.
struct SegyCopyLayout {
    // The sample format code names a format in the file's byte order; nothing else is set
    // otherwise.
    bool known = false;
    bool littleEndian = false;
    int sampleFormat = 0;
    int samples = 0;
    int extendedTextHeaders = 0;
    // The trace header with the additional trace headers that follow it, and the whole record.
    int traceHeaderLength = 0;
    int traceLength = 0;
    // Where the traces end: the first trailer stanza, or the end of the file.
    qint64 dataEnd = 0;
    int trailerStanzas = 0;
    // The binary header's sample format code as read in either order (when not known).
    int statedSampleFormat = 0;
    // The trace count a revision 2 binary header states (0: none).
    quint64 statedTraceCount = 0;
    // Why the traces cannot be placed (the code is known but the headers place them where no file
    // holds them); empty otherwise.
    QString problem;

    // `headers` holds the file's first fileHeaderSize bytes; a negative `fileSize` (a tape,
    // whose headers come as blocks) gives no extended textual headers, trailer or first-trace
    // offset. readText reads a disk file's textual headers after the binary header, for those a
    // stanza ends; it may be null for a tape.
    static SegyCopyLayout read(const char* headers, qint64 fileSize,
                               const SegyGeometry::TextReader& readText = {});
    // Reads the textual headers of an open disk file where they lie, leaving its position as it was.
    static SegyGeometry::TextReader textReader(QFile& file);

    // Bytes before the first trace.
    qint64 dataStart() const { return dataStart_; }

private:
    qint64 dataStart_ = 0;
};
