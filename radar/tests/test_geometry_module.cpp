// Profile geometry through the LOADED module: "Edit &Geometries" of the
// profile folder on the selected profiles, the straight lines written to
// GEO_ and XY_ with the versions' tables recomputed, and complex lines made
// in the complex dialog, typed or imported through the format library's
// column-order dialog, kept across closing and opening the project.
#include <cstring>

#include "fixture.h"
#include "pontra/services.h"
#include "project/profile.h"

namespace {

using namespace quvtest;

class GeometryModule : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  // Profiles made from synthetic SEG-Y lines (metres) of `traces` traces.
  void makeProfiles(const std::vector<std::string>& names, int traces) {
    std::vector<std::string> paths;
    for (const std::string& n : names) paths.push_back(makeRecording(field, n + ".SGY", "SGY", traces, 16));
    addRecordings(paths);
    popup(item("Site/QUV/Raw Data"), 33102);
    answer("answer dialog \"Specify Name for Profiles\" press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    command(35001);
    for (const std::string& n : names) ASSERT_NE(profile(n), nullptr) << n << "\n" << uiLogText();
    popup(item("Site/QUV/Profiles"), 33200);  // Select All
    clearMessages();
    resetUi();
  }
  static dv::TreeItem* profile(const std::string& name) { return item("Site/QUV/Profiles/" + name); }
  static quv::ProfileItem* record(const std::string& name) {
    void* obj = nullptr;
    ::GetTreepObj(profile(name), &obj);
    return static_cast<quv::ProfileItem*>(obj);
  }
  // The profile's GEO_ and XY_ files as read back.
  std::unique_ptr<quv::ProfileHeader> geometry(const std::string& name, int traces) {
    auto h = std::make_unique<quv::ProfileHeader>();
    h->traceCount = traces;
    EXPECT_TRUE(quv::decodeGeoFile(readFile(inProject("GEO_" + name + ".QUV")), *h)) << name;
    EXPECT_TRUE(quv::decodeXYFile(readFile(inProject("XY_" + name + ".QUV")), *h)) << name;
    return h;
  }
  void editGeometries(const std::string& actions) {
    answer("answer dialog \"Edit Geometry\" " + actions);
    popup(item("Site/QUV/Profiles"), 33204);
  }
  // The complex line of 21 traces with nodes at traces 5 and 10.
  void expectNodesAt5And10(const std::string& name) {
    auto read = geometry(name, 21);
    const quv::ProfileHeader& h = *read;
    EXPECT_EQ(h.nodeTrace, (std::vector<int32_t>{0, 5, 10, 20}));
    EXPECT_EQ(h.nodeEasting, (std::vector<float>{0, 10, 20, 40}));
    EXPECT_EQ(h.nodeNorthing, (std::vector<float>{-10, 0, 10, 30}));
    ASSERT_EQ(h.easting.size(), 21u);
    for (int i = 0; i < 21; ++i) {
      EXPECT_FLOAT_EQ(h.easting[i], 2.0f * i) << i;
      EXPECT_FLOAT_EQ(h.northing[i], 2.0f * i - 10) << i;
    }
  }
};

TEST_F(GeometryModule, ChangedStraightLinesAreWrittenAndTheirVersionsFollowTheUnits) {
  makeProfiles({"A", "B"}, 11);
  const std::string geoB = readFile(inProject("GEO_B.QUV")), xyB = readFile(inProject("XY_B.QUV"));
  quv::ProfileVersion* t01 = quv::findVersion(*record("A"), 0, 1);
  ASSERT_NE(t01, nullptr);
  ASSERT_GT(t01->samples, 1);
  const float metres = t01->depthNormal[1];

  editGeometries("cell 23200 1 8 ft cell 23200 2 3 30 cell 23200 2 4 40 press OK");
  auto read = geometry("A", 11);
  const quv::ProfileHeader& a = *read;
  EXPECT_EQ(a.unitsPerFoot, 1.0f);
  EXPECT_EQ(a.nodeTrace, (std::vector<int32_t>{0, 10}));
  EXPECT_EQ(a.nodeEasting[1], 30.0f);
  EXPECT_EQ(a.nodeNorthing[1], 40.0f);
  for (int i = 0; i < 11; ++i) {
    EXPECT_FLOAT_EQ(a.easting[i], 3.0f * i) << i;
    EXPECT_FLOAT_EQ(a.northing[i], 4.0f * i) << i;
  }
  EXPECT_EQ(readFile(inProject("GEO_B.QUV")), geoB) << "an unchanged line is not written";
  EXPECT_EQ(readFile(inProject("XY_B.QUV")), xyB);
  // The loaded profile took the new geometry, its depth table the new units.
  const quv::ProfileHeader& held = *record("A")->header;
  EXPECT_EQ(held.unitsPerFoot, 1.0f);
  EXPECT_FLOAT_EQ(held.easting[10], 30.0f);
  EXPECT_FLOAT_EQ(t01->depthNormal[1], metres / 0.3048f);
  EXPECT_EQ(unscripted(), 0) << uiLogText();

  // Cancel writes nothing.
  const std::string geoA = readFile(inProject("GEO_A.QUV"));
  editGeometries("cell 23200 2 3 99 press Cancel");
  EXPECT_EQ(readFile(inProject("GEO_A.QUV")), geoA);
}

TEST_F(GeometryModule, OnlySelectedProfilesAreEditedAndNoneSelectedOffersTheSelection) {
  makeProfiles({"A", "B"}, 11);
  popup(profile("A"), 33221);  // Deselect A
  const std::string geoA = readFile(inProject("GEO_A.QUV"));
  editGeometries("cell 23200 2 3 50 press OK");  // row 2: B's end
  EXPECT_EQ(readFile(inProject("GEO_A.QUV")), geoA);
  EXPECT_EQ(geometry("B", 11)->nodeEasting[1], 50.0f);

  popup(item("Site/QUV/Profiles"), 33201);  // Deselect All
  resetUi();
  answer("answer dialog \"Select Profile Data Sets\" press Cancel");
  popup(item("Site/QUV/Profiles"), 33204);
  EXPECT_EQ(countOf(uiLogText(), "dialog \"Edit Geometry\""), 0) << uiLogText();
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(GeometryModule, TypedComplexLineGetsItsEndNodesAndStaysAcrossReopening) {
  makeProfiles({"L"}, 21);
  answer("answer dialog \"Edit Complex Line Geometry\" "
         "cell 23210 1 1 0 "  // trace 0 typed: index 0, with the warning line
         "cell 23210 1 1 6 cell 23210 1 2 10 cell 23210 1 3 0 "
         "cell 23210 2 1 11 cell 23210 2 2 20 cell 23210 2 3 10 press OK");
  editGeometries("press 23201 press OK");
  EXPECT_EQ(countOf(messages(), "Warning: Complex Geometry - Trace number set to limit"), 1) << messages();
  expectNodesAt5And10("L");
  EXPECT_EQ(record("L")->header->nodeCount(), 4);
  EXPECT_EQ(unscripted(), 0) << uiLogText();

  // The straight-line OK afterwards leaves the complex line alone.
  const std::string geo = readFile(inProject("GEO_L.QUV"));
  editGeometries("cell 23200 2 3 5 press OK");
  EXPECT_EQ(readFile(inProject("GEO_L.QUV")), geo);

  closeProject();
  clearMessages();
  openProject(orx);
  EXPECT_EQ(countOf(messages(), "Profile Open: L - Completed"), 1) << messages();
  ASSERT_NE(record("L"), nullptr);
  EXPECT_EQ(record("L")->header->nodeCount(), 4);
  EXPECT_FLOAT_EQ(record("L")->header->easting[20], 40.0f);
}

TEST_F(GeometryModule, CogImportTakesTheColumnsChosenInTheColumnDialog) {
  makeProfiles({"L"}, 21);
  const std::string cog = join(field, "nodes.cog");
  writeFile(cog, "/ easting northing trace\n10 0 6\n  20 10 11\n");
  answer("answer dialog \"Edit Complex Line Geometry\" press 23213 press 23213 press OK");
  answer("answer file \"" + cog + ".none\"");
  answer("answer file \"" + cog + "\"");
  answer("answer dialog \"Select File Columns \" set 20002 3 set 20003 1 set 20004 2 press OK");
  editGeometries("press 23201 press OK");
  EXPECT_NE(uiLogText().find("\"The complex geometry file does not exist\""), std::string::npos)
      << uiLogText();
  expectNodesAt5And10("L");
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

}  // namespace
