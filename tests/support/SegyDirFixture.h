#pragma once

#include <QByteArray>
#include <QList>

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
    // The field record number (trace header bytes 9 to 12) of the first trace; with
    // tracesPerRecord each run of that many traces has the next number.
    int fieldRecord = 4567;
    int tracesPerRecord = 0;
    int year = 1998;
    // Coordinate scalar of every trace (trace header bytes 71 to 72).
    int scalar = -100;
    // Elevation scalar (bytes 69 to 70) and recording delay in ms (bytes 109 to 110).
    int elevationScalar = 0;
    int delay = 0;
};

QByteArray segyFile(const SegyParams& params);
// A big-endian file of 4-byte samples as a tape file: header blocks, a block per trace, a file mark.
QList<QByteArray> tapeFile(const QByteArray& file);

// The sample `sample` of trace `trace` (0-based): a whole number from -50 to 49.
inline const auto sampleValue = [](int trace, int sample) { return (trace * 7 + sample * 3) % 100 - 50; };
// The unscaled coordinates and line numbers the trace headers hold.
inline const auto sourceX = [](int trace) { return 123456 + trace; };
inline const auto sourceY = [](int trace) { return -98765 - trace; };
inline const auto sourceElevation = [](int) { return 4500; };
inline const auto receiverX = [](int trace) { return 500000 + 25 * trace; };
inline const auto receiverY = [](int trace) { return -700000 - 25 * trace; };
inline const auto receiverElevation = [](int trace) { return 1200 + trace; };
inline const auto receiverLine = [](int trace) { return trace % 2 == 0 ? 101 : -12; };
inline const auto receiverPoint = [](int trace) { return 3000 + trace; };
// A coordinate with a scalar applied as SEG-Y says.
double scaled(int value, int scalar);

} // namespace dirtest
