#pragma once

#include "copy/TapeScanResult.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QStringList>

// What a tape scan's rows add up to: counts, and for SEG-D the field file numbers missing between
// the lowest and the highest and those found more than once.
struct TapeScanSummary {
    // Files whose headers were read.
    int files = 0;
    qint64 traces = 0;
    // Tape files of the files that could not be read whole.
    QList<int> damaged;
    // SEG-D field file numbers; -1 when no general header was read.
    int firstFieldFile = -1;
    int lastFieldFile = -1;
    // Runs of missing numbers, first and last of each.
    QList<QPair<int, int>> missing;
    QList<int> duplicates;
    // SEG-Y: files per sample format code of the standard.
    QMap<int, int> formats;

    static TapeScanSummary of(const TapeScanResult& result);
};

// The scan as a table and as text: the column titles and cells the window, the report files and
// obrio share.
namespace TapeScanReport {

QStringList columns(TapeScanMode mode);
QStringList cells(const TapeScanEntry& entry, TapeScanMode mode);
// Texts stand to the left of their columns, numbers to the right.
bool isTextColumn(const QString& title);
// "1003, 1006-1007".
QString rangesText(const QList<QPair<int, int>>& ranges);
// The summary, each line indented by three blanks, as the copies end theirs.
QStringList summaryLines(const TapeScanResult& result);
// The table in aligned columns, an empty line, "Tape Scan Summary:" and the summary.
QStringList text(const TapeScanResult& result);
// The table as comma-separated values with a line of column titles.
QByteArray csv(const TapeScanResult& result);

} // namespace TapeScanReport
