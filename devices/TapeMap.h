#pragma once

#include <QList>
#include <QStringList>

class TapeDevice;

// What a tape holds, file by file: runs of blocks of one size, the way tcopy
// reports a tape.
struct TapeMap {
    struct Run {
        int blockSize = 0;
        qint64 blocks = 0;
    };
    struct File {
        QList<Run> runs;
        qint64 blocks = 0;
        qint64 bytes = 0;
        bool endsWithMark = false;
    };

    QList<File> files;

    // Walks `tape` from its beginning to the end of its data. False when a read
    // failed (the drive has reported why); the map then holds what came before.
    [[nodiscard]] bool walk(TapeDevice* tape);
    // One line per run, per file end and for the whole tape.
    QStringList lines() const;
};
