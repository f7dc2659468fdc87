// Module entry of the Scrivel library: identity, the fixed 43-name list and
// the start-up values.
#include "scrivel_internal.h"

namespace scrivel {
DvFunc** g_funcTables = nullptr;
}

namespace {

const char* const kNames[] = {
    "GetVantrelModuleInfo", "GetModuleFunctions", "CleanupModule", "InitModule",
    "OpenFileForRead",      "OpenFileForWrite",   "CreateFileForWrite",
    "IsGssiFile",           "CreateGssiFHdr",     "ReadGssiFHdr",  "CleanupGssiFHdr",
    "WriteGssiFHdr",        "ReadGssiTrace",      "WriteGssiTrace",
    "IsPekkoHdrFile",       "CreatePekkoFHdr",    "ReadPekkoFHdr", "WritePekkoFHdr",
    "ReadPekkoTrace",       "WritePekkoTrace",
    "IsRamacHdrFile",       "CreateRamacFHdr",    "ReadRamacFHdr", "WriteRamacFHdr",
    "ReadRamacTrace",       "WriteRamacTrace",
    "IsSeg2File",           "CreateSeg2FHdr",     "ReadSeg2FHdr",  "CleanupSeg2FHdr",
    "WriteSeg2FHdr",        "ReadSeg2Trace",      "WriteSeg2Trace",
    "IsSegyFile",           "ComputeSegyNumTraces", "CreateSegyFHdr", "ReadSegyFHdr",
    "WriteSegyFHdr",        "ReadSegyTrace",      "WriteSegyTrace",
    "ReadProfileTrace",     "WriteProfileTrace",  "GetColOrder",
    "",
};
static_assert(sizeof(kNames) / sizeof(kNames[0]) == 44, "43 names and the terminator");

// Values kept from InitModule for the library's own use.
struct StartupValues {
  void** libHandles = nullptr;
  char** moduleNames = nullptr;
  int* majors = nullptr;
  int* minors = nullptr;
  void** resHandles = nullptr;
} g_startup;

}  // namespace

DV_EXPORT int GetVantrelModuleInfo(int* id, int* major, int* minor, const char** name) {
  if (id) *id = DV_MODULE_SCRIVEL;
  if (major) *major = 1;
  if (minor) *minor = 2;
  if (name) *name = "Scrivel";
  return 0;
}

DV_EXPORT int GetModuleFunctions(const char* const** list) {
  if (list) *list = kNames;
  return 0;
}

DV_EXPORT int InitModule(DV_STARTUP_PARAMS) {
  scrivel::g_funcTables = funcTables;
  g_startup.libHandles = libHandles;
  g_startup.moduleNames = moduleNames;
  g_startup.majors = majors;
  g_startup.minors = minors;
  g_startup.resHandles = resHandles;
  return 0;
}

DV_EXPORT int CleanupModule(void) {
  scrivel::g_funcTables = nullptr;
  return 0;
}

// The string table, found by the framework when IDMsgOut names module 1.
DV_EXPORT const char* DvLoadString(int id) {
  return scrivel::messageText(id);
}
