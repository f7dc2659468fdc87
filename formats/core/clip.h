// The clipping rule shared by the integer writers of every format.
#pragma once

#include <cmath>

#include "scrivel_internal.h"

namespace scrivel {

// Converts one sample for an integer format whose values run from lo to hi
// (before the zero level is added). A value whose truncation toward zero lies
// outside the range is replaced by the nearest limit, message 10040 is
// reported with 1-based sample and trace numbers, and *result becomes 1. The
// stored value is zero + value + 0.5 truncated toward zero; a value just below
// the top limit (127.7 for 8 bits) would round one past it, so the stored
// value is kept inside the range as well. NaN is stored as the zero level.
inline long clipSample(float value, long lo, long hi, long zero, int sampleIndex, int traceIndex,
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
  double stored = std::trunc((double)zero + v + 0.5);
  if (stored > (double)(zero + hi)) stored = (double)(zero + hi);
  if (stored < (double)(zero + lo)) stored = (double)(zero + lo);
  return (long)stored;
}

}  // namespace scrivel
