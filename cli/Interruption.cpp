#include "cli/Interruption.h"

#include "base/WholeFile.h"

#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t listeners = 0;
volatile std::sig_atomic_t stopAsked = 0;

const char stoppingText[] = "\nobrio: stopping at the next block; Ctrl-C again ends at once\n";

void interrupted(int signalNumber)
{
    if (listeners > 0 && !stopAsked) {
        stopAsked = 1;
        // Only write(2) is safe here: no Qt, no stdio.
        static_cast<void>(::write(STDERR_FILENO, stoppingText, sizeof stoppingText - 1));
        return;
    }
    WholeFile::removeAllPending();
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

namespace Interruption {

void install()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = interrupted;
    sigemptyset(&action.sa_mask);
    // Reads and writes in progress go on; the job looks at the request between blocks.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool requested()
{
    return stopAsked != 0;
}

Listening::Listening()
{
    listeners = listeners + 1;
}

Listening::~Listening()
{
    listeners = listeners - 1;
}

} // namespace Interruption
