#pragma once

#include "copy/CopyOperator.h"

#include <QString>

class QWidget;

// The questions a job asks before it writes where something is: an existing output file, an output
// tape that holds files. Titled as the tool's window.
namespace OutputQuestions {

// True when the operator lets the job replace the file `path`.
bool replaceFile(QWidget* window, const QString& path);
// "Overwrite from the start", "Append after the last file" or Cancel for the tape in `drive`,
// which holds `files` files.
CopyOperator::TapeStart tapeWithData(QWidget* window, const QString& drive, int files);

} // namespace OutputQuestions
