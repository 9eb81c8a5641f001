#pragma once

#include "cli/CliParameters.h"

namespace cli {
class Arguments;
}

// "--threads N" of the scans: how many threads read and decode.
namespace ThreadsOption {

cli::Option option();
// The threads asked for, else the processor's cores.
int value(const cli::Arguments& arguments);

} // namespace ThreadsOption
