// A module whose name list holds nothing but the terminating empty name.
#include "testmod.h"

static const char* const kNames[] = {""};

TESTMOD_EXPORT int GetModuleFunctions(const char* const** list) {
  *list = kNames;
  return 0;
}
TESTMOD_EXPORT int InitModule(DV_STARTUP_PARAMS) {
  testmod::note("init");
  return 0;
}
TESTMOD_EXPORT int CleanupModule() {
  testmod::note("cleanup");
  return 0;
}
