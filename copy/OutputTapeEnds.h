#pragma once

#include "copy/CopyOperator.h"

#include <QString>

class JobConsole;
class TapeDevice;

// The two ends of a job's writing on an output tape: before the first block, a tape that holds
// data where it stands is written over only as the operator says; after a job stopped early, what
// it wrote is closed with file marks, so that the tape reads up to there.
namespace OutputTapeEnds {

// Looks ahead on `tape`; when data lies there, counts the files of the tape and asks the operator,
// then leaves the tape where the answer says to write. False when the job may not write: the
// operator keeps the tape as it is (`refusal` says so), or the drive failed (`refusal` empty, the
// drive has reported why).
[[nodiscard]] bool prepare(TapeDevice* tape, CopyOperator* copyOperator, JobConsole& lines, QString* refusal);

// The job stopped on `tape` after writing to it: closes the file in hand with a file mark and the
// data with a second one, and says where the tape stopped. False when the marks could not be
// written (the drive has reported why).
bool closeEarly(TapeDevice* tape, JobConsole& lines);

} // namespace OutputTapeEnds
