// Conversions the format families share: sample arrays in explicit byte
// order, float fields to integers without undefined behaviour, and the
// locale-independent number parsing and printing of the text headers.
#pragma once

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "scrivel_internal.h"

namespace scrivel {

constexpr bool kHostLittleEndian = std::endian::native == std::endian::little;

// In-place: n float32 values read as little-endian bytes become host floats.
inline void fromLittleEndianFloats(float* values, size_t n) {
  if constexpr (!kHostLittleEndian) {
    auto* p = reinterpret_cast<uint8_t*>(values);
    for (size_t i = 0; i < n; ++i) {
      uint32_t u = rdU32le(p + 4 * i);
      std::memcpy(p + 4 * i, &u, 4);
    }
  }
}

// n little-endian signed 16-bit samples to floats.
inline void decodeI16le(const uint8_t* in, size_t n, float* out) {
  for (size_t i = 0; i < n; ++i) out[i] = (float)(int16_t)rdU16le(in + 2 * i);
}

inline float rdF32le(const uint8_t* p) { return bitsToFloat(rdU32le(p)); }
inline void wrF32le(uint8_t* p, float f) { wrU32le(p, floatToBits(f)); }

// A float header field as an int32: truncation toward zero, NaN as 0 and
// values beyond the range held at its limits (a plain cast is undefined
// behaviour there, and hostile files carry any bit pattern).
inline int32_t toInt32(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return (int32_t)v;
}

inline bool startsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

inline std::string trimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && isBlank(s[b])) ++b;
  return std::string(s.substr(b));
}

inline std::string trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

// Integer conversion in the manner of atoi: leading blanks, an optional
// sign, then digits up to the first other character; 0 when there are none.
// Values beyond int32 are held at its limits.
inline int32_t parseInt(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  int64_t v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    v = v * 10 + (s[i++] - '0');
    if (v > 2147483648LL) v = 2147483648LL;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) v = 2147483647LL;
  return (int32_t)v;
}

// Decimal conversion in the manner of atof, with the C decimal point
// whatever the process locale: leading blanks, optional sign, then the
// longest usable number; 0 when there is none.
inline double parseDouble(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && isBlank(s[i])) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  // A second sign ("--5", "-+5") is not a number, as for atof.
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) return 0.0;
  double v = 0.0;
  const char* first = s.data() + i;
  const char* last = s.data() + s.size();
  auto r = std::from_chars(first, last, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    // Too large or too small for a double: atof gives infinity or zero.
    v = 0.0;
    for (const char* p = first; p < r.ptr; ++p) {
      if (*p == 'e' || *p == 'E') {
        v = p + 1 < r.ptr && p[1] == '-' ? 0.0 : HUGE_VAL;
        break;
      }
    }
  } else if (r.ec != std::errc()) {
    v = 0.0;
  }
  return negative ? -v : v;
}

inline float parseFloat(std::string_view s) {
  double v = parseDouble(s);
  if (std::isfinite(v) && std::fabs(v) > (double)std::numeric_limits<float>::max())
    return v > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
  return (float)v;
}

// printf("%.*f") with the C decimal point whatever the process locale.
inline std::string formatFixed(double v, int precision = 6) {
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
  return std::string(buf, r.ptr);
}

inline std::string formatInt(long long v) { return std::to_string(v); }

}  // namespace scrivel
