// Shared by the small modules the loader tests build: each keeps a log of
// the calls it received, read by the tests through the exported TestModLog.
#pragma once

#include <cstdio>
#include <string>

#include "delvar/module.h"

#define TESTMOD_EXPORT DV_EXPORT

namespace testmod {
inline std::string& log() {
  static std::string s;
  return s;
}
inline void note(const std::string& s) { log() += s + ";"; }
inline DvFunc** g_tables = nullptr;
inline int g_id = -1;
}  // namespace testmod

TESTMOD_EXPORT const char* TestModLog() { return testmod::log().c_str(); }
TESTMOD_EXPORT void TestModClearLog() { testmod::log().clear(); }
