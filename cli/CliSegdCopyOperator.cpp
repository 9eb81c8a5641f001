#include "cli/CliSegdCopyOperator.h"

#include "cli/TerminalConsole.h"
#include "devices/TapeDevice.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void interrupt(int)
{
    interrupted = 1;
}

} // namespace

CliSegdCopyOperator::CliSegdCopyOperator(TerminalConsole& console, const QList<DeviceArgument>& nextTapes,
                                         const QList<DeviceArgument>& nextOutputTapes)
    : console(console), input(console, QStringLiteral("field files"), nextTapes),
      nextOutputTapes(nextOutputTapes)
{
    interrupted = 0;
    std::signal(SIGINT, interrupt);
}

CliSegdCopyOperator::~CliSegdCopyOperator()
{
    std::signal(SIGINT, SIG_DFL);
}

bool CliSegdCopyOperator::keepAlive()
{
    return interrupted == 0;
}

TapeDevice* CliSegdCopyOperator::nextInputTape(TapeDevice* drive)
{
    return input.nextInputTape(drive);
}

TapeDevice* CliSegdCopyOperator::nextOutputTape(TapeDevice* drive)
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
    // The options chosen for the job hold for every tape of it.
    next->setNoRewind(drive->noRewind());
    next->setUnloadAtEnd(drive->unloadAtEnd());
    if (!next->open(1)) {
        outputChangeFailed = true;
        return nullptr;
    }
    taken.push_back(std::move(tape));
    return next;
}
