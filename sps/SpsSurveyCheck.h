#pragma once

#include "sps/SpsKind.h"
#include "sps/SpsSurvey.h"

#include <QString>
#include <QVector>
#include <array>

// One thing wrong in a survey, at a line of one of its files.
struct SpsFinding {
    enum class Kind {
        MissingSource,     // a relation's source is not in S
        MissingReceiver,   // receivers of a relation's range are not in R
        ChannelCount,      // the channel count differs from the receivers of the range
        DuplicatePoint,    // a line and point twice in S or in R
        DuplicateRelation, // the same record, source and first channel twice in X
        CoordinateJump,    // a point far from its neighbours on its line
        UnnamedRecord,     // a record without its line, point or channel numbers
    };
    static constexpr int kindCount = 7;

    Kind kind;
    SpsKind file;
    int line; // 1-based line of the file
    QString text;
    // Where the point lies, for findings that concern one point.
    bool located = false;
    double x = 0;
    double y = 0;

    // "missing-source", "missing-receiver", ...: the name in JSON and CSV.
    static QString kindName(Kind kind);
    // "Relation sources not in S", ...: the heading of the kind in a report.
    static QString kindTitle(Kind kind);
};

// The cross-checks of a survey's source, receiver and relation files. Every check sorts once and
// then looks up by binary search, so a survey of a million records takes well under a second.
class SpsSurveyCheck {
public:
    // A point is a jump when it lies farther than this many times the median spacing (per point
    // number) from each neighbour on its line.
    static constexpr double jumpFactor = 5;

    explicit SpsSurveyCheck(const SpsSurvey& survey);

    const QVector<SpsFinding>& findings() const { return findings_; }
    // The findings of a kind, in file and line order.
    QVector<SpsFinding> findings(SpsFinding::Kind kind, int most) const;
    // The report as text lines: the total, then per kind its title, count and first `most` findings.
    QStringList report(int most) const;
    int count(SpsFinding::Kind kind) const { return counts[size_t(kind)]; }
    // The median distance between points one point number apart, per kind (0 without pairs).
    double sourceSpacing() const { return sourceSpacing_; }
    double receiverSpacing() const { return receiverSpacing_; }

private:
    // A receiver line's points, sorted, and the step between its point numbers.
    struct Line {
        qint32 line;
        int begin;
        int end;
        qint32 increment;
    };

    void add(SpsFinding finding);
    // Sorted keys; reports duplicates.
    QVector<qint64> sortPoints(const QVector<SpsSurvey::Point>& points, SpsKind kind, QVector<int>* order);
    double checkJumps(const QVector<SpsSurvey::Point>& points, const QVector<int>& order, SpsKind kind);
    void checkRelations(const SpsSurvey& survey, const QVector<qint64>& sourceKeys,
                        const QVector<qint64>& receiverKeys);
    void checkDuplicateRelations(const QVector<SpsSurvey::Relation>& relations);
    QVector<Line> receiverLines(const QVector<qint64>& keys) const;

    QVector<SpsFinding> findings_;
    std::array<int, SpsFinding::kindCount> counts{};
    double sourceSpacing_ = 0;
    double receiverSpacing_ = 0;
};
