// Deleting and renaming raw items: every file of the item, the markers
// file, the project file, and the refusals that keep files safe.
#include "fixture.h"

namespace {

using namespace quvtest;

class RawEdit : public ProjectTest {
 protected:
  std::string raw(const std::string& label) { return rawPath(label); }
  // A pulseEKKO item LINE.HD with a markers file, the richest set of files.
  void addPekkoWithMarkers() {
    addRecordings({makeRecording(field, "LINE.HD", "HD")});
    writeFile(inProject("MRK_HD_LINE.QUV"), "markers");
  }
};

TEST_F(RawEdit, DeleteAnsweredNoChangesNothing) {
  QUV_NEED_FORMAT_LIBRARY();
  addPekkoWithMarkers();
  auto before = listDir(projDir);
  answer("answer message \"Delete Item?\" No");
  deleteKey(item(raw("LINE.HD")));
  EXPECT_NE(item(raw("LINE.HD")), nullptr);
  EXPECT_EQ(listDir(projDir), before);
  EXPECT_EQ(countOf(messages(), "Raw Data Deleted"), 0);
  EXPECT_EQ(countOf(uiLogText(), "\"Delete Item?\": \"Delete the item?\" -> No"), 1) << uiLogText();
}

TEST_F(RawEdit, DeleteRemovesEveryFileOfTheItem) {
  QUV_NEED_FORMAT_LIBRARY();
  addPekkoWithMarkers();
  addRecordings({makeRecording(field, "OTHER.DZT", "DZT")});
  answer("answer message \"Delete Item?\" Yes");
  deleteKey(item(raw("LINE.HD")));
  EXPECT_EQ(item(raw("LINE.HD")), nullptr);
  for (auto f : {"RAW_LINE.QUV", "HD_LINE.QUV", "DT1_LINE.QUV", "MRK_HD_LINE.QUV"})
    EXPECT_FALSE(exists(inProject(f))) << f;
  EXPECT_TRUE(exists(inProject("RAW_OTHER.QUV")));
  EXPECT_EQ(countOf(messages(), "Raw Data Deleted: LINE.HD"), 1);
  EXPECT_EQ(countOf(readFile(orx), "LINE.HD"), 0) << "the project file forgets it";
  // The object pop-up's Delete asks the same question.
  answer("answer message \"Delete Item?\" Yes");
  popup(item(raw("OTHER.DZT")), 33123);
  EXPECT_FALSE(exists(inProject("DZT_OTHER.QUV")));
  EXPECT_EQ(item("Site/QUV/Raw Data"), nullptr);
}

TEST_F(RawEdit, RenameMovesEveryFileAndTheProjectKeepsTheNewName) {
  QUV_NEED_FORMAT_LIBRARY();
  addPekkoWithMarkers();
  std::string data = readFile(inProject("DT1_LINE.QUV"));
  ASSERT_TRUE(rename(item(raw("LINE.HD")), "NORTH"));
  dv::TreeItem* it = item(raw("NORTH"));
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(recordName(it), "NORTH");
  EXPECT_EQ(recordFileExt(it), "NORTH.QUV");
  for (auto f : {"RAW_LINE.QUV", "HD_LINE.QUV", "DT1_LINE.QUV", "MRK_HD_LINE.QUV"})
    EXPECT_FALSE(exists(inProject(f))) << f;
  for (auto f : {"RAW_NORTH.QUV", "HD_NORTH.QUV", "DT1_NORTH.QUV", "MRK_HD_NORTH.QUV"})
    EXPECT_TRUE(exists(inProject(f))) << f;
  EXPECT_EQ(readFile(inProject("DT1_NORTH.QUV")), data);
  EXPECT_EQ(readFile(inProject("MRK_HD_NORTH.QUV")), "markers");
  EXPECT_NE(readFile(orx).find("\"NORTH\",\"NORTH.QUV\""), std::string::npos) << readFile(orx);
  closeProject();
  clearMessages();
  openProject(orx);
  ASSERT_NE(item(raw("NORTH")), nullptr);
  EXPECT_EQ(isBad(item(raw("NORTH"))), 0) << messages();
  EXPECT_EQ(countOf(messages(), "Raw Data Open: NORTH - Completed"), 1);
}

TEST_F(RawEdit, RenamedDatItemTakesTheSeg2Prefix) {
  QUV_NEED_FORMAT_LIBRARY();
  std::string sg2 = makeRecording(field, "SHOT.SG2", "SG2");
  std::string dat = join(field, "SHOT1.DAT");
  writeFile(dat, readFile(sg2));
  addRecordings({dat});
  ASSERT_TRUE(exists(inProject("DAT_SHOT1.QUV")));
  ASSERT_TRUE(rename(item(raw("SHOT1.DAT")), "SHOT2"));
  EXPECT_FALSE(exists(inProject("DAT_SHOT1.QUV")));
  EXPECT_TRUE(exists(inProject("SG2_SHOT2.QUV")));
  closeProject();
  clearMessages();
  openProject(orx);
  EXPECT_EQ(isBad(item(raw("SHOT2"))), 0) << messages();
}

TEST_F(RawEdit, RenameToANameThatLeavesTheFolderIsRefusedAndTheLabelRestored) {
  QUV_NEED_FORMAT_LIBRARY();
  addPekkoWithMarkers();
  auto before = listDir(projDir);
  std::string orxBefore = readFile(orx);
  for (std::string bad : {"../escape", "sub/dir", ".."}) {
    clearMessages();
    rename(item(raw("LINE.HD")), bad);
    EXPECT_NE(item(raw("LINE.HD")), nullptr) << bad << ": the old label is back";
    EXPECT_EQ(recordName(item(raw("LINE.HD"))), "LINE.HD");
    EXPECT_EQ(countOf(messages(), "Cannot rename LINE.HD to " + bad +
                                      ": the name cannot be a file name in the project folder"),
              1)
        << messages();
    EXPECT_EQ(listDir(projDir), before) << bad;
    EXPECT_EQ(readFile(orx), orxBefore) << bad;
  }
  EXPECT_FALSE(exists(join(work, "RAW_escape.QUV")));
}

TEST_F(RawEdit, RenameOntoExistingFilesIsRefusedWithoutMovingAnything) {
  QUV_NEED_FORMAT_LIBRARY();
  addPekkoWithMarkers();
  // A stray file of the new name: a rename would otherwise replace it.
  writeFile(inProject("DT1_TAKEN.QUV"), "someone else's data");
  auto before = listDir(projDir);
  rename(item(raw("LINE.HD")), "TAKEN");
  EXPECT_NE(item(raw("LINE.HD")), nullptr);
  EXPECT_EQ(item(raw("TAKEN")), nullptr);
  EXPECT_EQ(countOf(messages(), "Cannot rename LINE.HD to TAKEN: DT1_TAKEN.QUV already exists in the project folder"),
            1)
      << messages();
  EXPECT_EQ(listDir(projDir), before);
  EXPECT_EQ(readFile(inProject("DT1_TAKEN.QUV")), "someone else's data");
  EXPECT_EQ(recordFileExt(item(raw("LINE.HD"))), "LINE.QUV");
}

}  // namespace
