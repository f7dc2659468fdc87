// The clipping rule shared by the integer writers of every format.
#pragma once

#include <cmath>

#include "scrivel_internal.h"

namespace scrivel {

// Rounds down to a whole number (x within the long range).
inline long floorToLong(double x) {
  long t = (long)x;
  return t - (long)((double)t > x);
}

// Converts one sample for an integer format whose values run from lo to hi
// (before the zero level is added). A value whose truncation toward zero lies
// outside the range is replaced by the nearest limit, message 10040 is
// reported with 1-based sample and trace numbers, and *result becomes 1. The
// stored value is zero + value + 0.5 rounded down: for the unsigned formats
// (zero level added) that is the same as truncating; for signed values it
// rounds to the nearest integer too, where truncation toward zero would move
// every negative sample one step up on each rewrite (-279 stored as -278). A
// value just below the top limit (127.7 for 8 bits) would round one past it,
// so the stored value is kept inside the range as well. NaN is stored as the
// zero level.
inline long clipSample(double value, long lo, long hi, long zero, int sampleIndex, int traceIndex,
                       const char* path, int* result) {
  double v = value;
  if (std::isnan(v)) return zero;
  double t = std::trunc(v);
  if (t < (double)lo) {
    v = (double)lo;
    report(10040, sampleIndex + 1, traceIndex + 1, path);
    *result = 1;
  } else if (t > (double)hi) {
    v = (double)hi;
    report(10040, sampleIndex + 1, traceIndex + 1, path);
    *result = 1;
  }
  double stored = std::floor((double)zero + v + 0.5);
  if (stored > (double)(zero + hi)) stored = (double)(zero + hi);
  if (stored < (double)(zero + lo)) stored = (double)(zero + lo);
  return (long)stored;
}

}  // namespace scrivel
