#include "cli/CliCommand.h"

OBRIO_COMMAND(segd,
              cli::Command::tool("segd", QStringLiteral("SEG-D field files: headers, trace header export, "
                                                        "hex dumps, pictures, directory scans"))
                  .describe(QStringLiteral(
                      "Looks inside SEG-D field files of revisions 1, 2 and 3 in the demultiplexed\n"
                      "formats (8015, 8022, 8024, 8036, 8038, 8042, 8044, 8048, 8058), read by the\n"
                      "standard's rules whatever recorder wrote them. Files of Sercel recorders\n"
                      "(manufacturer code 13) are read with the Sercel additions, as the SEG-D\n"
                      "analyzer reads them.")))
