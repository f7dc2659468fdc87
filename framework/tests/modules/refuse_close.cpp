// A data module that refuses to let the project close while its flag is set.
#include "testmod.h"

static const char* const kNames[] = {"GetVantrelModuleInfo", "GetModuleFunctions", "CleanupModule",
                                     "InitModule",           "Nop5",               "Nop6",
                                     "Nop7",                 "Nop8",               "Nop9",
                                     "ProjClose",            ""};
static int g_refuse = 1;

TESTMOD_EXPORT int GetVantrelModuleInfo(int* id, int* major, int* minor, const char** name) {
  *id = 702;
  *major = 1;
  *minor = 0;
  *name = "Refuser";
  return 0;
}
TESTMOD_EXPORT int GetModuleFunctions(const char* const** list) {
  *list = kNames;
  return 0;
}
TESTMOD_EXPORT int InitModule(DV_STARTUP_PARAMS) { return 0; }
TESTMOD_EXPORT int CleanupModule() { return 0; }
TESTMOD_EXPORT int Nop5(DvHandle, int) { return 0; }
TESTMOD_EXPORT int Nop6(const char*, int, int, DvHandle) { return 0; }
TESTMOD_EXPORT int Nop7(DvHandle, DvHandle) { return 0; }
TESTMOD_EXPORT int Nop8(int) { return 0; }
TESTMOD_EXPORT int Nop9() { return 0; }
TESTMOD_EXPORT int ProjClose() {
  testmod::note("close?");
  return g_refuse;
}
TESTMOD_EXPORT void TestSetRefuse(int v) { g_refuse = v; }
