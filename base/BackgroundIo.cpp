#include "base/BackgroundIo.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>
#include <unistd.h>
#include <utility>

BackgroundIo::~BackgroundIo()
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    if (worker.joinable())
        worker.join();
    // Copies not done still hold their source.
    for (size_t k = size_t(finished); k < transfers.size(); ++k) {
        if (transfers[k].kind == Kind::Copy)
            ::close(transfers[k].from);
    }
}

void BackgroundIo::startWrite(int handle, const char* data, qint64 length, qint64 offset, Check check)
{
    Transfer transfer;
    transfer.check = std::move(check);
    transfer.handle = handle;
    transfer.buffer = const_cast<char*>(data);
    transfer.length = length;
    transfer.offset = offset;
    queue(transfer);
}

void BackgroundIo::startCopy(int from, qint64 offset, int to, qint64 length)
{
    Transfer transfer;
    transfer.kind = Kind::Copy;
    transfer.from = from;
    transfer.handle = to;
    transfer.length = length;
    transfer.offset = offset;
    queue(transfer);
}

void BackgroundIo::queue(const Transfer& transfer)
{
    {
        const std::lock_guard<std::mutex> lock(mutex);
        transfers.push_back(transfer);
        if (!worker.joinable())
            worker = std::thread([this] { work(); });
    }
    wake.notify_all();
}

BackgroundIo::Outcome BackgroundIo::wait()
{
    std::unique_lock<std::mutex> lock(mutex);
    if (transfers.empty())
        return {};
    wake.wait(lock, [this] { return finished > 0; });
    const Outcome outcome = transfers.front().outcome;
    transfers.pop_front();
    --finished;
    return outcome;
}

int BackgroundIo::done()
{
    const std::lock_guard<std::mutex> lock(mutex);
    return finished;
}

void BackgroundIo::work()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return size_t(finished) < transfers.size() || stopping; });
        if (stopping)
            return;
        // Later transfers are appended only: the one in hand stays where it is.
        Transfer& transfer = transfers[size_t(finished)];
        const Transfer asked = transfer;
        lock.unlock();
        Outcome outcome;
        if (asked.kind == Kind::Copy) {
            outcome = copyAll(asked.from, asked.offset, asked.handle, asked.length);
            ::close(asked.from);
        } else {
            outcome.error = asked.check ? asked.check() : 0;
            if (outcome.error == 0)
                outcome = writeAll(asked.handle, asked.buffer, asked.length, asked.offset);
        }
        lock.lock();
        transfer.outcome = outcome;
        transfer.finished = true;
        ++finished;
        wake.notify_all();
    }
}

BackgroundIo::Outcome BackgroundIo::writeAll(int handle, const char* data, qint64 length, qint64 offset)
{
    Outcome moved;
    while (moved.done < length) {
        const size_t left = size_t(length - moved.done);
        const ssize_t count = offset < 0 ? ::write(handle, data + moved.done, left)
                                         : ::pwrite(handle, data + moved.done, left, offset + moved.done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            // A write that takes nothing without an error is a full device.
            moved.error = count < 0 ? errno : ENOSPC;
            break;
        }
        moved.done += count;
    }
    return moved;
}

BackgroundIo::Outcome BackgroundIo::readAll(int handle, char* buffer, qint64 length, qint64 offset)
{
    Outcome moved;
    while (moved.done < length) {
        const ssize_t count =
            ::pread(handle, buffer + moved.done, size_t(length - moved.done), offset + moved.done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            moved.error = errno;
        if (count <= 0)
            break;
        moved.done += count;
    }
    return moved;
}

BackgroundIo::Outcome BackgroundIo::copyAll(int from, qint64 offset, int to, qint64 length)
{
    Outcome moved;
    bool inKernel = true;
    std::unique_ptr<char[]> bounce;
    constexpr qint64 bounceBytes = qint64(1) << 20;
    while (moved.done < length && moved.error == 0) {
        if (inKernel) {
            loff_t at = offset + moved.done;
            const ssize_t count = ::copy_file_range(from, &at, to, nullptr, size_t(length - moved.done), 0);
            if (count > 0) {
                moved.done += count;
                continue;
            }
            if (count < 0 && errno == EINTR)
                continue;
            // Files the kernel cannot copy between go through memory, as does an input that seems
            // to end: the read then tells a fault from the end.
            if (count < 0 && errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
                moved.error = errno;
                break;
            }
            inKernel = false;
            bounce.reset(new (std::nothrow) char[size_t(bounceBytes)]);
            if (!bounce) {
                moved.error = ENOMEM;
                break;
            }
        }
        const Outcome got =
            readAll(from, bounce.get(), std::min(bounceBytes, length - moved.done), offset + moved.done);
        if (got.error != 0 || got.done == 0) {
            moved.error = got.error != 0 ? got.error : EIO;
            break;
        }
        const Outcome put = writeAll(to, bounce.get(), got.done);
        moved.done += put.done;
        moved.error = put.error;
    }
    return moved;
}
