#pragma once

#include "copy/CopyOperator.h"

#include <QString>

class TapeDevice;

// The operator of a multi-file copy also changes output tapes and watches the file in hand.
class DirCopyOperator : public CopyOperator {
public:
    // The output tape in `drive` is full and closed (and unloaded as the drive's options say).
    // Returns the drive to go on writing to, open for writing, with the next tape in it: `drive`
    // itself or another one. Null means "No more tapes".
    virtual TapeDevice* nextOutputTape(TapeDevice* drive) = 0;
    // "File %1: %2 traces" or "File %1" while a file is copied.
    virtual void showCurrentFile(const QString& text) = 0;
};
