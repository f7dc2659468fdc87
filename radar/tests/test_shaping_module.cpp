// Markers, rubber sheeting and join through the LOADED module: the raw
// object's "Ru&bber Sheet" and "&Join" and the batch "Ru&bber Sheet
// Selected", the dialogs driven through the headless UI, and the files of
// the new profiles checked against profiles made of the same raw traces by
// Create Profile.
#include <cstring>

#include "dv/headless.h"
#include "fixture.h"
#include "pontra/services.h"
#include "project/profile.h"
#include "project/raw.h"

namespace {

using namespace quvtest;

class Shaping : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  // The raw traces as Create Profile copies them, in the profile `name`.
  void reference(const std::string& rawLabel, const std::string& name) {
    answer("answer dialog \"Specify Name for Profiles\" cell grid 1 1 " + name + " press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    popup(item(rawPath(rawLabel)), 33120);
    ASSERT_TRUE(exists(inProject("T01_" + name + ".QUV"))) << messages();
  }
  std::vector<float> trace(const std::string& profile, int index, int samples) {
    const std::string b = readFile(inProject("T01_" + profile + ".QUV"));
    std::vector<float> out((size_t)samples);
    if (b.size() >= size_t(index + 1) * samples * 4)
      std::memcpy(out.data(), b.data() + size_t(index) * samples * 4, out.size() * 4);
    return out;
  }
  size_t traces(const std::string& profile, int samples) {
    return readFile(inProject("T01_" + profile + ".QUV")).size() / (4u * samples);
  }
  const quv::RawData& raw(const std::string& label) {
    void* obj = nullptr;
    ::GetTreepObj(item(rawPath(label)), &obj);
    return *static_cast<quv::RawObject*>(obj)->data;
  }
  void writeMarkers(const std::string& label, const std::string& text) {
    writeFile(raw(label).markersPath, text);
  }
  void geometry(const std::string& profile, int traces, quv::ProfileHeader& h) {
    h.traceCount = traces;
    EXPECT_TRUE(quv::decodeGeoFile(readFile(inProject("GEO_" + profile + ".QUV")), h));
    EXPECT_TRUE(quv::decodeXYFile(readFile(inProject("XY_" + profile + ".QUV")), h));
  }
};

TEST_F(Shaping, RubberSheetTakesEachTraceFromTheRawTracesAroundItsPlace) {
  addRecordings({makeRecording(field, "L1.DZT", "DZT", 24, 16)});
  reference("L1.DZT", "REF");
  // 1 m per raw trace, then 2 m: dx 1.5, two traces before the first marker.
  writeMarkers("L1.DZT", "/ Trace# Easting Northing\n/ surveyed\n4 3.00 0.00\n14 13.00 0.00\n24 33.00 0.00\n");
  clearMessages();
  answer("answer dialog \"Rubber Sheet\" expect value grid 1 0 L1.DZT expect value grid 1 2 "
         "MRK_DZT_L1.QUV cell grid 1 1 RS radio \"Move closest\" press Convert");
  popup(item(rawPath("L1.DZT")), 33130);

  ASSERT_NE(item("Site/QUV/Profiles/RS"), nullptr) << uiLogText() << messages();
  EXPECT_EQ(isBad(item("Site/QUV/Profiles/RS")), 0);
  EXPECT_EQ(countOf(messages(), "Rubber Sheet: RS - Completed"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Batch"), 0);
  EXPECT_EQ(dv::headless().progressTitle(), "Rubber Sheeting to Profile");
  EXPECT_EQ(dv::headless().progressText(), "Rubber Sheeting Trace 21 of 23");
  ASSERT_EQ(traces("RS", 16), 23u);
  EXPECT_EQ(trace("RS", 2, 16), trace("REF", 3, 16)) << "the first marker's trace";
  EXPECT_EQ(trace("RS", 3, 16), trace("REF", 5, 16)) << "halfway between 4 and 5: the later";
  EXPECT_EQ(trace("RS", 9, 16), trace("REF", 13, 16)) << "a quarter past 13: the nearer";
  EXPECT_EQ(trace("RS", 22, 16), trace("REF", 23, 16)) << "the last raw trace, nothing beyond";

  quv::ProfileHeader h;
  geometry("RS", 23, h);
  EXPECT_EQ(h.nodeTrace, (std::vector<int32_t>{0, 2, 9, 22}));
  EXPECT_EQ(h.nodeEasting, (std::vector<float>{0, 3, 13, 33}));
  EXPECT_FLOAT_EQ(h.easting[9], 13.5f);
  EXPECT_FLOAT_EQ(h.easting[22], 33.0f);
  EXPECT_FLOAT_EQ(h.unitsPerFoot, 0.3048f);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Shaping, BatchRubberSheetSkipsAnItemWithTwoMarkersAndConvertsTheOthers) {
  addRecordings({makeRecording(field, "L1.DZT", "DZT", 24, 16),
                 makeRecording(field, "L2.RAD", "RAD", 24, 16)});
  writeMarkers("L1.DZT", "1 0 0\n11 10 0\n");
  writeMarkers("L2.RAD", "1 0 0\n11 10 0\n21 20 0\n");
  popup(item("Site/QUV/Raw Data"), 33102);  // Select All
  clearMessages();
  answer("answer dialog \"Rubber Sheet\" press Convert");
  popup(item("Site/QUV/Raw Data"), 33111);

  const std::string m = messages();
  EXPECT_EQ(countOf(m, "Batch Error - L1.DZT must have more that 3 markers to rubber sheet"), 1) << m;
  EXPECT_EQ(countOf(m, "Rubber Sheet: L1 - Completed"), 0) << m;
  EXPECT_EQ(countOf(m, "Rubber Sheet: L2 - Completed"), 1) << m;
  EXPECT_LT(m.find("Batch Start"), m.find("Batch Error")) << m;
  EXPECT_GT(m.find("Batch End"), m.find("Rubber Sheet: L2")) << m;
  EXPECT_EQ(item("Site/QUV/Profiles/L1"), nullptr);
  EXPECT_FALSE(exists(inProject("T01_L1.QUV")));
  // RAMAC traces lose their DC level: each ends on a mean of 0 over its last quarter.
  ASSERT_EQ(traces("L2", 16), 24u);
  std::vector<float> t = trace("L2", 5, 16);
  EXPECT_NEAR(t[12] + t[13] + t[14] + t[15], 0, 1e-3);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(Shaping, MarkersDialogKeepsTheTableValidAndWritesTheMarkerFile) {
  addRecordings({makeRecording(field, "L1.DZT", "DZT", 120, 8)});
  writeFile(join(work, "traces.txt"), "/ picked\n5 1 2\n7 3 4\n9 5 6\n");
  const std::string kMarkers = "answer dialog \"Markers\" ";
  // Export refuses two markers; Scan Data finds the recording's user marks
  // (every 10th trace); typed traces are limited and the rows sorted; OK
  // refuses a blank marker until Interpolate fills it.
  answer(kMarkers +
         "press Insert press Insert expect value grid 2 0 2 press Export "
         "press \"Scan Data\" expect value grid 1 0 11 expect value grid 11 0 111 expect value grid 2 1 \"\" "
         "cell grid 1 0 0 expect value grid 1 0 1 expect value grid 2 0 21 "
         "cell grid 1 1 0 cell grid 1 2 0 cell grid 11 1 110 cell grid 11 2 220 press OK "
         "press Interpolate expect value grid 2 1 20.00 expect value grid 2 2 40.00 press OK");
  answer("answer message Warning OK");
  answer("answer message Warning OK");
  answer("answer dialog \"Rubber Sheet\" press \"Edit Markers\" press Cancel");
  clearMessages();
  popup(item(rawPath("L1.DZT")), 33130);
  EXPECT_EQ(countOf(uiLogText(), "Cannot export less than 3 markers"), 1) << uiLogText();
  EXPECT_EQ(countOf(uiLogText(), "Blank values are not allowed"), 1) << uiLogText();
  EXPECT_EQ(countOf(messages(), "Warning: Markers - Trace number set to limit"), 1) << messages();
  const std::string file = readFile(raw("L1.DZT").markersPath);
  EXPECT_EQ(file.substr(0, 53), "/ Trace# Easting Northing\n1 0.00 0.00\n21 20.00 40.00\n") << file;
  EXPECT_EQ(countOf(file, "\n"), 12) << file;

  // Import by trace number replaces the table with blank markers; the file
  // on disk stays until OK.
  resetUi();
  answer(kMarkers + "expect value grid 11 0 111 radio \"Trace #\" press Import expect value grid 1 0 5 "
         "expect value grid 3 0 9 expect value grid 3 1 \"\" press Cancel");
  answer("answer file " + join(work, "traces.txt"));
  answer("answer dialog \"Select File Columns \" press OK");
  answer("answer dialog \"Rubber Sheet\" press \"Edit Markers\" press Cancel");
  popup(item(rawPath("L1.DZT")), 33130);
  EXPECT_NE(readFile(raw("L1.DZT").markersPath).find("111 110.00 220.00"), std::string::npos);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
}

TEST_F(Shaping, JoinWritesTheItemsOneAfterTheOtherPaddedToTheLongest) {
  addRecordings({makeRecording(field, "L1.DZT", "DZT", 20, 32), makeRecording(field, "L2.DZT", "DZT", 10, 16)});
  reference("L1.DZT", "R1");
  reference("L2.DZT", "R2");
  clearMessages();
  resetUi();
  // L2 is ticked; its start trace typed as 0 becomes 1; the two lines meet
  // at 9.5 m, so that point is written once.
  answer("answer dialog Join expect value 23750 \"Join L1.DZT with ...\" "
         "expect value grid 1 0 L1.DZT cell grid 2 1 1 set \"Profile Name\" J press OK");
  answer("answer message \"Join Sample by Sample?\" Yes");
  answer("answer dialog Join expect value grid 2 0 L2.DZT cell grid 2 2 0 expect value grid 2 2 1 "
         "cell grid 1 3 0 cell grid 1 6 9.5 expect value grid 1 8 0.500 cell grid 2 3 9.5 "
         "cell grid 2 6 14 press OK");
  popup(item(rawPath("L1.DZT")), 33129);

  ASSERT_NE(item("Site/QUV/Profiles/J"), nullptr) << uiLogText() << messages();
  EXPECT_EQ(countOf(messages(), "Warning: Join - Trace number set to limit"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Join: J - Completed"), 1) << messages();
  EXPECT_EQ(dv::headless().progressTitle(), "Joining to Profile");
  ASSERT_EQ(traces("J", 32), 29u);
  EXPECT_EQ(trace("J", 18, 32), trace("R1", 18, 32));
  std::vector<float> padded = trace("R2", 0, 16);
  padded.resize(32, 0.0f);
  EXPECT_EQ(trace("J", 19, 32), padded) << "L2's first trace, zeros after its 16 samples";
  quv::ProfileHeader h;
  geometry("J", 29, h);
  EXPECT_EQ(h.nodeTrace, (std::vector<int32_t>{0, 19, 28}));
  EXPECT_FLOAT_EQ(h.easting[10], 5.0f);
  EXPECT_FLOAT_EQ(h.easting[28], 14.0f);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
}

}  // namespace
