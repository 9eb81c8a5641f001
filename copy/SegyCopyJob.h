#pragma once

#include "copy/CopyJob.h"

// Copies one SEG-Y data set byte for byte between disk files and tape drives: the
// 3200-byte text header and the 400-byte binary header (a block each on tape), then
// every trace (one block each on tape). The trace length comes from the binary header.
class SegyCopyJob : public CopyJob {
public:
    static constexpr int headerLength = 3600;

    using CopyJob::CopyJob;

    // Bytes per trace (240 + samples x 2 for format 3, x 4 for the other formats) from
    // the binary header in the 3600 bytes at `headers`, taken in the other byte order
    // when the sample format code is not 1 to 8 as a big-endian number; 0 when it is
    // not in either order.
    static int traceLength(const char* headers);

protected:
    Names names() const override;
    bool prepareInput() override;
    bool prepareOutput() override;
    int unitLength() const override { return traceLength_; }
    qint64 totalUnits() const override;
    void partialUnit(int length) override;
    void summaryCounts() override;

private:
    [[nodiscard]] bool readFileHeaders();
    [[nodiscard]] bool readTapeHeaders();

    int traceLength_ = 0;
    // The header blocks as read from a tape (a disk file gives 3200 and 400); a tape
    // output receives them with these lengths.
    int headerBlocks[2] = {3200, 400};
};
