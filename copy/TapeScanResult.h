#pragma once

#include <QList>
#include <QString>

// What a tape scan found, tape file by tape file.
enum class TapeScanMode { Segd, Segy };

// One SEG-D field file, or one SEG-Y file (a tape file).
struct TapeScanEntry {
    int tapeFile = 0; // 1-based
    // The file's headers were read: a SEG-D general header, the 3,600 bytes of SEG-Y file headers.
    bool identified = false;
    // SEG-D: the general header's values.
    int fieldFile = 0;
    QString revision;
    int manufacturer = 0;
    // SEG-Y: the textual header's first line.
    QString textLine;
    // The sample format code (SEG-D format code, SEG-Y binary header code) and, for SEG-Y, its name.
    int formatCode = 0;
    QString formatName;
    int traces = 0;
    int samples = 0; // per trace; the longest channel set's for SEG-D
    double intervalMs = 0;
    qint64 bytes = 0;
    // Why the file could not be read whole; empty when it was.
    QString problem;
};

struct TapeScanResult {
    TapeScanMode mode = TapeScanMode::Segd;
    QList<TapeScanEntry> entries;
    // Tape files holding data, and their bytes.
    int tapeFiles = 0;
    qint64 bytes = 0;
    // Why the scan ended before the end of the data; empty when it read the tape to its end.
    QString stopped;
    bool aborted = false;

    bool complete() const { return stopped.isEmpty() && !aborted; }
};
