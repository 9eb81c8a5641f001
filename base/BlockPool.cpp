#include "base/BlockPool.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace BlockPool {

int defaultThreads()
{
    return std::max(1, QThread::idealThreadCount());
}

std::vector<Failure> run(int count, int threads, const std::function<void(int worker, int block)>& work)
{
    std::atomic<int> next{0};
    std::mutex failuresMutex;
    std::vector<Failure> failures;
    // An exception leaving a thread would end the program: it ends its block instead.
    const auto attempt = [&](int worker, int block) {
        QString reason;
        try {
            work(worker, block);
            return;
        } catch (const std::bad_alloc&) {
            reason = QStringLiteral("out of memory");
        } catch (const std::exception& exception) {
            reason = QString::fromLocal8Bit(exception.what());
        } catch (...) {
            reason = QStringLiteral("an unknown exception");
        }
        const std::lock_guard<std::mutex> lock(failuresMutex);
        failures.push_back({block, reason});
    };
    const auto loop = [&](int worker) {
        for (int block = next++; block < count; block = next++)
            attempt(worker, block);
    };
    const int helpers = std::clamp(threads, 1, std::max(count, 1)) - 1;
    std::vector<std::thread> pool;
    pool.reserve(size_t(helpers));
    for (int worker = 1; worker <= helpers; ++worker) {
        try {
            pool.emplace_back(loop, worker);
        } catch (const std::system_error&) {
            break; // no more threads to be had: the ones running share the blocks
        }
    }
    loop(0);
    for (std::thread& thread : pool)
        thread.join();
    std::sort(failures.begin(), failures.end(),
              [](const Failure& a, const Failure& b) { return a.block < b.block; });
    return failures;
}

} // namespace BlockPool
