#include "analyzers/SegyFileJob.h"

#include "devices/ObrDevice.h"
#include "seismic/SegyData.h"

SegyFileJob::SegyFileJob(const QString& path, const SegyFormat& format, int detailLevel, int steps, Work work,
                         Input input)
    : WorkerJob(detailLevel), path(path), format(format), steps(steps), work(std::move(work)),
      input(std::move(input))
{}

void SegyFileJob::run(const JobSteps& jobSteps)
{
    const auto opened = input ? std::make_unique<SegyData>(input(&lines, path).release(), 0u, &format)
                              : std::make_unique<SegyData>(&lines, path, 0u, &format);
    if (!opened->ok())
        return;
    // The window that asked has opened the file already and said what opening it had to say.
    lines.clear();
    work(*opened, jobSteps);
}
