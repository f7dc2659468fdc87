// What the SEG-Y reader and writer share: the binary header in the file's
// byte order and the trace header's gain exponent.
#pragma once

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstddef>
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

// IBM hexadecimal float (sign, 7-bit exponent of 16 biased by 64, 24-bit
// fraction) to float: fraction x 2^(4 exp - 280), the power applied as two
// float factors 2^(2 exp - 140), each exact, so the result is exact wherever
// a float holds it (a few values below the normal float range round twice);
// magnitudes beyond the float range are held at its largest value.
// Branch-free, so that blocks of samples vectorise.
inline float ibmToFloat(uint32_t w) {
  const int32_t frac = (int32_t)(w & 0x00FFFFFFu);
  int32_t half = 2 * (int32_t)((w >> 24) & 0x7Fu) - 13;  // biased float exponent of 2^(2 exp - 140)
  half = half < 1 ? 1 : half;                            // below that the value is zero in a float
  const float p = std::bit_cast<float>((uint32_t)half << 23);
  float v = (float)frac * p * p;
  v = v < FLT_MAX ? v : FLT_MAX;
  return std::bit_cast<float>(std::bit_cast<uint32_t>(v) | (w & 0x80000000u));
}

// n IBM words in the file's byte order to floats; `out` may be the words'
// own buffer (each block is read before it is written).
inline void decodeIbm(const uint8_t* raw, bool be, float* out, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint32_t w[8];
    for (int k = 0; k < 8; ++k) w[k] = rd32(raw + 4 * (i + k), be);
    for (int k = 0; k < 8; ++k) out[i + k] = ibmToFloat(w[k]);
  }
  for (; i < n; ++i) out[i] = ibmToFloat(rd32(raw + 4 * i, be));
}

// Float to the nearest normalised IBM float (NaN as zero). Every IBM float
// a float holds exactly comes back as the same word.
inline uint32_t floatToIbm(float f) {
  const uint32_t sign = std::bit_cast<uint32_t>(f) & 0x80000000u;
  const double a = std::fabs((double)f);
  if (!(a > 0.0)) return std::isnan(f) ? 0u : sign;
  if (a > 0x0.FFFFFFp252) return sign | 0x7FFFFFFFu;
  int e = 0;
  const double m = std::frexp(a, &e);  // a = m x 2^e, m in [0.5, 1)
  int e16 = (e + 3) >> 2;              // ceil(e / 4): the fraction lies in [1/16, 1)
  uint64_t frac = (uint64_t)std::llround(std::ldexp(m, e - 4 * e16 + 24));
  if (frac >= (1u << 24)) {
    frac >>= 4;
    ++e16;
  }
  return sign | ((uint32_t)(e16 + 64) << 24) | (uint32_t)frac;
}

// What the words of a code 1 file say about their encoding. IBM floats
// written by other software are normalised: the fraction's first hex digit
// is never 0 for a non-zero value. IEEE floats seen as IBM words are not in
// about one case of twelve (an even exponent and three leading zero
// mantissa bits), and IEEE floats of magnitudes beyond 2^66 or below
// 2^-62 are IBM words outside the float range (which no float sample can
// have come from). So many normalised words with hardly any unnormalised
// or out-of-range ones among them settle on IBM; anything else leaves the
// IEEE reading. Zero words, and repeats of the word before, tell nothing.
// IEEE NaNs, infinities and denormals are IBM words of exponent 0x7F or
// 0x00, values no IBM data holds either, so they count for neither.
class FloatEvidence {
 public:
  static constexpr size_t kEnough = 128;  // IEEE data passes that many by chance about once in 10^5
  void add(uint32_t w) {
    const uint32_t frac = w & 0x00FFFFFFu;
    if (frac == 0 || w == last_) return;
    last_ = w;
    const uint32_t ieeeExp = (w >> 23) & 0xFFu;
    if (ieeeExp == 0 || ieeeExp == 0xFF) return;
    const uint32_t ibmExp = (w >> 24) & 0x7Fu;  // 16^(ibmExp - 64): floats hold 0x21 to 0x60
    if ((frac & 0x00F00000u) == 0 || ibmExp < 0x21 || ibmExp > 0x60)
      ++unnormalised_;
    else
      ++normalised_;
  }
  // Enough unnormalised words to rule IBM out: no need to look further.
  bool settled() const { return unnormalised_ >= 64; }
  // IBM on clear evidence only (fewer than 1 word in 64 unnormalised or out
  // of range, a slip IEEE data of any spread hardly makes); otherwise the
  // IEEE reading.
  SegyFloatFormat verdict() const {
    return normalised_ >= kEnough && unnormalised_ * 64 < normalised_ ? SEGY_FLOAT_IBM : SEGY_FLOAT_IEEE;
  }

 private:
  size_t normalised_ = 0, unnormalised_ = 0;
  uint32_t last_ = 0;
};

// The number of extended text headers the 3600-byte image announces (the
// count at 3504) where the file is laid out that way: the count is in
// range, a trace follows the headers, and either the traces after them
// fill the file exactly or the header names a revision. -1 (a variable
// number ended by a stanza) and anything else give 0.
int extendedHeaderCount(const uint8_t* image, bool be, int64_t length);

// Whether the binary header of a 3600-byte image is sound enough to take a
// file with a free-form text header as SEG-Y: sample interval, sample count
// and format code usable, and whole traces filling the file after the
// headers.
bool soundBinaryHeader(const uint8_t* image, int64_t length);

// Byte order of an image: a format code of 256 or more only makes sense swapped.
inline bool bigEndianImage(const uint8_t* image) { return rdU16le(image + 3224) >= 256; }

}  // namespace scrivel::segy
