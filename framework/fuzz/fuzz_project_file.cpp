// The project file (".orx"), opened by the framework headless with no module
// loaded: every object line it can read becomes an inert item, kept as read.
// Closing writes the project file; opening what was written and closing
// again must write the very same bytes, and the project folder must hold
// nothing but the project file afterwards.
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/file.h"
#include "dv/headless.h"
#include "fuzz_common.h"
#include "pontra/pontra.h"

namespace {

constexpr int kCloseProject = 32801;

std::string g_folder, g_file;

std::vector<std::string> folderEntries(const std::string& dir) {
  std::vector<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    ::closedir(d);
  }
  return names;
}

std::string readFile(const std::string& path) {
  std::string s;
  dv::readWholeFile(path, s);
  return s;
}

// Opens the project file and closes it; what closing wrote.
std::string openAndClose() {
  fuzz::check(pontra::openProjectPath(g_file), "an existing project file did not open");
  pontra::command(kCloseProject);
  fuzz::check(!pontra::projectOpen(), "the project did not close");
  dv::headless().resetLog();
  return readFile(g_file);
}

// The framework with its own start-up values only (module 0): no module
// library is named, so none is loaded.
void startFramework(const std::string& base) {
  static void* libHandles[DV_MODULE_SLOTS];
  static int hostArray[DV_MODULE_SLOTS];
  static char* libFileNames[DV_MODULE_SLOTS];
  static char* moduleNames[DV_MODULE_SLOTS];
  static int majors[DV_MODULE_SLOTS], minors[DV_MODULE_SLOTS];
  static DvFunc* funcTables[DV_MODULE_SLOTS];
  static void* resHandles[DV_MODULE_SLOTS];
  static char* resFileNames[DV_MODULE_SLOTS];
  static char name[] = "DELVAR";
  moduleNames[0] = name;
  majors[0] = 1, minors[0] = 2;
  ::setenv("HOME", base.c_str(), 1);
  ::setenv("DELVAR_HOME", (base + "/home").c_str(), 1);
  // Message lines go to DELVAR.OUT in the current folder: not kept here.
  if (::chdir(base.c_str()) != 0 || ::symlink("/dev/null", "DELVAR.OUT") != 0) std::abort();
  InitPontra(libHandles, hostArray, libFileNames, moduleNames, majors, minors, funcTables, resHandles,
             resFileNames, 0, 0);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  const std::string base = fuzz::tempFile("project");
  if (!dv::makeDirectory(base)) std::abort();
  g_folder = base + "/Site";
  g_file = g_folder + "/Site.orx";
  fuzz::writeSeeds(
      argc, argv,
      {{"empty", "1.02\r\n"},
       {"items",
        "1.02\r\n"
        "\"QUV\",\"Raw Data\",\"\",\"LINE01\",\"LINE01.QUV\",700,0,1\r\n"
        "\"QUV\",\"Profiles\",\"\",\"LINE01\",\"LINE01.QUV\",700,1,0\r\n"
        "\"OTHER\",\"Sheets\",\"Deep\",\"sheet 1\",\"s1.dat\",800,3,0\r\n"
        "0,\"LINE01\"\r\n"},
       {"hand",
        "1.02\n   / a comment\n\n  \"A\" , \"B\",\"\",\" spaced \",\"x\",0x2bc,0,1\n\"broken\",\"line\"\n"}});
  startFramework(base);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const std::string& name : folderEntries(g_folder)) dv::removeFile(g_folder + "/" + name);
  if (!dv::makeDirectory(g_folder)) std::abort();
  fuzz::writeFile(g_file, data, size);
  const std::string first = openAndClose();
  const std::string second = openAndClose();
  fuzz::check(second == first, "a written project file does not read back as written");
  const std::vector<std::string> left = folderEntries(g_folder);
  fuzz::check(left.size() == 1 && left[0] == "Site.orx", "a file other than the project file appeared");
  return 0;
}
