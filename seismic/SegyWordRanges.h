#pragma once

#include "seismic/SegyFormat.h"

#include <QString>
#include <QVector>

// The least and the greatest value of each of a list of trace header words over the headers
// folded in, as stored: no scalar applies. NaN values are left out.
class SegyWordRanges {
public:
    explicit SegyWordRanges(QVector<SegyFormat::HeaderWord> words);

    // Folds in the words of one header of `length` bytes (byte-reversed when swap is set); words
    // not wholly inside it are left out.
    void add(const char* header, qint64 length, bool swap);

    const QVector<SegyFormat::HeaderWord>& words() const { return words_; }
    // The row's least or greatest value as text; empty when no value was folded in.
    QString minimumText(int row) const;
    QString maximumText(int row) const;

private:
    struct Range {
        double minimum = 0;
        double maximum = 0;
        bool seen = false;
    };

    QVector<SegyFormat::HeaderWord> words_;
    QVector<Range> ranges_;
};
