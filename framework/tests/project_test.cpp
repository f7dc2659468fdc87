// Projects: creation, the project file written and read, folder chains,
// inert items of unloaded modules, deletion and renaming rules.
#include <sys/stat.h>
#include <unistd.h>

#include "dv/file.h"
#include "dv/system.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"

namespace {

using InsertFn = void (*)(int, const char*, const char*, int);

void insert(int which, const char* name, int selected = 0, const char* ext = "ext") {
  reinterpret_cast<InsertFn>(fx::modSymbol(700, "TestInsert"))(which, name, ext, selected);
}

class Project : public ::testing::Test {
 protected:
  void TearDown() override {
    if (pontra::projectOpen()) fx::closeProject();
    dv::headless().clearAnswers();
  }
};

TEST_F(Project, CreatingMakesAFolderBesideTheChosenFileAndRemembersItsParent) {
  dv::makeDirectory(fx::workDir + "/Survey");
  fx::createProject(fx::workDir + "/Survey/Site1.orx");
  ASSERT_TRUE(pontra::projectOpen());
  EXPECT_TRUE(dv::fileExists(fx::workDir + "/Survey/Site1/Site1.orx"));
  EXPECT_EQ(pontra::projectDir(), fx::workDir + "/Survey/Site1");
  char buf[512];
  GetDefProjDir(buf, sizeof buf);
  EXPECT_EQ(std::string(buf), fx::workDir + "/Survey");
  ASSERT_NE(fx::item("Site1"), nullptr);
  EXPECT_EQ(fx::readFile(fx::workDir + "/Survey/Site1/Site1.orx"), "1.02\r\n");
  EXPECT_NE(pontra::messageBarText().find("[DELVAR]   Project Created: " + fx::workDir +
                                          "/Survey/Site1/Site1.orx   ("),
            std::string::npos);
  // Open/Create is greyed while a project is open and does nothing.
  EXPECT_TRUE(pontra::currentMenuBar()->find(32800)->grayed);
}

TEST_F(Project, AnExistingFolderIsNotTakenOverByANewProject) {
  dv::makeDirectory(fx::workDir + "/Taken");
  dv::writeFileAtomic(fx::workDir + "/Taken/notes.txt", "mine");
  dv::headless().resetLog();
  fx::createProject(fx::workDir + "/Taken.orx");
  EXPECT_FALSE(pontra::projectOpen());
  EXPECT_FALSE(dv::fileExists(fx::workDir + "/Taken/Taken.orx"));
  bool boxed = false;
  for (auto& l : dv::headless().log())
    if (l.find("\"ERROR\": \"Could not create directory for project!\"") != std::string::npos) boxed = true;
  EXPECT_TRUE(boxed);
}

TEST_F(Project, AnsweringNoCreatesNothing) {
  dv::headless().addAnswerLine("answer file \"" + fx::workDir + "/Never.orx\"", nullptr);
  dv::headless().addAnswerLine("answer message \"Create Project?\" No", nullptr);
  pontra::command(32800);
  EXPECT_FALSE(pontra::projectOpen());
  EXPECT_FALSE(dv::fileExists(fx::workDir + "/Never"));
}

TEST_F(Project, ObjectsAreSavedDepthFirstInLabelOrderAndReopen) {
  fx::createProject(fx::workDir + "/Order.orx");
  insert(0, "beta", 1);
  insert(0, "Alpha");
  insert(1, "sheet1", 0, "sheet");
  std::string file = fx::readFile(fx::workDir + "/Order/Order.orx");
  EXPECT_EQ(file,
            "1.02\r\n"
            "\"GOOD\",\"Items\",\"\",\"Alpha\",\"ext\",700,0,0\r\n"
            "\"GOOD\",\"Items\",\"\",\"beta\",\"ext\",700,0,1\r\n"
            "\"GOOD\",\"Sheets\",\"Deep\",\"sheet1\",\"sheet\",700,1,0\r\n");
  fx::closeProject();
  EXPECT_NE(fx::modLog(700).find("close "), std::string::npos);

  fx::clearModLog(700);
  fx::createProject(fx::workDir + "/Order/Order.orx");
  EXPECT_EQ(fx::modLog(700).substr(0, 40), "open Alpha;open beta;open sheet1;opened;");
  ASSERT_NE(fx::item("Order/GOOD/Sheets/Deep/sheet1"), nullptr);
  int sel = -1;
  GetTreeSelected(fx::item("Order/GOOD/Items/beta"), &sel);
  EXPECT_EQ(sel, 1);
  // The reopened project file is byte for byte the one that was read.
  EXPECT_EQ(fx::readFile(fx::workDir + "/Order/Order.orx"), file);
}

TEST_F(Project, ReadsLfAndCrLfCommentsBlanksAndSkipsBrokenLines) {
  dv::makeDirectory(fx::workDir + "/Hand");
  std::string path = fx::workDir + "/Hand/Hand.orx";
  dv::writeFileAtomic(path,
                      "1.02\n"
                      "   / a comment\n"
                      "\n"
                      "  \"GOOD\" , \"Items\",\"\",\" spaced \",\"ext\",700,0,1\r\n"
                      "\"GOOD\",\"Items\"\n"
                      "\"X\",\"Y\",\"\",\"bad\",\"e\",5000,0,0\n"
                      "\"OTHER\",\"Things\",\"\",\"orphan\",\"o.dat\",800,3,1\n");
  fx::createProject(path);
  ASSERT_TRUE(pontra::projectOpen());
  EXPECT_NE(fx::item("Hand/GOOD/Items/spaced"), nullptr);
  EXPECT_NE(pontra::messageBarText().find("could not be read"), std::string::npos);
  // The line of a module that is not loaded becomes an inert item.
  dv::TreeItem* orphan = fx::item("Hand/OTHER/Things/orphan");
  ASSERT_NE(orphan, nullptr);
  EXPECT_EQ(orphan->image, 5);
  fx::closeProject();
  std::string saved = fx::readFile(path);
  EXPECT_NE(saved.find("\"OTHER\",\"Things\",\"\",\"orphan\",\"o.dat\",800,3,0\r\n"), std::string::npos);
  EXPECT_EQ(saved.find("bad"), std::string::npos);
}

TEST_F(Project, ItemsOfAServiceModuleNeverCallIntoItsTable) {
  // Module 5 is loaded with a data module's callbacks at their slots; a
  // project line naming it gets an inert folder, not its callbacks.
  dv::makeDirectory(fx::workDir + "/Svc");
  std::string path = fx::workDir + "/Svc/Svc.orx";
  dv::writeFileAtomic(path, "1.02\r\n\"Low\",\"Things\",\"\",\"x\",\"x.dat\",5,0,0\r\n");
  fx::clearModLog(5);
  fx::createProject(path);
  ASSERT_NE(fx::item("Svc/Low/Things"), nullptr);
  dv::headless().addAnswerLine("answer popup 33001", nullptr);
  pontra::frame().tree.handler()->treeRightClick(fx::item("Svc/Low/Things"), 0, 0);
  dv::ui().processPosted();
  dv::headless().clearAnswers();
  EXPECT_EQ(fx::modLog(5), "");
}

TEST_F(Project, VersionLineOnlyOpensAsAnEmptyProject) {
  dv::makeDirectory(fx::workDir + "/Empty");
  dv::writeFileAtomic(fx::workDir + "/Empty/Empty.orx", "1.02\r\n");
  fx::createProject(fx::workDir + "/Empty/Empty.orx");
  ASSERT_TRUE(pontra::projectOpen());
  ASSERT_NE(fx::item("Empty"), nullptr);
  EXPECT_TRUE(fx::item("Empty")->children.empty());
  DvHandle folder = reinterpret_cast<DvHandle>(1);
  GetFolder(0, &folder);
  EXPECT_EQ(folder, nullptr);
}

TEST_F(Project, DeletingTheLastObjectRemovesItsFoldersAndTheModulePopup) {
  fx::createProject(fx::workDir + "/Del.orx");
  insert(1, "only");
  ASSERT_NE(fx::item("Del/GOOD/Sheets/Deep/only"), nullptr);
  DvHandle folder = nullptr;
  GetFolder(1, &folder);
  EXPECT_EQ(folder, fx::item("Del/GOOD/Sheets/Deep"));
  auto& bar = pontra::currentMenuBar()->items();
  ASSERT_EQ(bar.back().caption, "&0-GOOD");
  pontra::frame().tree.handler()->treeDeleteKey(fx::item("Del/GOOD/Sheets/Deep/only"));
  EXPECT_EQ(fx::item("Del/GOOD"), nullptr);
  EXPECT_NE(fx::item("Del"), nullptr);
  EXPECT_EQ(pontra::currentMenuBar()->items().back().caption, "&Help");
}

TEST_F(Project, BadItemsCannotBeSelected) {
  fx::createProject(fx::workDir + "/Bad.orx");
  insert(0, "x");
  DvHandle it = fx::item("Bad/GOOD/Items/x");
  SetTreeBad(it, 1);
  SetTreeSelected(it, 1);
  int sel = -1;
  GetTreeSelected(it, &sel);
  EXPECT_EQ(sel, 0);
  EXPECT_EQ(fx::item("Bad/GOOD/Items/x")->image, 4);
  EXPECT_FALSE(pontra::frame().tree.handler()->treeBeginLabelEdit(fx::item("Bad/GOOD/Items/x")));
}

TEST_F(Project, RenameRules) {
  fx::createProject(fx::workDir + "/Ren.orx");
  insert(0, "Line1");
  insert(0, "Line2");
  auto* h = pontra::frame().tree.handler();
  dv::TreeItem* it = fx::item("Ren/GOOD/Items/Line1");
  EXPECT_FALSE(h->treeEndLabelEdit(it, "LINE1"));   // its own name in another case
  EXPECT_FALSE(h->treeEndLabelEdit(it, "line2"));   // a sibling's
  EXPECT_FALSE(h->treeEndLabelEdit(it, " \",, "));  // nothing left after cleaning
  fx::clearModLog(700);
  EXPECT_TRUE(h->treeEndLabelEdit(it, "  New, \"Name\" "));
  EXPECT_EQ(fx::modLog(700), "rename New Name;");
  EXPECT_NE(fx::item("Ren/GOOD/Items/New Name"), nullptr);
  EXPECT_NE(fx::readFile(fx::workDir + "/Ren/Ren.orx").find("\"New Name\""), std::string::npos);
  // Folders and the root are never renamed.
  EXPECT_FALSE(h->treeBeginLabelEdit(fx::item("Ren/GOOD")));
  EXPECT_FALSE(h->treeBeginLabelEdit(fx::item("Ren")));
}

TEST_F(Project, PopupCommandsReachTheObjectFolderOrRoot) {
  fx::createProject(fx::workDir + "/Pop.orx");
  insert(0, "obj");
  auto* h = pontra::frame().tree.handler();
  fx::clearModLog(700);
  dv::headless().addAnswerLine("answer popup &Open", nullptr);
  h->treeRightClick(fx::item("Pop/GOOD/Items/obj"), 10, 20);
  dv::ui().processPosted();
  EXPECT_EQ(fx::modLog(700), "rclick;command 33100;");
  // A greyed entry cannot be chosen.
  fx::clearModLog(700);
  dv::headless().addAnswerLine("answer popup 33101", nullptr);
  h->treeRightClick(fx::item("Pop/GOOD/Items/obj"), 10, 20);
  dv::ui().processPosted();
  EXPECT_EQ(fx::modLog(700), "rclick;");
  fx::clearModLog(700);
  dv::headless().addAnswerLine("answer popup 33001", nullptr);
  h->treeRightClick(fx::item("Pop/GOOD/Items"), 0, 0);
  dv::ui().processPosted();
  EXPECT_EQ(fx::modLog(700), "folderrclick Items;folder 33001;");
  // The root's own pop-up: Add Data calls the first type's Add.
  fx::clearModLog(700);
  dv::headless().addAnswerLine("answer popup \"&Add Data\"", nullptr);
  h->treeRightClick(fx::item("Pop"), 0, 0);
  dv::ui().processPosted();
  EXPECT_EQ(fx::modLog(700), "add;");
  h->treeDoubleClick(fx::item("Pop/GOOD/Items/obj"));
  EXPECT_EQ(fx::modLog(700), "add;dblclick;");
}

TEST_F(Project, WindowLineActivatesTheWindowWithThatTitle) {
  struct W : dv::DocWindow {};
  W a, b;
  a.setTitle("Profile:A");
  b.setTitle("Profile B");
  auto& mdi = pontra::frame().mdi;
  mdi.add(&a);
  mdi.add(&b);
  dv::makeDirectory(fx::workDir + "/Win");
  dv::writeFileAtomic(fx::workDir + "/Win/Win.orx", "1.02\n1,\"Profile:A\"\n0,\"Profile B\"\n");
  fx::createProject(fx::workDir + "/Win/Win.orx");
  // "Profile B" holds a blank, so only its text up to the blank is compared.
  EXPECT_EQ(mdi.active(), &a);
  EXPECT_TRUE(a.maximized());
  fx::closeProject();
  EXPECT_NE(fx::readFile(fx::workDir + "/Win/Win.orx").find("1,\"Profile:A\"\r\n"), std::string::npos);
  mdi.remove(&a);
  mdi.remove(&b);
}

TEST_F(Project, UnwritableProjectFileMakesSaveProjFailWithoutHarm) {
  fx::createProject(fx::workDir + "/Ro.orx");
  std::string dir = fx::workDir + "/Ro";
  ::chmod(dir.c_str(), 0500);
  bool root = ::geteuid() == 0;
  int r = SaveProj();
  ::chmod(dir.c_str(), 0755);
  if (!root) {
    EXPECT_EQ(r, -1);
  }
  EXPECT_EQ(fx::readFile(dir + "/Ro.orx"), "1.02\r\n");
}

TEST_F(Project, ALineOfAModuleThatDoesNotOwnTheItemIsBadAndTheRestOpens) {
  dv::makeDirectory(fx::workDir + "/Mix");
  std::string path = fx::workDir + "/Mix/Mix.orx";
  // Module 5 is loaded but registered no types; 800 is not installed.
  const std::string wrong = "\"GOOD\",\"Items\",\"\",\"wrong\",\"ext\",5,0,0";
  dv::writeFileAtomic(path, "1.02\r\n" + wrong +
                                "\r\n"
                                "\"GOOD\",\"Items\",\"\",\"alien\",\"ext\",800,0,0\r\n"
                                "\"Own\",\"\",\"\",\"own\",\"e\",5,3,0\r\n"
                                "\"GOOD\",\"Items\",\"\",\"right\",\"ext\",700,0,0\r\n");
  fx::clearModLog(5);
  fx::clearModLog(700);
  fx::createProject(path);
  ASSERT_TRUE(pontra::projectOpen());
  EXPECT_NE(fx::modLog(700).find("open right;"), std::string::npos);
  std::string bar = pontra::messageBarText();
  for (const char* name : {"wrong", "alien", "own"}) {
    EXPECT_NE(bar.find(std::string("Bad project file line, ") + name + " not opened"),
              std::string::npos)
        << name;
    dv::TreeItem* it = fx::item(std::string(name) == "own" ? "Mix/Own/own"
                                                           : std::string("Mix/GOOD/Items/") + name);
    ASSERT_NE(it, nullptr) << name;
    EXPECT_EQ(it->image, 4);
  }
  // The folder the bad line made first belongs to the module that
  // registered it: its menu comes from there, and no module without types
  // is ever asked for a menu or a folder pop-up.
  DvHandle folder = nullptr;
  GetFolder(0, &folder);
  EXPECT_EQ(folder, fx::item("Mix/GOOD/Items"));
  EXPECT_EQ(pontra::currentMenuBar()->items().back().caption, "&0-GOOD");
  pontra::frame().tree.handler()->treeRightClick(fx::item("Mix/Own"), 0, 0);
  EXPECT_EQ(fx::modLog(5), "");
  pontra::frame().tree.handler()->treeDoubleClick(fx::item("Mix/GOOD/Items/wrong"));
  EXPECT_EQ(fx::modLog(700).find("dblclick"), std::string::npos);
  // Nothing is lost: the bad lines are saved again as they were.
  fx::closeProject();
  std::string saved = fx::readFile(path);
  EXPECT_NE(saved.find(wrong + "\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\"Own\",\"\",\"\",\"own\",\"e\",5,3,0\r\n"), std::string::npos);
}

TEST_F(Project, LeftoversOfCutShortWritesGoWhenTheProjectOpens) {
  fx::createProject(fx::workDir + "/Left.orx");
  fx::closeProject();
  std::string dir = fx::workDir + "/Left/";
  const std::string dead = "999999999", live = std::to_string(::getppid());
  const std::vector<std::string> stale = {"T01_BIG.QUV.part", "DZT_BIG.QUV.tmp" + dead,
                                          "Left.orx.~" + dead + "-123"};
  const std::vector<std::string> kept = {"BIG.QUV.tmp" + live, "notes.part.txt", "keep.tmp",
                                         "x.~1a-2", "T01_BIG.QUV"};
  for (const auto& n : stale) dv::writeFileAtomic(dir + n, "x");
  for (const auto& n : kept) dv::writeFileAtomic(dir + n, "x");
  dv::makeDirectory(dir + "F.QUV.part");  // only files go
  fx::createProject(dir + "Left.orx");
  ASSERT_TRUE(pontra::projectOpen());
  for (const auto& n : stale) EXPECT_FALSE(dv::fileExists(dir + n)) << n;
  for (const auto& n : kept) EXPECT_TRUE(dv::fileExists(dir + n)) << n;
  EXPECT_TRUE(dv::isDirectory(dir + "F.QUV.part"));
  EXPECT_NE(pontra::messageBarText().find(
                "Removed 3 leftover temporary files of cut-short writes: DZT_BIG.QUV.tmp" + dead +
                ", Left.orx.~" + dead + "-123, T01_BIG.QUV.part"),
            std::string::npos);
}

TEST_F(Project, TheLockKeepsASecondOpenerOutAndALeftLockIsTakenOver) {
  fx::createProject(fx::workDir + "/Locked.orx");
  const std::string dir = fx::workDir + "/Locked", lock = dir + "/Locked.lock";
  dv::LockOwner me = dv::readLockFile(lock);
  EXPECT_EQ(me.pid, (long)::getpid());
  EXPECT_EQ(me.host, dv::hostName());
  EXPECT_EQ(me.user, dv::userName());
  fx::closeProject();
  EXPECT_FALSE(dv::fileExists(lock));
  auto holdBy = [&](const std::string& host, long pid) {
    dv::writeFileAtomic(lock, "DELVAR project lock\nuser alice\nhost " + host + "\npid " +
                                  std::to_string(pid) + "\n");
  };
  // A running process on this host, and any process of another host, keep it.
  for (const std::string& host : {dv::hostName(), std::string("elsewhere")}) {
    holdBy(host, ::getppid());
    dv::headless().resetLog();
    fx::createProject(dir + "/Locked.orx");
    EXPECT_FALSE(pontra::projectOpen()) << host;
    std::string who = "user alice on host " + host + ", process " + std::to_string(::getppid());
    EXPECT_NE(
        pontra::messageBarText().find("is in use. It is open in another workbench or job: " + who),
        std::string::npos);
    ASSERT_FALSE(dv::headless().log().empty());
    EXPECT_NE(dv::headless().log().back().find("\"Project In Use\""), std::string::npos);
    EXPECT_EQ(dv::readLockFile(lock).user, "alice");
  }
  // One left by a process that no longer runs here is taken over.
  holdBy(dv::hostName(), 999999999);
  fx::createProject(dir + "/Locked.orx");
  ASSERT_TRUE(pontra::projectOpen());
  EXPECT_NE(pontra::messageBarText().find(
                "Took over the lock of " + dir + "/Locked.orx left by user alice on host " +
                dv::hostName() + ", process 999999999, which no longer runs"),
            std::string::npos);
  EXPECT_EQ(dv::readLockFile(lock).pid, (long)::getpid());
}

}  // namespace
