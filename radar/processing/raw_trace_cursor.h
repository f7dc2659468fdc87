// Reading a raw item's traces one after the other, as the operations that
// build a profile from raw data walk them (rubber sheeting, join): traces
// the raw window holds in memory are taken from there, the others read
// through the format library; the last two traces read are kept, so a
// walk that takes each trace with its successor reads every trace once.
#pragma once

#include <vector>

#include "dv/file.h"
#include "project/raw.h"

namespace quv {

class RawTraceCursor {
 public:
  explicit RawTraceCursor(const RawData& d);
  // False (with the library's message) when the recording cannot be opened
  // while some trace is not in memory.
  bool open();
  // Trace i (0..traces-1) of d.samples floats; a trace that does not read
  // gives zeros (after 25 such traces the library is told to be quiet).
  const float* trace(int i);
  int problems() const { return problems_; }

 private:
  bool inMemory(int i) const;
  const RawData& d_;
  dv::File file_;
  std::vector<float> cache_[2];
  int cached_[2] = {-1, -1};
  int older_ = 0;
  int problems_ = 0;
};

}  // namespace quv
