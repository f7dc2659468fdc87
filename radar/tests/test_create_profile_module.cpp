// Create Profile through the LOADED module: raw items added from synthetic
// recordings, the raw object's "&Create Profile" and the raw batch "&Create
// Profiles" commands, the name table and its refusals, the files written in
// the project folder, the tree, the message bar and the progress window, the
// Edit Geometry dialog afterwards and the display settings it leads to.
#include <cmath>
#include <cstring>
#include <filesystem>

#include "dv/headless.h"
#include "fixture.h"
#include "pontra/services.h"
#include "project/defaults_file.h"
#include "project/profile.h"
#include "project/raw.h"

namespace {

using namespace quvtest;

constexpr const char* kNames = "answer dialog \"Specify Name for Profiles\" ";
constexpr const char* kGeometryOK = "answer dialog \"Edit Geometry\" press OK";

class CreateProfile : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  static dv::TreeItem* profile(const std::string& name) { return item("Site/QUV/Profiles/" + name); }
  static quv::ProfileItem* record(dv::TreeItem* it) {
    void* obj = nullptr;
    ::GetTreepObj(it, &obj);
    return static_cast<quv::ProfileItem*>(obj);
  }
  static quv::RawObject* rawRecord(dv::TreeItem* it) {
    void* obj = nullptr;
    ::GetTreepObj(it, &obj);
    return static_cast<quv::RawObject*>(obj);
  }
  // "&Create Profile" on one raw item, with the name table's actions.
  void createFrom(const std::string& rawLabel, const std::string& actions = "press OK") {
    answer(std::string(kNames) + actions);
    answer(kGeometryOK);
    popup(item(rawPath(rawLabel)), 33120);
  }
  std::vector<float> floats(const std::string& name, size_t from = 0) {
    std::string b = readFile(inProject(name));
    std::vector<float> out(b.size() > from ? (b.size() - from) / 4 : 0);
    if (!out.empty()) std::memcpy(out.data(), b.data() + from, out.size() * 4);
    return out;
  }
  quv::ProfileVersion versionHeader(const std::string& name) {
    quv::ProfileVersion v;
    EXPECT_TRUE(quv::decodeVersionHeader(readFile(inProject(name)), v)) << name;
    return v;
  }
};

