// Whole-trace conversion of float samples to a writer's integer type by the
// shared clipping rule (clip.h). Traces whose samples all lie inside the
// range (the usual case) take a branch-free loop the compiler vectorises;
// any sample outside it, or NaN, sends the whole trace through clipSample,
// which reports each clipped sample. Both paths store the same values.
#pragma once

#include <cstdint>

#include "clip.h"

namespace scrivel {

// store(i, value) receives the stored integer of sample i.
template <typename Store>
inline int convertSamples(const float* in, int n, long lo, long hi, long zero, int traceIndex,
                          const char* path, Store store) {
  // Signed ranges of 8 and 16 bits (no zero level) are checked and rounded
  // in single precision, 4 samples to a vector register where doubles take
  // 2: up to 2^23, a float plus 0.5 is exact, as it is in double precision,
  // so the stored values are the same.
  const bool single = zero == 0 && hi < (1L << 23) && lo > -(1L << 23);
  int inside = 1;
  if (single) {
    const float below = (float)(lo - 1), above = (float)(hi + 1);
    for (int i = 0; i < n; ++i) {
      inside &= in[i] > below;  // false for NaN as well
      inside &= in[i] < above;
    }
  } else {
    const double below = (double)lo - 1.0, above = (double)hi + 1.0;
    for (int i = 0; i < n; ++i) {
      double v = in[i];
      inside &= v > below;
      inside &= v < above;
    }
  }
  int result = 0;
  if (!inside) {
    for (int i = 0; i < n; ++i) store(i, clipSample(in[i], lo, hi, zero, i, traceIndex, path, &result));
    return result;
  }
  const long top = zero + hi, bottom = zero + lo;
  if (single) {
    const float topF = (float)top, bottomF = (float)bottom;
    for (int i = 0; i < n; ++i) {
      const float x = in[i] + 0.5f;
      float stored = (float)(int32_t)x;   // toward zero
      stored -= stored > x ? 1.0f : 0.0f;  // down
      stored = stored > topF ? topF : stored;
      stored = stored < bottomF ? bottomF : stored;
      store(i, (long)(int32_t)stored);
    }
    return result;
  }
  if (top < INT32_MAX && bottom > INT32_MIN) {
    // Stored values of 32 bits or fewer round through a 32-bit conversion
    // and stay doubles until stored, which vectorises (a 64-bit conversion
    // does not without AVX-512); inside the range it gives what floorToLong
    // and the clamps below give.
    const double topD = (double)top, bottomD = (double)bottom;
    for (int i = 0; i < n; ++i) {
      const double x = (double)zero + (double)in[i] + 0.5;
      double stored = (double)(int32_t)x;  // toward zero
      stored -= stored > x ? 1.0 : 0.0;    // down
      stored = stored > topD ? topD : stored;
      stored = stored < bottomD ? bottomD : stored;
      store(i, (long)(int32_t)stored);
    }
    return result;
  }
  for (int i = 0; i < n; ++i) {
    long stored = floorToLong((double)zero + (double)in[i] + 0.5);
    stored = stored > top ? top : stored;
    stored = stored < bottom ? bottom : stored;
    store(i, stored);
  }
  return result;
}

}  // namespace scrivel
