#pragma once

#include <QStringList>

class JobProgress;
class QFile;
class ObrConsole;

// Joins SEG-Y disk files into one: the first file whole, then the traces of each further file
// (all after its textual, binary and any extended textual headers), in list order. Nothing
// about the formats is compared. The job reports only failures; the output is not touched
// unless every input opens.
class SegyMergeJob {
public:
    static constexpr int bufferSize = 4 << 20;

    SegyMergeJob(ObrConsole* console, JobProgress* progress, const QString& outputPath,
                 const QStringList& inputPaths);

    [[nodiscard]] bool run();
    qint64 bytesWritten() const { return written; }

private:
    // Appends `input` from `start` on; false (reported) on a read or write error or a stop.
    [[nodiscard]] bool append(QFile& input, qint64 start, QFile& output, char* buffer);
    void error(const QString& text);

    ObrConsole* console;
    JobProgress* progress;
    QString outputPath;
    QStringList inputPaths;
    qint64 written = 0;
};
