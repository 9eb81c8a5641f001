#include "cli/CliCommand.h"

OBRIO_COMMAND(
    segy,
    cli::Command::tool("segy",
                       QStringLiteral("SEG-Y files: headers, field ranges, trace dumps, scans, sorting, "
                                      "format files, pictures"))
        .describe(QStringLiteral("Looks inside SEG-Y files. Every action reads through a SEG-Y format\n"
                                 "definition: --format FILE.xml, or the built-in standard format. The\n"
                                 "byte order is taken from the binary header unless the format fixes it."))
        .option(cli::option("format", "FILE.xml",
                            QStringLiteral("read through this SEG-Y format file instead of the "
                                           "standard one"))))
