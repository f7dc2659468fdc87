// Reverse, Crop and Reorder of recordings whose traces are blocks of one
// size at fixed places (GSSI scans after the header, SEG-Y trace headers
// with their samples): the stored bytes of each trace are copied into the
// new recording instead of being decoded and encoded again by the format
// library, with only what the format's trace writer would change put right
// (the GSSI marker words). The bytes written are those the library's reader
// and writer would give; where that cannot be told from the header alone (a
// sample the round trip through single-precision floats would change), the
// copy says so and the caller writes the traces through the library.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "project/raw.h"

namespace quv {

enum class TraceCopy {
  Done,      // every trace written
  NotExact,  // nothing usable written: the library must write the traces
  Failed,    // the recording could not be read or the new file written
};

// Writes the traces of `d` named by `order` (1-based, negative: that trace
// blanked, as ParseTraceOrder gives them) into `path`, which holds the
// header just written from `newHeader` (a record of the item's format),
// where that header puts them. `progress`
// is called before each trace. On Failed, `why` says what went wrong.
TraceCopy copyTraceBytes(const RawData& d, const void* newHeader, const std::vector<int>& order,
                         const std::string& path, const std::function<void(int, int)>& progress,
                         std::string& why);

}  // namespace quv
