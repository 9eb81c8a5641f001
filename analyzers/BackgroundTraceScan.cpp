#include "analyzers/BackgroundTraceScan.h"

#include <QThread>
#include <algorithm>
#include <atomic>

namespace {
constexpr int progressIntervalMs = 100;
} // namespace

struct BackgroundTraceScan::Task {
    explicit Task(std::unique_ptr<TraceRangeScan> scan) : scan(std::move(scan)) {}
    std::unique_ptr<TraceRangeScan> scan;
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};
    TraceRangeScan::Result result;
};

BackgroundTraceScan::BackgroundTraceScan(QObject* parent) : QObject(parent)
{
    progressTimer.setInterval(progressIntervalMs);
    connect(&progressTimer, &QTimer::timeout, this, [this] {
        if (current)
            emit progress(current->done.load(), current->scan->traceCount());
    });
}

BackgroundTraceScan::~BackgroundTraceScan()
{
    for (auto& [thread, task] : threads)
        task->cancel = true;
    for (auto& [thread, task] : threads) {
        thread->wait();
        delete thread;
    }
}

void BackgroundTraceScan::start(std::unique_ptr<TraceRangeScan> scan)
{
    cancel();
    auto task = std::make_shared<Task>(std::move(scan));
    // The thread holds its own reference: a stale task lives until its thread has stopped.
    QThread* thread = QThread::create([task] { task->result = task->scan->run(task->cancel, task->done); });
    threads.emplace_back(thread, task);
    connect(thread, &QThread::finished, this, [this, task, thread] { taskEnded(task, thread); });
    current = task;
    // A short scan ends before the first report: no progress flickers up for it.
    progressTimer.start();
    thread->start();
}

void BackgroundTraceScan::cancel()
{
    if (!current)
        return;
    current->cancel = true;
    current.reset();
    progressTimer.stop();
}

void BackgroundTraceScan::taskEnded(const std::shared_ptr<Task>& task, QThread* thread)
{
    const auto found = std::find_if(threads.begin(), threads.end(),
                                    [thread](const auto& entry) { return entry.first == thread; });
    if (found != threads.end())
        threads.erase(found);
    thread->deleteLater();
    if (task != current)
        return;
    current.reset();
    progressTimer.stop();
    finishedResult = std::move(task->result);
    finishedLines = task->scan->console();
    emit finished();
}
