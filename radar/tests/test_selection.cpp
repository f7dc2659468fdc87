// Selection sets: version texts and ".sel" lines (pure), the selection
// dialog's buttons (the dialog object of the static copy, without the tree),
// and end to end through the loaded module: the dialog in both modes, saving
// and loading sets, the batch selection check and Choose Version.
#include "dv/headless.h"
#include "fixture.h"
#include "project/profile.h"
#include "project/selection.h"

namespace {

using namespace quvtest;
using quv::SelectionRow;

TEST(SelectionText, VersionTextsAndTheirParsing) {
  EXPECT_EQ(quv::versionText(0, 1, "first"), "T1 first");
  EXPECT_EQ(quv::versionText(1, 2, ""), "D2 ");
  EXPECT_EQ(quv::versionText(2, 15, "x"), "E15 x");
  int kind = -1, number = -1;
  EXPECT_TRUE(quv::parseVersionText("T1 first", kind, number));
  EXPECT_EQ(kind, 0);
  EXPECT_EQ(number, 1);
  EXPECT_TRUE(quv::parseVersionText("D12", kind, number));
  EXPECT_EQ(kind, 1);
  EXPECT_EQ(number, 12);
  EXPECT_TRUE(quv::parseVersionText("E3 DEEP", kind, number));
  EXPECT_EQ(kind, 2);
  for (auto bad : {"", "T", "X1", "t1"}) EXPECT_FALSE(quv::parseVersionText(bad, kind, number)) << bad;
}

TEST(SelectionText, SetFilesAreReadInUpperCaseWithoutCommentsOrQuotes) {
  std::string text =
      "/ a comment\r\n"
      "   / an indented comment\n"
      "\n"
      "\"line1.dzt\"\r\n"
      "  \" Line 2 \" , \"t1 first\"  \n"
      "\"P3\",\"D2 \",\"ignored\"";
  auto e = quv::parseSelectionSet(text);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].name, "LINE1.DZT");
  EXPECT_EQ(e[0].version, "");
  EXPECT_EQ(e[1].name, "LINE 2");
  EXPECT_EQ(e[1].version, "T1 FIRST");
  EXPECT_EQ(e[2].name, "P3");
  EXPECT_EQ(e[2].version, "D2");
  EXPECT_TRUE(quv::parseSelectionSet("").empty());
  std::string version = "T1 first";
  EXPECT_EQ(quv::selectionSetLine("A.DZT", nullptr), "\"A.DZT\"\r\n");
  EXPECT_EQ(quv::selectionSetLine("P1", &version), "\"P1\",\"T1 first\"\r\n");
}

std::vector<SelectionRow> rows3() {
  return {{"A", true, "", {}}, {"B", false, "", {}}, {"C", false, "", {}}};
}

std::vector<bool> ticks(quv::CSelectDlg& d) {
  std::vector<bool> out;
  dv::GridModel* g = d.grid(quv::CSelectDlg::IDC_GRID);
  for (int r = 1; r < g->rows(); ++r) out.push_back(g->checked(r, 1));
  return out;
}

