#include "analyzers/ui/AnalysedSegyFile.h"

#include "base/ObrConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"

#include <QFileInfo>

AnalysedSegyFile::AnalysedSegyFile(ObrConsole* console, const QString& standardFormatPath,
                                   const QString& path)
    : console(console), path(path), standardFormatPath(standardFormatPath)
{}

AnalysedSegyFile::~AnalysedSegyFile() = default;

void AnalysedSegyFile::loadFormat()
{
    if (format)
        return;
    if (QFileInfo::exists(standardFormatPath)) {
        auto file = std::make_unique<SegyFormatFile>(standardFormatPath, 0);
        if (file->read()) {
            formatFile = std::move(file);
            format = &formatFile->format();
        }
    }
    if (!format) {
        // Without the standard file the built-in standard layout serves: a missing file must
        // not leave the analyzer unable to open anything.
        builtInFormat = std::make_unique<SegyFormat>(false);
        format = builtInFormat.get();
    }
}

bool AnalysedSegyFile::reopen()
{
    data.reset();
    auto opened = std::make_unique<SegyData>(console, path, 0u, format);
    if (!opened->ok())
        return false;
    data = std::move(opened);
    return true;
}

std::unique_ptr<SegyFileJob> AnalysedSegyFile::job(int steps, SegyFileJob::Work work) const
{
    return std::make_unique<SegyFileJob>(path, *format, console->detailLevel(), steps, std::move(work),
                                         input);
}

double AnalysedSegyFile::recordTime() const
{
    return data ? double(data->samples()) * double(data->sampleInterval()) : 0.0;
}
