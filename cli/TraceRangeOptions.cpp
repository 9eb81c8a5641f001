#include "cli/TraceRangeOptions.h"

#include "cli/CliArguments.h"

#include <algorithm>
#include <limits>

namespace TraceRangeOptions {

namespace {

constexpr int lastInt = std::numeric_limits<int>::max();

} // namespace

cli::Option first()
{
    return cli::option("first", "N", QStringLiteral("the first trace (default 1)"), cli::integer(1, lastInt));
}

cli::Option last(const QString& defaultText)
{
    return cli::option("last", "M", QStringLiteral("the last trace (default %1)").arg(defaultText),
                       cli::integer(1, lastInt));
}

bool read(const cli::Arguments& arguments, int count, int* first, int* last)
{
    *first = int(arguments.integer(QStringLiteral("first"), 1));
    const qint64 standard = count > 0 ? std::min<qint64>(*first + qint64(count) - 1, lastInt) : lastInt;
    *last = int(arguments.integer(QStringLiteral("last"), standard));
    if (*last >= *first)
        return true;
    arguments.usageError(QStringLiteral("--last must not lie before --first"));
    return false;
}

} // namespace TraceRangeOptions
