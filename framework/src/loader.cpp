// Start-up, the module loader and the type registry.
#include <algorithm>
#include <cstring>

#include "dv/file.h"
#include "dv/settings.h"
#include "dv/system.h"
#include "dv/ui.h"
#include "state.h"

namespace pontra {

namespace {
std::vector<int> g_tableSizes(DV_MODULE_SLOTS, 0);
}

State& st() {
  static State s;
  return s;
}

bool moduleLoaded(int id) {
  auto& s = st().s;
  return id >= 0 && id < DV_MODULE_SLOTS && s.libHandles && s.libHandles[id] != nullptr;
}

std::string moduleName(int id) {
  auto& s = st().s;
  if (id < 0 || id >= DV_MODULE_SLOTS || !s.moduleNames || !s.moduleNames[id]) return "";
  return s.moduleNames[id];
}

DvFunc moduleSlot(int id, int slot) {
  auto& s = st().s;
  // Callbacks go to data modules only: the framework's own table (0) and the
  // service modules' tables hold other functions at those slots, and a
  // project file line may give its item any module id.
  if (id < DV_FIRST_DATA_MODULE || id > DV_LAST_DATA_MODULE) return nullptr;
  if (!moduleLoaded(id) || !s.funcTables || !s.funcTables[id] || slot <= 0) return nullptr;
  // Tables are sized by their name lists; the loader records that size.
  if (slot >= tableSize(id)) return nullptr;
  return s.funcTables[id][slot];
}

bool ownsTypes(int id) {
  if (!moduleLoaded(id)) return false;
  for (const TypeEntry& t : st().types)
    if (t.moduleId == id) return true;
  return false;
}

int tableSize(int id) { return id >= 0 && id < DV_MODULE_SLOTS ? g_tableSizes[(size_t)id] : 0; }

static void missingFunctionBox(const char* name) {
  dv::messageBox(name, "ERROR! Could not find function in module!", dv::MB_OK | dv::MB_ICONERROR);
}

static std::string determineOrxDir() {
  if (const char* h = std::getenv("DELVAR_HOME"); h && *h) {
    dv::makeDirectory(h);
    return h;
  }
  std::string exe = dv::executableDir();
  if (dv::isWritableDir(exe)) return exe;
  std::string user = dv::userDataDir();
  std::string parent = dv::dirName(user);
  dv::makeDirectory(dv::dirName(parent));
  dv::makeDirectory(parent);
  dv::makeDirectory(user);
  return user;
}

}  // namespace pontra

using namespace pontra;

static const char* const kFrameworkNames[] = {
    "GetVantrelModuleInfo", "GetModuleFunctions", "CleanupModule", "InitPontra",
    "LoadPontraModule", "UnloadPontraModule", "IsModuleLoaded", "GetORXDir", "GetDefProjDir",
    "GetProjDir", "SaveProj", "RegisterType", "GetTree", "GetFolder", "InsertTreeObject",
    "DeleteTreeObject", "GetTreeName", "SetTreeName", "GetTreeFileExt", "SetTreeFileExt",
    "GetTreeSelected", "SetTreeSelected", "GetTreeBad", "SetTreeBad", "GetTreepObj",
    "GetMainMenu", "GetObjToolBar", "HideAllObjToolBars", "ClearMsgBar", "MsgOut", "IDMsgOut",
    "SetStatusBarText", "CreateProgress", "SetProgress", "DestroyProgress", "PlayWav", "PlayAvi",
    ""};
static_assert(sizeof(kFrameworkNames) / sizeof(kFrameworkNames[0]) == PONTRA_SLOT_COUNT);

DV_EXPORT int GetVantrelModuleInfo(int* id, int* major, int* minor, const char** name) {
  if (id) *id = 0;
  if (major) *major = 1;
  if (minor) *minor = 2;
  if (name) *name = "DELVAR";
  return 0;
}

DV_EXPORT int GetModuleFunctions(const char* const** list) {
  if (list) *list = kFrameworkNames;
  return 0;
}

DV_EXPORT int LoadPontraModule(int id);

DV_EXPORT int InitPontra(DV_STARTUP_PARAMS) {
  auto& S = st();
  S.s = Startup{libHandles, hostArray,  libFileNames, moduleNames,  majors, minors,
                funcTables, resHandles, resFileNames, hostA,        hostB};
  // The framework's own table is entry 0; its size is that of its name list.
  g_tableSizes[0] = PONTRA_SLOT_COUNT;
  createMainFrame();
  S.orxDir = determineOrxDir();
  std::string ini = dv::joinPath(dv::joinPath(S.orxDir, "INI"), "DELVAR.INI");
  S.defProjDir = dv::getProfileString("DELVAR_defaults", "default_project_directory",
                                      dv::homeDir(), ini, 255);
  openLog();
  S.frame.messageBar.text.clear();
  S.frame.messageBar.selStart = S.frame.messageBar.selEnd = 0;
  S.frame.messageBar.changed();
  for (int id = 1; id < DV_MODULE_SLOTS; ++id)
    if (libFileNames && libFileNames[id]) LoadPontraModule(id);
  rebuildMainMenu();
  return 0;
}

