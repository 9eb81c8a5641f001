#include "tests/support/ObrioProcess.h"

#include <QProcess>

namespace obrtest {

namespace {
QStringList lines(const QByteArray& bytes)
{
    QStringList result = QString::fromLocal8Bit(bytes).split(QLatin1Char('\n'));
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}
} // namespace

ObrioRun runObrio(const QString& home, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(home);
    process.start(QStringLiteral(OBR_BIN_DIR "/obrio"), arguments);
    process.closeWriteChannel();
    ObrioRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = lines(process.readAllStandardOutput());
    run.err = lines(process.readAllStandardError());
    return run;
}

} // namespace obrtest
