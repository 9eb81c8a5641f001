#include "cli/CliDirCopyOperator.h"

#include "cli/TerminalConsole.h"
#include "devices/TapeDevice.h"

CliDirCopyOperator::CliDirCopyOperator(TerminalConsole& console, const QList<DeviceArgument>& nextInputTapes,
                                       const QList<DeviceArgument>& nextOutputTapes)
    : console(console), inputs(console, QStringLiteral("files"), nextInputTapes),
      nextOutputTapes(nextOutputTapes)
{}

CliDirCopyOperator::~CliDirCopyOperator() = default;

TapeDevice* CliDirCopyOperator::nextOutputTape(TapeDevice* drive)
{
    if (nextOutputTapes.isEmpty())
        return nullptr;
    auto tape = std::make_unique<TapeArgument>();
    QString errorText;
    if (!tape->resolve(nextOutputTapes.takeFirst(), &console, &errorText)) {
        console.error(errorText, false);
        outputChangeFailed = true;
        return nullptr;
    }
    TapeDevice* next = tape->drive();
    if (!next->open(1)) {
        outputChangeFailed = true;
        return nullptr;
    }
    // The options chosen for the job hold for every tape of it.
    next->setNoRewind(drive->noRewind());
    next->setUnloadAtEnd(drive->unloadAtEnd());
    taken.push_back(std::move(tape));
    return next;
}
