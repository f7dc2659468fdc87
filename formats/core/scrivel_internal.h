// What the format families of the Scrivel library share internally: the
// start-up values kept by InitModule, message reporting through the
// framework's IDMsgOut, and little helpers for explicit byte order.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "delvar/module.h"
#include "scrivel/scrivel.h"

namespace scrivel {

// Function tables handed to InitModule (entry 0: framework services).
extern DvFunc** g_funcTables;

// Text of message `number` (10001 to 10045), or nullptr.
const char* messageText(int number);

// Reports message `number` of the string table through IDMsgOut(0, 1, number, ...).
template <typename... Args>
inline void report(int number, Args... args) {
  auto out = dv::slot<PfnIDMsgOut>(g_funcTables, 0, PONTRA_IDMsgOut);
  if (out) out(0, DV_MODULE_SCRIVEL, number, args...);
}

// Same, unless the caller asked for quiet.
template <typename... Args>
inline void reportUnlessQuiet(int quiet, int number, Args... args) {
  if (!quiet) report(number, args...);
}

// Owns a block from malloc until it is handed to the caller (release()):
// records and sample arrays the callers free() themselves.
struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <typename T>
using MallocPtr = std::unique_ptr<T, FreeDeleter>;

// Allocates a sample array the caller owns (released with free()).
inline float* allocSamples(size_t n) {
  return static_cast<float*>(std::malloc((n ? n : 1) * sizeof(float)));
}

inline uint16_t rdU16le(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t rdU32le(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint16_t rdU16be(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t rdU32be(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
inline void wrU16le(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
inline void wrU32le(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void wrU16be(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v >> 8);
  p[1] = uint8_t(v);
}
inline void wrU32be(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i));
}
// Either byte order, chosen by the file (big-endian when `be`).
inline uint16_t rd16(const uint8_t* p, bool be) { return be ? rdU16be(p) : rdU16le(p); }
inline uint32_t rd32(const uint8_t* p, bool be) { return be ? rdU32be(p) : rdU32le(p); }
inline void wr16(uint8_t* p, uint16_t v, bool be) { be ? wrU16be(p, v) : wrU16le(p, v); }
inline void wr32(uint8_t* p, uint32_t v, bool be) { be ? wrU32be(p, v) : wrU32le(p, v); }
inline float bitsToFloat(uint32_t u) {
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
inline uint32_t floatToBits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  return u;
}

}  // namespace scrivel
