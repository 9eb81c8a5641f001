#pragma once

#include "analyzers/WorkerJob.h"
#include "seismic/SegyFormat.h"

#include <QString>
#include <functional>
#include <memory>

class ObrConsole;
class ObrDevice;
class SegyData;

// A job that reads a SEG-Y file on a worker thread: it opens a data set of its own on the file
// through its own copy of the format, so the window goes on with its own meanwhile.
class SegyFileJob : public WorkerJob {
public:
    // Opens the file a job reads, reporting to the console; empty: the disk file itself.
    using Input = std::function<std::unique_ptr<ObrDevice>(ObrConsole* console, const QString& path)>;
    // What the job does with the data set it opened; it counts its steps and stops when told.
    using Work = std::function<void(SegyData& data, const JobSteps& steps)>;

    SegyFileJob(const QString& path, const SegyFormat& format, int detailLevel, int steps, Work work,
                Input input = {});

    void run(const JobSteps& steps) override;
    int stepCount() const override { return steps; }

private:
    QString path;
    SegyFormat format;
    int steps;
    Work work;
    Input input;
};
