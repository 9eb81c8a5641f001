#include "base/FileMapping.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The mappings in use, for the bus error handler: a fixed table, so that nothing is allocated or
// locked there. More mappings at once than slots are not made (the caller reads instead).
struct Slot {
    std::atomic<std::uintptr_t> start{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> cut{false};
};
constexpr int slots = 32;
Slot mappings[slots];
struct sigaction previous {};

// A bus error inside a mapping is a page beyond the end of a file cut meanwhile: a page of zeros
// takes its place and the access is done again. Any other is the previous handler's.
void onBusError(int signal, siginfo_t* info, void* context)
{
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Slot& slot : mappings) {
        if (address < slot.start.load() || address >= slot.end.load())
            continue;
        const auto pageSize = std::uintptr_t(sysconf(_SC_PAGESIZE));
        void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
        if (mmap(page, pageSize, PROT_READ, MAP_FIXED | MAP_PRIVATE | MAP_ANONYMOUS, -1, 0) != MAP_FAILED) {
            slot.cut.store(true);
            return;
        }
    }
    if (previous.sa_flags & SA_SIGINFO) {
        previous.sa_sigaction(signal, info, context);
        return;
    }
    // Back to what was there before; the access faults again and takes that way.
    sigaction(SIGBUS, &previous, nullptr);
}

void installHandler()
{
    static std::once_flag installed;
    std::call_once(installed, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &previous);
    });
}

} // namespace

bool FileMapping::map(int handle, qint64 size)
{
    unmap();
    if (size <= 0)
        return false;
    installHandler();
    for (int k = 0; k < slots && slot < 0; ++k) {
        std::uintptr_t none = 0;
        if (mappings[k].start.compare_exchange_strong(none, 1))
            slot = k;
    }
    if (slot < 0)
        return false;
    void* mapped = mmap(nullptr, size_t(size), PROT_READ, MAP_SHARED, handle, 0);
    if (mapped == MAP_FAILED) {
        mappings[slot].start.store(0);
        slot = -1;
        return false;
    }
    madvise(mapped, size_t(size), MADV_SEQUENTIAL);
    bytes = static_cast<const char*>(mapped);
    length = size;
    Slot& taken = mappings[slot];
    taken.cut.store(false);
    taken.end.store(reinterpret_cast<std::uintptr_t>(bytes) + std::uintptr_t(size));
    taken.start.store(reinterpret_cast<std::uintptr_t>(bytes));
    return true;
}

void FileMapping::unmap()
{
    if (slot < 0)
        return;
    Slot& taken = mappings[slot];
    taken.end.store(0);
    munmap(const_cast<char*>(bytes), size_t(length));
    taken.start.store(0);
    slot = -1;
    bytes = nullptr;
    length = 0;
}

bool FileMapping::cut() const
{
    return slot >= 0 && mappings[slot].cut.load();
}
