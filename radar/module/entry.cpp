// The module's exports: the name list the framework resolves into the
// module's function table, the module information, InitModule and
// CleanupModule, and the one body every stub slot shares.
//
// GetVantrelModuleInfo, GetModuleFunctions and CleanupModule carry the same
// names as the framework's own exports, so nothing else in the module (and
// nothing a test uses from the static library) may live in this file: a
// test that pulled it in would put these names into the test program.
#include "module/callbacks.h"
#include "module/window_routes.h"
#include "processing/processing_steps.h"
#include "project/defaults_file.h"
#include "project/preferences_folders.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/tree_items.h"
#include "project/user_palette.h"
#include "quv/slots.h"

namespace {

// The 39 exports in slot order (slot k holds entry k-1); the position is the
// contract with the framework and with RegisterType below.
const char* const kQuvNames[] = {
    "GetVantrelModuleInfo",  // 1
    "GetModuleFunctions",    // 2
    "CleanupModule",         // 3
    "InitModule",            // 4
    "QuvFolderCmd",          // 5
    "QuvFolderRClick",       // 6
    "QuvGetMenu",            // 7
    "QuvMenuCmd",            // 8
    "QuvProjOpened",         // 9
    "QuvProjClose",          // 10
    "QuvFunc11",             // 11 .. 19: stubs
    "QuvFunc12",
    "QuvFunc13",
    "QuvFunc14",
    "QuvFunc15",
    "QuvFunc16",
    "QuvFunc17",
    "QuvFunc18",
    "QuvFunc19",
    "QuvRawAddFunc",           // 20
    "QuvRawCloseFunc",         // 21
    "QuvRawCmdFunc",           // 22
    "QuvRawCreateFunc",        // 23 stub
    "QuvRawDblClickFunc",      // 24
    "QuvRawDelFunc",           // 25
    "QuvRawImportFunc",        // 26 stub
    "QuvRawOpenFunc",          // 27
    "QuvRawRClickFunc",        // 28
    "QuvRawRenameFunc",        // 29
    "QuvProfileAddFunc",       // 30 stub
    "QuvProfileCloseFunc",     // 31
    "QuvProfileCmdFunc",       // 32
    "QuvProfileCreateFunc",    // 33 stub
    "QuvProfileDblClickFunc",  // 34
    "QuvProfileDelFunc",       // 35
    "QuvProfileImportFunc",    // 36
    "QuvProfileOpenFunc",      // 37
    "QuvProfileRClickFunc",    // 38
    "QuvProfileRenameFunc",    // 39
    "",
};
static_assert(sizeof(kQuvNames) / sizeof(kQuvNames[0]) == QUV_SLOT_COUNT,
              "39 names and the end marker");

}  // namespace

// The one body of every stub slot: nothing to do, done.
DV_EXPORT int QuvStubBody(void) {
  return 0;
}

#define QUV_STUB(name) DV_EXPORT int name(void) __attribute__((alias("QuvStubBody")))
QUV_STUB(QuvFunc11);
QUV_STUB(QuvFunc12);
QUV_STUB(QuvFunc13);
QUV_STUB(QuvFunc14);
QUV_STUB(QuvFunc15);
QUV_STUB(QuvFunc16);
QUV_STUB(QuvFunc17);
QUV_STUB(QuvFunc18);
QUV_STUB(QuvFunc19);
QUV_STUB(QuvRawCreateFunc);
QUV_STUB(QuvRawImportFunc);
QUV_STUB(QuvProfileAddFunc);
QUV_STUB(QuvProfileCreateFunc);
#undef QUV_STUB

DV_EXPORT int GetVantrelModuleInfo(int* id, int* major, int* minor, const char** name) {
  if (id) *id = quv::kModuleId;
  if (major) *major = 1;
  if (minor) *minor = 2;
  if (name) *name = "QUV";
  return 0;
}

DV_EXPORT int GetModuleFunctions(const char* const** list) {
  if (list) *list = kQuvNames;
  return 0;
}

DV_EXPORT int InitModule(DV_STARTUP_PARAMS) {
  quv::startup() = quv::Startup{libHandles, hostArray,  libFileNames, moduleNames, majors, minors,
                                funcTables, resHandles, resFileNames, hostA,       hostB};
  auto reg = quv::fw<PfnRegisterType>(PONTRA_RegisterType);
  if (reg) {
    // The raw type first: being the first type in the system, it is the one
    // File > Add Data calls directly.
    quv::setRawTypeIndex(reg(quv::kModuleId, 0, "QUV", "Raw Data", "", QUV_RawAddFunc,
                             "QUV - Raw Data", QUV_RawCloseFunc, QUV_RawCmdFunc, -1, "",
                             QUV_RawDblClickFunc, QUV_RawDelFunc, -1, "", QUV_RawOpenFunc,
                             QUV_RawRClickFunc, QUV_RawRenameFunc));
    quv::setProfileTypeIndex(reg(quv::kModuleId, 1, "QUV", "Profiles", "", -1, "",
                                 QUV_ProfileCloseFunc, QUV_ProfileCmdFunc, -1, "",
                                 QUV_ProfileDblClickFunc, QUV_ProfileDelFunc, QUV_ProfileImportFunc,
                                 "QUV - Brennic Project", QUV_ProfileOpenFunc,
                                 QUV_ProfileRClickFunc, QUV_ProfileRenameFunc));
  }
  quv::installWindowRoutes();
  std::string orx = quv::orxDir();
  quv::defaultFolders() = quv::readDefaultFolders(quv::settingsFilePath(orx));
  quv::loadUserPalette(orx);
  return 0;
}

DV_EXPORT int CleanupModule(void) {
  quv::deleteDisplayDefaults();
  quv::releaseTransformPlans();
  return 0;
}
