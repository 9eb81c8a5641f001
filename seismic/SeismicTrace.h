#pragma once

#include "seismic/TraceKey.h"

#include <QtGlobal>
#include <array>
#include <memory>

namespace SeismicTraceStorage {
// How many keys of each storage type the table holds, so a trace keeps each value in its
// own type.
constexpr int keysStoredAs(TraceKey::Storage storage)
{
    int keys = 0;
    for (int key = 1; key < TraceKey::count; ++key)
        keys += TraceKey::table[key].storage == storage ? 1 : 0;
    return keys;
}
} // namespace SeismicTraceStorage

// One trace in memory: header values by TraceKey, three SEG-Y scalars, a timestamp and the
// samples as 64-bit floats. A trace made for headers only holds the negated sample count
// and no samples.
class SeismicTrace {
public:
    // A fresh trace: every header value 0, scalars -100, -100 and -1000, samples zero.
    // A count of 0 or below makes a headers-only trace. Null when the count is beyond
    // SeismicLimits::maxSamplesPerTrace or memory ran out.
    static std::unique_ptr<SeismicTrace> create(int sampleCount, float sampleInterval);

    SeismicTrace(const SeismicTrace&) = delete;
    SeismicTrace& operator=(const SeismicTrace&) = delete;

    // The value of a key, widened; 0 for keys outside 1 to 75 and keys without storage.
    double value(int key) const;
    // Stores the value in the key's type: integer keys truncate toward zero, float keys
    // round to single precision, double keys keep it. Cmp and Crossline share one value:
    // setting either sets both. Keys outside 1 to 75 and keys without storage are ignored.
    void setValue(int key, double value);

    qint32 sequentialTrace() const { return qint32(value(TraceKey::SequentialTrace)); }
    qint32 traceId() const { return qint32(value(TraceKey::TraceId)); }

    int sampleCount() const { return sampleCount_; }
    bool hasSamples() const { return samples_ != nullptr; }
    double* data() { return samples_.get(); }
    const double* data() const { return samples_.get(); }
    // Sets every sample to 0.
    void clearSamples();

    qint64 filePosition = 0;  // byte position of the trace header in its file
    float sampleInterval = 0; // milliseconds
    float startTime = 0;      // recording delay, milliseconds
    qint32 coordinateScalar = -100;
    qint32 elevationScalar = -100;
    qint32 timeScalar = -1000;
    qint64 timestamp = 0; // milliseconds since 1970-01-01 UTC, 0 when unknown
    float maxSample = 0;

private:
    SeismicTrace(int sampleCount, float sampleInterval, std::unique_ptr<double[]> samples);

    int sampleCount_;
    std::unique_ptr<double[]> samples_;
    std::array<qint32, SeismicTraceStorage::keysStoredAs(TraceKey::Storage::Int32)> ints_{};
    std::array<float, SeismicTraceStorage::keysStoredAs(TraceKey::Storage::Float)> floats_{};
    std::array<double, SeismicTraceStorage::keysStoredAs(TraceKey::Storage::Double)> doubles_{};
};
