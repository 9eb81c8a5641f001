#pragma once

#include <QString>
#include <functional>
#include <vector>

// Work cut into numbered blocks, done on several threads. Blocks are handed out in increasing
// order, each to the first thread that is free, so that threads reading a file in blocks read
// it front to back together. Callers keep each block's result apart and merge them in block
// order: the result is then the same whatever the number of threads.
namespace BlockPool {

// A block whose work ended in an exception, and why: "out of memory" for std::bad_alloc, the
// exception's what() for others.
struct Failure {
    int block = 0;
    QString reason;
};

// The threads a job uses when not told: the processor's cores.
int defaultThreads();
// Runs work(worker, block) once for every block 0 to count - 1 on up to threads threads, the
// caller's among them, and returns when all are done. worker (0 to threads - 1) tells which
// thread runs the block, for state a thread keeps from block to block. An exception ends its
// block only: the others are still done, and the blocks that failed are returned in order.
[[nodiscard]] std::vector<Failure> run(int count, int threads,
                                       const std::function<void(int worker, int block)>& work);

} // namespace BlockPool
