#include "tests/support/Responsiveness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace obrtest {

bool answersQuickly(const std::function<void()>& action, int forMs, const std::function<bool()>& done,
                    qint64 limitMs)
{
    QElapsedTimer step;
    step.start();
    action();
    qint64 longest = step.elapsed();
    QElapsedTimer total;
    total.start();
    do {
        step.restart();
        bool fired = false;
        QTimer::singleShot(0, [&fired] { fired = true; });
        while (!fired)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        longest = std::max(longest, step.elapsed());
        if (done && done())
            break;
    } while (total.elapsed() < forMs);
    if (longest > limitMs)
        qWarning("the event loop waited %lld ms", longest);
    return longest <= limitMs && (!done || done());
}

bool SlowDisk::read(char* buffer, int length)
{
    QThread::usleep(100);
    return DiskDevice::read(buffer, length);
}

} // namespace obrtest
