#pragma once

#include "sps/SpsLayout.h"

#include <QString>
#include <QVector>

class SpsLines;

// The points and relations of a survey as the checks and the map need them, read from the
// files' records under their layouts. Records without the numbers that name them are kept apart.
struct SpsSurvey {
    struct Point {
        qint32 line = 0;
        qint32 point = 0;
        double x = 0;
        double y = 0;
        bool located = false; // easting and northing both read
        int fileLine = 0;     // 1-based
    };
    struct Relation {
        int fileLine = 0;
        qint32 record = 0;
        qint32 sourceLine = 0;
        qint32 sourcePoint = 0;
        qint32 fromChannel = 0;
        qint32 toChannel = 0;
        qint32 channelIncrement = 1;
        qint32 receiverLine = 0;
        qint32 fromReceiver = 0;
        qint32 toReceiver = 0;
    };
    // A record whose naming numbers could not be read: its line and what was missing.
    struct Unnamed {
        SpsKind kind;
        int fileLine;
        QString field;
    };

    QVector<Point> sources;
    QVector<Point> receivers;
    QVector<Relation> relations;
    QVector<Unnamed> unnamed;

    // Reads the records of one file into the points or relations of its kind.
    void read(const SpsLines& lines, const SpsLayout& layout);

    // The key that orders points by line, then point.
    static qint64 key(qint32 line, qint32 point) { return (qint64(line) << 32) | quint32(point); }
};
