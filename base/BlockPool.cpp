#include "base/BlockPool.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace BlockPool {

int defaultThreads()
{
    return std::max(1, QThread::idealThreadCount());
}

void run(int count, int threads, const std::function<void(int worker, int block)>& work)
{
    std::atomic<int> next{0};
    const auto loop = [&](int worker) {
        for (int block = next++; block < count; block = next++)
            work(worker, block);
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
}

} // namespace BlockPool
