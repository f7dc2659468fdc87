// Positioning and bounds shared by the trace readers and writers.
#pragma once

#include <cstdint>

#include "dv/file.h"

namespace scrivel {

// Moves to `offset`, skipping the seek when the file is already there: a
// seek on a stream that is being written flushes its buffer, so writing
// traces in order would otherwise cost one system call per trace.
inline bool seekTo(dv::File& f, int64_t offset) {
  if (offset < 0) return false;
  if (f.position() == offset) return true;
  return f.seek(offset) == offset;
}

// Traces up to this size are read straight into a buffer (a short read is
// the failure); larger claims are first checked against the file's length,
// so a hostile count never sizes an allocation beyond what the file holds.
// Asking for the length costs a flush of the read buffer, hence the limit.
constexpr uint64_t kUncheckedTraceBytes = 1u << 20;

inline bool bytesAvailable(dv::File& f, int64_t offset, uint64_t bytes) {
  if (bytes <= kUncheckedTraceBytes) return true;
  const int64_t length = f.length();
  return length >= offset && (uint64_t)(length - offset) >= bytes;
}

}  // namespace scrivel
