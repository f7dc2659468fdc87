// Work spread over the machine's cores: a range of items cut into blocks
// that worker threads (and the calling thread) take in turn. Each block is
// computed exactly as it would be alone, so the results do not depend on
// the number of threads.
#pragma once

#include <cstdint>
#include <functional>

namespace quv {

// Threads a parallel loop uses: the number set (1 makes every loop run on
// the calling thread; 0 restores the default), else DELVAR_THREADS, else the
// hardware's cores.
int workerThreads();
void setWorkerThreads(int threads);

// Calls body(worker, begin, end) for consecutive blocks of at most `block`
// items covering [0, count); worker is 0 .. workerThreads() - 1 and no two
// blocks run on one worker at once. Before the first block and between its
// own blocks the calling thread (worker 0) calls tick(done), `done` items
// being finished; a tick
// returning false hands out no further blocks, and the loop returns false
// once the blocks under way are done.
bool parallelBlocks(int64_t count, int64_t block,
                    const std::function<void(int worker, int64_t begin, int64_t end)>& body,
                    const std::function<bool(int64_t done)>& tick = {});

}  // namespace quv
