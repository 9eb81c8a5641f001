#pragma once

#include <QtGlobal>

class SegdData;
class SeismicTrace;
class TraceGather;

// What a scan of field files tells about one of them: its number, its traces and samples,
// and the range and RMS of its sample values. Values that are not numbers (recorders write
// NaN for dead channels) are left out of the statistics.
struct SegdRecordSummary {
    // The record the data set read last into gather.
    static SegdRecordSummary of(const SegdData& data, const TraceGather& gather);
    // Reads every trace of the data set's current file, one at a time, so that memory
    // holds one trace; false when a trace cannot be read (the data set says why) or memory
    // for the trace ran out.
    [[nodiscard]] static bool scan(SegdData& data, SegdRecordSummary& summary);

    int fieldFile = 0;
    int traces = 0;
    int samples = 0;
    float sampleInterval = 0; // milliseconds
    double minimum = 0;
    double maximum = 0;
    double rms = 0;
    qint64 values = 0; // samples that entered the statistics

private:
    struct Sums;
    void finish(const Sums& lanes);
};
