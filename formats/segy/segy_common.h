// What the SEG-Y reader and writer share: the binary header in the file's
// byte order and the trace header's gain exponent.
#pragma once

#include <cmath>
#include <cstdint>

#include "scrivel/segy.h"
#include "scrivel_internal.h"

namespace scrivel::segy {

// Rounds and clips one sample for an integer field of range lo..hi. A value
// whose truncation lies outside the range is stored as the nearest limit
// with message 10040 (1-based sample and trace) and *result becomes 1; NaN
// is stored as 0. In range the value is rounded to nearest, halves upward:
// for zero and up that is the value plus 0.5 truncated, and negative values
// round the same way instead of one step toward zero (-900.0 stays -900).
inline long roundClip(double v, long lo, long hi, int sample, int trace, const char* path,
                      int* result) {
  if (std::isnan(v)) return 0;
  double t = std::trunc(v);
  if (t < (double)lo || t > (double)hi) {
    report(10040, sample + 1, trace + 1, path);
    *result = SCRIVEL_WARNINGS;
    return t < (double)lo ? lo : hi;
  }
  double r = std::floor(v + 0.5);
  return r < (double)lo ? lo : r > (double)hi ? hi : (long)r;
}

inline uint16_t rd16(const uint8_t* p, bool be) { return be ? rdU16be(p) : rdU16le(p); }
inline uint32_t rd32(const uint8_t* p, bool be) { return be ? rdU32be(p) : rdU32le(p); }
inline void wr16(uint8_t* p, uint16_t v, bool be) { be ? wrU16be(p, v) : wrU16le(p, v); }
inline void wr32(uint8_t* p, uint32_t v, bool be) { be ? wrU32be(p, v) : wrU32le(p, v); }

// Fills the record's binary header fields from the 400 stored bytes at
// image + 3200 (the text header is copied as is).
void decodeImage(const uint8_t* image, bool be, SegyFHdr& h);
// The 3604-byte image of a record, the binary header in the record's order.
void encodeImage(const SegyFHdr& h, uint8_t* image);

// The trace header's binary gain exponent, read in the file's byte order so
// that a big-endian file and its little-endian twin give the same values.
inline int gainExponent(const SegyTraceHdr& t, bool be) {
  return rd16(reinterpret_cast<const uint8_t*>(&t) + 168, be);
}

}  // namespace scrivel::segy
