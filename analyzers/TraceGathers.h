#pragma once

#include <QString>
#include <QVector>
#include <vector>

class SegyData;
struct JobSteps;

// Traces chosen by a header word: one value or a range of values of a trace key, as in
// "FieldFile 1021" or "Offset 0-500".
struct GatherSelection {
    int key = -1;
    double low = 0;
    double high = 0;

    // A trace key name (HeaderGraph::keyNamed, in any case) and a value "1021" or a range "0-500"
    // (signed, decimal: "-500--100"); false with the problem said for an unknown key or a value
    // that is neither.
    [[nodiscard]] static bool parse(const QString& keyName, const QString& value, GatherSelection* selection,
                                    QString* problem);
    // "FieldFile 1021", "Offset 0-500".
    QString text() const;
    // The value or range alone: "1021", "0-500".
    QString valueText() const;
};

// The value of one trace key for every trace of a SEG-Y file, in file order: the gathers it
// holds by that key, and the next and previous one.
class TraceGathers {
public:
    // From the trace index of the data set, or from the index file beside it when that fits the
    // file and holds the key, else from the trace headers (each trace a step). Reading stops
    // early when cancelled or a trace cannot be read; the traces read so far count.
    static TraceGathers read(SegyData& data, int key, const JobSteps* steps = nullptr);

    // The numbers (1-based) of the traces whose value lies within the selection, in file order.
    QVector<int> traces(const GatherSelection& selection) const;
    // The gather after (direction 1) or before (-1) the selection: the next value present beyond
    // it, with the width of the selection's range; false when there is none.
    [[nodiscard]] bool step(const GatherSelection& selection, int direction, GatherSelection* next) const;

    int key = -1;
    std::vector<double> values; // of traces 1, 2, ...
    bool fromIndex = false;
};
