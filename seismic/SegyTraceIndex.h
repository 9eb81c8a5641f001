#pragma once

#include "seismic/RangeLimit.h"

#include <QVector>
#include <array>
#include <vector>

// The trace index of a SEG-Y data set: for every trace its file position, its scalars and its
// sort keys, the grouping of the traces into records, and a cursor. Sorting reorders the
// entries and regroups them; the entries keep their file order number, so file order can
// always be restored.
class SegyTraceIndex {
public:
    // The keys the index holds, one column each; other keys read as 0 and are not stored.
    static constexpr std::array<int, 38> columnKeys{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 13, 16, 23,
                                                    24, 25, 26, 27, 28, 29, 30, 31, 34, 38, 40, 41, 42,
                                                    43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 68, 75};
    static constexpr int columnCount = int(columnKeys.size());
    // The column of a key, or -1.
    static int column(int key);

    struct Entry {
        qint64 filePosition = 0;
        qint32 fileTrace = 0; // 1-based number in file order
        // Coordinate, elevation and time scalar; 1 for entries that carry none.
        std::array<qint32, 3> scalars{{1, 1, 1}};
        std::array<double, columnCount> values{};

        double value(int key) const;
        void setValue(int key, double value);
    };

    // The smallest and largest value of a key; present when some trace holds a value other than 0.
    struct Range {
        double minimum = 0;
        double maximum = 0;
        bool present = false;
    };

    std::vector<Entry> entries;

    int traceCount() const { return int(entries.size()); }
    int recordCount() const { return int(recordStarts.size()); }
    // Traces of a 1-based record; 0 outside the index.
    int tracesInRecord(int record) const;
    int largestRecord() const;
    // The entry of trace n (1-based) of a record, or -1.
    int entryOf(int record, int trace) const;

    Range range(int key) const;
    // Both inline and crossline numbers are present.
    bool threeD() const;

    // File order, one record per run of equal field file numbers.
    void restoreFileOrder();
    // Stable sort by the keys in turn; one record per run of equal values of all of them. No
    // keys: file order.
    void sortBy(const QVector<int>& keys);
    // Records that hold a trace passing every limit, 1-based, in index order.
    QVector<int> recordsPassing(const QVector<RangeLimit>& limits) const;
    // Sets CMP coordinates to the midpoints of source and receiver; returns the ranges of both.
    std::array<Range, 2> computeMidpoints();

    // Position of the cursor: an entry, moved by the data set's positioning.
    int cursor = 0;

    // Regroups the present order into records by runs of equal key values.
    void group(const QVector<int>& keys);

    // For the backup file: the grouping as it stands.
    const std::vector<int>& recordStartList() const { return recordStarts; }
    // Replaces the grouping; false when it does not fit the entries.
    [[nodiscard]] bool setRecordStarts(std::vector<int> starts);

private:
    std::vector<int> recordStarts; // first entry of each record
};
