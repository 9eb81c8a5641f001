#include "seismic/SegyTraceIndex.h"

#include "seismic/SampleConversion.h"
#include "seismic/TraceKey.h"

#include <algorithm>

namespace {

constexpr std::array<int, TraceKey::count> columnTable()
{
    std::array<int, TraceKey::count> columns{};
    for (int& column : columns)
        column = -1;
    for (size_t i = 0; i < SegyTraceIndex::columnKeys.size(); ++i)
        columns[size_t(SegyTraceIndex::columnKeys[i])] = int(i);
    return columns;
}

constexpr std::array<int, TraceKey::count> columns = columnTable();

// A passing test of one limit, shifted by a window offset.
bool passes(qint64 value, const RangeLimit& limit, qint64 shift)
{
    const qint64 first = limit.first + shift;
    const qint64 last = limit.last + shift;
    const qint64 increment = limit.increment > 0 ? limit.increment : 1;
    return value >= first && value <= last && (value - first) % increment == 0;
}

bool passes(const SegyTraceIndex::Entry& entry, const RangeLimit& limit)
{
    const qint64 value = SampleConversion::truncateToInteger(entry.value(limit.key));
    if (limit.window < 2)
        return passes(value, limit, 0);
    for (int k = 0; k < limit.window; ++k) {
        if (passes(value, limit, -limit.window / 2 + k))
            return true;
    }
    return false;
}

} // namespace

int SegyTraceIndex::column(int key)
{
    return TraceKey::isValid(key) ? columns[size_t(key)] : -1;
}

double SegyTraceIndex::Entry::value(int key) const
{
    const int at = column(key);
    return at >= 0 ? values[size_t(at)] : 0.0;
}

void SegyTraceIndex::Entry::setValue(int key, double value)
{
    const int at = column(key);
    if (at >= 0)
        values[size_t(at)] = value;
}

int SegyTraceIndex::tracesInRecord(int record) const
{
    if (record < 1 || record > recordCount())
        return 0;
    const int end = record < recordCount() ? recordStarts[size_t(record)] : traceCount();
    return end - recordStarts[size_t(record - 1)];
}

int SegyTraceIndex::largestRecord() const
{
    int largest = 0;
    for (int record = 1; record <= recordCount(); ++record)
        largest = std::max(largest, tracesInRecord(record));
    return largest;
}

int SegyTraceIndex::entryOf(int record, int trace) const
{
    if (trace < 1 || trace > tracesInRecord(record))
        return -1;
    return recordStarts[size_t(record - 1)] + trace - 1;
}

SegyTraceIndex::Range SegyTraceIndex::range(int key) const
{
    Range result;
    const int at = column(key);
    if (at < 0)
        return result;
    for (const Entry& entry : entries) {
        const double value = entry.values[size_t(at)];
        if (value != 0.0)
            result.present = true;
        if (&entry == &entries.front() || value < result.minimum)
            result.minimum = value;
        if (&entry == &entries.front() || value > result.maximum)
            result.maximum = value;
    }
    return result;
}

bool SegyTraceIndex::threeD() const
{
    return range(TraceKey::Inline).present && range(TraceKey::Crossline).present;
}

void SegyTraceIndex::group(const QVector<int>& keys)
{
    recordStarts.clear();
    for (int i = 0; i < traceCount(); ++i) {
        bool same = i > 0;
        for (int key : keys) {
            if (!same)
                break;
            same = entries[size_t(i)].value(key) == entries[size_t(i - 1)].value(key);
        }
        if (!same)
            recordStarts.push_back(i);
    }
    cursor = 0;
}

void SegyTraceIndex::restoreFileOrder()
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.fileTrace < b.fileTrace; });
    group({TraceKey::FieldFile});
}

void SegyTraceIndex::sortBy(const QVector<int>& keys)
{
    if (keys.isEmpty()) {
        restoreFileOrder();
        return;
    }
    std::vector<int> at;
    for (int key : keys)
        at.push_back(column(key));
    std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
        for (int column : at) {
            const double left = column >= 0 ? a.values[size_t(column)] : 0.0;
            const double right = column >= 0 ? b.values[size_t(column)] : 0.0;
            if (left != right)
                return left < right;
        }
        return a.fileTrace < b.fileTrace;
    });
    group(keys);
}

QVector<int> SegyTraceIndex::recordsPassing(const QVector<RangeLimit>& limits) const
{
    QVector<int> records;
    for (int record = 1; record <= recordCount(); ++record) {
        for (int trace = 1; trace <= tracesInRecord(record); ++trace) {
            const Entry& entry = entries[size_t(entryOf(record, trace))];
            if (std::all_of(limits.begin(), limits.end(),
                            [&](const RangeLimit& limit) { return passes(entry, limit); })) {
                records.append(record);
                break;
            }
        }
    }
    return records;
}

std::array<SegyTraceIndex::Range, 2> SegyTraceIndex::computeMidpoints()
{
    for (Entry& entry : entries) {
        entry.setValue(TraceKey::CmpX,
                       (entry.value(TraceKey::SourceX) + entry.value(TraceKey::ReceiverX)) / 2);
        entry.setValue(TraceKey::CmpY,
                       (entry.value(TraceKey::SourceY) + entry.value(TraceKey::ReceiverY)) / 2);
    }
    return {range(TraceKey::CmpX), range(TraceKey::CmpY)};
}

bool SegyTraceIndex::setRecordStarts(std::vector<int> starts)
{
    int previous = -1;
    for (int start : starts) {
        if (start <= previous || start >= traceCount())
            return false;
        previous = start;
    }
    if (!starts.empty() && starts.front() != 0)
        return false;
    if (starts.empty() && traceCount() > 0)
        return false;
    recordStarts = std::move(starts);
    cursor = 0;
    return true;
}
