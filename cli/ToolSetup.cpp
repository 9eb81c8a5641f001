#include "app/HelpPages.h"
#include "base/WorkingRoot.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyFormatFile.h"

namespace {

int runSetup(const cli::Arguments&, TerminalConsole& console)
{
    QString errorText;
    if (!WorkingRoot::create(&errorText)) {
        console.error(errorText, false);
        return cli::JobFailed;
    }
    QStringList copied;
    if (!HelpPages::install(WorkingRoot::path() + QStringLiteral("/Docs"), &copied, &errorText)) {
        console.error(errorText, false);
        return cli::JobFailed;
    }
    if (!SegyFormatFile::installStandard(WorkingRoot::path() + QStringLiteral("/SegyFormats"), &errorText)) {
        console.error(errorText, false);
        return cli::JobFailed;
    }
    console.message(QStringLiteral("Working root ready: %1").arg(WorkingRoot::path()), Qt::black);
    if (!copied.isEmpty())
        console.message(QStringLiteral("Help pages copied: %1").arg(copied.join(QStringLiteral(", "))),
                        Qt::black);
    return cli::Success;
}

} // namespace

OBRIO_COMMAND(
    setup,
    cli::Command::tool("setup",
                       QStringLiteral("create the working root and its folders, install the help pages"),
                       runSetup)
        .describe(QStringLiteral("Creates the working root (the documents folder followed by /krd) and its\n"
                                 "folders %1 where they are missing, as an installation\n"
                                 "would, and copies the help pages into Docs (pages already there are kept)\n"
                                 "and the standard SEG-Y format into SegyFormats (when missing).")
                      .arg(WorkingRoot::folderNames().join(QStringLiteral(", ")))))
