#include "fixture.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "dv/file.h"
#include "dv/system.h"
#include "pontra/pontra.h"
#include "pontra/services.h"

namespace fx {

void* libHandles[DV_MODULE_SLOTS];
DvFunc* funcTables[DV_MODULE_SLOTS];
std::string workDir;

namespace {
int hostArray[DV_MODULE_SLOTS];
char* libFileNames[DV_MODULE_SLOTS];
char* moduleNames[DV_MODULE_SLOTS];
int majors[DV_MODULE_SLOTS], minors[DV_MODULE_SLOTS];
void* resHandles[DV_MODULE_SLOTS];
char* resFileNames[DV_MODULE_SLOTS];
std::vector<DvFunc> ownTable;

char* keep(const std::string& s) { return ::strdup(s.c_str()); }

void setModule(int id, const std::string& file, const std::string& name) {
  libFileNames[id] = keep(file);
  moduleNames[id] = keep(name);
  majors[id] = 1;
  minors[id] = 2;
}

class Env : public ::testing::Environment {
 public:
  void SetUp() override {
    char tmpl[] = "/tmp/pontra-tests-XXXXXX";
    workDir = ::mkdtemp(tmpl);
    ::setenv("HOME", workDir.c_str(), 1);
    ::setenv("DELVAR_HOME", (workDir + "/install").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (workDir + "/xdg").c_str(), 1);
    ASSERT_EQ(::chdir(workDir.c_str()), 0);
    std::string mods = TESTMOD_DIR;
    // Copies of one library load as separate modules.
    for (const char* copy : {"low5", "m701", "m923"})
      dv::copyFile(mods + "/libtestmod_data701.so", workDir + "/libtestmod_" + copy + ".so");
    moduleNames[0] = keep("DELVAR");
    majors[0] = 1;
    minors[0] = 2;
    setModule(1, mods + "/libtestmod_empty_names.so", "Empty");
    setModule(2, mods + "/libtestmod_no_init.so", "NoInit");
    setModule(3, workDir + "/libdoes_not_exist.so", "Absent");
    setModule(4, mods + "/libtestmod_missing_name.so", "Missing");
    setModule(5, workDir + "/libtestmod_low5.so", "Low");
    setModule(700, mods + "/libtestmod_good.so", "GOOD");
    setModule(701, workDir + "/libtestmod_m701.so", "Rec");
    setModule(702, mods + "/libtestmod_refuse_close.so", "Refuser");
    setModule(923, workDir + "/libtestmod_m923.so", "Last");
    void* self = dv::loadLibrary(mods + "/../libpontra.so");
    ASSERT_NE(self, nullptr);
    auto getFns = reinterpret_cast<PfnGetModuleFunctions>(dv::findSymbol(self, "GetModuleFunctions"));
    const char* const* names = nullptr;
    getFns(&names);
    int n = 0;
    while (names[n][0]) ++n;
    ownTable.assign((size_t)n + 1, nullptr);
    for (int k = 0; k < n; ++k)
      ownTable[(size_t)k + 1] = reinterpret_cast<DvFunc>(dv::findSymbol(self, names[k]));
    funcTables[0] = ownTable.data();
    libHandles[0] = self;
    ASSERT_EQ(InitPontra(libHandles, hostArray, libFileNames, moduleNames, majors, minors,
                         funcTables, resHandles, resFileNames, 7, 9),
              0);
  }
  void TearDown() override { pontra::shutdown(); }
};

const auto* g_env = ::testing::AddGlobalTestEnvironment(new Env);

}  // namespace

void* modSymbol(int id, const char* name) { return dv::findSymbol(libHandles[id], name); }

std::string modLog(int id) {
  auto fn = reinterpret_cast<const char* (*)()>(modSymbol(id, "TestModLog"));
  return fn ? fn() : "";
}

void clearModLog(int id) {
  if (auto fn = reinterpret_cast<void (*)()>(modSymbol(id, "TestModClearLog"))) fn();
}

void createProject(const std::string& orxPath) {
  dv::headless().addAnswerLine("answer file \"" + orxPath + "\"", nullptr);
  if (!dv::fileExists(orxPath))
    dv::headless().addAnswerLine("answer message \"Create Project?\" Yes", nullptr);
  pontra::command(32800);
  dv::ui().processPosted();
}

void closeProject() {
  auto setRefuse = reinterpret_cast<void (*)(int)>(modSymbol(702, "TestSetRefuse"));
  if (setRefuse) setRefuse(0);
  pontra::command(32801);
  if (setRefuse) setRefuse(1);
}

dv::TreeItem* item(const std::string& path) { return pontra::frame().tree.findPath(path); }

std::string readFile(const std::string& path) {
  std::string s;
  dv::readWholeFile(path, s);
  return s;
}

}  // namespace fx
