#pragma once

#include "analyzers/WorkerJob.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

class QThread;

// Runs the jobs of a window on worker threads. A newer job makes any older one stale: it is
// told to stop and its result is dropped, so only the latest request is answered.
class BackgroundWork : public QObject {
    Q_OBJECT
public:
    explicit BackgroundWork(QObject* parent = nullptr);
    // Stops every job and waits for its thread.
    ~BackgroundWork() override;

    void start(std::unique_ptr<WorkerJob> job);
    // Drops the current job, if any.
    void cancel();
    bool running() const { return current != nullptr; }
    // Steps done and steps to do of the current job; 0 without one.
    int progressDone() const;
    int progressTotal() const;
    // The job that has just finished, with its result; valid in a slot of `finished`.
    WorkerJob* finishedJob() const { return lastFinished.get(); }

signals:
    // A few times a second while a job runs: steps done of steps to do.
    void progress(int done, int total);
    void finished();

private:
    struct Task;
    void taskEnded(const std::shared_ptr<Task>& task, QThread* thread);

    std::shared_ptr<Task> current;
    std::vector<std::pair<QThread*, std::shared_ptr<Task>>> threads;
    std::unique_ptr<WorkerJob> lastFinished;
    QTimer progressTimer;
};
