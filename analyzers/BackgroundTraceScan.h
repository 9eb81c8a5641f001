#pragma once

#include "analyzers/TraceRangeScan.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

class QThread;

// Runs trace range scans on worker threads for a window. A newer scan makes any older one
// stale: it is told to stop and its result is dropped, so only the latest request is answered.
class BackgroundTraceScan : public QObject {
    Q_OBJECT
public:
    explicit BackgroundTraceScan(QObject* parent = nullptr);
    // Stops every scan and waits for its thread.
    ~BackgroundTraceScan() override;

    void start(std::unique_ptr<TraceRangeScan> scan);
    // Drops the current scan, if any.
    void cancel();
    bool running() const { return current != nullptr; }
    // The result of the scan that has just finished; valid in a slot of `finished`.
    const TraceRangeScan::Result& result() const { return finishedResult; }
    // Its console lines, to be passed on.
    DeferredConsole& console() { return finishedLines; }

signals:
    // A few times a second while a scan runs: traces read of traces asked for.
    void progress(int done, int total);
    void finished();

private:
    struct Task;
    void taskEnded(const std::shared_ptr<Task>& task, QThread* thread);

    std::shared_ptr<Task> current;
    std::vector<std::pair<QThread*, std::shared_ptr<Task>>> threads;
    TraceRangeScan::Result finishedResult;
    DeferredConsole finishedLines{0};
    QTimer progressTimer;
};
