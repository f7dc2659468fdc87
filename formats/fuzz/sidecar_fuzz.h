// What the sidecar fuzz targets share: one reader on the input, with and
// without a recording length, and the summary checked for what every
// reader promises (trace numbers from 1, rising, within the recording;
// positions within range).
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scrivel/sidecar.h"

namespace fuzz {

inline void checkSidecar(scrivel::sidecar::Kind kind, const uint8_t* data, size_t size) {
  namespace sc = scrivel::sidecar;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (int traces : {0, 64}) {
    sc::Summary s = sc::readSidecar(kind, bytes, traces);
    int last = 0;
    for (const sc::Fix& f : s.fixes) {
      if (f.trace <= last || (traces > 0 && f.trace > traces)) std::abort();
      if (f.hasPosition && !(std::fabs(f.lat) <= 90 && std::fabs(f.lon) <= 180)) std::abort();
      last = f.trace;
    }
    if (s.skips.size() > size + 1) std::abort();
  }
}

}  // namespace fuzz
