#include "cli/CliCommand.h"
#include "cli/CliInvocation.h"
#include "cli/CliRun.h"
#include "cli/Interruption.h"
#include "cli/QtMessages.h"
#include "cli/TerminalConsole.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <clocale>
#include <csignal>
#include <memory>

int main(int argc, char** argv)
{
    // A file grown past the size limit is a write error the job reports, not a reason to die.
    std::signal(SIGXFSZ, SIG_IGN);
    Interruption::install();
    QCoreApplication::setOrganizationName(QStringLiteral("Corvane"));
    QCoreApplication::setApplicationName(QStringLiteral("OBR IO Utility"));
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(OBR_VERSION_MAJOR).arg(OBR_VERSION_MINOR).arg(OBR_VERSION_BUILD));

    // The command line is read before the application exists (its kind depends on the command),
    // so the locale Qt would set up is set up here, before any text is converted.
    std::setlocale(LC_ALL, "");
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    const cli::Invocation invocation(arguments);
    if (invocation.answered())
        return invocation.status();

    TerminalConsole console(invocation.detailLevel());
    const QtMessages qtMessages(console);
    std::unique_ptr<QCoreApplication> application;
    if (invocation.command().draws) {
        // The labels of pictures need fonts, which need a GUI application; no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    return cli::runAction(invocation.command(), invocation.arguments(), console);
}
