// What the SEG-Y reader and writer share: the binary header in the file's
// byte order and the trace header's gain exponent.
#pragma once

#include <cmath>
#include <cstdint>

#include "scrivel/segy.h"
#include "clip.h"
#include "scrivel_internal.h"

namespace scrivel::segy {

// Rounds and clips one sample for an integer field of range lo..hi by the
// shared clipping rule.
inline long roundClip(double v, long lo, long hi, int sample, int trace, const char* path,
                      int* result) {
  return clipSample(v, lo, hi, 0, sample, trace, path, result);
}

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
