#include "app/HelpPages.h"
#include "base/WorkingRoot.h"
#include "cli/CliTool.h"
#include "cli/TerminalConsole.h"
#include "seismic/SegyFormatFile.h"

namespace {

int runSetup(const QStringList& arguments, TerminalConsole& console)
{
    if (arguments.contains(QLatin1String("--help"))) {
        cli::printText(QStringLiteral("Usage: obrio setup\n\n"
                                      "Creates the working root (%1) and its folders %2\n"
                                      "where they are missing, as an installation would, and copies the\n"
                                      "help pages into Docs (pages already there are kept) and the\n"
                                      "standard SEG-Y format into SegyFormats (when missing).\n")
                           .arg(WorkingRoot::path(), WorkingRoot::folderNames().join(QStringLiteral(", "))));
        return cli::Success;
    }
    if (!arguments.isEmpty())
        return cli::usageError(QStringLiteral("setup takes no arguments"));
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

OBRIO_TOOL(setup, "setup", "create the working root and its folders, install the help pages", runSetup)
