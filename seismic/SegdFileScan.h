#pragma once

#include "base/DeferredConsole.h"
#include "seismic/SegdRecordSummary.h"

#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class ObrConsole;
class SegdData;

// Summaries of SEG-D field files read on several threads: whole files to each thread, or the
// traces of a lone file shared out in ranges. Every thread reads through its own data set; the
// figures are merged in file and trace order, so they do not depend on the number of threads.
namespace SegdFileScan {

// Opens a field file and reads its headers; null when it cannot (said on the console).
using Opener = std::function<std::unique_ptr<SegdData>(const QString& path, ObrConsole& console)>;

struct FileResult {
    bool ok = false;
    SegdRecordSummary summary;
    // What opening and reading the file said, for the caller to pass on in file order.
    DeferredConsole lines{1};
};

// One result per path, in order.
std::vector<FileResult> scanFiles(const QStringList& paths, int threads, const Opener& open, int detailLevel);
// The one file at path, its ranges of traces on up to threads threads; the messages of opening
// it go to console at once.
FileResult scanFile(const QString& path, int threads, const Opener& open, ObrConsole& console);

} // namespace SegdFileScan
