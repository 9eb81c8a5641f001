#include "cli/CliCommand.h"

OBRIO_COMMAND(segd,
              cli::Command::tool("segd", QStringLiteral("SEG-D field files: headers, trace header export, "
                                                        "hex dumps, pictures, directory scans"))
                  .describe(QStringLiteral(
                      "Looks inside SEG-D field files of revisions 0 to 3.1 in the demultiplexed\n"
                      "formats (8015, 8022, 8024, 8036, 8038, 8042, 8044, 8048, 8058, 8080), read by\n"
                      "the standard's rules whatever recorder wrote them, each trace where the file's\n"
                      "own headers and trace headers place it. Files of Sercel recorders (manufacturer\n"
                      "code 13) are read with the Sercel additions, as the SEG-D analyzer reads them.")))
