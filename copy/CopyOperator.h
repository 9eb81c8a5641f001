#pragma once

#include <QString>
#include <QtGlobal>

class TapeDevice;

// What a long job asks of the person who runs it: to watch its progress and,
// between transfers, whether to go on. A window answers by processing its events.
class JobProgress {
public:
    virtual ~JobProgress() = default;

    // The total of a job that cannot know it beforehand (a tape input): a busy indicator.
    static constexpr qint64 unknownTotal = -1;

    // `total` units are to come, or unknownTotal.
    virtual void startProgress(qint64 total) = 0;
    virtual void showProgress(qint64 done) = 0;
    virtual void endProgress() = 0;
    // Called between transfers; false when the operator asked the job to stop.
    virtual bool keepAlive() = 0;
    // The output file `path` exists already: true to replace it once the job has written the
    // new one whole. Asked before anything is written.
    virtual bool replaceFile(const QString& path) = 0;
};

// A copy job's operator also changes input tapes and says what becomes of an output tape that
// holds data.
class CopyOperator : public JobProgress {
public:
    enum class TapeStart { Overwrite, Append, Cancel };

    // The input tape in `drive` has been read to a file mark or its end of data (and
    // rewound or unloaded as the drive's options say). Returns the drive to go on
    // reading from, open, with the next tape in it: `drive` itself or another one.
    // Null means "No more tapes".
    virtual TapeDevice* nextInputTape(TapeDevice* drive) = 0;
    // Null came from nextInputTape because a tape named to follow could not be used (the operator
    // has said why): the job fails instead of ending there.
    virtual bool nextTapeFailed() const { return false; }
    // The output tape in `drive` holds `files` files where the job would write: write from its
    // start, after its last file, or not at all.
    virtual TapeStart startOnTapeWithData(TapeDevice* drive, int files) = 0;
};
