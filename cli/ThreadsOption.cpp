#include "cli/ThreadsOption.h"

#include "base/BlockPool.h"
#include "cli/CliArguments.h"

namespace ThreadsOption {

cli::Option option()
{
    return cli::option("threads", "N",
                       QStringLiteral("threads that read and decode (default: the processor's cores)"),
                       cli::integer(1, 64));
}

int value(const cli::Arguments& arguments)
{
    return int(arguments.integer(QStringLiteral("threads"), BlockPool::defaultThreads()));
}

} // namespace ThreadsOption
