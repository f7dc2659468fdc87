// Whole-trace conversion of float samples to a writer's integer type by the
// shared clipping rule (clip.h). Traces whose samples all lie inside the
// range (the usual case) take a branch-free loop the compiler vectorises;
// any sample outside it, or NaN, sends the whole trace through clipSample,
// which reports each clipped sample. Both paths store the same values.
#pragma once

#include "clip.h"

namespace scrivel {

// store(i, value) receives the stored integer of sample i.
template <typename Store>
inline int convertSamples(const float* in, int n, long lo, long hi, long zero, int traceIndex,
                          const char* path, Store store) {
  const double below = (double)lo - 1.0, above = (double)hi + 1.0;
  bool inside = true;
  for (int i = 0; i < n; ++i) {
    double v = in[i];
    inside &= (v > below) & (v < above);  // false for NaN as well
  }
  int result = 0;
  if (!inside) {
    for (int i = 0; i < n; ++i) store(i, clipSample(in[i], lo, hi, zero, i, traceIndex, path, &result));
    return result;
  }
  const long top = zero + hi, bottom = zero + lo;
  for (int i = 0; i < n; ++i) {
    long stored = floorToLong((double)zero + (double)in[i] + 0.5);
    stored = stored > top ? top : stored;
    stored = stored < bottom ? bottom : stored;
    store(i, stored);
  }
  return result;
}

}  // namespace scrivel
