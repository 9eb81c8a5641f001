#pragma once

#include "sps/SpsSurvey.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class ObrConsole;

// What a SEG-D field file says of its shot: its number, the source it names and the receiver
// line and point of each seismic trace (trace header extension 1; 0 0 where the recorder leaves
// them out).
struct SpsFieldFileShot {
    QString path;
    int fieldFile = 0;
    double sourceLine = 0;
    double sourcePoint = 0;
    QVector<QPair<qint32, qint32>> receivers;

    // Reads the field file's headers and trace headers; false (said on the console) when it
    // cannot be read.
    [[nodiscard]] bool read(const QString& file, ObrConsole* console);
};

// The field files of a survey against its relation records: record number = field file number.
class SpsSegdMatch {
public:
    enum class Kind {
        MissingFieldFile, // an X record with no field file
        NoRelation,       // a field file with no X record
        SourceDiffers,
        ReceiversDiffer,
        ChannelCount,
    };
    static constexpr int kindCount = 5;

    struct Finding {
        Kind kind;
        int fieldFile;
        QString text;
    };

    SpsSegdMatch(const QVector<SpsFieldFileShot>& shots, const SpsSurvey& survey);

    const QVector<Finding>& findings() const { return findings_; }
    int count(Kind kind) const { return counts[size_t(kind)]; }
    static QString kindName(Kind kind);
    static QString kindTitle(Kind kind);
    // The total, then per kind its title, count and first `most` findings.
    QStringList report(int most) const;

private:
    void add(Kind kind, int fieldFile, const QString& text);
    void compare(const SpsFieldFileShot& shot, const QVector<SpsSurvey::Relation>& relations);

    QVector<Finding> findings_;
    std::array<int, kindCount> counts{};
};
