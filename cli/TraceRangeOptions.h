#pragma once

#include "cli/CliParameters.h"

#include <QString>

namespace cli {
class Arguments;
}

// --first N and --last M of the actions that read a range of traces.
namespace TraceRangeOptions {

cli::Option first();
// `defaultText` says what --last is when not given ("the file's last").
cli::Option last(const QString& defaultText);
// The range asked: --first (default 1) and --last (default `count` traces from the first, or up
// to the largest trace number when `count` is 0); false, with the usage error given, for a --last
// before --first.
[[nodiscard]] bool read(const cli::Arguments& arguments, int count, int* first, int* last);

} // namespace TraceRangeOptions
