// Message lines, the message bar's trimming and caret rules, the log file,
// message boxes by kind, progress and the frame's menus and dialogs.
#include <clocale>
#include <regex>

#include "dv/file.h"
#include "dv/settings.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"

namespace {

std::string lastLine() {
  std::string t = pontra::messageBarText();
  if (t.size() >= 2) t.resize(t.size() - 2);
  return t.substr(t.rfind("\r\n") == std::string::npos ? 0 : t.rfind("\r\n") + 2);
}

TEST(Messages, PrefixTimestampAndLog) {
  MsgOut(0, -1, "plain %d", 42);
  EXPECT_EQ(lastLine(), "plain 42");
  MsgOut(0, 700, "from %s", "module");
  EXPECT_EQ(lastLine(), "[GOOD]   from module");
  MsgOut(1, 0, "stamped");
  EXPECT_TRUE(std::regex_match(lastLine(), std::regex(R"(\[DELVAR\]   stamped   \(\d\d/\d\d/\d\d \d\d:\d\d:\d\d\))")))
      << lastLine();
  EXPECT_NE(fx::readFile(fx::workDir + "/DELVAR.OUT").find("[GOOD]   from module\n"), std::string::npos);
}

TEST(Messages, IDMsgOutUsesTheModulesStringTable) {
  IDMsgOut(0, 700, 5001, "hello", 7);
  EXPECT_EQ(lastLine(), "[GOOD]   Good says hello 7");
}

TEST(Messages, KindsShowBoxesWithTheirCaptions) {
  dv::headless().resetLog();
  MsgOut(64, -1, "i");
  MsgOut(48 | 1, -1, "w");
  MsgOut(16, -1, "e");
  MsgOut(0x20, -1, "q");  // any other style: a box without caption
  const auto& log = dv::headless().log();
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[0], "message box \"Information\": \"i\" -> OK");
  EXPECT_EQ(log[1].substr(0, 26), "message box \"Warning\": \"w ");
  EXPECT_EQ(log[2], "message box \"Error\": \"e\" -> OK");
  EXPECT_EQ(log[3], "message box \"\": \"q\" -> OK");
}

TEST(Messages, OldestFifthGoesPast50000Characters) {
  ClearMsgBar();
  std::string chunk(98, 'x');
  int n = 0;
  while (pontra::messageBarText().size() <= 50000) MsgOut(0, -1, "%05d%s", n++, chunk.c_str());
  size_t lines = (size_t)n + 1;  // the empty line after the last "\r\n" counts
  MsgOut(0, -1, "newest");
  std::string t = pontra::messageBarText();
  EXPECT_LT(t.size(), 50000u);
  EXPECT_EQ(lastLine(), "newest");
  char first[32];
  std::snprintf(first, sizeof first, "%05zu", lines / 5);
  EXPECT_EQ(t.substr(0, 5), first);
}

TEST(Messages, UserSelectionIsKeptWhenNotAtTheEnd) {
  ClearMsgBar();
  MsgOut(0, -1, "one");
  MsgOut(0, -1, "two");
  auto& bar = pontra::frame().messageBar;
  EXPECT_TRUE(bar.caretAtEnd());
  bar.selStart = 1;
  bar.selEnd = 3;
  MsgOut(0, -1, "three");
  EXPECT_EQ(bar.selStart, 1u);
  EXPECT_EQ(bar.selEnd, 3u);
  bar.selStart = bar.selEnd = bar.text.size();
  MsgOut(0, -1, "four");
  EXPECT_TRUE(bar.caretAtEnd());
}

