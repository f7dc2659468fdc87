// A module that lists the four entry names but lacks InitModule.
#include "testmod.h"

static const char* const kNames[] = {"GetVantrelModuleInfo", "GetModuleFunctions", "CleanupModule", ""};

TESTMOD_EXPORT int GetVantrelModuleInfo(int* id, int* major, int* minor, const char** name) {
  *id = 2;
  *major = 1;
  *minor = 0;
  *name = "NoInit";
  return 0;
}
TESTMOD_EXPORT int GetModuleFunctions(const char* const** list) {
  *list = kNames;
  return 0;
}
TESTMOD_EXPORT int CleanupModule() { return 0; }
