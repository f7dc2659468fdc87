// A data module that only records the positional callbacks it receives:
// main-menu commands, project opened and project close. Loaded by the tests
// at several ids (copies of the library), so each copy keeps its own log.
#include "testmod.h"

static const char* const kNames[] = {"GetVantrelModuleInfo", "GetModuleFunctions", "CleanupModule",
                                     "InitModule",           "FolderCmd",          "FolderRClick",
                                     "GetMenu",              "MenuCmd",            "ProjOpened",
                                     "ProjClose",            ""};

TESTMOD_EXPORT int GetVantrelModuleInfo(int* id, int* major, int* minor, const char** name) {
  *id = 701;
  *major = 1;
  *minor = 0;
  *name = "Rec";
  return 0;
}
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
TESTMOD_EXPORT int FolderCmd(DvHandle, int cmd) {
  testmod::note("folder " + std::to_string(cmd));
  return 0;
}
TESTMOD_EXPORT int FolderRClick(const char* text, int, int, DvHandle) {
  testmod::note(std::string("folderrclick ") + text);
  return 0;
}
TESTMOD_EXPORT int GetMenu(DvHandle, DvHandle) {
  testmod::note("getmenu");
  return 0;
}
TESTMOD_EXPORT int MenuCmd(int cmd) {
  testmod::note("menu " + std::to_string(cmd));
  return 0;
}
TESTMOD_EXPORT int ProjOpened() {
  testmod::note("opened");
  return 0;
}
TESTMOD_EXPORT int ProjClose() {
  testmod::note("close?");
  return 0;
}
