#include "analyzers/BackgroundWork.h"

#include <QThread>
#include <algorithm>
#include <atomic>

namespace {
constexpr int progressIntervalMs = 100;
} // namespace

struct BackgroundWork::Task {
    explicit Task(std::unique_ptr<WorkerJob> job) : job(std::move(job)) {}
    std::unique_ptr<WorkerJob> job;
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};
};

BackgroundWork::BackgroundWork(QObject* parent) : QObject(parent)
{
    progressTimer.setInterval(progressIntervalMs);
    connect(&progressTimer, &QTimer::timeout, this, [this] {
        if (current)
            emit progress(progressDone(), progressTotal());
    });
}

BackgroundWork::~BackgroundWork()
{
    for (auto& [thread, task] : threads)
        task->cancel = true;
    for (auto& [thread, task] : threads) {
        thread->wait();
        delete thread;
    }
}

void BackgroundWork::start(std::unique_ptr<WorkerJob> job)
{
    cancel();
    auto task = std::make_shared<Task>(std::move(job));
    // The thread holds its own reference: a stale task lives until its thread has stopped.
    QThread* thread = QThread::create([task] { task->job->run(JobSteps{task->cancel, task->done}); });
    threads.emplace_back(thread, task);
    connect(thread, &QThread::finished, this, [this, task, thread] { taskEnded(task, thread); });
    current = task;
    // A short job ends before the first report: no progress flickers up for it.
    progressTimer.start();
    thread->start();
}

void BackgroundWork::cancel()
{
    if (!current)
        return;
    current->cancel = true;
    current.reset();
    progressTimer.stop();
}

int BackgroundWork::progressDone() const
{
    return current ? current->done.load() : 0;
}

int BackgroundWork::progressTotal() const
{
    return current ? current->job->stepCount() : 0;
}

void BackgroundWork::taskEnded(const std::shared_ptr<Task>& task, QThread* thread)
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
    lastFinished = std::move(task->job);
    emit finished();
}
