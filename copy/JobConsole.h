#pragma once

#include "copy/JobResult.h"

#include <QString>

class ObrConsole;
class QDateTime;

// The console lines the copy and merge tools share: the start and end lines with the time, the
// summary counts, and the errors of a failure, of which the operator sees one pop-up only.
class JobConsole {
public:
    explicit JobConsole(ObrConsole* console);

    // An empty line, "<job> started at <time>" and an empty line.
    void start(const char* job);
    // An empty line, "<job> ended at <time>" and an empty line.
    void end(const char* job);
    void say(const QString& text);
    // "   <count> <what><s> <done>", with "s" for every count but 1.
    void count(qint64 count, const char* what, const char* done = "copied");
    // A count of the summary as written, "<count> <what> <done>", after three blanks.
    void countLine(const QString& text);
    // An error line. The first error of a job pops up; later ones, and any after a failure that
    // was reported where it happened, go to the console only.
    void error(const QString& text);
    // A drive has reported the failure itself (drives show their failures to the operator).
    void reportedElsewhere() { told = true; }
    // "  job failed" and an empty line; the pop-up went with the error that caused it.
    void jobFailed();
    // "  job aborted" and an empty line: the operator stopped the job.
    void jobAborted();
    // The output `path` was not finished: what was written of it is gone, the name untouched.
    void outputRemoved(const QString& path);
    void warning(const QString& text);
    void lowLevel(const QString& text);

    // The counts said so far, with the job's outcome.
    JobResult result(bool failed, bool aborted) const;

    // Date and time as the copy tools write them, with English month names.
    static QString timestamp(const QDateTime& time);

private:
    ObrConsole* console;
    bool told = false;
    QStringList counts;
};
