#pragma once

#include "copy/TapeFileBlocks.h"
#include "copy/TapeScanResult.h"

class JobProgress;
class ObrConsole;
class TapeDevice;

// Reads a tape from its beginning to its end of data, tape file by tape file, and tells what it
// holds without copying it: each SEG-D field file's headers and size, or each SEG-Y file's reel
// headers and trace count, and what could not be read. The tape is only read: nothing is written,
// marked or erased. A damaged file is reported and the scan goes on with the next tape file; two
// file marks in a row, or the end of data, end the tape. Damaged files are warnings on the console.
class TapeScanJob {
public:
    // `tape` is open for reading; it is rewound at the start, and at the end unless its options
    // say otherwise.
    TapeScanJob(ObrConsole* console, JobProgress* progress, TapeDevice* tape, TapeScanMode mode);

    // Runs the scan; true when the tape was read to its end.
    [[nodiscard]] bool run();
    const TapeScanResult& result() const { return result_; }

private:
    // One tape file (TapeScanSegd.cpp, TapeScanSegy.cpp); nothing is added for an empty one.
    void scanSegdFile();
    void scanSegyFile();
    // Lists a file of the tape file in hand, warning of its problem.
    void add(TapeScanEntry entry);
    // Rewinds or unloads the tape as its drive's options say.
    void endTape();

    ObrConsole* console;
    JobProgress* progress;
    TapeDevice* tape;
    TapeFileBlocks blocks;
    int tapeFile = 0;
    TapeScanResult result_;
};
