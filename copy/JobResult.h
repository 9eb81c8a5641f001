#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// How a copy or merge job ended, for a window to show: the outcome, the counts of the job's
// summary as it words them ("3 files copied"), and for a SEG-D copy the field files it wrote and
// skipped.
struct JobResult {
    enum class Outcome { Done, Failed, Aborted };

    // A field file by its number, where it came from (a file path or a drive name) and where it
    // went; empty when it was skipped.
    struct FieldFile {
        int number = 0;
        QString input;
        QString output;
    };

    Outcome outcome = Outcome::Done;
    QStringList counts;
    // In the order the job took them.
    QVector<FieldFile> fieldFiles;
};