TEST_F(CreateProfile, OneRawItemMakesAWholeProfileWithoutBatchLines) {
  addRecordings({makeRecording(field, "LINE1.DZT", "DZT", 24, 64)});
  clearMessages();
  createFrom("LINE1.DZT");

  dv::TreeItem* it = profile("LINE1");
  ASSERT_NE(it, nullptr) << uiLogText() << messages();
  EXPECT_EQ(isBad(it), 0);
  EXPECT_EQ(recordFileExt(it), "LINE1.QUV");
  EXPECT_EQ(countOf(messages(), "Create Profile: LINE1 - Completed"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Batch"), 0) << "one row writes no batch lines";
  EXPECT_EQ(dv::headless().progressTitle(), "Converting Raw Data to Profile");
  EXPECT_EQ(dv::headless().progressText(), "Trace 21 of 24");
  EXPECT_EQ(dv::headless().progressPosition(), 20 * 100 / 24);
  EXPECT_FALSE(dv::headless().progressVisible());

  // The samples, and the version header made from them and the raw item.
  const quv::RawData& raw = *rawRecord(item(rawPath("LINE1.DZT")))->data;
  std::vector<float> t = floats("T01_LINE1.QUV");
  ASSERT_EQ(t.size(), 24u * 64u);
  quv::ProfileVersion v = versionHeader("TT01_LINE1.QUV");
  EXPECT_EQ(v.samples, 64);
  EXPECT_EQ(v.minimum, *std::min_element(t.begin(), t.end()));
  EXPECT_EQ(v.maximum, *std::max_element(t.begin(), t.end()));
  EXPECT_EQ(v.amplitudeScale, quv::amplitudeScaleFor(v.minimum, v.maximum));
  EXPECT_EQ(v.firstTime, raw.firstTime);
  EXPECT_EQ(v.timeIncrement, raw.interval);
  EXPECT_EQ(v.sourceKind, -1);
  EXPECT_EQ(v.normal.lastTrace, 23);
  EXPECT_EQ(v.presentation.lastSample, 63);

  // The synthetic line's header ends at easting round(24 x 0.05) = 1 metre.
  quv::ProfileHeader h;
  h.traceCount = 24;
  ASSERT_TRUE(quv::decodeGeoFile(readFile(inProject("GEO_LINE1.QUV")), h));
  EXPECT_FLOAT_EQ(h.unitsPerFoot, 0.3048f);
  EXPECT_EQ(h.nodeTrace, (std::vector<int32_t>{0, 23}));
  EXPECT_EQ(h.nodeEasting, (std::vector<float>{0, 1}));
  ASSERT_TRUE(quv::decodeXYFile(readFile(inProject("XY_LINE1.QUV")), h));
  EXPECT_FLOAT_EQ(h.easting[23], 1.0f);
  EXPECT_FLOAT_EQ(h.easting[1], 1.0f / 23);
  quv::ProfileFileFields f;
  ASSERT_TRUE(quv::decodeProfileFile(readFile(inProject("PRF_LINE1.QUV")), f));
  EXPECT_EQ(f.traceCount, 24);

  // The loaded profile is the one on disk: its version is there to show.
  quv::ProfileItem* p = record(it);
  ASSERT_NE(p, nullptr);
  ASSERT_EQ(p->versionList.size(), 1u);
  EXPECT_EQ(p->versionList[0]->label(), "T01");
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  EXPECT_EQ(pendingAnswers(), 0) << "the Edit Geometry dialog followed";
}

TEST_F(CreateProfile, BatchOfEveryFormatIsFramedAndRamacLosesItsDcLevel) {
  std::vector<std::string> paths;
  for (auto [name, format] : {std::pair{"L1.DZT", "DZT"}, {"L2.HD", "HD"}, {"L3.RAD", "RAD"},
                              {"L4.SG2", "SG2"}, {"L5.SGY", "SGY"}})
    paths.push_back(makeRecording(field, name, format, 30, 40));
  addRecordings(paths);
  popup(item("Site/QUV/Raw Data"), 33102);  // Select All
  clearMessages();
  answer(std::string(kNames) + "press OK");
  answer(kGeometryOK);
  command(35001);

  const std::string m = messages();
  const size_t start = m.find("Batch Start"), end = m.find("Batch End");
  ASSERT_NE(start, std::string::npos) << m;
  ASSERT_NE(end, std::string::npos) << m;
  for (const char* name : {"L1", "L2", "L3", "L4", "L5"}) {
    const size_t at = m.find(std::string("Create Profile: ") + name + " - Completed");
    EXPECT_TRUE(at > start && at < end) << name << "\n" << m;
    ASSERT_NE(profile(name), nullptr) << name;
    EXPECT_EQ(readFile(inProject(std::string("T01_") + name + ".QUV")).size(), 30u * 40u * 4u) << name;
  }

  // RD3: 30 traces of 40 int16 samples; each trace less the mean of its last 10.
  std::string rd3 = readFile(join(field, "L3.RD3"));
  ASSERT_EQ(rd3.size(), 30u * 40u * 2u);
  std::vector<float> t = floats("T01_L3.QUV");
  ASSERT_EQ(t.size(), 30u * 40u);
  for (int tr = 0; tr < 30; ++tr) {
    float s[40];
    for (int j = 0; j < 40; ++j) {
      int16_t v;
      std::memcpy(&v, rd3.data() + 2 * (tr * 40 + j), 2);
      s[j] = v;
    }
    double tail = 0;
    for (int j = 30; j < 40; ++j) tail += s[j];
    const float mean = float(tail / 10);
    for (int j = 0; j < 40; ++j) ASSERT_EQ(t[tr * 40 + j], s[j] - mean) << tr << "," << j;
  }
  // The pulseEKKO line is in metres ("m"), its positions from the header.
  quv::ProfileHeader h;
  ASSERT_TRUE(quv::decodeGeoFile(readFile(inProject("GEO_L2.QUV")), h));
  EXPECT_FLOAT_EQ(h.unitsPerFoot, 0.3048f);
  EXPECT_FLOAT_EQ(h.nodeEasting[1], 29 * 0.05f);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(CreateProfile, RefusedNamesKeepTheTableOpenUntilTheyAreRight) {
  addRecordings({makeRecording(field, "A.DZT", "DZT"), makeRecording(field, "B.DZT", "DZT")});
  createFrom("A.DZT");
  ASSERT_NE(profile("A"), nullptr);
  popup(item("Site/QUV/Raw Data"), 33102);
  clearMessages();
  resetUi();
  answer(std::string(kNames) +
         "press OK "                                      // A is taken (by the profile A)
         "cell 23100 1 1 \"  \" press OK "                // blank
         "cell 23100 1 1 ../A press OK "                  // not a file name
         "cell 23100 1 1 \" N,1\" cell 23100 2 1 n1 press OK "  // one batch, one name twice
         "cell 23100 2 1 \" \\\"B 2\\\" \" press OK");
  answer(kGeometryOK);
  command(35001);
  const std::string log = uiLogText();
  for (const char* text : {"\"Profile name A already used, choose another\"",
                           "\"Profile name can not be blank\"", "can not be used as a file name",
                           "\"Profile name N1 already used, choose another\""})
    EXPECT_EQ(countOf(log, text), 1) << text << "\n" << log;
  EXPECT_EQ(countOf(log, "message box \"Error\""), 4) << log;
  EXPECT_NE(profile("N1"), nullptr) << log;
  EXPECT_NE(profile("B 2"), nullptr) << log;
  EXPECT_TRUE(exists(inProject("PRF_B 2.QUV")));
  EXPECT_EQ(countOf(messages(), "Create Profile:"), 2) << messages();
  EXPECT_FALSE(exists(join(work, "PRF_A.QUV"))) << "nothing outside the project folder";
  EXPECT_EQ(unscripted(), 0) << log;
}

TEST_F(CreateProfile, RowsAreAddedAndDeletedAndCancelMakesNothing) {
  addRecordings({makeRecording(field, "A.DZT", "DZT"), makeRecording(field, "B.HD", "HD"),
                 makeRecording(field, "C.SGY", "SGY")});
  // Cancel: no file, no item, no geometry dialog.
  answer(std::string(kNames) + "press Cancel");
  popup(item(rawPath("A.DZT")), 33120);
  EXPECT_EQ(item("Site/QUV/Profiles"), nullptr);
  EXPECT_FALSE(exists(inProject("T01_A.QUV")));
  EXPECT_EQ(countOf(uiLogText(), "Edit Geometry"), 0);

  // One row for A, B and C added with "Add Profile", then A's row picked
  // (an edit of its raw data cell) and deleted.
  clearMessages();
  resetUi();
  answer(std::string(kNames) + "press 23101 press 23101 cell 23100 1 0 x press 23102 press OK");
  answer("answer dialog \"Select additional profiles to create\" select 23110 B.HD press OK");
  answer("answer dialog \"Select additional profiles to create\" select 23110 C.SGY press OK");
  answer(kGeometryOK);
  popup(item(rawPath("A.DZT")), 33120);
  EXPECT_EQ(profile("A"), nullptr) << uiLogText();
  EXPECT_NE(profile("B"), nullptr) << uiLogText();
  EXPECT_NE(profile("C"), nullptr) << uiLogText();
  EXPECT_EQ(countOf(messages(), "Batch Start"), 1) << "two rows are a batch";
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(CreateProfile, ATraceFileThatCannotBeWrittenFailsTheRowAndLeavesNoProfile) {
  addRecordings({makeRecording(field, "LINE1.DZT", "DZT")});
  // The sample file goes to "T01_LINE1.QUV.part" first: a folder there
  // cannot be opened for writing.
  ASSERT_TRUE(std::filesystem::create_directory(inProject("T01_LINE1.QUV.part")));
  clearMessages();
  answer(std::string(kNames) + "press OK");
  popup(item(rawPath("LINE1.DZT")), 33120);
  EXPECT_EQ(countOf(messages(), "Create Profile: LINE1 - Failed"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Completed"), 0);
  EXPECT_EQ(item("Site/QUV/Profiles"), nullptr);
  for (const char* f : {"PRF_LINE1.QUV", "T01_LINE1.QUV", "TT01_LINE1.QUV", "GEO_LINE1.QUV", "XY_LINE1.QUV"})
    EXPECT_FALSE(exists(inProject(f))) << f;
  EXPECT_EQ(countOf(uiLogText(), "Edit Geometry"), 0) << "no profile, no geometry dialog";
}

// A file of the profile that cannot be written after its trace file is in
// takes every file written so far with it: no files, no tree item.
TEST_F(CreateProfile, AFailureAfterTheTraceFileLeavesNoFilesAndNoItem) {
  addRecordings({makeRecording(field, "LINE1.DZT", "DZT")});
  // The version header cannot be renamed over a folder of its name.
  ASSERT_TRUE(std::filesystem::create_directory(inProject("TT01_LINE1.QUV")));
  const std::vector<std::string> before = listDir(projDir);
  clearMessages();
  answer(std::string(kNames) + "press OK");
  popup(item(rawPath("LINE1.DZT")), 33120);
  EXPECT_EQ(countOf(messages(), "Create Profile: LINE1 - Failed"), 1) << messages();
  EXPECT_EQ(item("Site/QUV/Profiles"), nullptr);
  EXPECT_EQ(listDir(projDir), before);
}

// Cancel in the progress window stops the conversion: the project is as before.
TEST_F(CreateProfile, CancelInTheProgressWindowLeavesTheProjectAsBefore) {
  addRecordings({makeRecording(field, "LINE1.DZT", "DZT")});
  const std::vector<std::string> before = listDir(projDir);
  clearMessages();
  answer(std::string(kNames) + "press OK");
  answer("answer progress \"Converting Raw Data to Profile\" cancel 2");
  popup(item(rawPath("LINE1.DZT")), 33120);
  EXPECT_EQ(countOf(messages(), "Create Profile: LINE1 - Cancelled"), 1) << messages();
  EXPECT_EQ(item("Site/QUV/Profiles"), nullptr);
  EXPECT_EQ(listDir(projDir), before);
  EXPECT_EQ(countOf(uiLogText(), "Edit Geometry"), 0);
}

TEST_F(CreateProfile, ASingleTraceLiesAtItsStartPoint) {
  addRecordings({makeRecording(field, "ONE.SGY", "SGY", 1, 32)});
  createFrom("ONE.SGY");
  ASSERT_NE(profile("ONE"), nullptr) << messages();
  EXPECT_EQ(isBad(profile("ONE")), 0);
  quv::ProfileHeader h;
  h.traceCount = 1;
  ASSERT_TRUE(quv::decodeGeoFile(readFile(inProject("GEO_ONE.QUV")), h));
  EXPECT_EQ(h.nodeTrace, (std::vector<int32_t>{0, 0}));
  ASSERT_TRUE(quv::decodeXYFile(readFile(inProject("XY_ONE.QUV")), h));
  EXPECT_EQ(h.easting, std::vector<float>{0.0f});
  EXPECT_EQ(h.northing, std::vector<float>{0.0f});
}

TEST_F(CreateProfile, TheAcceptedGeometrySetsTheNewVersionsDisplay) {
  // The project's defaults: the traces box by horizontal scale 120 and by
  // depth scale 50.
  quv::ProjectDefaults d;
  d.values.horizontalUse = 2;
  d.values.horizontalScale = 120;
  d.values.verticalUse = 2;
  d.values.depthScale = 50;
  writeFile(inProject("DEFAULTS.QUV"), quv::encodeDefaults(d, false, 258));
  closeProject();
  openProject(orx);
  addRecordings({makeRecording(field, "FEET.SGY", "SGY", 20, 100),
                 makeRecording(field, "METRE.SGY", "SGY", 20, 100)});
  popup(item("Site/QUV/Raw Data"), 33102);
  answer(std::string(kNames) + "press OK");
  // FEET becomes a 100-foot line (rows 1 and 2); METRE stays in metres.
  answer("answer dialog \"Edit Geometry\" cell 23200 1 8 ft cell 23200 2 3 60 cell 23200 2 4 80 press OK");
  command(35001);
  ASSERT_NE(profile("FEET"), nullptr) << uiLogText();

  quv::ProfileVersion feet = versionHeader("TT01_FEET.QUV");
  const quv::PageElement& box = feet.presentation.elements[quv::kTracesBox];
  EXPECT_FLOAT_EQ(box.right - box.left, 10.0f);
  EXPECT_EQ(feet.presentation.velocity, d.presentation.velocity);
  EXPECT_NEAR(box.bottom - box.top, 100 * d.presentation.velocity * feet.timeIncrement * 12.0 / 50, 1e-4);

  quv::ProfileVersion metre = versionHeader("TT01_METRE.QUV");
  EXPECT_FLOAT_EQ(metre.normal.velocity, d.normal.velocity * 3.2425420f);
  EXPECT_FLOAT_EQ(metre.presentation.velocity, d.presentation.velocity * 3.2425420f);
  // The loaded version holds what the file holds, so closing keeps it.
  quv::ProfileVersion* loaded = quv::findVersion(*record(profile("METRE")), 0, 1);
  ASSERT_NE(loaded, nullptr);
  EXPECT_FLOAT_EQ(loaded->presentation.velocity, metre.presentation.velocity);
  closeProject();
  EXPECT_FLOAT_EQ(versionHeader("TT01_METRE.QUV").presentation.velocity, metre.presentation.velocity);
  quv::ProfileHeader h;
  ASSERT_TRUE(quv::decodeGeoFile(readFile(inProject("GEO_FEET.QUV")), h));
  EXPECT_EQ(h.unitsPerFoot, 1.0f);
  EXPECT_EQ(h.nodeEasting[1], 60.0f);
  EXPECT_EQ(h.nodeNorthing[1], 80.0f);
}

}  // namespace
