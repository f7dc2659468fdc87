#include "module_client.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "dv/file.h"
#include "dv/system.h"

namespace cli {

namespace {

// The start-up values handed to InitModule: per-module arrays indexed by
// module id, with entry 0 (framework) and entry 1 (Scrivel) filled.
struct Startup {
  void* libHandles[DV_MODULE_SLOTS] = {};
  int hostArray[DV_MODULE_SLOTS] = {};
  char* libFileNames[DV_MODULE_SLOTS] = {};
  char* moduleNames[DV_MODULE_SLOTS] = {};
  int majors[DV_MODULE_SLOTS] = {};
  int minors[DV_MODULE_SLOTS] = {};
  DvFunc* funcTables[DV_MODULE_SLOTS] = {};
  void* resHandles[DV_MODULE_SLOTS] = {};
  char* resFileNames[DV_MODULE_SLOTS] = {};
  DvFunc framework[PONTRA_SLOT_COUNT] = {};
  std::string fileName;
  std::string moduleName = "Scrivel";
};

Startup g_startup;
PfnDvLoadString g_loadString = nullptr;
int g_messages = 0;

// IDMsgOut for the library: "[Scrivel]   " and the formatted text.
int printMessage(int kind, int moduleId, int stringId, ...) {
  ++g_messages;
  const char* format = g_loadString ? g_loadString(stringId) : nullptr;
  char text[4096];
  if (format) {
    va_list ap;
    va_start(ap, stringId);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
  } else {
    std::snprintf(text, sizeof text, "message %d", stringId);
  }
  const char* name = moduleId == DV_MODULE_SCRIVEL ? "Scrivel" : "module";
  std::fprintf(stderr, "[%s]   %s\n", name, text);
  return 0;
}

}  // namespace

int ScrivelModule::messageCount() { return g_messages; }

bool ScrivelModule::load(std::string* error, const std::string& path) {
  std::string file = path.empty() ? dv::joinPath(dv::executableDir(), "libscrivel.so") : path;
  std::string why;
  handle_ = dv::loadLibrary(file, &why);
  if (!handle_) {
    if (error) *error = "cannot load " + file + ": " + why;
    return false;
  }
  dv::ModuleFunctions bound;
  if (!dv::bindModuleFunctions(handle_, bound)) {
    if (error) *error = file + " has no usable GetModuleFunctions";
    return false;
  }
  if (bound.table.size() != SCRIVEL_SLOT_COUNT) {
    if (error)
      *error = file + " lists " + std::to_string(bound.table.size() - 1) + " functions, not " +
               std::to_string(SCRIVEL_SLOT_COUNT - 1);
    return false;
  }
  for (int k = 1; k < SCRIVEL_SLOT_COUNT; ++k) {
    table_[k] = bound.table[(size_t)k];
    // The column-order dialog is the one slot the inspector never calls.
    if (!table_[k] && k != SCRIVEL_GetColOrder) {
      if (error) *error = file + " does not export " + bound.names[(size_t)k];
      return false;
    }
  }
  g_loadString = reinterpret_cast<PfnDvLoadString>(dv::findSymbol(handle_, DV_LOAD_STRING_SYMBOL));

  Startup& s = g_startup;
  s.fileName = file;
  s.framework[PONTRA_IDMsgOut] = reinterpret_cast<DvFunc>(&printMessage);
  s.funcTables[DV_MODULE_FRAMEWORK] = s.framework;
  s.funcTables[DV_MODULE_SCRIVEL] = table_;
  s.libHandles[DV_MODULE_SCRIVEL] = handle_;
  s.libFileNames[DV_MODULE_SCRIVEL] = s.fileName.data();
  s.moduleNames[DV_MODULE_SCRIVEL] = s.moduleName.data();
  s.majors[DV_MODULE_SCRIVEL] = 1;
  s.minors[DV_MODULE_SCRIVEL] = 2;
  auto init = fn<PfnInitModule>(DV_SLOT_INIT);
  if (init(s.libHandles, s.hostArray, s.libFileNames, s.moduleNames, s.majors, s.minors,
           s.funcTables, s.resHandles, s.resFileNames, 0, 0) != 0) {
    if (error) *error = file + ": InitModule failed";
    return false;
  }
  initialised_ = true;
  return true;
}

ScrivelModule::~ScrivelModule() {
  if (initialised_) {
    if (auto cleanup = fn<PfnCleanupModule>(DV_SLOT_CLEANUP)) cleanup();
  }
  // The library stays mapped: records it handed out may still be released
  // by static destructors after this point.
}

}  // namespace cli
