#pragma once

#include "base/DeferredConsole.h"

#include <atomic>

// What a long read shares with the thread that waits for it: a flag that stops it soon after it
// is set, and a count of the steps (traces) done so far.
struct JobSteps {
    const std::atomic<bool>& cancel;
    std::atomic<int>& done;

    bool cancelled() const { return cancel.load(std::memory_order_relaxed); }
    void step() const { done.fetch_add(1, std::memory_order_relaxed); }
};

// A job that reads a file on a worker thread while a window goes on answering (BackgroundWork).
// It reads through objects of its own and keeps its console lines for the window to pass on.
class WorkerJob {
public:
    virtual ~WorkerJob() = default;
    // Runs on the worker; keeps its result for the thread that started it.
    virtual void run(const JobSteps& steps) = 0;
    // How many steps the job takes, for its progress.
    virtual int stepCount() const = 0;
    DeferredConsole& console() { return lines; }

protected:
    explicit WorkerJob(int detailLevel) : lines(detailLevel) {}
    DeferredConsole lines;
};
