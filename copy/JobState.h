#pragma once

#include "copy/JobConsole.h"

#include <QString>

class CopyOperator;
class ObrConsole;

// How a multi-file copy stands (going on, done, failed, stopped by the operator) and the console
// lines that tell it.
class JobState {
protected:
    JobState(ObrConsole* console, CopyOperator* copyOperator);

    // The outcome and the summary's counts, once the job has run.
    JobResult result() const { return lines.result(failed, aborted); }

    // Lets the operator's window live; false when the job is to stop. A stop the operator asked
    // for aborts the job with a warning pop-up.
    [[nodiscard]] bool goOn();
    // Reports an error (the failure's one pop-up) and marks the job failed.
    void fail(const QString& text);
    // A drive operation failed; the drive has reported why.
    void driveFailed();

    ObrConsole* console;
    JobConsole lines;
    bool done = false;
    bool failed = false;
    bool aborted = false;

private:
    CopyOperator* progress;
};
