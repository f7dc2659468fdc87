// Raw data items end to end, through the loaded module: adding recordings
// with the add list dialog, the stored copies and item files, reopening the
// project, and the files of damaged or hostile items.
#include <filesystem>

#include "dv/file.h"
#include "fixture.h"
#include "project/defaults_file.h"
#include "project/raw.h"

namespace {

using namespace quvtest;

std::string le(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[(size_t)i] = (char)(((uint32_t)v >> (8 * i)) & 0xff);
  return s;
}

std::string name(const std::string& n) { return le((int32_t)n.size() + 1) + n + std::string(1, '\0'); }

// The item file of a new item: version, window flag 0, both names, window
// not set, four zeros, reserved -1, gain and palette 0, 64 colours.
std::string newItemBytes(const std::string& first, const std::string& second) {
  return le(258) + le(0) + name(first) + name(second) + le(0) + le(0) + le(0) + le(0) + le(0) +
         le(-1) + le(0) + le(0) + le(64);
}

// The item file as Save item writes it for an item of T traces and S samples.
std::string savedItemBytes(const std::string& first, const std::string& second, int t, int s) {
  return le(258) + le(0) + name(first) + name(second) + le(1) + le(0) + le(t - 1) + le(0) +
         le(s - 1) + le(0) + le(0) + le(0) + le(64);
}

class RawItems : public ProjectTest {
 protected:
  std::string raw(const std::string& label) { return rawPath(label); }
  void addOne(const std::string& path) { addRecordings({path}); }
  // The project is closed and opened again through the dialog.
  void reopen() {
    closeProject();
    clearMessages();
    openProject(orx);
  }
};

TEST_F(RawItems, EachFormatIsStoredByteForByteWithItsItemFile) {
  QUV_NEED_FORMAT_LIBRARY();
  std::string dzt = makeRecording(field, "LINE01.DZT", "DZT", 30, 64);
  std::string hd = makeRecording(field, "L2.HD", "HD", 20, 50);
  std::string rad = makeRecording(field, "L3.RAD", "RAD", 25, 40);
  std::string sg2 = makeRecording(field, "L4.SG2", "SG2", 12, 80);
  std::string sgy = makeRecording(field, "L5.SGY", "SGY", 15, 60);
  std::filesystem::copy_file(sg2, join(field, "L6.DAT"));
  addRecordings({dzt, hd, rad, sg2, sgy, join(field, "L6.DAT")});

  EXPECT_EQ(childLabels("Site/QUV/Raw Data"),
            (std::vector<std::string>{"L2.HD", "L3.RAD", "L4.SG2", "L5.SGY", "L6.DAT", "LINE01.DZT"}));
  for (auto label : {"LINE01.DZT", "L2.HD", "L3.RAD", "L4.SG2", "L5.SGY", "L6.DAT"}) {
    dv::TreeItem* it = item(raw(label));
    ASSERT_NE(it, nullptr) << label;
    EXPECT_EQ(isBad(it), 0) << label << "\n" << messages();
    EXPECT_EQ(countOf(messages(), std::string("Raw Data Added: ") + label + " - Completed"), 1);
  }
  EXPECT_EQ(recordName(item(raw("LINE01.DZT"))), "LINE01.DZT");
  EXPECT_EQ(recordFileExt(item(raw("LINE01.DZT"))), "LINE01.QUV");

  // Stored copies are the recordings byte for byte.
  EXPECT_EQ(readFile(inProject("DZT_LINE01.QUV")), readFile(dzt));
  EXPECT_EQ(readFile(inProject("HD_L2.QUV")), readFile(hd));
  EXPECT_EQ(readFile(inProject("DT1_L2.QUV")), readFile(join(field, "L2.DT1")));
  EXPECT_EQ(readFile(inProject("RAD_L3.QUV")), readFile(rad));
  EXPECT_EQ(readFile(inProject("RD3_L3.QUV")), readFile(join(field, "L3.RD3")));
  EXPECT_EQ(readFile(inProject("SG2_L4.QUV")), readFile(sg2));
  EXPECT_EQ(readFile(inProject("SGY_L5.QUV")), readFile(sgy));
  EXPECT_EQ(readFile(inProject("DAT_L6.QUV")), readFile(sg2));

  EXPECT_EQ(readFile(inProject("RAW_LINE01.QUV")), newItemBytes("DZT_LINE01.QUV", "DZT_LINE01.QUV"));
  EXPECT_EQ(readFile(inProject("RAW_L2.QUV")), newItemBytes("HD_L2.QUV", "DT1_L2.QUV"));
  EXPECT_EQ(readFile(inProject("RAW_L3.QUV")), newItemBytes("RAD_L3.QUV", "RD3_L3.QUV"));
  EXPECT_EQ(readFile(inProject("RAW_L6.QUV")), newItemBytes("DAT_L6.QUV", "DAT_L6.QUV"));
  std::string rawFile = readFile(inProject("RAW_LINE01.QUV"));
  ASSERT_GE(rawFile.size(), 27u);
  EXPECT_EQ(rawFile.substr(0, 27), le(258) + le(0) + le(15) + std::string("DZT_LINE01.QUV\0", 15));

  // Closing saves each item with its full extent: the header's counts.
  closeProject();
  EXPECT_EQ(readFile(inProject("RAW_LINE01.QUV")),
            savedItemBytes("DZT_LINE01.QUV", "DZT_LINE01.QUV", 30, 64));
  EXPECT_EQ(readFile(inProject("RAW_L2.QUV")), savedItemBytes("HD_L2.QUV", "DT1_L2.QUV", 20, 50));
  EXPECT_EQ(readFile(inProject("RAW_L3.QUV")), savedItemBytes("RAD_L3.QUV", "RD3_L3.QUV", 25, 40));
  EXPECT_EQ(readFile(inProject("RAW_L4.QUV")), savedItemBytes("SG2_L4.QUV", "SG2_L4.QUV", 12, 80));
  EXPECT_EQ(readFile(inProject("RAW_L5.QUV")), savedItemBytes("SGY_L5.QUV", "SGY_L5.QUV", 15, 60));
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(RawItems, ReopeningTheProjectRestoresItemsAndTheirSelection) {
  QUV_NEED_FORMAT_LIBRARY();
  addRecordings({makeRecording(field, "A.DZT", "DZT"), makeRecording(field, "B.HD", "HD")});
  popup(item(raw("B.HD")), 33121);  // Select
  EXPECT_EQ(isSelected(item(raw("B.HD"))), 1);
  reopen();
  ASSERT_NE(item(raw("A.DZT")), nullptr);
  ASSERT_NE(item(raw("B.HD")), nullptr);
  EXPECT_EQ(isSelected(item(raw("B.HD"))), 1);
  EXPECT_EQ(isSelected(item(raw("A.DZT"))), 0);
  EXPECT_EQ(countOf(messages(), "Raw Data Open: A.DZT - Completed"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Raw Data Open: B.HD - Completed"), 1);
  popup(item(raw("B.HD")), 33122);  // Deselect
  EXPECT_EQ(isSelected(item(raw("B.HD"))), 0);
}

TEST_F(RawItems, TitleIsTheNameUpToItsFirstDot) {
  QUV_NEED_FORMAT_LIBRARY();
  addOne(makeRecording(field, "A.B.DZT", "DZT"));
  dv::TreeItem* it = item(raw("A.B.DZT"));
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(recordFileExt(it), "A.QUV");
  EXPECT_TRUE(exists(inProject("RAW_A.QUV")));
  EXPECT_TRUE(exists(inProject("DZT_A.QUV")));
  EXPECT_EQ(isBad(it), 0);
}

TEST_F(RawItems, DataFileIsFoundBesideItsHeaderInAnyLetterCase) {
  QUV_NEED_FORMAT_LIBRARY();
  std::string hd = makeRecording(field, "Low.HD", "HD", 20, 40);
  std::string rad = makeRecording(field, "Mix.rad", "RAD", 20, 40);
  // The data files as another program may have named them.
  std::filesystem::rename(dv::findCaseInsensitive(join(field, "Low.DT1")), join(field, "low.dt1"));
  std::filesystem::rename(dv::findCaseInsensitive(join(field, "Mix.RD3")), join(field, "Mix.Rd3"));
  addRecordings({hd, rad});
  EXPECT_EQ(readFile(inProject("DT1_Low.QUV")), readFile(join(field, "low.dt1")));
  EXPECT_EQ(readFile(inProject("RD3_Mix.QUV")), readFile(join(field, "Mix.Rd3")));
  EXPECT_EQ(isBad(item(raw("Low.HD"))), 0) << messages();
  EXPECT_EQ(isBad(item(raw("Mix.rad"))), 0) << messages();
}

TEST_F(RawItems, HeaderWithoutItsDataFileIsStillAddedButMarkedBad) {
  QUV_NEED_FORMAT_LIBRARY();
  std::string hd = makeRecording(field, "NODATA.HD", "HD");
  std::filesystem::remove(join(field, "NODATA.DT1"));
  addOne(hd);
  dv::TreeItem* it = item(raw("NODATA.HD"));
  ASSERT_NE(it, nullptr) << "the item is created";
  EXPECT_TRUE(exists(inProject("HD_NODATA.QUV")));
  EXPECT_FALSE(exists(inProject("DT1_NODATA.QUV")));
  EXPECT_EQ(readFile(inProject("RAW_NODATA.QUV")), newItemBytes("HD_NODATA.QUV", "DT1_NODATA.QUV"));
  // Its traces cannot be read: the item says so instead of sizing anything
  // by the header's counts.
  EXPECT_EQ(isBad(it), 1);
  EXPECT_EQ(image(it), 4);
  EXPECT_EQ(countOf(messages(), "Error: Could not open " + inProject("DT1_NODATA.QUV") + " for reading"), 1)
      << messages();
  EXPECT_EQ(countOf(messages(), "Raw Data Added: NODATA.HD - Failed"), 1);
}

TEST_F(RawItems, UnreadableRecordingBecomesABadItem) {
  writeFile(join(field, "JUNK.DZT"), std::string(3000, 'j'));
  addOne(join(field, "JUNK.DZT"));
  dv::TreeItem* it = item(raw("JUNK.DZT"));
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(isBad(it), 1);
  EXPECT_EQ(countOf(messages(), "Raw Data Added: JUNK.DZT - Failed"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Completed"), 0);
}

TEST_F(RawItems, NewItemsTakeTheRawDisplayDefaultsOfTheProject) {
  QUV_NEED_FORMAT_LIBRARY();
  // The project's defaults file, read when the project opens.
  quv::ProjectDefaults d;
  d.values.rawGain = 2;
  d.values.rawPalette = 2;
  writeFile(inProject("DEFAULTS.QUV"), quv::encodeDefaults(d, true, 258));
  closeProject();
  openProject(orx);
  addOne(makeRecording(field, "AGC.DZT", "DZT"));
  quv::RawItemFile f;
  ASSERT_TRUE(quv::decodeRawItemFile(readFile(inProject("RAW_AGC.QUV")), f));
  EXPECT_EQ(f.gain, 2);
  EXPECT_EQ(f.palette, 2);
  EXPECT_EQ(f.colours, 64);
}

// --- the add list dialog ------------------------------------------------------

TEST_F(RawItems, FileAlreadyInTheListIsShownAndLeftOut) {
  QUV_NEED_FORMAT_LIBRARY();
  std::string p = makeRecording(field, "TWICE.DZT", "DZT");
  answer("answer file \"" + p + "\"");
  answer("answer file \"" + p + "\"");
  answer("answer dialog #303 press 20501 press 20501 press OK");
  command(32802);
  EXPECT_EQ(countOf(uiLogText(), "message box \"Error\": \"" + p + " already added\""), 1) << uiLogText();
  EXPECT_EQ(childLabels("Site/QUV/Raw Data"), std::vector<std::string>{"TWICE.DZT"});
  EXPECT_EQ(countOf(messages(), "Raw Data Added: TWICE.DZT"), 1);
}

TEST_F(RawItems, NameOfAnExistingItemIsRefusedInAnyLetterCase) {
  QUV_NEED_FORMAT_LIBRARY();
  addOne(makeRecording(field, "LINE01.DZT", "DZT"));
  std::string other = freshDir("other");
  addOne(makeRecording(other, "line01.dzt", "DZT", 40, 64));
  EXPECT_EQ(countOf(uiLogText(), "\"Cannot add LINE01.DZT, raw data name is already used\""), 1)
      << uiLogText();
  EXPECT_EQ(childLabels("Site/QUV/Raw Data"), std::vector<std::string>{"LINE01.DZT"});
}

TEST_F(RawItems, SameTitleWithAnotherExtensionDoesNotOverwriteTheFirstItem) {
  QUV_NEED_FORMAT_LIBRARY();
  addOne(makeRecording(field, "LINE01.DZT", "DZT"));
  std::string before = readFile(inProject("RAW_LINE01.QUV"));
  addOne(makeRecording(field, "LINE01.HD", "HD"));
  EXPECT_EQ(countOf(uiLogText(), "\"Cannot add LINE01.DZT, raw data name is already used\""), 1)
      << uiLogText();
  EXPECT_EQ(readFile(inProject("RAW_LINE01.QUV")), before);
  EXPECT_FALSE(exists(inProject("HD_LINE01.QUV")));
  EXPECT_EQ(childLabels("Site/QUV/Raw Data"), std::vector<std::string>{"LINE01.DZT"});

  // Within one list as well.
  std::string a = makeRecording(field, "TWIN.DZT", "DZT"), b = makeRecording(field, "TWIN.SGY", "SGY");
  addRecordings({a, b});
  EXPECT_EQ(countOf(uiLogText(), "\"Cannot add TWIN.DZT, raw data name is already used\""), 1)
      << uiLogText();
  EXPECT_EQ(childLabels("Site/QUV/Raw Data"), (std::vector<std::string>{"LINE01.DZT", "TWIN.DZT"}));
  EXPECT_FALSE(exists(inProject("SGY_TWIN.QUV")));
}

TEST_F(RawItems, RecordingsFromTheProjectFolderOrWithOtherExtensionsAreRefused) {
  QUV_NEED_FORMAT_LIBRARY();
  std::string inside = makeRecording(projDir, "INSIDE.DZT", "DZT");
  writeFile(join(field, "NOTES.TXT"), "text");
  std::string good = makeRecording(field, "GOOD.DZT", "DZT");
  writeFile(join(field, "A,B.DZT"), readFile(good));
  addRecordings({inside, join(field, "NOTES.TXT"), join(field, "A,B.DZT"), good});
  std::string log = uiLogText();
  EXPECT_EQ(countOf(log, "message box \"Warning\": \"Cannot add raw data files from current project directory\""), 1)
      << log;
  EXPECT_EQ(countOf(log, "message box \"Warning\": \"Cannot add raw data files with improper file extension\""), 1);
  EXPECT_EQ(countOf(log, "message box \"Warning\": \"Cannot add A,B.DZT, a raw data name may not"), 1);
  // The other chosen files are still processed.
  EXPECT_EQ(childLabels("Site/QUV/Raw Data"), std::vector<std::string>{"GOOD.DZT"});
}

TEST_F(RawItems, DeleteFilesTakesEntriesOffTheListAndCancelAddsNothing) {
  QUV_NEED_FORMAT_LIBRARY();
  std::string a = makeRecording(field, "KEEP.DZT", "DZT"), b = makeRecording(field, "DROP.DZT", "DZT");
  answer("answer file \"" + a + "\" \"" + b + "\"");
  answer("answer dialog #303 press 20501 select 20500 \"" + b + "\" press 20502 press OK");
  command(32802);
  EXPECT_EQ(childLabels("Site/QUV/Raw Data"), std::vector<std::string>{"KEEP.DZT"}) << uiLogText();
  EXPECT_FALSE(exists(inProject("RAW_DROP.QUV")));

  answer("answer file \"" + b + "\"");
  answer("answer dialog #303 press 20501 press Cancel");
  command(32802);
  EXPECT_FALSE(exists(inProject("RAW_DROP.QUV")));
  EXPECT_EQ(childLabels("Site/QUV/Raw Data"), std::vector<std::string>{"KEEP.DZT"});
}

TEST_F(RawItems, TheQuvFolderPopupAddsRawData) {
  QUV_NEED_FORMAT_LIBRARY();
  addOne(makeRecording(field, "FIRST.DZT", "DZT"));
  std::string p = makeRecording(field, "SECOND.DZT", "DZT");
  answer("answer file \"" + p + "\"");
  answer("answer dialog #303 press 20501 press OK");
  popup(item("Site/QUV"), 33000);
  EXPECT_NE(item(raw("SECOND.DZT")), nullptr) << uiLogText();
  p = makeRecording(field, "THIRD.DZT", "DZT");
  answer("answer file \"" + p + "\"");
  answer("answer dialog #303 press 20501 press OK");
  popup(item("Site/QUV/Raw Data"), 33100);
  EXPECT_NE(item(raw("THIRD.DZT")), nullptr) << uiLogText();
  // Its other entry reaches the profile type's import: the Brennic project's file dialog.
  answer("answer file cancel");
  popup(item("Site/QUV"), 33001);
  EXPECT_NE(uiLogText().find("Import Brennic Project..."), std::string::npos) << uiLogText();
  EXPECT_EQ(pendingAnswers(), 0);
}

// --- damaged and hostile files ---------------------------------------------------

TEST_F(RawItems, TruncatedOrHostileItemFileMarksTheItemBadAndIsLeftAsItWas) {
  QUV_NEED_FORMAT_LIBRARY();
  addRecordings({makeRecording(field, "CUT.DZT", "DZT"), makeRecording(field, "HUGE.DZT", "DZT")});
  closeProject();
  std::string cut = readFile(inProject("RAW_CUT.QUV")).substr(0, 30);
  writeFile(inProject("RAW_CUT.QUV"), cut);
  // A name length of 2^31 - 1 in a file of a few dozen bytes.
  std::string huge = le(258) + le(0) + le(INT32_MAX) + std::string(40, 'A');
  writeFile(inProject("RAW_HUGE.QUV"), huge);
  clearMessages();
  openProject(orx);
  for (auto [label, path] : {std::pair{"CUT.DZT", "RAW_CUT.QUV"}, std::pair{"HUGE.DZT", "RAW_HUGE.QUV"}}) {
    dv::TreeItem* it = item(raw(label));
    ASSERT_NE(it, nullptr) << label;
    EXPECT_EQ(isBad(it), 1) << label;
    EXPECT_EQ(countOf(messages(), "Error: Could not open " + inProject(path) + " for reading"), 1)
        << messages();
    EXPECT_EQ(countOf(messages(), std::string("Raw Data Open: ") + label + " - Failed"), 1);
  }
  // Nothing is written back over a file that could not be read.
  closeProject();
  EXPECT_EQ(readFile(inProject("RAW_CUT.QUV")), cut);
  EXPECT_EQ(readFile(inProject("RAW_HUGE.QUV")), huge);
}

TEST_F(RawItems, BadItemOffersOnlyDeleteAndDeletingItRemovesItsItemFile) {
  writeFile(join(field, "JUNK.DZT"), std::string(3000, 'j'));
  addOne(join(field, "JUNK.DZT"));
  dv::TreeItem* it = item(raw("JUNK.DZT"));
  ASSERT_NE(it, nullptr);
  ASSERT_EQ(isBad(it), 1);
  for (int id : {33120, 33121, 33122, 33124, 33129, 33131}) {
    resetUi();
    popup(it, id);
    EXPECT_EQ(countOf(uiLogText(), "is greyed"), 1) << id << "\n" << uiLogText();
  }
  EXPECT_EQ(isSelected(it), 0);
  EXPECT_FALSE(rename(it, "OTHER")) << "a bad item's label cannot be edited";
  answer("answer message \"Delete Item?\" Yes");
  popup(it, 33123);
  EXPECT_EQ(item(raw("JUNK.DZT")), nullptr);
  EXPECT_FALSE(exists(inProject("RAW_JUNK.QUV")));
  EXPECT_FALSE(exists(inProject("DZT_JUNK.QUV")));
  EXPECT_EQ(countOf(messages(), "Raw Data Deleted: JUNK.DZT"), 1);
  EXPECT_EQ(item("Site/QUV"), nullptr) << "the last item takes its folders with it";
}

TEST_F(RawItems, NamesFromFilesNeverReachOutsideTheProjectFolder) {
  QUV_NEED_FORMAT_LIBRARY();
  addOne(makeRecording(field, "GOOD.DZT", "DZT"));
  closeProject();
  // A victim file beside the project folder, and two hostile entries: a
  // project line whose file-extension text climbs out, and an item file
  // whose stored names do.
  std::string victim = join(work, "victim.QUV");
  writeFile(victim, "keep me");
  writeFile(join(work, "RAW_victim.QUV"), newItemBytes("DZT_GOOD.QUV", "DZT_GOOD.QUV"));
  writeFile(inProject("RAW_EVIL.QUV"), newItemBytes("../victim.QUV", "../victim.QUV"));
  std::string orxText = readFile(orx);
  orxText += "\"QUV\",\"Raw Data\",\"\",\"CLIMB.DZT\",\"../victim.QUV\",700,0,0\r\n";
  orxText += "\"QUV\",\"Raw Data\",\"\",\"EVIL.DZT\",\"EVIL.QUV\",700,0,0\r\n";
  writeFile(orx, orxText);
  openProject(orx);
  for (auto label : {"CLIMB.DZT", "EVIL.DZT"}) {
    dv::TreeItem* it = item(raw(label));
    ASSERT_NE(it, nullptr) << label;
    EXPECT_EQ(isBad(it), 1) << label;
    EXPECT_EQ(countOf(messages(), std::string("Raw Data Open: ") + label + " - Failed"), 1);
  }
  EXPECT_EQ(countOf(messages(), "is not a file name inside the project folder"), 2) << messages();
  answer("answer message \"Delete Item?\" Yes");
  answer("answer message \"Delete Item?\" Yes");
  deleteKey(item(raw("CLIMB.DZT")));
  deleteKey(item(raw("EVIL.DZT")));
  EXPECT_EQ(readFile(victim), "keep me");
  EXPECT_TRUE(exists(join(work, "RAW_victim.QUV")));
  EXPECT_FALSE(exists(inProject("RAW_EVIL.QUV")));
  EXPECT_EQ(isBad(item(raw("GOOD.DZT"))), 0);
}

// --- shared recordings ---------------------------------------------------------

struct SharedRecording {
  const char* path;
  bool accepted;
  int traces, samples;  // of accepted ones (0: not checked)
};

TEST_F(RawItems, SharedRecordingsOfEveryFormatAddAndReopen) {
  QUV_NEED_FORMAT_LIBRARY();
  const SharedRecording all[] = {
      {"gssi/FILE____032.DZT", true, 1040, 512},
      {"gssi/File____001.DZT", true, 863, 256},  // 32-bit samples
      {"gssi/test_gssi.DZT", true, 345, 2048},   // a newer system's tag and 128 KiB header
      {"pekko/XLINE00.HD", true, 531, 1500},
      {"pekko/XLINE01.HD", true, 233, 250},
      {"pekko/yyline3.HD", true, 391, 500},
      {"ramac/ten_col.rad", true, 10, 512},
      {"seg2/1.dat", true, 24, 4000},
      {"seg2/1000.DAT", true, 24, 2048},
      {"segy/small.sgy", true, 25, 50},
      {"segy/f3-lsb.sgy", true, 414, 75},
      // Named by other tools: known by their contents.
      {"seg2/20180307_031245000.0.seg2", true, 1, 2048},
      {"segy/00001034.sgy_first_trace", true, 1, 2001},
      {"segy/example.y_first_trace", true, 1, 500},
  };
  std::vector<std::string> paths;
  for (auto& r : all) {
    QUV_NEED_TESTDATA(r.path);
    paths.push_back(testdataPath(r.path));
  }
  addRecordings(paths);
  for (auto& r : all) {
    std::string label = quv::fileNameOf(r.path);
    dv::TreeItem* it = item(raw(label));
    ASSERT_NE(it, nullptr) << label << "\n" << uiLogText();
    EXPECT_EQ(isBad(it), r.accepted ? 0 : 1) << label << "\n" << messages();
    EXPECT_EQ(countOf(messages(), "Raw Data Added: " + label + (r.accepted ? " - Completed" : " - Failed")), 1)
        << label;
  }
  reopen();
  for (auto& r : all) {
    std::string label = quv::fileNameOf(r.path);
    ASSERT_NE(item(raw(label)), nullptr) << label;
    EXPECT_EQ(countOf(messages(), "Raw Data Open: " + label + (r.accepted ? " - Completed" : " - Failed")), 1)
        << label << "\n" << messages();
  }
  closeProject();
  for (auto& r : all) {
    if (!r.accepted) continue;
    quv::RawItemFile f;
    std::string label = quv::fileNameOf(r.path);
    ASSERT_TRUE(quv::decodeRawItemFile(readFile(inProject("RAW_" + quv::recordingTitle(label) + ".QUV")), f))
        << label;
    EXPECT_EQ(f.windowSet, 1) << label;
    EXPECT_EQ(f.lastTrace, r.traces - 1) << label;
    EXPECT_EQ(f.lastSample, r.samples - 1) << label;
  }
}

}  // namespace