TEST(SelectionDialog, ButtonsTickUntickInvertAndSelectHighlighted) {
  quv::CSelectDlg d(quv::SelectionMode::Raw, rows3(), "");
  EXPECT_EQ(d.caption(), "Select Raw Data Sets");
  EXPECT_EQ(d.helpContext(), 19);
  ASSERT_TRUE(d.onInitDialog());
  dv::GridModel* g = d.grid(quv::CSelectDlg::IDC_GRID);
  ASSERT_EQ(g->rows(), 4);
  ASSERT_EQ(g->cols(), 2);
  EXPECT_EQ(g->text(0, 0), "Raw Data");
  EXPECT_EQ(g->text(0, 1), "Selected");
  EXPECT_EQ(g->kind(1, 1), dv::GridModel::Check);
  EXPECT_EQ(ticks(d), (std::vector<bool>{true, false, false}));
  d.onCommand(quv::CSelectDlg::IDC_INVERT, dv::BN_CLICKED);
  EXPECT_EQ(ticks(d), (std::vector<bool>{false, true, true}));
  d.onCommand(quv::CSelectDlg::IDC_DESELECT_ALL, dv::BN_CLICKED);
  EXPECT_EQ(ticks(d), (std::vector<bool>{false, false, false}));
  g->setHighlighted(1, true);
  g->setHighlighted(3, true);
  d.onCommand(quv::CSelectDlg::IDC_SELECT_HIGHLIGHTED, dv::BN_CLICKED);
  EXPECT_EQ(ticks(d), (std::vector<bool>{true, false, true}));
  g->setHighlighted(1, false);
  g->setChecked(1, 1, false);
  d.onCommand(quv::CSelectDlg::IDC_SELECT_HIGHLIGHTED, dv::BN_CLICKED);
  EXPECT_EQ(ticks(d), (std::vector<bool>{false, false, true})) << "other rows keep their state";
  d.onCommand(quv::CSelectDlg::IDC_SELECT_ALL, dv::BN_CLICKED);
  EXPECT_EQ(ticks(d), (std::vector<bool>{true, true, true}));
  d.onCommand(dv::IDOK, dv::BN_CLICKED);
  ASSERT_TRUE(d.ended());
  for (auto& r : d.rows()) EXPECT_TRUE(r.ticked) << r.name;
}

TEST(SelectionDialog, ProfileModeShowsVersionsAsDropDowns) {
  std::vector<SelectionRow> rows = {{"P1", false, "T1 first", {"T1 first", "D1 deep"}}};
  quv::CSelectDlg d(quv::SelectionMode::Profiles, rows, "");
  EXPECT_EQ(d.caption(), "Select Profile Data Sets");
  EXPECT_EQ(d.helpContext(), 57);
  ASSERT_TRUE(d.onInitDialog());
  dv::GridModel* g = d.grid(quv::CSelectDlg::IDC_GRID);
  ASSERT_EQ(g->cols(), 3);
  EXPECT_EQ(g->text(0, 0), "Profile");
  EXPECT_EQ(g->text(0, 2), "Version");
  EXPECT_EQ(g->kind(1, 2), dv::GridModel::DropDown);
  EXPECT_EQ(g->choices(1, 2), (std::vector<std::string>{"T1 first", "D1 deep"}));
  EXPECT_EQ(g->text(1, 2), "T1 first");
  g->userEdit(1, 2, "D1 deep");
  d.onCommand(dv::IDOK, dv::BN_CLICKED);
  EXPECT_EQ(d.rows()[0].version, "D1 deep");
}

// --- with the project ------------------------------------------------------------

class Selection : public ProjectTest {
 protected:
  std::string raw(const std::string& label) { return rawPath(label); }
  std::string prf(const std::string& label) { return "Site/QUV/Profiles/" + label; }

  void addRaw() {
    writeFile(join(field, "BAD.DZT"), std::string(2000, 'x'));
    addRecordings({makeRecording(field, "A.DZT", "DZT"), makeRecording(field, "B.SGY", "SGY"),
                   join(field, "BAD.DZT")});
    clearMessages();
    resetUi();
  }

  // A profile `name` of 10 traces of 8 samples with the given versions
  // (kind, number, version name), written with the module's own writers.
  void writeProfile(const std::string& name, std::vector<std::tuple<int, int, std::string>> versions) {
    const std::string f = name + ".QUV";
    quv::ProfileHeader h;
    quv::setSidePaths(h, projDir, f);
    h.traceCount = 10;
    h.nodeTrace = {0, 9};
    h.nodeEasting = {0, 9};
    h.nodeNorthing = {0, 0};
    for (int i = 0; i < 10; ++i) h.easting.push_back(float(i)), h.northing.push_back(0);
    ASSERT_TRUE(quv::writeGeoFile(h));
    ASSERT_TRUE(quv::writeXYFile(h));
    for (auto& [kind, number, vname] : versions) {
      quv::ProfileVersion v;
      v.kind = kind, v.number = number, v.name = vname;
      v.headerPath = inProject(quv::headerFileName(kind, number, f));
      v.samples = 8;
      ASSERT_TRUE(quv::writeVersionHeaderFile(v));
      writeFile(inProject(quv::sampleFileName(kind, number, f)), std::string(10 * 8 * 4, '\0'));
    }
    quv::ProfileFileFields pf;
    pf.traceCount = 10;
    ASSERT_TRUE(quv::writeProfileFile(inProject("PRF_" + f), pf));
  }