DV_EXPORT int LoadPontraModule(int id) {
  auto& s = st().s;
  if (id < 0 || id >= DV_MODULE_SLOTS || !s.libHandles) return -1;
  if (!s.libHandles[id] && s.libFileNames && s.libFileNames[id]) {
    void* h = dv::loadLibrary(s.libFileNames[id]);
    if (!h) return -1;
    s.libHandles[id] = h;
    auto fail = [&](const char* name) {
      missingFunctionBox(name);
      dv::freeLibrary(h);
      s.libHandles[id] = nullptr;
      return -1;
    };
    dv::ModuleFunctions bound;
    if (!dv::bindModuleFunctions(h, bound)) return fail("GetModuleFunctions");
    if (int k = bound.firstMissing()) return fail(bound.names[(size_t)k].c_str());
    auto init = reinterpret_cast<PfnInitModule>(dv::findSymbol(h, "InitModule"));
    if (!init) return fail("InitModule");
    // The table goes in only once every name is bound, so no table points
    // into a library that was let go again.
    if (s.funcTables) {
      delete[] s.funcTables[id];
      s.funcTables[id] = new DvFunc[bound.table.size()];
      std::copy(bound.table.begin(), bound.table.end(), s.funcTables[id]);
    }
    g_tableSizes[(size_t)id] = int(bound.table.size());
    init(s.libHandles, s.hostArray, s.libFileNames, s.moduleNames, s.majors, s.minors,
         s.funcTables, s.resHandles, s.resFileNames, s.hostA, s.hostB);
  }
  if (s.resHandles && !s.resHandles[id] && s.resFileNames && s.resFileNames[id]) {
    void* r = dv::loadLibrary(s.resFileNames[id]);
    if (!r) {
      if (s.libHandles[id]) dv::freeLibrary(s.libHandles[id]);
      s.libHandles[id] = nullptr;
      return -1;
    }
    s.resHandles[id] = r;
  }
  return 0;
}

DV_EXPORT int UnloadPontraModule(int id) {
  auto& s = st().s;
  if (id < 0 || id >= DV_MODULE_SLOTS || !s.libHandles) return 0;
  if (void* h = s.libHandles[id]) {
    auto cleanup = reinterpret_cast<PfnCleanupModule>(dv::findSymbol(h, "CleanupModule"));
    if (cleanup)
      cleanup();
    else
      missingFunctionBox("CleanupModule");
    dv::freeLibrary(h);
    s.libHandles[id] = nullptr;
  }
  if (s.resHandles && s.resHandles[id]) {
    dv::freeLibrary(s.resHandles[id]);
    s.resHandles[id] = nullptr;
  }
  return 0;
}

DV_EXPORT int IsModuleLoaded(int id) {
  return moduleLoaded(id) ? 1 : 0;
}

static int copyOut(const std::string& v, char* out, int size) {
  if (!out || size <= 0) return -1;
  size_t n = std::min(v.size(), (size_t)size - 1);
  std::memcpy(out, v.data(), n);
  out[n] = 0;
  return 0;
}

DV_EXPORT int GetORXDir(char* out, int size) {
  return copyOut(st().orxDir, out, size);
}
DV_EXPORT int GetDefProjDir(char* out, int size) {
  return copyOut(st().defProjDir, out, size);
}
DV_EXPORT int GetProjDir(char* out, int size) {
  return copyOut(st().projectDir, out, size);
}

DV_EXPORT int RegisterType(int moduleId, int typeNumber, const char* folder1, const char* folder2,
                           const char* folder3, int addSlot, const char* addText, int closeSlot,
                           int commandSlot, int createSlot, const char* createText,
                           int dblClickSlot, int delSlot, int importSlot, const char* importText,
                           int openSlot, int rclickSlot, int renameSlot) {
  auto str = [](const char* p) { return p ? std::string(p) : std::string(); };
  TypeEntry t;
  t.moduleId = moduleId;
  t.typeNumber = typeNumber;
  t.folder1 = str(folder1);
  t.folder2 = str(folder2);
  t.folder3 = str(folder3);
  t.addSlot = addSlot;
  t.addText = str(addText);
  t.closeSlot = closeSlot;
  t.commandSlot = commandSlot;
  t.createSlot = createSlot;
  t.createText = str(createText);
  t.dblClickSlot = dblClickSlot;
  t.delSlot = delSlot;
  t.importSlot = importSlot;
  t.importText = str(importText);
  t.openSlot = openSlot;
  t.rclickSlot = rclickSlot;
  t.renameSlot = renameSlot;
  st().types.push_back(std::move(t));
  return (int)st().types.size() - 1;
}

DV_EXPORT int CleanupModule(void) {
  closeLog();
  return 0;
}

namespace pontra {

void shutdown() {
  releaseProjectLock();
  for (int id = DV_MODULE_SLOTS - 1; id >= 1; --id) UnloadPontraModule(id);
  CleanupModule();
}

}  // namespace pontra
