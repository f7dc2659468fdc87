// The platform layer's own behaviour: settings files, the file object,
// menus, the tree, dialogs, the grid and the headless script.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/headless.h"
#include "dv/menu.h"
#include "dv/settings.h"
#include "dv/tree.h"

namespace {

std::string tempDir() {
  char t[] = "/tmp/platform-test-XXXXXX";
  return ::mkdtemp(t);
}

TEST(Settings, ReadWriteSemantics) {
  std::string f = tempDir() + "/DELVAR.INI";
  char buf[8];
  // Missing file: the default, trailing blanks trimmed, cut to size - 1.
  EXPECT_EQ(dv::GetPrivateProfileString("S", "k", "abcdefghij  ", buf, sizeof buf, f.c_str()), 7);
  EXPECT_STREQ(buf, "abcdefg");
  ASSERT_TRUE(dv::WritePrivateProfileString("DELVAR_defaults", "default_project_directory",
                                            "/home/u/surveys", f.c_str()));
  ASSERT_TRUE(dv::WritePrivateProfileString("Other", "n", "12", f.c_str()));
  ASSERT_TRUE(dv::WritePrivateProfileString("delvar_DEFAULTS", "Second", "\"quoted\"", f.c_str()));
  // Section and key names compare without regard to case; quotes come off.
  EXPECT_EQ(dv::getProfileString("DELVAR_DEFAULTS", "DEFAULT_project_directory", "", f),
            "/home/u/surveys");
  EXPECT_EQ(dv::getProfileString("DELVAR_defaults", "second", "", f), "quoted");
  EXPECT_EQ(dv::GetPrivateProfileInt("Other", "n", 5, f.c_str()), 12);
  EXPECT_EQ(dv::GetPrivateProfileInt("Other", "none", 5, f.c_str()), 5);
  // Replacing keeps one key; removing a key and a section.
  dv::WritePrivateProfileString("Other", "N", "13", f.c_str());
  std::string all;
  dv::readWholeFile(f, all);
  EXPECT_EQ(all.find("n=12"), std::string::npos);
  EXPECT_NE(all.find("N=13\r\n"), std::string::npos);
  dv::WritePrivateProfileString("Other", "N", nullptr, f.c_str());
  EXPECT_EQ(dv::GetPrivateProfileInt("Other", "n", -1, f.c_str()), -1);
  dv::WritePrivateProfileString("DELVAR_defaults", nullptr, nullptr, f.c_str());
  EXPECT_EQ(dv::getProfileString("DELVAR_defaults", "second", "gone", f), "gone");
}

TEST(Settings, ReadsLfFilesWrittenElsewhere) {
  std::string f = tempDir() + "/x.ini";
  dv::writeFileAtomic(f, "; comment\n[A]\n  key =  value with blanks  \n[B]\nkey=b\n");
  EXPECT_EQ(dv::getProfileString("A", "key", "", f), "value with blanks");
  EXPECT_EQ(dv::getProfileString("B", "key", "", f), "b");
}

TEST(File, ModesSeekAndTextLines) {
  std::string d = tempDir();
  std::string p = d + "/a.txt";
  dv::File f;
  EXPECT_FALSE(f.open(p, dv::File::ReadOnly));
  EXPECT_FALSE(f.open(p, dv::File::WriteExisting));
  ASSERT_TRUE(f.open(p, dv::File::CreateWrite, true));
  f.writeString("one\ntwo\n");
  f.close();
  std::string raw;
  dv::readWholeFile(p, raw);
  EXPECT_EQ(raw, "one\r\ntwo\r\n");
  ASSERT_TRUE(f.open(p, dv::File::WriteExisting));
  EXPECT_EQ(f.seek(0, dv::File::End), 10);
  f.write("three\r\r\nfour", 12);
  f.close();
  ASSERT_TRUE(f.open(p, dv::File::ReadOnly, true));
  std::string line;
  std::vector<std::string> lines;
  while (f.readLine(line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "four"}));
  EXPECT_EQ(f.length(), 22);
  // A folder is not a file.
  EXPECT_FALSE(f.open(d, dv::File::ReadOnly));
}

