#include "cli/CliSegdCopyOperator.h"

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
    : terminal(console, QStringLiteral("field files"), nextTapes, nextOutputTapes)
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
