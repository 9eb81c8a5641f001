#include "cli/CliTool.h"
#include "cli/QtMessages.h"
#include "cli/TerminalConsole.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

#include <algorithm>

namespace {

QString mainHelp()
{
    QString text = QStringLiteral("Usage: obrio <tool> <action> [options] ARGS\n"
                                  "       obrio --help | --version\n\n"
                                  "Seismic field data tools of the OBR IO Utility, without windows.\n"
                                  "A device argument is a disk path, tape:N (drive N of the registry)\n"
                                  "or tape:PATH (a tape image used as a drive).\n\n"
                                  "Options for every tool:\n"
                                  "  -v, -vv     show debug lines (-v) and also low-level lines (-vv)\n"
                                  "  --help      describe the tool\n\n"
                                  "Tools:\n");
    std::vector<CliTool> sorted = cli::tools();
    std::sort(sorted.begin(), sorted.end(),
              [](const CliTool& a, const CliTool& b) { return qstrcmp(a.name, b.name) < 0; });
    for (const CliTool& tool : sorted)
        text += QStringLiteral("  %1%2\n").arg(QString::fromLatin1(tool.name), -12).arg(QString::fromUtf8(tool.summary));
    text += QStringLiteral("\nExit status: 0 when the job succeeded, 1 when it failed, 2 on a usage error.\n");
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("OBR IO Utility"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(OBR_VERSION_MAJOR).arg(OBR_VERSION_MINOR).arg(OBR_VERSION_BUILD));

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    // Verbosity is global: -v gives level 2, -vv level 3, wherever they stand.
    int level = 1;
    for (auto it = arguments.begin(); it != arguments.end();) {
        if (*it == QLatin1String("-v") || *it == QLatin1String("--verbose")) {
            level = std::max(level, 2);
            it = arguments.erase(it);
        } else if (*it == QLatin1String("-vv")) {
            level = 3;
            it = arguments.erase(it);
        } else {
            ++it;
        }
    }

    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h") || arguments.first() == QLatin1String("help")) {
        cli::printText(mainHelp());
        return arguments.isEmpty() ? cli::UsageError : cli::Success;
    }
    if (arguments.first() == QLatin1String("--version")) {
        cli::printText(QStringLiteral("obrio %1").arg(QCoreApplication::applicationVersion()));
        return cli::Success;
    }

    const QString toolName = arguments.takeFirst();
    for (const CliTool& tool : cli::tools()) {
        if (toolName == QLatin1String(tool.name)) {
            TerminalConsole console(level);
            const QtMessages qtMessages(console);
            std::unique_ptr<QCoreApplication> application;
            if (tool.needsGui && tool.needsGui(arguments)) {
                // The labels of pictures need fonts, which need a GUI application; no display.
                if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                    qputenv("QT_QPA_PLATFORM", "offscreen");
                application = std::make_unique<QGuiApplication>(argc, argv);
            } else {
                application = std::make_unique<QCoreApplication>(argc, argv);
            }
            return tool.run(arguments, console);
        }
    }
    return cli::usageError(QStringLiteral("unknown tool '%1' (see obrio --help)").arg(toolName));
}
