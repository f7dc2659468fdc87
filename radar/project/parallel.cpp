#include "project/parallel.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

namespace quv {

namespace {

int g_threads = 0;

}  // namespace

int workerThreads() {
  if (g_threads > 0) return g_threads;
  // DELVAR_THREADS keeps a run to fewer cores (a shared machine, a test
  // that must see one order of blocks); a value that is not a count is ignored.
  if (const char* e = std::getenv("DELVAR_THREADS")) {
    char* end = nullptr;
    const long n = std::strtol(e, &end, 10);
    if (end != e && *end == '\0' && n >= 1 && n <= 1024) return int(n);
  }
  return std::max(1, int(std::thread::hardware_concurrency()));
}

void setWorkerThreads(int threads) { g_threads = std::max(threads, 0); }

bool parallelBlocks(int64_t count, int64_t block,
                    const std::function<void(int, int64_t, int64_t)>& body,
                    const std::function<bool(int64_t)>& tick) {
  if (count <= 0) return true;
  if (tick && !tick(0)) return false;
  block = std::max<int64_t>(block, 1);
  const int64_t blocks = (count + block - 1) / block;
  const int workers = int(std::min<int64_t>(workerThreads(), blocks));
  std::atomic<int64_t> next{0}, done{0};
  std::atomic<bool> stop{false};
  auto run = [&](int worker) {
    for (;;) {
      if (stop.load(std::memory_order_relaxed)) return;
      const int64_t b = next.fetch_add(1);
      if (b >= blocks) return;
      const int64_t begin = b * block, end = std::min(count, begin + block);
      body(worker, begin, end);
      done.fetch_add(end - begin);
      if (worker == 0 && tick && !tick(done.load())) stop = true;
    }
  };
  std::vector<std::thread> threads;
  for (int w = 1; w < workers; ++w) threads.emplace_back(run, w);
  run(0);
  for (auto& t : threads) t.join();
  return !stop;
}

}  // namespace quv
