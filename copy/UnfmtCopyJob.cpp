#include "copy/UnfmtCopyJob.h"

UnfmtCopyJob::UnfmtCopyJob(ObrConsole* console, CopyOperator* copyOperator, const Endpoint& input,
                           const Endpoint& output, int blockSize)
    : CopyJob(console, copyOperator, input, output), blockSize(blockSize)
{}

CopyJob::Names UnfmtCopyJob::names() const
{
    return {"Unformatted copy", "Unformatted Copy Summary:", "Unformatted Copy"};
}

bool UnfmtCopyJob::prepareInput()
{
    if (inputTape() || (blockSize >= 1 && blockSize <= workBufferSize))
        return true;
    fail(QStringLiteral("block size %1 is not between 1 and %2 bytes - job will abort")
             .arg(blockSize)
             .arg(workBufferSize));
    return false;
}

qint64 UnfmtCopyJob::totalUnits() const
{
    return (inputFile().size() + blockSize - 1) / blockSize;
}

void UnfmtCopyJob::summaryCounts()
{
    sayCount(filesCopied(), "field file");
    // Blocks written: the blocks of a tape input, or those a disk input is cut into.
    sayCount(unitsCopied(), "block");
    if (inputTape())
        sayCount(tapesCopied(), "tape");
}
