#include "quv.h"

#include <vector>

namespace quv {

Startup& startup() {
  static Startup s;
  return s;
}

int versionStamp() {
  auto& s = startup();
  int major = s.majors ? s.majors[kModuleId] : 1, minor = s.minors ? s.minors[kModuleId] : 2;
  if (major == 0 && minor == 0) major = 1, minor = 2;
  return minor + 256 * major;
}

static std::string getDir(int slot) {
  char buf[4096] = {0};
  if (auto f = fw<PfnGetDir>(slot)) f(buf, sizeof buf);
  return buf;
}

std::string projectDir() { return getDir(PONTRA_GetProjDir); }
std::string orxDir() { return getDir(PONTRA_GetORXDir); }

static std::string treeString(int slot, DvHandle item) {
  char buf[4096] = {0};
  if (auto f = fw<PfnGetTreeString>(slot)) f(item, buf, sizeof buf);
  return buf;
}

std::string treeName(DvHandle item) { return treeString(PONTRA_GetTreeName, item); }
std::string treeFileExt(DvHandle item) { return treeString(PONTRA_GetTreeFileExt, item); }

int treeSelected(DvHandle item) {
  int v = 0;
  if (auto f = fw<PfnGetTreeInt>(PONTRA_GetTreeSelected)) f(item, &v);
  return v;
}

int treeBad(DvHandle item) {
  int v = 0;
  if (auto f = fw<PfnGetTreeInt>(PONTRA_GetTreeBad)) f(item, &v);
  return v;
}

}  // namespace quv