// The position is kept by the file object itself; every call that moves it
// must leave it where the stream is, or trace files get written out of place.
TEST(File, PositionFollowsSeeksReadsAndWrites) {
  std::string p = tempDir() + "/pos.bin";
  dv::File f;
  ASSERT_TRUE(f.open(p, dv::File::CreateWrite));
  EXPECT_EQ(f.position(), 0);
  f.write("0123456789", 10);
  EXPECT_EQ(f.position(), 10);
  EXPECT_EQ(f.seek(-4, dv::File::Current), 6);
  f.write("ab", 2);
  EXPECT_EQ(f.position(), 8);
  EXPECT_EQ(f.seek(-1), -1);  // a failed seek leaves the position known
  EXPECT_EQ(f.position(), 8);
  EXPECT_EQ(f.seek(2, dv::File::End), 12);
  f.write("Z", 1);
  EXPECT_EQ(f.position(), 13);
  f.close();
  ASSERT_TRUE(f.open(p, dv::File::ReadWrite));
  EXPECT_EQ(f.position(), 0);
  char buf[32];
  EXPECT_EQ(f.read(buf, 3), 3u);
  EXPECT_EQ(f.position(), 3);
  EXPECT_EQ(f.seek(f.position()), 3);  // between a read and a write
  f.write("cd", 2);
  EXPECT_EQ(f.seek(1, dv::File::Current), 6);
  EXPECT_EQ(f.read(buf, 32), 7u);  // a short read at the end
  EXPECT_EQ(f.position(), 13);
  f.close();
  std::string bytes;
  ASSERT_TRUE(dv::readWholeFile(p, bytes));
  EXPECT_EQ(bytes, std::string("012cd5ab89\0\0Z", 13));
}

TEST(File, MemoryFileGrowsOnWritePastTheEnd) {
  dv::File f;
  f.openMemory("abc", 3);
  EXPECT_EQ(f.seek(6), 6);
  char buf[4];
  EXPECT_EQ(f.read(buf, 4), 0u);
  f.write("z", 1);
  EXPECT_EQ(f.length(), 7);
  EXPECT_EQ(f.data()[4], 0);
}

TEST(File, AtomicWriteReplacesWholeAndCaseInsensitiveLookup) {
  std::string d = tempDir();
  ASSERT_TRUE(dv::writeFileAtomic(d + "/LINE01.DT1", "new"));
  std::string s;
  dv::readWholeFile(d + "/LINE01.DT1", s);
  EXPECT_EQ(s, "new");
  EXPECT_EQ(dv::findCaseInsensitive(d + "/line01.dt1"), d + "/LINE01.DT1");
  EXPECT_EQ(dv::findCaseInsensitive(d + "/line02.dt1"), "");
  // The companion of a header is the existing file in any case, else the
  // header's case; a dot in a folder name is not the extension.
  EXPECT_EQ(dv::companionFile(d + "/line01.hd", "DT1"), d + "/LINE01.DT1");
  EXPECT_EQ(dv::companionFile(d + "/line02.hd", "DT1"), d + "/line02.dt1");
  EXPECT_EQ(dv::companionFile(d + "/LINE02.RAD", "rd3"), d + "/LINE02.RD3");
  EXPECT_EQ(dv::companionFile("set.v2/LINE", "RD3"), "set.v2/LINE.RD3");
  // No temporary file is left behind.
  EXPECT_EQ(system(("test $(ls " + d + " | wc -l) -eq 1").c_str()), 0);
  // A folder that cannot be written leaves the old file whole.
  if (::geteuid() != 0) {
    ::chmod(d.c_str(), 0500);
    EXPECT_FALSE(dv::writeFileAtomic(d + "/LINE01.DT1", "lost"));
    ::chmod(d.c_str(), 0755);
    dv::readWholeFile(d + "/LINE01.DT1", s);
    EXPECT_EQ(s, "new");
  }
}

TEST(File, PathHelpersAndSafeNames) {
  EXPECT_EQ(dv::fileTitle("/a/b/Site1.orx"), "Site1");
  EXPECT_EQ(dv::extension("/a.b/Site1"), "");
  EXPECT_EQ(dv::dirName("/a/b/c.x"), "/a/b");
  EXPECT_TRUE(dv::isSafeFileName("LINE 01"));
  for (const char* bad : {"", "..", "a/b", "..\\x", "a..b", "x\ty"})
    EXPECT_FALSE(dv::isSafeFileName(bad)) << bad;
}

TEST(Menu, CaptionPathsAndStates) {
  dv::Menu bar;
  dv::Menu* file = bar.appendPopup("&File");
  file->append(dv::MF_STRING, 32800, "&Open/Create Project");
  file->appendSeparator();
  file->append(dv::MF_GRAYED, 32801, "&Close Project");
  file->append(dv::MF_STRING, 57607, "&Print\tCtrl+P");
  EXPECT_EQ(bar.findCommand("&File/&Open/Create Project"), 32800);
  EXPECT_EQ(bar.findCommand("file/open/create project"), 32800);
  EXPECT_EQ(bar.findCommand("File/Print"), 57607);
  EXPECT_EQ(bar.findCommand("File/Nothing"), 0);
  EXPECT_TRUE(bar.find(32801)->grayed);
  bar.enable(32801, true);
  bar.check(32801, true);
  EXPECT_FALSE(bar.find(32801)->grayed);
  EXPECT_TRUE(bar.find(32801)->checked);
  EXPECT_EQ(dv::Menu::plainCaption("Save && &Close"), "Save & Close");
}

