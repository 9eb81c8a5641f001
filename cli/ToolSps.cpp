#include "cli/CliCommand.h"

OBRIO_COMMAND(
    sps, cli::Command::tool("sps",
                            QStringLiteral("SPS files: field ranges, column layouts, survey checks and maps"))
             .describe(QStringLiteral(
                 "Works as the SPS analyzers do. A layout says in which columns each field of a\n"
                 "source (S), receiver (R) or relation (X) record lies. The layout in force for a\n"
                 "file is the built-in one, over it the user default of the kind\n"
                 "(AuxiliaryFormat/SPS Default Format.fmt, RPS, XPS in the working root), over that\n"
                 "the file's own FILE.fmt. \"sps21\" names the layout of SPS revision 2.1.")))
