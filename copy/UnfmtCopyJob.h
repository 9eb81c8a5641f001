#pragma once

#include "copy/CopyJob.h"

// Copies any data block by block without looking inside it: a disk file is cut into
// blocks of a chosen size; a tape keeps the length of every block it holds.
class UnfmtCopyJob : public CopyJob {
public:
    static constexpr int defaultBlockSize = 10240;

    // `blockSize` (1 to workBufferSize) cuts a disk input; a tape input ignores it.
    UnfmtCopyJob(ObrConsole* console, CopyOperator* copyOperator, const Endpoint& input,
                 const Endpoint& output, int blockSize);

protected:
    Names names() const override;
    bool prepareInput() override;
    int unitLength() const override { return blockSize; }
    qint64 totalUnits() const override;
    void summaryCounts() override;

private:
    int blockSize;
};
