#include "copy/InputTapeChange.h"

#include "copy/CopyOperator.h"
#include "copy/JobConsole.h"
#include "devices/TapeDevice.h"

TapeDevice* endInputTape(JobConsole& lines, CopyOperator* copyOperator, TapeDevice* tape, int& tapeNumber)
{
    if (!tape->noRewind() && tape->rewind())
        lines.say(QStringLiteral("Rewind %1").arg(tape->name()));
    lines.say(QString());
    lines.say(QStringLiteral("End of input tape %1").arg(tapeNumber));
    ++tapeNumber;
    if (tape->unloadAtEnd())
        static_cast<void>(tape->unload()); // a failed unload is reported by the drive and changes nothing
    TapeDevice* next = copyOperator->nextInputTape(tape);
    if (!next)
        return nullptr;
    lines.say(QString());
    lines.say(QStringLiteral("Start of input tape %1").arg(tapeNumber));
    next->clearFileMark();
    return next;
}
