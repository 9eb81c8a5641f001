#pragma once

#include <QByteArray>

// SEG-Y files for the multi-file copy and the SEG-D conversion: every sample format and byte
// order, trace headers with dates, numbers and scaled coordinates, and samples that every format
// holds exactly.
namespace dirtest {

struct SegyParams {
    int format = 5;
    bool littleEndian = false;
    int interval = 2000; // microseconds
    int samples = 50;
    int traces = 3;
    int fieldRecord = 4567;
    int year = 1998;
    // Coordinate scalar of every trace (trace header bytes 71 to 72).
    int scalar = -100;
};

QByteArray segyFile(const SegyParams& params);

// The sample `sample` of trace `trace` (0-based): a whole number from -50 to 49.
int sampleValue(int trace, int sample);
// The unscaled coordinates and line numbers the trace headers hold.
int sourceX(int trace);
int sourceY(int trace);
int sourceElevation(int trace);
int receiverX(int trace);
int receiverY(int trace);
int receiverElevation(int trace);
int receiverLine(int trace);
int receiverPoint(int trace);
// A coordinate with a scalar applied as SEG-Y says.
double scaled(int value, int scalar);

} // namespace dirtest
