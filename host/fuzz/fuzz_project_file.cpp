// The project file (".orx") opened headless by the workbench with its real
// modules, in a project folder that holds a readable profile and raw data
// item named LINE01 (written once with the module's own writers and put back
// before every input). Object lines of the radar module open its items
// through the module; lines of modules that are not loaded become inert
// items, kept as read. Closing writes the project file: opening what was
// written and closing again must write the very same bytes; no file may
// appear outside the project folder, and no file of the project folder may
// appear or go.
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>

#include "demo.h"
#include "dv/file.h"
#include "dv/headless.h"
#include "fuzz_common.h"
#include "pontra/pontra.h"
#include "project/defaults_file.h"
#include "project/profile.h"
#include "project/raw.h"
#include "startup.h"

namespace {

constexpr int kCloseProject = 32801;
constexpr int kTraces = 12, kSamples = 128;

std::string g_base, g_folder, g_file, g_template;
std::set<std::string> g_baseEntries, g_projectEntries;

std::set<std::string> folderEntries(const std::string& dir) {
  std::set<std::string> names;
  if (DIR* d = ::opendir(dir.c_str())) {
    while (dirent* e = ::readdir(d))
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.insert(e->d_name);
    ::closedir(d);
  }
  return names;
}

void put(const std::string& name, const std::string& bytes) {
  if (!dv::writeFileAtomic(dv::joinPath(g_template, name), bytes)) std::abort();
}

// The files of profile LINE01 and raw data item LINE01 and the defaults.
void writeTemplate() {
  if (!dv::makeDirectory(g_template)) std::abort();
  const std::string f = "LINE01.QUV";
  quv::ProfileFileFields prf;
  prf.traceCount = kTraces;
  put("PRF_" + f, quv::encodeProfileFile(prf));
  quv::ProfileHeader h;
  h.nodeTrace = {0, kTraces - 1};
  h.nodeEasting = {0.0f, 11.0f};
  h.nodeNorthing = {0.0f, 0.0f};
  for (int k = 0; k < kTraces; ++k) h.easting.push_back(float(k)), h.northing.push_back(0.0f);
  put("GEO_" + f, quv::encodeGeoFile(h, 258));
  put("XY_" + f, quv::encodeXYFile(h, 258));
  quv::ProfileVersion v;
  v.samples = kSamples;
  v.timeIncrement = 0.5f;
  v.name = "Raw";
  put(quv::headerFileName(quv::kTimeVersion, 1, f), quv::encodeVersionHeader(v, 258));
  put(quv::sampleFileName(quv::kTimeVersion, 1, f), std::string(size_t(kTraces) * kSamples * 4, '\0'));
  quv::RawItemFile raw;
  raw.firstName = raw.secondName = "DZT_" + f;
  put("RAW_" + f, quv::encodeRawItemFile(raw));
  if (host::writeSynthetic("DZT", dv::joinPath(g_template, raw.firstName), kTraces, kSamples) < 0) std::abort();
  put(quv::kDefaultsFileName, quv::encodeDefaults(quv::ProjectDefaults(), true, 258));
}

// Opens the project file and closes it; what closing wrote.
std::string openAndClose() {
  fuzz::check(pontra::openProjectPath(g_file), "an existing project file did not open");
  pontra::command(kCloseProject);
  fuzz::check(!pontra::projectOpen(), "the project did not close");
  dv::headless().resetLog();
  dv::headless().clearAnswers();
  std::string s;
  dv::readWholeFile(g_file, s);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  g_base = fuzz::tempFile("project");
  g_folder = g_base + "/Site";
  g_file = g_folder + "/Site.orx";
  g_template = g_base + "/template";
  if (!dv::makeDirectory(g_base) || !dv::makeDirectory(g_folder)) std::abort();
  writeTemplate();
  g_projectEntries = folderEntries(g_template);
  g_projectEntries.insert("Site.orx");
  fuzz::writeSeeds(
      argc, argv,
      {{"empty", "1.02\r\n"},
       {"items",
        "1.02\r\n"
        "\"QUV\",\"Raw Data\",\"\",\"LINE01\",\"LINE01.QUV\",700,0,1\r\n"
        "\"QUV\",\"Profiles\",\"\",\"LINE01\",\"LINE01.QUV\",700,1,0\r\n"
        "\"OTHER\",\"Sheets\",\"Deep\",\"sheet 1\",\"s1.dat\",800,3,0\r\n"
        "0,\"LINE01\"\r\n"},
       {"outside",
        "1.02\r\n"
        "\"QUV\",\"Raw Data\",\"\",\"up\",\"../LINE01.QUV\",700,0,0\r\n"
        "\"QUV\",\"Profiles\",\"\",\"abs\",\"/tmp/LINE01.QUV\",700,1,1\r\n"},
       {"hand",
        "1.02\n   / a comment\n\n  \"A\" , \"B\",\"\",\" spaced \",\"x\",0x2bc,0,1\n\"broken\",\"line\"\n"}});
  ::setenv("HOME", g_base.c_str(), 1);
  ::setenv("DELVAR_HOME", (g_base + "/home").c_str(), 1);
  // Message lines go to DELVAR.OUT in the current folder: not kept here.
  if (::chdir(g_base.c_str()) != 0 || ::symlink("/dev/null", "DELVAR.OUT") != 0) std::abort();
  if (host::start() != 0) std::abort();
  g_baseEntries = folderEntries(g_base);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const std::string& name : folderEntries(g_folder)) dv::removeFile(dv::joinPath(g_folder, name));
  for (const std::string& name : folderEntries(g_template))
    if (!dv::copyFile(dv::joinPath(g_template, name), dv::joinPath(g_folder, name))) std::abort();
  fuzz::writeFile(g_file, data, size);
  const std::string first = openAndClose();
  const std::string second = openAndClose();
  fuzz::check(second == first, "a written project file does not read back as written");
  fuzz::check(folderEntries(g_base) == g_baseEntries, "a file appeared outside the project folder");
  fuzz::check(folderEntries(g_folder) == g_projectEntries, "a file of the project folder appeared or went");
  return 0;
}