  // Profiles P1 (T1 "first", T2, D1 "deep") and P2 (T1), in the project.
  void addProfiles() {
    writeProfile("P1", {{0, 1, "first"}, {0, 2, ""}, {1, 1, "deep"}});
    writeProfile("P2", {{0, 1, ""}});
    closeProject();
    std::string orxText = readFile(orx);
    for (auto n : {"P1", "P2"})
      orxText += std::string("\"QUV\",\"Profiles\",\"\",\"") + n + "\",\"" + n + ".QUV\",700,1,0\r\n";
    writeFile(orx, orxText);
    openProject(orx);
    ASSERT_NE(item(prf("P1")), nullptr) << messages();
    ASSERT_EQ(isBad(item(prf("P1"))), 0) << messages();
    clearMessages();
    resetUi();
  }

  // The selected version stored in a profile's file (kind, number).
  std::pair<int, int> storedSelection(const std::string& name) {
    closeProject();
    quv::ProfileFileFields f;
    EXPECT_TRUE(quv::decodeProfileFile(readFile(inProject("PRF_" + name + ".QUV")), f));
    openProject(orx);
    return {f.selection1, f.selection2};
  }
};

TEST_F(Selection, DialogListsGoodItemsAndOkAppliesTheTicks) {
  QUV_NEED_FORMAT_LIBRARY();
  addRaw();
  popup(item(raw("A.DZT")), 33121);
  // Rows follow the tree: A.DZT, B.SGY; the bad item is not listed.
  answer("answer dialog \"Select Raw Data Sets\" cell 20600 1 1 0 cell 20600 2 1 1 cell 20600 3 1 1 press OK");
  popup(item("Site/QUV/Raw Data"), 33104);
  EXPECT_EQ(countOf(uiLogText(), "grid 20600 has no cell 3,1"), 1) << uiLogText();
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 0);
  EXPECT_EQ(isSelected(item(raw("B.SGY"))), 1);
  EXPECT_EQ(isSelected(item(raw("BAD.DZT"))), 0);
  // Cancel changes nothing.
  answer("answer dialog \"Select Raw Data Sets\" press 20601 press Cancel");
  command(35004);
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 0);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Selection, SavedSetLoadsBackWithoutRegardToCase) {
  QUV_NEED_FORMAT_LIBRARY();
  addRaw();
  std::string set = join(work, "pair.sel");
  answer("answer file \"" + set + "\"");
  answer("answer dialog \"Select Raw Data Sets\" press 20601 press 20605 press Cancel");
  command(35004);
  EXPECT_EQ(readFile(set), "\"A.DZT\"\r\n\"B.SGY\"\r\n");
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 0) << "Cancel after saving keeps the tree as it was";

  // A set written by hand in lower case, with a name the tree lacks.
  std::string lower = join(work, "lower.SEL");
  writeFile(lower, "/ picked in the field\n\"b.sgy\"\n\"nope.dzt\"\n");
  popup(item(raw("A.DZT")), 33121);
  answer("answer file \"" + lower + "\"");
  answer("answer message \"Deselect?\" Yes");
  answer("answer dialog \"Select Raw Data Sets\" press 20604 press OK");
  command(35004);
  EXPECT_EQ(countOf(uiLogText(), "message box \"Warning\": \"Could not find tree item NOPE.DZT.\""), 1)
      << uiLogText();
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 0) << "Deselect? Yes unticked it first";
  EXPECT_EQ(isSelected(item(raw("B.SGY"))), 1);
  // Answered No, the loaded names add to the ticks.
  popup(item(raw("A.DZT")), 33121);
  popup(item(raw("B.SGY")), 33122);
  answer("answer file \"" + lower + "\"");
  answer("answer message \"Deselect?\" No");
  answer("answer dialog \"Select Raw Data Sets\" press 20604 press OK");
  command(35004);
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 1);
  EXPECT_EQ(isSelected(item(raw("B.SGY"))), 1);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Selection, EmptySetIsAnEmptyFileThatUnticksEverything) {
  QUV_NEED_FORMAT_LIBRARY();
  addRaw();
  std::string set = join(work, "empty.sel");
  answer("answer file \"" + set + "\"");
  answer("answer dialog \"Select Raw Data Sets\" press 20602 press 20605 press Cancel");
  command(35004);
  ASSERT_TRUE(exists(set));
  EXPECT_EQ(readFile(set), "");
  command(35002);
  answer("answer file \"" + set + "\"");
  answer("answer message \"Deselect?\" Yes");
  answer("answer dialog \"Select Raw Data Sets\" press 20604 press OK");
  command(35004);
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 0);
  EXPECT_EQ(isSelected(item(raw("B.SGY"))), 0);
  // A set that cannot be read says so and leaves the grid alone.
  answer("answer file \"" + join(work, "missing.sel") + "\"");
  answer("answer dialog \"Select Raw Data Sets\" press 20604 press Cancel");
  command(35004);
  EXPECT_EQ(countOf(uiLogText(), "message box \"Error\": \"Could not open file for reading\""), 1)
      << uiLogText();
  // Nor can a set be written into a folder that does not exist.
  answer("answer file \"" + join(work, "no/such/folder.sel") + "\"");
  answer("answer dialog \"Select Raw Data Sets\" press 20605 press Cancel");
  command(35004);
  EXPECT_EQ(countOf(uiLogText(), "message box \"Error\": \"Could not create file\""), 1) << uiLogText();
}

