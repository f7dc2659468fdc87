// A module whose name list names a function it does not export.
#include "testmod.h"

static const char* const kNames[] = {"GetModuleFunctions", "NoSuchFunction", "InitModule", ""};

TESTMOD_EXPORT int GetModuleFunctions(const char* const** list) {
  *list = kNames;
  return 0;
}
TESTMOD_EXPORT int InitModule(DV_STARTUP_PARAMS) {
  testmod::note("init");
  return 0;
}
