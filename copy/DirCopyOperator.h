#pragma once

#include "copy/OutputTapeOperator.h"

#include <QString>

// The operator of a multi-file copy also watches the file in hand.
class DirCopyOperator : public OutputTapeOperator {
public:
    // "File %1: %2 traces" or "File %1" while a file is copied.
    virtual void showCurrentFile(const QString& text) = 0;
};
