// What every format fuzz target shares: the library initialised with a framework
// table whose IDMsgOut formats each message as the framework would (so a
// wrong argument list shows up under the sanitizers); the temporary files
// for readers that open a path come from fuzz_common.h.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_common.h"
#include "scrivel_internal.h"

extern "C" int InitModule(DV_STARTUP_PARAMS);

namespace fuzz {

inline int formatMessage(int, int, int number, ...) {
  const char* format = scrivel::messageText(number);
  if (!format) std::abort();  // every number reported must be in the table
  char buf[4096];
  va_list ap;
  va_start(ap, number);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  return 0;
}

// Installs the message table once; call at the top of every input.
inline void initLibrary() {
  static DvFunc framework[PONTRA_SLOT_COUNT] = {};
  static DvFunc* tables[DV_MODULE_SLOTS] = {};
  static const bool done = [] {
    framework[PONTRA_IDMsgOut] = reinterpret_cast<DvFunc>(&formatMessage);
    tables[DV_MODULE_FRAMEWORK] = framework;
    InitModule(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, tables, nullptr, nullptr, 0, 0);
    return true;
  }();
  (void)done;
}

}  // namespace fuzz
