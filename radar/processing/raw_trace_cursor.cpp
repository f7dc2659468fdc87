#include "processing/raw_trace_cursor.h"

#include <algorithm>
#include <cstring>

#include "project/messages.h"
#include "project/quv.h"
#include "project/raw_traces.h"

namespace quv {

RawTraceCursor::RawTraceCursor(const RawData& d) : d_(d) {
  for (auto& c : cache_) c.assign((size_t)std::max(d.samples, 1), 0.0f);
}

bool RawTraceCursor::inMemory(int i) const {
  return i < (int)d_.buffers.size() && d_.buffers[(size_t)i];
}

bool RawTraceCursor::open() {
  bool all = true;
  for (int i = 0; i < d_.traces && all; ++i) all = inMemory(i);
  if (all) return true;
  auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
  return open && d_.header && open(rawSamplesPath(d_).c_str(), &file_) == SCRIVEL_OK;
}

const float* RawTraceCursor::trace(int i) {
  if (inMemory(i)) return d_.buffers[(size_t)i].get();
  for (int k = 0; k < 2; ++k)
    if (cached_[k] == i) {
      older_ = 1 - k;
      return cache_[k].data();
    }
  const int k = older_;
  older_ = 1 - older_;
  cached_[k] = i;
  bool marked = false;
  const int quiet = problems_ >= 25 ? 1 : 0;
  if (i < 0 || i >= d_.traces || !d_.header) {
    std::fill(cache_[k].begin(), cache_[k].end(), 0.0f);
  } else if (readRawTrace(d_, file_, i, quiet, cache_[k].data(), marked) != SCRIVEL_OK &&
             ++problems_ == 25) {
    msg(0, kMsgWarningMoreThan25TraceWarningsOr);
  }
  return cache_[k].data();
}

}  // namespace quv
