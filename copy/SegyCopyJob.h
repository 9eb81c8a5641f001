#pragma once

#include "copy/CopyJob.h"
#include "copy/SegyCopyLayout.h"
#include "seismic/SegyLayout.h"

// Copies one SEG-Y data set byte for byte between disk files and tape drives: the textual and
// the binary header (a block each on tape), any extended textual headers (a block each), what
// lies between them and the first trace (one block), every trace (one block each on tape) and the
// trailer stanzas of revision 2 (a block each). The trace length comes from the binary header.
class SegyCopyJob : public CopyJob {
public:
    using CopyJob::CopyJob;

protected:
    Names names() const override;
    bool prepareInput() override;
    bool prepareOutput() override;
    int unitLength() const override { return layout.traceLength; }
    qint64 unitsEnd() const override { return layout.dataEnd; }
    int trailerBlockLength() const override { return SegyBinaryHeader::stanzaSize; }
    qint64 totalUnits() const override;
    void partialUnit(int length) override;
    void summaryCounts() override;

private:
    [[nodiscard]] bool readFileHeaders();
    [[nodiscard]] bool readTapeHeaders();
    [[nodiscard]] bool copyExtendedTextHeaders();
    [[nodiscard]] bool copyBytesBeforeTraces();

    SegyCopyLayout layout;
    // The header blocks as read from a tape (a disk file gives the standard sizes); a tape
    // output receives them with these lengths.
    int headerBlocks[2] = {SegyLayout::textHeaderSize, SegyLayout::binaryHeaderSize};
};
