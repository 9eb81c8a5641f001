#pragma once

#include "sps/SpsLayout.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>

// The minimum and maximum of one field over the numbers of a file's records.
struct SpsFieldRange {
    qint64 lines = 0; // records whose field holds a number; none leaves the range without values
    double minimum = 0;
    double maximum = 0;

    bool hasValues() const { return lines > 0; }
    void take(double value);
};

// A field of a record that holds text that is no number.
struct SpsCellProblem {
    int line = 0; // 1-based
    int field = 0;
    SpsColumns columns;
    QByteArray text; // as found in the columns
};

// A line that is neither a record nor a header line: a comment, prose, a bare record letter.
struct SpsStrayLine {
    int line = 0; // 1-based
    QByteArray text;
};

// What a layout makes of a file: the ranges of the fields, the records it cannot read and the
// lines that are not records. Counts are whole; only the first entries are kept with their places.
struct SpsDiagnostics {
    static constexpr int keptEntries = 200;

    std::array<SpsFieldRange, SpsLayout::fieldCount> ranges{};
    std::array<qint64, SpsLayout::fieldCount> missing{};    // blank cells per field
    std::array<qint64, SpsLayout::fieldCount> unreadable{}; // text that is no number, per field
    qint64 records = 0;
    qint64 unreadableRecords = 0; // records with at least one loaded field that is no number
    qint64 problemCount = 0;
    qint64 headerLines = 0;
    qint64 strayLineCount = 0;
    QVector<SpsCellProblem> problems;
    QVector<SpsStrayLine> strayLines;

    // "line 17, Easting (47-55): 'Really go' is not a number"
    static QString problemText(SpsKind kind, const SpsCellProblem& problem);
    // "line 3: 'Shot by hand' is not a record"
    static QString strayText(const SpsStrayLine& stray);
    // "2 unreadable records (3 fields), 4 lines that are not records"
    QString summary() const;
};