TEST_F(Selection, ProfileVersionsAreChosenInTheGridAndStoredWithTheProfile) {
  addProfiles();
  answer("answer dialog \"Select Profile Data Sets\" cell 20600 1 1 1 cell 20600 1 2 \"D1 deep\" press OK");
  popup(item("Site/QUV/Profiles"), 33202);
  EXPECT_EQ(isSelected(item(prf("P1"))), 1) << uiLogText();
  EXPECT_EQ(isSelected(item(prf("P2"))), 0);
  EXPECT_EQ(storedSelection("P1"), (std::pair<int, int>{1, 1}));
  // A version the profile lacks leaves its version as it was.
  answer("answer dialog \"Select Profile Data Sets\" cell 20600 1 2 \"E4 none\" press OK");
  command(35022);
  EXPECT_EQ(storedSelection("P1"), (std::pair<int, int>{1, 1}));
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Selection, ProfileSetsKeepTheVersionOfEachProfile) {
  addProfiles();
  std::string set = join(work, "profiles.sel");
  answer("answer file \"" + set + "\"");
  answer("answer dialog \"Select Profile Data Sets\" cell 20600 1 1 1 cell 20600 1 2 \"D1 deep\" press 20605 press Cancel");
  command(35022);
  EXPECT_EQ(readFile(set), "\"P1\",\"D1 deep\"\r\n");
  // Loading restores the version (its name read in upper case does not matter).
  writeFile(set, "\"p1\",\"t2\"\r\n\"P2\",\"T1\"\r\n");
  answer("answer file \"" + set + "\"");
  answer("answer message \"Deselect?\" Yes");
  answer("answer dialog \"Select Profile Data Sets\" press 20604 press OK");
  command(35022);
  EXPECT_EQ(isSelected(item(prf("P1"))), 1);
  EXPECT_EQ(isSelected(item(prf("P2"))), 1);
  EXPECT_EQ(storedSelection("P1"), (std::pair<int, int>{0, 2}));
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Selection, BatchCheckWantsTheVersionKindItsCommandNeeds) {
  addProfiles();
  // P1 selected with its depth version.
  answer("answer dialog \"Select Profile Data Sets\" cell 20600 1 1 1 cell 20600 1 2 \"D1 deep\" press OK");
  command(35022);
  // Depth conversion needs a time version: the dialog opens; OK without a
  // change still gives no qualifying profile, so the batch does not run.
  answer("answer dialog \"Select Profile Data Sets\" press OK");
  command(35024);
  EXPECT_EQ(countOf(uiLogText(), "dialog \"Select Profile Data Sets\" ended with OK"), 2) << uiLogText();
  EXPECT_EQ(countOf(uiLogText(), "dialog \"Depth Convert\""), 0) << uiLogText();
  // Elevation conversion needs a depth version: P1 qualifies at once.
  answer("answer dialog \"Elevation Convert\" press Cancel");
  command(35025);
  EXPECT_EQ(countOf(uiLogText(), "dialog \"Elevation Convert\" ended with Cancel"), 1) << uiLogText();
  // Choosing a time version in the dialog lets depth conversion run.
  answer("answer dialog \"Select Profile Data Sets\" cell 20600 1 2 \"T1 first\" press OK");
  answer("answer dialog \"Depth Convert\" press Cancel");
  popup(item("Site/QUV/Profiles"), 33205);
  EXPECT_EQ(countOf(uiLogText(), "dialog \"Depth Convert\" ended with Cancel"), 1) << uiLogText();
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Selection, ChooseVersionSelectsTheProfileWithTheChosenVersion) {
  addProfiles();
  answer("answer dialog \"Choose Version\" select 22700 \"T2 \" press OK");
  popup(item(prf("P2")), 33220);
  EXPECT_EQ(isSelected(item(prf("P2"))), 0) << "P2 has no T2: nothing changes\n" << uiLogText();
  answer("answer dialog \"Choose Version\" select 22700 \"T2 \" press OK");
  popup(item(prf("P1")), 33220);
  EXPECT_EQ(isSelected(item(prf("P1"))), 1) << uiLogText();
  EXPECT_EQ(storedSelection("P1"), (std::pair<int, int>{0, 2}));
  // A typed text naming no version, and Cancel, change nothing.
  answer("answer dialog \"Choose Version\" set 22700 E5 press OK");
  popup(item(prf("P1")), 33220);
  answer("answer dialog \"Choose Version\" select 22700 \"D1 deep\" press Cancel");
  popup(item(prf("P1")), 33220);
  EXPECT_EQ(storedSelection("P1"), (std::pair<int, int>{0, 2}));
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Selection, DeleteSelectedProfilesAsksOnceAndRemovesOnlyTheSelectedOnes) {
  addProfiles();
  answer("answer dialog \"Choose Version\" select 22700 \"T1 first\" press OK");
  popup(item(prf("P1")), 33220);
  ASSERT_EQ(isSelected(item(prf("P1"))), 1) << uiLogText();
  answer("answer message \"Delete Items?\" No");
  command(35023);
  EXPECT_TRUE(exists(inProject("PRF_P1.QUV")));
  answer("answer message \"Delete Items?\" Yes");
  popup(item("Site/QUV/Profiles"), 33203);
  EXPECT_EQ(item(prf("P1")), nullptr);
  EXPECT_NE(item(prf("P2")), nullptr);
  for (auto f : {"PRF_P1.QUV", "GEO_P1.QUV", "XY_P1.QUV", "T01_P1.QUV", "TT01_P1.QUV", "DD01_P1.QUV"})
    EXPECT_FALSE(exists(inProject(f))) << f;
  EXPECT_TRUE(exists(inProject("PRF_P2.QUV")));
  EXPECT_EQ(countOf(messages(), "Profile Deleted: "), 1) << messages();
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

}  // namespace
