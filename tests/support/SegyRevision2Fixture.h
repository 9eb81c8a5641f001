#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>

// SEG-Y files of revision 2 written byte by byte from the standard's layout (binary header bytes
// 3201-3600, trace records of a 240-byte header, the additional 240-byte headers and the
// samples), independent of the program's writer.
namespace segy2 {

struct File {
    bool littleEndian = false;
    // The byte-order constant (bytes 3297-3300) as written in the file's order; 0 writes none.
    quint32 byteOrderConstant = 0x01020304;
    int majorRevision = 2;
    int minorRevision = 0;
    int sampleFormat = 5;
    int samples = 10;
    // The samples stand in the 32-bit field (bytes 3269-3272), the 16-bit word holding 0.
    bool extendedSamples = false;
    double intervalMicroseconds = 2000;
    // The interval stands in the double field (bytes 3273-3280), the 16-bit word holding 0.
    bool extendedInterval = false;
    int additionalTraceHeaders = 0;
    // Extended textual headers, each padded to 3200 bytes; with variableText the count reads -1
    // and the stanza "((SEG: EndText))" is appended as the last of them.
    QStringList extendedText;
    bool variableText = false;
    int traces = 3;
    // Bytes 3513-3520; 0 states none.
    quint64 statedTraces = 0;
    // Bytes between the headers and the first trace, stated in bytes 3521-3528 when not 0.
    int gapBeforeTraces = 0;
    int trailerStanzas = 0;
    // The sample bytes of a trace (0-based), in the file's order; by default a byte pattern.
    std::function<QByteArray(int trace, int sampleBytes)> sampleBytes;
};

QByteArray build(const File& file);
// Bytes of one sample of a format code by the standard (0 for a code it does not define).
int bytesPerSample(int code);
// The byte offset of trace `trace` (0-based) and the length of every trace record.
qint64 traceOffset(const File& file, int trace);
int traceLength(const File& file);

} // namespace segy2
