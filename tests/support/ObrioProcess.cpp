#include "tests/support/ObrioProcess.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace obrtest {

namespace {

// Enough to keep both cores busy while most runs wait for the loader.
constexpr int runsAtOnce = 4;

QStringList lines(const QByteArray& bytes)
{
    QStringList result = QString::fromLocal8Bit(bytes).split(QLatin1Char('\n'));
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

// A process whose files cannot grow past a size, set in the child before obrio starts.
class LimitedProcess : public QProcess {
public:
    explicit LimitedProcess(qint64 bytes) : bytes(bytes) {}

protected:
    void setupChildProcess() override
    {
        if (bytes < 0)
            return;
        const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    }

private:
    qint64 bytes;
};

std::unique_ptr<QProcess> start(const QString& home, const QStringList& arguments, qint64 fileLimit = -1)
{
    std::unique_ptr<QProcess> process = std::make_unique<LimitedProcess>(fileLimit);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(home);
    process->start(QStringLiteral(OBR_BIN_DIR "/obrio"), arguments);
    process->closeWriteChannel();
    return process;
}

ObrioRun finish(QProcess& process)
{
    ObrioRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = lines(process.readAllStandardOutput());
    run.err = lines(process.readAllStandardError());
    return run;
}

} // namespace

ObrioRun runObrio(const QString& home, const QStringList& arguments)
{
    return finish(*start(home, arguments));
}

ObrioRun runObrioInterrupted(const QString& home, const QStringList& arguments,
                             const std::function<bool()>& ready, int interrupts)
{
    const auto process = start(home, arguments);
    // Without an event loop the process is told to run only here.
    process->waitForStarted();
    QElapsedTimer waited;
    waited.start();
    while (!ready() && process->state() != QProcess::NotRunning && waited.elapsed() < 60000)
        QThread::msleep(1);
    QByteArray told;
    process->setReadChannel(QProcess::StandardError);
    const pid_t pid = pid_t(process->processId());
    if (pid <= 0 || process->state() != QProcess::Running)
        return finish(*process);
    // Stopped, it cannot end its job before the signal is seen.
    ::kill(pid, SIGSTOP);
    for (int k = 0; k < interrupts && process->state() == QProcess::Running; ++k) {
        ::kill(pid, SIGINT);
        if (k == 0)
            ::kill(pid, SIGCONT);
        // Two signals pending at once would count as one.
        while (!told.contains("obrio: stopping") && process->waitForReadyRead(10000))
            told += process->readAllStandardError();
    }
    ObrioRun run = finish(*process);
    run.err = lines(told) + run.err;
    return run;
}

ObrioRun runObrioWithFileLimit(const QString& home, const QStringList& arguments, qint64 bytes)
{
    return finish(*start(home, arguments, bytes));
}

QList<ObrioRun> runObrioEach(const QString& home, const QList<QStringList>& argumentLists)
{
    QList<ObrioRun> runs;
    for (int first = 0; first < argumentLists.size(); first += runsAtOnce) {
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int i = first; i < std::min(first + runsAtOnce, int(argumentLists.size())); ++i)
            processes.push_back(start(home, argumentLists.at(i)));
        for (const auto& process : processes)
            runs.append(finish(*process));
    }
    return runs;
}

QString threadsDiffer(const QString& home, const QStringList& scan, const QString& path)
{
    const QStringList threads = {"1", "2", "3", "7"};
    QList<QStringList> arguments;
    for (const QString& count : threads)
        arguments.append(scan + QStringList{"--threads", count, path});
    const auto shown = [](const ObrioRun& run) {
        QStringList out = run.out.filter(QRegularExpression(QStringLiteral("^(?!Speed:)")));
        return QString::number(run.status) + '\n' + out.join('\n') + '\n' + run.err.join('\n');
    };
    const QList<ObrioRun> runs = runObrioEach(home, arguments);
    QString differences;
    for (int i = 1; i < runs.size(); ++i) {
        if (shown(runs.at(i)) != shown(runs.at(0)))
            differences += QStringLiteral("%1 threads:\n%2\n1 thread:\n%3\n")
                               .arg(threads.at(i), shown(runs.at(i)), shown(runs.at(0)));
    }
    return differences;
}

} // namespace obrtest
