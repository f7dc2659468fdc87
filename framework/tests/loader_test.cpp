// The module loader: binding by name lists, the failure paths, and which
// modules hear project notifications and main-menu commands.
#include <algorithm>

#include "dv/file.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"

namespace {

bool logHas(const std::string& s) {
  const auto& log = dv::headless().log();
  return std::any_of(log.begin(), log.end(),
                     [&](const std::string& l) { return l.find(s) != std::string::npos; });
}

TEST(Loader, EmptyNameListGetsOneEmptySlotAndIsInitialised) {
  EXPECT_EQ(IsModuleLoaded(1), 1);
  ASSERT_NE(fx::funcTables[1], nullptr);
  EXPECT_EQ(fx::funcTables[1][0], nullptr);
  EXPECT_NE(fx::modLog(1).find("init"), std::string::npos);
}

TEST(Loader, MissingInitModuleLeavesTheModuleUnloadedWithItsBox) {
  EXPECT_EQ(IsModuleLoaded(2), 0);
  EXPECT_EQ(fx::libHandles[2], nullptr);
  EXPECT_EQ(fx::funcTables[2], nullptr);
  EXPECT_TRUE(logHas("\"ERROR! Could not find function in module!\": \"InitModule\""));
}

TEST(Loader, MissingListedFunctionIsNamedInTheBox) {
  EXPECT_EQ(IsModuleLoaded(4), 0);
  EXPECT_EQ(fx::funcTables[4], nullptr) << "no table may point into a library let go again";
  EXPECT_TRUE(logHas("\"ERROR! Could not find function in module!\": \"NoSuchFunction\""));
}

TEST(Loader, AbsentLibraryFailsSilentlyAndLaterModulesStillLoad) {
  EXPECT_EQ(IsModuleLoaded(3), 0);
  EXPECT_FALSE(logHas("libdoes_not_exist"));
  EXPECT_EQ(LoadPontraModule(3), -1);
  EXPECT_EQ(IsModuleLoaded(700), 1);
  EXPECT_EQ(IsModuleLoaded(923), 1);
}

TEST(Loader, LoadingAnAlreadyLoadedModuleIsANoOp) {
  std::string before = fx::modLog(701);
  EXPECT_EQ(LoadPontraModule(701), 0);
  EXPECT_EQ(fx::modLog(701), before);
}

TEST(Loader, FunctionTableHoldsTheListInOrder) {
  ASSERT_NE(fx::funcTables[700], nullptr);
  EXPECT_EQ(fx::funcTables[700][0], nullptr);
  auto info = reinterpret_cast<PfnGetVantrelModuleInfo>(fx::funcTables[700][DV_SLOT_GET_INFO]);
  int id = 0, major = 0, minor = 0;
  const char* name = nullptr;
  ASSERT_EQ(info(&id, &major, &minor, &name), 0);
  EXPECT_EQ(id, 700);
  EXPECT_STREQ(name, "Good");
}

TEST(Loader, FrameworkReportsItsOwnIdentity) {
  int id = -1, major = 0, minor = 0;
  const char* name = nullptr;
  GetVantrelModuleInfo(&id, &major, &minor, &name);
  EXPECT_EQ(id, 0);
  EXPECT_EQ(major, 1);
  EXPECT_EQ(minor, 2);
  EXPECT_STREQ(name, "DELVAR");
}

TEST(Loader, OrxDirFollowsDelvarHome) {
  char buf[512];
  ASSERT_EQ(GetORXDir(buf, sizeof buf), 0);
  EXPECT_EQ(std::string(buf), fx::workDir + "/install");
  char tiny[4];
  GetORXDir(tiny, sizeof tiny);
  EXPECT_EQ(std::string(tiny), "/tm");  // never past the caller's buffer
}

TEST(Routing, MenuCommandBlocksGoToTheirModule) {
  for (int id : {5, 700, 701, 923}) fx::clearModLog(id);
  pontra::command(35100);
  pontra::command(35199);
  pontra::command(57343);
  pontra::command(35050);
  EXPECT_EQ(fx::modLog(701), "menu 35100;menu 35199;");
  EXPECT_EQ(fx::modLog(923), "menu 57343;");
  EXPECT_EQ(fx::modLog(700), "menu 35050;");
  EXPECT_EQ(fx::modLog(5), "");
}

TEST(Routing, ProjectNotificationsReachOnlyDataModulesInOrder) {
  for (int id : {5, 700, 701, 923}) fx::clearModLog(id);
  fx::createProject(fx::workDir + "/Notify.orx");
  ASSERT_TRUE(pontra::projectOpen());
  EXPECT_NE(fx::modLog(700).find("opened"), std::string::npos);
  EXPECT_EQ(fx::modLog(701), "opened;");
  EXPECT_EQ(fx::modLog(923), "opened;");
  EXPECT_EQ(fx::modLog(5), "");

  // Module 702 refuses: the project stays open and 923 is not asked.
  for (int id : {700, 701, 923}) fx::clearModLog(id);
  pontra::command(32801);
  EXPECT_TRUE(pontra::projectOpen());
  EXPECT_EQ(fx::modLog(701), "close?;");
  EXPECT_EQ(fx::modLog(923), "");
  fx::closeProject();
  EXPECT_FALSE(pontra::projectOpen());
}

TEST(Routing, CreateDataWithSharedTextCallsTheFirstRegisteredType) {
  fx::createProject(fx::workDir + "/CreateList.orx");
  fx::clearModLog(700);
  dv::headless().addAnswerLine("answer dialog \"Select Data Type to Create\" select 20002 \"New Item\" press OK", nullptr);
  pontra::command(32803);
  EXPECT_EQ(fx::modLog(700), "create item;");
  // Import lists only the types with an import slot; a double click chooses.
  dv::headless().addAnswerLine("answer dialog #107 dblclick 20004 \"Item Table\"", nullptr);
  pontra::command(32804);
  EXPECT_EQ(fx::modLog(700), "create item;import;");
  // OK without a choice does nothing.
  dv::headless().addAnswerLine("answer dialog #105 press OK", nullptr);
  pontra::command(32803);
  EXPECT_EQ(fx::modLog(700), "create item;import;");
  fx::closeProject();
}

}  // namespace
