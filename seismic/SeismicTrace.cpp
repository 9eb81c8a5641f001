#include "seismic/SeismicTrace.h"

#include "seismic/SampleConversion.h"
#include "seismic/SeismicLimits.h"

#include <algorithm>
#include <new>

namespace {

using Storage = TraceKey::Storage;

// Where each key lives inside the array of its storage type.
constexpr std::array<int, TraceKey::count> storageIndexes()
{
    std::array<int, TraceKey::count> indexes{};
    int ints = 0;
    int floats = 0;
    int doubles = 0;
    for (int key = 1; key < TraceKey::count; ++key) {
        switch (TraceKey::table[key].storage) {
        case Storage::Int32:
            indexes[key] = ints++;
            break;
        case Storage::Float:
            indexes[key] = floats++;
            break;
        case Storage::Double:
            indexes[key] = doubles++;
            break;
        default:
            indexes[key] = -1;
            break;
        }
    }
    return indexes;
}

constexpr std::array<int, TraceKey::count> storageIndex = storageIndexes();

static_assert(TraceKey::info(TraceKey::Cmp).storage == Storage::Float &&
                  TraceKey::info(TraceKey::Crossline).storage == Storage::Float,
              "Cmp and Crossline share one float value");

} // namespace

std::unique_ptr<SeismicTrace> SeismicTrace::create(int sampleCount, float sampleInterval)
{
    if (sampleCount > SeismicLimits::maxSamplesPerTrace)
        return nullptr;
    std::unique_ptr<double[]> samples;
    if (sampleCount > 0) {
        samples.reset(new (std::nothrow) double[size_t(sampleCount)]());
        if (!samples)
            return nullptr;
    }
    return std::unique_ptr<SeismicTrace>(new (std::nothrow)
                                             SeismicTrace(sampleCount, sampleInterval, std::move(samples)));
}

SeismicTrace::SeismicTrace(int sampleCount, float sampleInterval, std::unique_ptr<double[]> samples)
    : sampleInterval(sampleInterval), sampleCount_(sampleCount), samples_(std::move(samples))
{}

double SeismicTrace::value(int key) const
{
    if (!TraceKey::isStored(key))
        return 0.0;
    const int index = storageIndex[size_t(key)];
    switch (TraceKey::info(key).storage) {
    case Storage::Int32:
        return ints_[size_t(index)];
    case Storage::Float:
        return floats_[size_t(index)];
    case Storage::Double:
        return doubles_[size_t(index)];
    default:
        return 0.0;
    }
}

void SeismicTrace::setValue(int key, double value)
{
    if (!TraceKey::isStored(key))
        return;
    const int index = storageIndex[size_t(key)];
    switch (TraceKey::info(key).storage) {
    case Storage::Int32:
        ints_[size_t(index)] = SampleConversion::truncateToInt32(value);
        break;
    case Storage::Float:
        floats_[size_t(index)] = float(value);
        break;
    case Storage::Double:
        doubles_[size_t(index)] = value;
        break;
    default:
        break;
    }
    // In 2-D data the CMP number is the crossline number, so the two keys move together.
    if (key == TraceKey::Cmp)
        floats_[size_t(storageIndex[TraceKey::Crossline])] = float(value);
    else if (key == TraceKey::Crossline)
        floats_[size_t(storageIndex[TraceKey::Cmp])] = float(value);
}

void SeismicTrace::clearSamples()
{
    if (samples_)
        std::fill_n(samples_.get(), sampleCount_, 0.0);
}