TEST(Messages, NumbersKeepTheirPointUnderACommaLocale) {
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  struct Restore {
    ~Restore() { std::setlocale(LC_ALL, "C"); }
  } restore;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%.1f", 1.5);
  ASSERT_EQ(std::string(buf), "1,5")
      << "the comma locale did not take effect, so this proves nothing";
  MsgOut(0, -1, "%.2f", 2.25);
  EXPECT_EQ(lastLine(), "2.25");
  std::string ini = fx::workDir + "/locale.ini";
  dv::WritePrivateProfileString("S", "v", "0.125", ini.c_str());
  EXPECT_EQ(dv::getProfileString("S", "v", "", ini), "0.125");
}

TEST(Progress, OneWindowAtATime) {
  auto& h = dv::headless();
  EXPECT_EQ(SetProgress("x", 5), 1);
  int before = h.progressWindowsCreated();
  CreateProgress("Converting", "start");
  CreateProgress("Converting", "again");
  EXPECT_EQ(h.progressWindowsCreated(), before + 2);
  EXPECT_TRUE(h.progressVisible());
  EXPECT_EQ(SetProgress("Trace 10 of 100", 10), 0);
  EXPECT_EQ(h.progressText(), "Trace 10 of 100");
  EXPECT_EQ(h.progressPosition(), 10);
  DestroyProgress();
  EXPECT_FALSE(h.progressVisible());
  EXPECT_EQ(SetProgress("x", 5), 1);
}

TEST(Frame, MenuGreyingFollowsTheProjectState) {
  ASSERT_FALSE(pontra::projectOpen());
  dv::Menu* bar = pontra::currentMenuBar();
  for (int id : {32801, 32802, 32803, 32804, 57607, 32769}) EXPECT_TRUE(bar->find(id)->grayed) << id;
  EXPECT_FALSE(bar->find(32800)->grayed);
  EXPECT_FALSE(bar->find(57606)->grayed);
  EXPECT_FALSE(bar->find(32809)->grayed);
  EXPECT_TRUE(bar->find(32806)->checked);
  pontra::command(32806);
  EXPECT_FALSE(pontra::currentMenuBar()->find(32806)->checked);
  EXPECT_FALSE(pontra::frame().treeBarVisible);
  pontra::command(32806);
}

TEST(Frame, ModulePopupsAreNumberedByFolder) {
  using InsertFn = void (*)(int, const char*, const char*, int);
  fx::createProject(fx::workDir + "/Menus.orx");
  reinterpret_cast<InsertFn>(fx::modSymbol(700, "TestInsert"))(0, "a", "e", 0);
  dv::Menu* bar = pontra::currentMenuBar();
  const auto& items = bar->items();
  EXPECT_EQ(items.back().caption, "&0-GOOD");
  ASSERT_TRUE(items.back().popup);
  EXPECT_EQ(items.back().popup->items()[0].id, 35001);
  EXPECT_TRUE(bar->find(32800)->grayed);
  EXPECT_TRUE(bar->find(32809)->grayed);
  EXPECT_FALSE(bar->find(32802)->grayed);
  dv::headless().resetLog();
  pontra::command(57607);
  EXPECT_EQ(dv::headless().log()[0], "message box \"WARNING\": \"Can not print without a window open!\" -> OK");
  fx::closeProject();
}

TEST(Frame, EditDefaultsWritesTheSettingsFile) {
  dv::headless().addAnswerLine("answer dialog \"Edit Defaults\" set 20005 /data/surveys press OK", nullptr);
  pontra::command(32809);
  char buf[256];
  GetDefProjDir(buf, sizeof buf);
  EXPECT_EQ(std::string(buf), "/data/surveys");
  std::string ini = fx::workDir + "/install/INI/DELVAR.INI";
  EXPECT_EQ(dv::getProfileString("DELVAR_defaults", "default_project_directory", "", ini),
            "/data/surveys");
}

TEST(Frame, AboutShowsProductAndVersion) {
  dv::headless().resetLog();
  dv::headless().addAnswerLine("answer dialog \"About DELVAR\" press OK", nullptr);
  pontra::command(57664);
  EXPECT_EQ(dv::headless().unscripted(), 0);
}

}  // namespace
