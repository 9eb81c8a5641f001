#pragma once

#include "seismic/SegyBinaryHeader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// Where the parts of a SEG-Y file lie: its extended textual headers, its first trace, the length
// of its trace records (the trace header, the additional trace headers of revision 2 and the
// samples), how many of them it holds and the stanzas that trail them. Every reader and copy of
// SEG-Y files places the traces by it.
struct SegyGeometry {
    struct Inputs {
        qint64 fileSize = 0; // -1 when not known (headers read from a tape)
        int textHeaderSize = 3200;
        int binaryHeaderSize = 400;
        int traceHeaderSize = 240;
        int samples = 0;
        int bytesPerSample = 0;
        SegyBinaryHeader binary;
    };
    // The bytes of a textual header at a file position (fewer or none where the file ends), for
    // counting the extended textual headers that a stanza ends; null on a tape.
    using TextReader = std::function<QByteArray(qint64 position, int length)>;

    // The geometry; problem() is set when the headers place the traces where no file can hold
    // them.
    static SegyGeometry compute(const Inputs& inputs, const TextReader& readText);

    bool ok() const { return problem.isEmpty(); }

    int extendedTextHeaders = 0;
    // The extended textual header count the binary header states does not fit the file and was
    // taken as none (revision 1 files: worth a warning).
    bool extendedCountIgnored = false;
    qint64 dataStart = 0;
    qint64 traceHeaderLength = 0;
    qint64 traceLength = 0;
    qint64 traceCount = 0;
    // Where the trailer stanzas start: the end of the file when there are none.
    qint64 dataEnd = 0;
    int trailerStanzas = 0;
    // Bytes between the last whole trace and dataEnd.
    qint64 bytesAfterTraces = 0;
    QString problem;
    QStringList warnings;
};