TEST(Tree, SortFindAndRemove) {
  dv::TreeModel t;
  auto* root = t.insert(nullptr, "Site1", 0);
  auto* q = t.insert(root, "QUV", 1);
  t.insert(q, "beta", 2);
  t.insert(q, "Alpha", 2);
  t.insert(q, "alpha", 2);
  t.sortChildren(q);
  EXPECT_EQ(q->children[0]->text, "Alpha");
  EXPECT_EQ(q->children[1]->text, "alpha");
  EXPECT_EQ(q->children[2]->text, "beta");
  auto* odd = t.insert(q, "a/b", 2);
  EXPECT_EQ(t.findPath("Site1/QUV/a/b"), odd);
  EXPECT_EQ(t.pathOf(odd), "Site1/QUV/a/b");
  t.select(odd);
  t.remove(q);
  EXPECT_EQ(t.selected(), nullptr);
  EXPECT_EQ(t.findPath("Site1/QUV"), nullptr);
}

class RadioDlg : public dv::Dialog {
 public:
  RadioDlg() : Dialog(300, "Radios", 100, 100) {
    addRadio(101, "a", {}, true);
    addRadio(102, "b", {});
    addRadio(103, "c", {}, true);
    addRadio(104, "d", {});
    addEdit(10, {});
    addGrid(20, {});
    grid(20)->setSize(3, 2);
  }
  void onOK() override {
    if (text(10) == "refuse") return;  // stays open
    endDialog(dv::IDOK);
  }
  void onGridEdited(int id, int r, int c) override { edits += std::to_string(r) + std::to_string(c); }
  std::string edits;
};

TEST(Dialog, RadioGroupsAndScriptedRuns) {
  RadioDlg d;
  d.checkRadio(102);
  d.checkRadio(103);
  EXPECT_EQ(d.check(101), 0);
  EXPECT_EQ(d.check(102), 1);
  EXPECT_EQ(d.check(103), 1);
  auto& h = dv::headless();
  h.resetLog();
  ASSERT_TRUE(h.addAnswerLine("answer dialog Radios radio 101 cell 20 1 1 \"x y\" set 10 ok press OK", nullptr));
  EXPECT_EQ(d.doModal(), dv::IDOK);
  EXPECT_EQ(d.check(101), 1);
  EXPECT_EQ(d.check(102), 0);
  EXPECT_EQ(d.check(103), 1);
  EXPECT_EQ(d.grid(20)->text(1, 1), "x y");
  EXPECT_EQ(d.edits, "11");
  // A dialog that refuses OK stays open: the script ends, it is cancelled and reported.
  ASSERT_TRUE(h.addAnswerLine("answer dialog #300 set 10 refuse press OK", nullptr));
  EXPECT_EQ(d.doModal(), dv::IDCANCEL);
  EXPECT_EQ(h.unscripted(), 1);
}

TEST(Headless, SafeAnswersAndMatching) {
  auto& h = dv::headless();
  h.resetLog();
  h.clearAnswers();
  EXPECT_EQ(h.messageBox("q", "Delete?", dv::MB_YESNO), dv::IDNO);
  EXPECT_EQ(h.messageBox("q", "Save?", dv::MB_YESNOCANCEL), dv::IDCANCEL);
  EXPECT_EQ(h.messageBox("i", "Info", dv::MB_OK), dv::IDOK);
  EXPECT_EQ(h.unscripted(), 2);  // a box offering only OK is no question
  ASSERT_TRUE(h.addAnswerLine("answer message Other No", nullptr));
  ASSERT_TRUE(h.addAnswerLine("answer message Yes", nullptr));
  // The first answer whose caption fits is taken, whatever its place.
  EXPECT_EQ(h.messageBox("q", "Delete?", dv::MB_YESNO), dv::IDYES);
  EXPECT_EQ(h.messageBox("q", "Other", dv::MB_YESNO), dv::IDNO);
  std::string err;
  EXPECT_FALSE(h.addAnswerLine("answer message Maybe", &err));
  EXPECT_FALSE(h.addAnswerLine("answer dialog X cell 5 a b c", &err));
  EXPECT_FALSE(h.addAnswerLine("answer file \"open", &err));
  // File answers get the default extension and an absolute path.
  ASSERT_TRUE(h.addAnswerLine("answer file Site1", nullptr));
  dv::FileDialogRequest req;
  req.defaultExt = "ORX";
  auto r = h.fileDialog(req);
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.paths[0].front(), '/');
  EXPECT_EQ(dv::baseName(r.paths[0]), "Site1.ORX");
}

TEST(Headless, WordsAndComments) {
  std::vector<std::string> w;
  ASSERT_TRUE(dv::splitWords("answer dialog #107 press \"a \\\"b\\\"\\n\" # trailing", w));
  EXPECT_EQ(w, (std::vector<std::string>{"answer", "dialog", "#107", "press", "a \"b\"\n"}));
  ASSERT_TRUE(dv::splitWords("   # whole line", w));
  EXPECT_TRUE(w.empty());
}

}  // namespace
