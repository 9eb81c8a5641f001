#pragma once

#include <QtGlobal>

class SegdData;
class SeismicTrace;

// What a scan of field files tells about one of them: its number, its traces and samples,
// and the range and RMS of its sample values, for its seismic and its auxiliary channels apart
// (the auxiliary traces of a recorder may be raw counts that would dwarf the seismic values).
// Values that are not numbers (recorders write NaN for dead channels) are left out of the
// statistics.
struct SegdRecordSummary {
    // Running statistics of the finite samples of some traces.
    struct Sums {
        void add(const double* samples, qint64 n);
        // The sums of the traces that follow these.
        void merge(const Sums& later);

        double low;
        double high;
        double squares = 0;
        // A count as a double, added in the same vector steps as the sums; exact up to 2^53.
        double values = 0;
        int traces = 0;

        Sums();
    };
    // The sums of a block of traces, each kind of channel apart.
    struct BlockSums {
        // The first count samples of the trace: those the file holds, without the padding of
        // a channel set shorter than the longest.
        void add(const SeismicTrace& trace, qint64 count);
        void merge(const BlockSums& later);

        Sums seismic;
        Sums auxiliary;
    };
    // The statistics of one kind of channel.
    struct Statistics {
        void finish(const Sums& sums);

        int traces = 0;
        qint64 values = 0; // samples that entered the statistics
        double minimum = 0;
        double maximum = 0;
        double rms = 0;
    };

    // Traces are summed in blocks of this many, and the blocks merged in order: the figures are
    // then the same however the traces of a file are shared out between threads.
    static constexpr int tracesPerBlock = 64;
    static int blockCount(int traces) { return (traces + tracesPerBlock - 1) / tracesPerBlock; }

    // Reads every trace of the data set's current file, one at a time, so that memory
    // holds one trace; false when a trace cannot be read (the data set says why) or memory
    // for the trace ran out. summary.traces tells the traces read.
    [[nodiscard]] static bool scan(SegdData& data, SegdRecordSummary& summary);
    // Reads the traces of blocks first to last - 1 of the current file into blocks[first] to
    // blocks[last - 1]; the traces read, short of the blocks' when one cannot be read.
    static int scanBlocks(SegdData& data, int first, int last, BlockSums* blocks);
    // The summary of the data set's current file from the sums of its blocks, in order.
    static SegdRecordSummary merge(const SegdData& data, const BlockSums* blocks, int count);

    int fieldFile = 0;
    int traces = 0;
    int samples = 0;
    float sampleInterval = 0; // milliseconds
    Statistics seismic;
    Statistics auxiliary;

private:
    static SegdRecordSummary describe(const SegdData& data);
    void finish(const BlockSums& sums);
};
