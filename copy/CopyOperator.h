#pragma once

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
};

// A copy job's operator also changes input tapes.
class CopyOperator : public JobProgress {
public:
    // The input tape in `drive` has been read to a file mark or its end of data (and
    // rewound or unloaded as the drive's options say). Returns the drive to go on
    // reading from, open, with the next tape in it: `drive` itself or another one.
    // Null means "No more tapes".
    virtual TapeDevice* nextInputTape(TapeDevice* drive) = 0;
};
