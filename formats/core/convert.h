// Whole-trace conversion of float samples to a writer's integer type by the
// shared clipping rule (clip.h). Traces whose samples all lie inside the
// range (the usual case) take a branch-free loop the compiler vectorises;
// any sample outside it, or NaN, sends the whole trace through clipSample,
// which reports each clipped sample. Both paths store the same values.
#pragma once

#include <cstdint>

#include "clip.h"

namespace scrivel {

namespace detail {

// Whether every sample lies strictly between lo - 1 and hi + 1 (false for
// NaN as well), compared in precision T.
template <typename T>
inline bool allInside(const float* in, int n, long lo, long hi) {
  const T below = (T)lo - (T)1, above = (T)hi + (T)1;
  int inside = 1;
  for (int i = 0; i < n; ++i) {
    const T v = (T)in[i];
    inside &= v > below;
    inside &= v < above;
  }
  return inside != 0;
}

// zero + sample + 0.5 rounded down and kept within bottom..top, in precision
// T through a 32-bit conversion: both stay in vector registers until stored
// (a 64-bit conversion does not vectorise without AVX-512). Inside the range
// it gives what floorToLong and the clamps of convertSamples give.
template <typename T, typename Store>
inline void roundInside(const float* in, int n, long zero, long top, long bottom, Store& store) {
  const T z = (T)zero, topT = (T)top, bottomT = (T)bottom;
  for (int i = 0; i < n; ++i) {
    const T x = z + (T)in[i] + (T)0.5;
    T stored = (T)(int32_t)x;                 // toward zero
    stored -= stored > x ? (T)1 : (T)0;       // down
    stored = stored > topT ? topT : stored;
    stored = stored < bottomT ? bottomT : stored;
    store(i, (long)(int32_t)stored);
  }
}

}  // namespace detail

// store(i, value) receives the stored integer of sample i.
template <typename Store>
inline int convertSamples(const float* in, int n, long lo, long hi, long zero, int traceIndex,
                          const char* path, Store store) {
  // Signed ranges of 8 and 16 bits (no zero level) are checked and rounded
  // in single precision, 4 samples to a vector register where doubles take
  // 2: below 2^23, a float plus 0.5 is exact, as it is in double precision,
  // so the stored values are the same.
  const bool single = zero == 0 && hi < (1L << 23) && lo > -(1L << 23);
  const bool inside =
      single ? detail::allInside<float>(in, n, lo, hi) : detail::allInside<double>(in, n, lo, hi);
  int result = 0;
  if (!inside) {
    for (int i = 0; i < n; ++i) store(i, clipSample(in[i], lo, hi, zero, i, traceIndex, path, &result));
    return result;
  }
  const long top = zero + hi, bottom = zero + lo;
#if defined(__GNUC__) && !defined(__clang__) && !defined(__NO_TRAPPING_MATH__)
  // Where floating-point compares may trap, GCC keeps the selects of
  // roundInside as branches, which a trace's signs mispredict: the
  // branch-free 64-bit loop below is faster then.
  const bool rounded32 = false;
#else
  const bool rounded32 = true;
#endif
  if (rounded32 && single) {
    detail::roundInside<float>(in, n, zero, top, bottom, store);
  } else if (rounded32 && top < INT32_MAX && bottom > INT32_MIN) {
    detail::roundInside<double>(in, n, zero, top, bottom, store);
  } else {
    for (int i = 0; i < n; ++i) {
      long stored = floorToLong((double)zero + (double)in[i] + 0.5);
      stored = stored > top ? top : stored;
      stored = stored < bottom ? bottom : stored;
      store(i, stored);
    }
  }
  return result;
}

}  // namespace scrivel
