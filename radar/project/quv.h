// What every part of the Quv module shares: the start-up values kept by
// InitModule, typed access to the framework's services (entry 0 of the
// function tables) and to the Scrivel library (entry 1), message lines,
// and the project's folders.
#pragma once

#include <string>

#include "delvar/module.h"
#include "scrivel/scrivel.h"

namespace quv {

constexpr int kModuleId = DV_MODULE_QUV;

struct Startup {
  void** libHandles = nullptr;
  int* hostArray = nullptr;
  char** libFileNames = nullptr;
  char** moduleNames = nullptr;
  int* majors = nullptr;
  int* minors = nullptr;
  DvFunc** funcTables = nullptr;
  void** resHandles = nullptr;
  char** resFileNames = nullptr;
  int hostA = 0, hostB = 0;
};

Startup& startup();

// A framework service by slot (PONTRA_...); nullptr before InitModule.
template <typename Fn>
inline Fn fw(int slot) {
  return dv::slot<Fn>(startup().funcTables, DV_MODULE_FRAMEWORK, slot);
}
// A Scrivel library function by slot (SCRIVEL_...); nullptr while the
// library is not loaded (a library that failed to load leaves a partly
// filled table whose pointers lead into unloaded code).
template <typename Fn>
inline Fn scrivel(int slot) {
  const Startup& s = startup();
  if (s.libHandles && !s.libHandles[DV_MODULE_SCRIVEL]) return nullptr;
  return dv::slot<Fn>(s.funcTables, DV_MODULE_SCRIVEL, slot);
}

// A message line from this module (MsgOut(kind, 700, ...)).
template <typename... Args>
inline void msg(int kind, const char* format, Args... args) {
  if (auto f = fw<PfnMsgOut>(PONTRA_MsgOut)) f(kind, kModuleId, format, args...);
}
// A message line without the module prefix (MsgOut(kind, -1, ...)).
template <typename... Args>
inline void msgBare(int kind, const char* format, Args... args) {
  if (auto f = fw<PfnMsgOut>(PONTRA_MsgOut)) f(kind, -1, format, args...);
}

// The module's version as files stamp it: minor + 256 * major (258 for 1.02).
int versionStamp();

std::string projectDir();  // folder of the open project
std::string orxDir();      // installation folder
std::string treeName(DvHandle item);
std::string treeFileExt(DvHandle item);
int treeSelected(DvHandle item);
int treeBad(DvHandle item);

}  // namespace quv
