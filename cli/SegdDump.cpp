#include "analyzers/SegdHexDump.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/SegdCommand.h"
#include "cli/TerminalConsole.h"
#include "devices/DiskDevice.h"

#include <algorithm>

namespace {

// The text of a dump is about three times the bytes dumped.
constexpr qint64 largestCount = 1 << 24;

int runDump(const cli::Arguments& arguments, TerminalConsole& console)
{
    const QString path = arguments.positional(0);
    const qint64 start = arguments.integer(QStringLiteral("start"), 1);
    const qint64 count = arguments.integer(QStringLiteral("count"), 256);
    // Any file, whatever its headers say: a damaged one is what a dump is for.
    DiskDevice device(&console, path, 0);
    if (!device.ok())
        return cli::JobFailed;
    const qint64 size = device.size();
    if (start > size) {
        console.error(
            QStringLiteral("%1 holds %2 bytes: byte %3 is beyond its end").arg(path).arg(size).arg(start),
            false);
        return cli::JobFailed;
    }
    QByteArray bytes;
    switch (SegdHexDump::read(device, start, std::min(count, size - start + 1), bytes)) {
    case SegdHexDump::ReadResult::Read:
        break;
    case SegdHexDump::ReadResult::OutOfMemory:
        console.error(QStringLiteral("memory allocation failed for hex dump."), false);
        return cli::JobFailed;
    case SegdHexDump::ReadResult::Failed:
        console.error(QStringLiteral("bytes %1 to %2 of %3 could not be read")
                          .arg(start)
                          .arg(start - 1 + count)
                          .arg(path),
                      false);
        return cli::JobFailed;
    }
    cli::printText(SegdHexDump::text(bytes, start));
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(segdDump,
              cli::Command::action("segd", "dump",
                                   QStringLiteral("hex dump of a byte range, as the analyzer shows it"),
                                   runDump)
                  .describe(QStringLiteral(
                      "Writes bytes N to N + M - 1 of the file (no further than its end) as the SEG-D\n"
                      "analyzer's hex dump does: a line \"Bytes N - L\", then 32 bytes a line in groups\n"
                      "of four, each line led by its 0-based file offset. Any file can be dumped,\n"
                      "whatever its headers hold."))
                  .option(cli::option("start", "N",
                                      QStringLiteral("the first byte, counted from 1 (default 1)"),
                                      cli::integer(1)))
                  .option(cli::option("count", "M", QStringLiteral("bytes to dump (default 256)"),
                                      cli::integer(1, largestCount)))
                  .argument(SegdCommand::fileArgument()))
