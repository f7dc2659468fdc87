// Brennic projects: the project file and line database layout, and the
// import of their lines as profiles through the loaded module.
#include "fixture.h"
#include "processing/brennic_layout.h"

namespace {

using namespace quvtest;
namespace brennic = quv::brennic;

TEST(BrennicLayout, RecordsRoundTripAndCountsBeyondTheFileFail) {
  std::vector<brennic::Line> lines = {{1, "LINE1", "LINE1"}, {2, std::string(70, 'N'), "DB2"}};
  std::vector<brennic::Line> back;
  std::string why;
  const std::string prj = brennic::encodeProject(lines);
  ASSERT_EQ(prj.size(), 256u + 2 * 472u);
  ASSERT_TRUE(brennic::decodeProject(prj, back, why)) << why;
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].name, "LINE1");
  EXPECT_EQ(back[1].name, std::string(64, 'N')) << "a name that fills its field ends there";
  EXPECT_EQ(back[1].database, "DB2");

  std::vector<brennic::Version> versions = {{"L1V1", "SGY", "1", "raw", 24, false, false},
                                            {"L1V2", "SGY", "2", "depth", 24, true, true}};
  std::vector<brennic::Version> vb;
  ASSERT_TRUE(brennic::decodeDatabase(brennic::encodeDatabase(versions), vb, why)) << why;
  ASSERT_EQ(vb.size(), 2u);
  EXPECT_EQ(vb[1].dataFile(), "L1V2.SGY");
  EXPECT_EQ(vb[1].label(), "2-depth");
  EXPECT_TRUE(vb[1].depth && vb[1].feet);
  EXPECT_FALSE(vb[0].depth || vb[0].feet);
  EXPECT_EQ(vb[0].traces, 24);

  // A count beyond the records the file holds, a negative one, a short header.
  std::string hostile = prj;
  hostile[20] = char(0xFF), hostile[21] = char(0xFF), hostile[22] = char(0xFF), hostile[23] = 0x7F;
  EXPECT_FALSE(brennic::decodeProject(hostile, back, why));
  EXPECT_NE(why.find("records"), std::string::npos) << why;
  hostile[23] = char(0xFF);
  EXPECT_FALSE(brennic::decodeProject(hostile, back, why));
  EXPECT_FALSE(brennic::decodeDatabase(prj.substr(0, 100), vb, why));
  EXPECT_TRUE(back.empty() && vb.empty());
}

class BrennicImport : public ProjectTest {
 protected:
  // A Brennic project in its own folder: each line with its versions, the
  // data files synthetic SEG-Y recordings of `traces` traces.
  std::string project(
      const std::string& name,
      const std::vector<std::pair<std::string, std::vector<brennic::Version>>>& lines) {
    const std::string dir = freshDir("brennic");
    std::vector<brennic::Line> records;
    for (const auto& [line, versions] : lines) {
      records.push_back({int(records.size()) + 1, line, line});
      writeFile(join(dir, line + ".LDB"), brennic::encodeDatabase(versions));
      for (const brennic::Version& v : versions)
        if (!exists(join(dir, v.dataFile()))) makeRecording(dir, v.dataFile(), "SGY", 24, 64);
    }
    const std::string path = join(dir, name + ".prj");
    writeFile(path, brennic::encodeProject(records));
    return path;
  }
  void import(const std::string& prj) {
    // File > Import, the "QUV - Brennic Project" type, then the project file.
    answer("answer dialog #107 select 20004 \"QUV - Brennic Project\" press OK");
    answer("answer file " + prj);
    command(32804);
  }
  static brennic::Version version(const std::string& file, bool depth, int traces = 24) {
    return {file, "SGY", depth ? "2" : "1", depth ? "depth" : "time", traces, depth, false};
  }
};

TEST_F(BrennicImport, LinesBecomeProfilesWithTimeAndDepthVersionsAndFaultsSkipOnlyTheirPart) {
  QUV_NEED_FORMAT_LIBRARY();
  import(project("Survey", {{"Line1",
                             { version("L1T", false),
                               version("L1D", true) }},
                            {"LINE2",
                             { version("L2T", false),
                               version("L2X", false, 30) }},
                            { "LINE3",
                              {} }}));
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  for (auto f : {"PRF_Line1_01.QUV", "T01_Line1_01.QUV", "TT01_Line1_01.QUV", "D01_Line1_01.QUV",
                 "DD01_Line1_01.QUV", "GEO_Line1_01.QUV", "XY_Line1_01.QUV", "T01_LINE2_01.QUV"})
    EXPECT_TRUE(exists(inProject(f))) << f << "\n" << messages();
  EXPECT_FALSE(exists(inProject("T02_LINE2_01.QUV"))) << messages();
  EXPECT_EQ(isBad(item("Site/QUV/Profiles/Line1_01")), 0) << messages();
  EXPECT_EQ(countOf(messages(), "Import Profile: Line1_01 - Completed"), 1) << messages();
  EXPECT_EQ(
      countOf(
          messages(),
          "Error: Brennic line LINE2 version 1-time has a bad number of traces, skipping version"),
      1)
      << messages();
  EXPECT_EQ(
      countOf(messages(), "Error: Brennic line LINE3 has bad number of versions, skipping line"),
      1);
  EXPECT_EQ(countOf(messages(), "Brennic Project Imported - Some Errors"), 1);
  EXPECT_EQ(readFile(inProject("T01_Line1_01.QUV")).size(), 24u * 64u * 4u);

  // The same line again, in other letters: skipped, the project otherwise imported.
  clearMessages();
  import(project("Again", {{"LINE1",
                            { version("A", false) }},
                           { "LINE4",
                             { version("B", false) } }}));
  EXPECT_EQ(countOf(messages(), "Error: Profile name LINE1 already used, skipping line"), 1)
      << messages();
  EXPECT_NE(item("Site/QUV/Profiles/LINE4_01"), nullptr);
  // A project file that cannot be read is refused with its message.
  answer("answer message Error OK");
  import(join(work, "missing.prj"));
  EXPECT_NE(uiLogText().find("Could not open Brennic project file"), std::string::npos);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(BrennicImport, HostileFilesAndNamesLeadingOutsideAreSkippedWithMessages) {
  QUV_NEED_FORMAT_LIBRARY();
  const std::string prj =
      project("Bad", {{"LINE5", {version("../escape", false), version("OK5", false)}}});
  // A second line whose database name leads outside, and a count beyond the file.
  std::vector<brennic::Line> lines = {{1, "LINE5", "LINE5"}, {2, "LINE6", "../LINE6"}};
  writeFile(prj, brennic::encodeProject(lines));
  import(prj);
  EXPECT_EQ(countOf(messages(), "Error: Brennic line LINE5 version 1-time skipped"), 1)
      << messages();
  EXPECT_NE(item("Site/QUV/Profiles/LINE5_01"), nullptr);
  EXPECT_EQ(countOf(messages(), "for line LINE6, skipping line"), 1);
  std::string bytes = readFile(prj);
  bytes[20] = 99;
  writeFile(prj, bytes);
  clearMessages();
  import(prj);
  EXPECT_EQ(countOf(messages(), "cannot be read: its header gives 99 records"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Brennic Project Imported - Some Errors"), 1);
}

}  // namespace
