#pragma once

#include "seismic/SeismicTrace.h"

#include <QString>
#include <memory>
#include <vector>

class SeismicData;

// The traces of one record, in record order. The gather owns its traces; the data set
// that made it sizes them (SeismicData::makeGather, SeismicData::resizeGather).
class TraceGather {
public:
    explicit TraceGather(SeismicData* owner) : owner(owner) {}
    TraceGather(const TraceGather&) = delete;
    TraceGather& operator=(const TraceGather&) = delete;

    // Number of traces actually held.
    int count() const { return int(traces.size()); }
    // Trace i (0-based), or null outside the gather.
    SeismicTrace* trace(int i) const { return i >= 0 && i < count() ? traces[size_t(i)].get() : nullptr; }

    SeismicData* owner; // not owned
    std::vector<std::unique_ptr<SeismicTrace>> traces;
    int requested = 0;        // the count asked for by the last resize
    int record = 0;           // the record number held, set by the read operations
    float recordLength = 0;   // the owner's record length in milliseconds at creation
    QString name;             // the owner's file name up to its first ".", or empty
    bool headersOnly = false; // traces carry no samples; traces added by a resize neither
};
