#pragma once

#include "analyzers/SegyFileJob.h"

#include <QString>
#include <memory>

class ObrConsole;
class SegyData;
class SegyFormat;
class SegyFormatFile;

// The file a SEG-Y analyzer window takes apart and the format it reads it through: what the
// parts of the window share. The window opens it; each part reads it and writes the format.
class AnalysedSegyFile {
public:
    AnalysedSegyFile(ObrConsole* console, const QString& standardFormatPath, const QString& path);
    ~AnalysedSegyFile();

    // The standard format file, or the built-in standard layout when it cannot be read. Loaded
    // once per window, so that the edits of the format stay from file to file.
    void loadFormat();
    // Opens the file again through the format in force; false, with no data set, when it fails.
    [[nodiscard]] bool reopen();
    // The length of a trace, 0 without a data set.
    double recordTime() const;
    // A job of `steps` steps that does `work` with the file on a worker thread (SegyFileJob),
    // through the format in force as it is now.
    std::unique_ptr<SegyFileJob> job(int steps, SegyFileJob::Work work) const;

    ObrConsole* const console;
    QString path;
    SegyFormat* format = nullptr;
    std::unique_ptr<SegyData> data;
    // The traces of the header tables and field ranges, 1-based.
    int scanFirst = 1;
    int scanLast = 1;
    // Set while the window fills its controls for a file: their signals are no edits of the user.
    bool updating = false;
    // How the jobs open the file; empty: from the disk.
    SegyFileJob::Input input;

private:
    QString standardFormatPath;
    std::unique_ptr<SegyFormatFile> formatFile;
    std::unique_ptr<SegyFormat> builtInFormat;
};
