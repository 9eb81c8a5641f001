#pragma once

#include "copy/CopyOperator.h"

// The copies that fill output tapes up to a limit: their operator changes output tapes too.
class OutputTapeOperator : public CopyOperator {
public:
    // The output tape in `drive` is full (closed with file marks, unloaded as the drive's
    // options say). Returns the drive to go on writing to, open for writing with a new tape
    // in it: `drive` itself or another one. Null means "No more tapes".
    virtual TapeDevice* nextOutputTape(TapeDevice* drive) = 0;
};
