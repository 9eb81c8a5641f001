#include "copy/TapeScanJob.h"

#include "base/ObrConsole.h"
#include "copy/CopyOperator.h"
#include "devices/TapeDevice.h"

TapeScanJob::TapeScanJob(ObrConsole* console, JobProgress* progress, TapeDevice* tape, TapeScanMode mode)
    : console(console), progress(progress), tape(tape), blocks(tape, progress)
{
    result_.mode = mode;
}

bool TapeScanJob::run()
{
    progress->startProgress(JobProgress::unknownTotal);
    if (!tape->rewind()) {
        result_.stopped = QStringLiteral("the tape %1 could not be rewound").arg(tape->name());
        console->error(result_.stopped, false);
        progress->endProgress();
        return false;
    }
    for (tapeFile = 1;; ++tapeFile) {
        blocks.start();
        if (result_.mode == TapeScanMode::Segd)
            scanSegdFile();
        else
            scanSegyFile();
        if (blocks.stopped()) {
            result_.aborted = true;
            break;
        }
        if (blocks.readEnd() > 0 || blocks.driveFailed()) {
            result_.tapeFiles = tapeFile;
            result_.bytes += blocks.readEnd();
        }
        progress->showProgress(result_.entries.size());
        // A damaged tape file is passed over where the drive can space past it.
        if (blocks.driveFailed() && !tape->skipFiles(1)) {
            result_.stopped =
                QStringLiteral("the tape could not be read or spaced past tape file %1").arg(tapeFile);
            console->error(result_.stopped, false);
            break;
        }
        // The end of data, or an empty tape file (a second file mark in a row), ends the tape.
        if (blocks.endOfData() || (blocks.readEnd() == 0 && !blocks.driveFailed()))
            break;
    }
    progress->endProgress();
    endTape();
    return result_.complete();
}

void TapeScanJob::add(TapeScanEntry entry)
{
    // A file in hand when the operator stopped the scan is not listed.
    if (blocks.stopped())
        return;
    entry.tapeFile = tapeFile;
    // A drive failure is the cause of whatever else went wrong in the tape file.
    if (blocks.driveFailed())
        entry.problem =
            QStringLiteral("the drive could not read the tape file after byte %1").arg(blocks.readEnd());
    if (!entry.problem.isEmpty())
        console->warning(QStringLiteral("tape file %1: %2").arg(tapeFile).arg(entry.problem), false);
    result_.entries.append(entry);
}

void TapeScanJob::endTape()
{
    if (tape->unloadAtEnd())
        static_cast<void>(tape->unload());
    else if (!tape->noRewind())
        static_cast<void>(tape->rewind());
}
