#include "startup.h"

#include <cstring>
#include <vector>

#include "delvar/module.h"
#include "dv/file.h"
#include "dv/system.h"
#include "pontra/pontra.h"

namespace host {

namespace {

// The start-up arrays live as long as the process.
struct Arrays {
  void* libHandles[DV_MODULE_SLOTS] = {};
  int hostArray[DV_MODULE_SLOTS] = {};
  char* libFileNames[DV_MODULE_SLOTS] = {};
  char* moduleNames[DV_MODULE_SLOTS] = {};
  int majors[DV_MODULE_SLOTS] = {};
  int minors[DV_MODULE_SLOTS] = {};
  DvFunc* funcTables[DV_MODULE_SLOTS] = {};
  void* resHandles[DV_MODULE_SLOTS] = {};
  char* resFileNames[DV_MODULE_SLOTS] = {};
};

Arrays g;
std::vector<DvFunc> g_frameworkTable;

char* keep(const std::string& s) { return ::strdup(s.c_str()); }

// Binds the framework as module 0: its name list resolved in the library
// that holds InitPontra.
bool bindFramework() {
  void* self = dv::loadLibrary(dv::joinPath(dv::executableDir(), "libpontra.so"));
  if (!self) self = dv::loadLibrary("libpontra.so");
  if (!self) return false;
  auto getFns = reinterpret_cast<PfnGetModuleFunctions>(dv::findSymbol(self, "GetModuleFunctions"));
  const char* const* names = nullptr;
  if (!getFns || getFns(&names) != 0 || !names) return false;
  int n = 0;
  while (names[n] && names[n][0]) ++n;
  g_frameworkTable.assign((size_t)n + 1, nullptr);
  for (int k = 0; k < n; ++k)
    g_frameworkTable[(size_t)k + 1] = reinterpret_cast<DvFunc>(dv::findSymbol(self, names[k]));
  g.funcTables[0] = g_frameworkTable.data();
  g.libHandles[0] = self;
  return true;
}

}  // namespace

void* moduleHandle(int id) { return id >= 0 && id < DV_MODULE_SLOTS ? g.libHandles[id] : nullptr; }

int start(const Options& opt) {
  std::string dir = opt.modulesDir.empty() ? dv::executableDir() : opt.modulesDir;
  g.moduleNames[0] = keep("DELVAR");
  g.majors[0] = 1;
  g.minors[0] = 2;
  g.libFileNames[DV_MODULE_SCRIVEL] = keep(dv::joinPath(dir, "libscrivel.so"));
  g.moduleNames[DV_MODULE_SCRIVEL] = keep("Scrivel");
  g.majors[DV_MODULE_SCRIVEL] = 1;
  g.minors[DV_MODULE_SCRIVEL] = 2;
  g.libFileNames[DV_MODULE_QUV] = keep(dv::joinPath(dir, "libquv.so"));
  g.moduleNames[DV_MODULE_QUV] = keep("QUV");
  g.majors[DV_MODULE_QUV] = 1;
  g.minors[DV_MODULE_QUV] = 2;
  if (!bindFramework()) return -1;
  return InitPontra(g.libHandles, g.hostArray, g.libFileNames, g.moduleNames, g.majors, g.minors,
                    g.funcTables, g.resHandles, g.resFileNames, 0, 0);
}

void stop() {
  pontra::closeFrame();
  pontra::shutdown();
}

}  // namespace host
