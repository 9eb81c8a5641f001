#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class SegyTraceIndex;

// An order of the trace index: the keys to sort by, in turn, with their ranges over the index.
// Ready once prepared from an index that holds a range for every key.
class SortOrder {
public:
    // The sort codes: 0 file order, 1 source, 2 receiver, 3 CMP or bin, 4 inline and CMP,
    // 5 offset, 6 field file, 9 inline, 10 crossline, 11 attribute, 12 CMP or inline.
    static bool knownCode(int code);

    explicit SortOrder(const QVector<int>& keys = {});

    // Takes the keys of a code and their ranges from the index. False, with the console
    // messages of the code in errors, when a key has no range or the geometry does not fit.
    [[nodiscard]] bool prepare(int code, const SegyTraceIndex& index, QStringList* errors);
    // Takes the ranges of the keys given at construction.
    void prepare(const SegyTraceIndex& index);

    int code = -1;
    QVector<int> keys;
    QVector<double> minimum;
    QVector<double> maximum;
    bool ready = false;
};
