#include "tests/support/Responsiveness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <ctime>

namespace obrtest {

namespace {

qint64 threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

bool answersQuickly(const std::function<void()>& action, int forMs, const std::function<bool()>& done,
                    qint64 limitMs, TurnClock clock)
{
    const qint64 wallLimit = clock == TurnClock::Wall ? limitMs : 10 * limitMs;
    QElapsedTimer step;
    step.start();
    qint64 cpu = threadCpuMs();
    action();
    qint64 longest = step.elapsed();
    qint64 busiest = threadCpuMs() - cpu;
    QElapsedTimer total;
    total.start();
    do {
        step.restart();
        cpu = threadCpuMs();
        bool fired = false;
        QTimer::singleShot(0, [&fired] { fired = true; });
        while (!fired)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        longest = std::max(longest, step.elapsed());
        busiest = std::max(busiest, threadCpuMs() - cpu);
        if (done && done())
            break;
    } while (total.elapsed() < forMs);
    const bool quick = longest <= wallLimit && (clock == TurnClock::Wall || busiest <= limitMs);
    if (!quick)
        qWarning("the event loop waited %lld ms, working %lld ms of them", longest, busiest);
    return quick && (!done || done());
}

bool SlowDisk::read(char* buffer, int length)
{
    QThread::usleep(100);
    return DiskDevice::read(buffer, length);
}

} // namespace obrtest
