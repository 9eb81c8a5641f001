#pragma once

#include "analyzers/SegyFileJob.h"
#include "seismic/SegyFieldRanges.h"

#include <QByteArray>
#include <QVector>

// Reads the trace headers of a range of traces of a SEG-Y file: the value range of every field
// row and a copy of each raw header, on any thread (SegyFileJob).
class TraceRangeScan : public SegyFileJob {
public:
    struct Result {
        int firstTrace = 1;
        SegyFieldRanges ranges;
        QVector<QByteArray> headers; // in trace order, as long as the reader's trace headers
        bool swapBytes = false;
        bool cancelled = false;
    };
    using Input = SegyFileJob::Input;

    // Traces first to last (1-based); a range past the end of the file stops at its last trace.
    TraceRangeScan(const QString& path, const SegyFormat& format, int first, int last, int detailLevel,
                   Input input = {});

    // The range as read; complete once run() has returned.
    const Result& result() const { return found; }

private:
    static void scan(SegyData& data, int first, int last, const JobSteps& steps, Result& result);

    Result found;
};
