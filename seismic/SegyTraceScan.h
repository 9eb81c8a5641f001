#pragma once

#include "seismic/SampleStatistics.h"

#include <QString>

class SegyData;

// Every sample of a SEG-Y file's traces taken into one set of statistics, straight from the
// file bytes: ranges of whole traces are read in large pieces and decoded on several threads,
// each holding about a MiB, and the ranges are merged in trace order, so that the figures are
// the same whatever the number of threads. The trace headers are not interpreted.
class SegyTraceScan {
public:
    // Where the traces lie and how their samples are stored.
    struct Layout {
        QString path;
        qint64 dataStart = 0;
        qint64 traceLength = 0;
        int headerSize = 0;
        int traceCount = 0;
        int sampleFormat = 0;
        bool swap = false;
        // Samples decoded from each trace, and samples of value zero added after them (a trace
        // holds the data set's sample count; the file may store fewer).
        int decodedSamples = 0;
        int paddingSamples = 0;
    };

    struct Result {
        int tracesRead = 0; // the traces before the first that could not be read
        SampleStatistics statistics;
        QString error; // why the traces after tracesRead were not read
    };

    // The layout of the traces of a data set opened for reading.
    static Layout layoutOf(const SegyData& data);
    static Result run(const Layout& layout, int threads);
};
