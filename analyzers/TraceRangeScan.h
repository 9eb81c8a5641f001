#pragma once

#include "base/DeferredConsole.h"
#include "seismic/SegyFieldRanges.h"
#include "seismic/SegyFormat.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <atomic>
#include <functional>
#include <memory>

class ObrConsole;
class ObrDevice;

// Reads the trace headers of a range of traces of a SEG-Y file: the value range of every field
// row and a copy of each raw header. It opens its own data set on the file through its own copy
// of the format, so it may run on any thread while the window goes on with its own.
class TraceRangeScan {
public:
    struct Result {
        int firstTrace = 1;
        SegyFieldRanges ranges;
        QVector<QByteArray> headers; // in trace order, as long as the reader's trace headers
        bool swapBytes = false;
        bool cancelled = false;
    };

    // Opens the file a scan reads, reporting to the console; empty: the disk file itself.
    using Input = std::function<std::unique_ptr<ObrDevice>(ObrConsole* console, const QString& path)>;

    // Traces first to last (1-based); a range past the end of the file stops at its last trace.
    TraceRangeScan(const QString& path, const SegyFormat& format, int first, int last, int detailLevel,
                   Input input = {});

    // Reads the range; `done` counts the traces read so far. Stops soon after `cancel` is set.
    Result run(const std::atomic<bool>& cancel, std::atomic<int>& done);

    // How many traces the range asks for.
    int traceCount() const { return last - first + 1; }
    // The lines the data set reported while reading traces, for the caller's console.
    DeferredConsole& console() { return lines; }

private:
    QString path;
    SegyFormat format;
    int first;
    int last;
    DeferredConsole lines;
    Input input;
};
