// Depth and elevation conversion through the LOADED module: from the
// profile window, a velocity table typed in "Edit Velocities" makes "TV_"
// and "VEL_" and Convert writes D01, shown in the window; elevations typed,
// refused while blank, interpolated and saved in "Z_" make E01 from D01;
// both versions come back after reopening. The batch converts the chosen
// versions of the selected profiles; velocities saved for another number
// of samples per trace, a trace file that cannot be made and a version of
// one sample per trace make no version and fail their row.
#include <cmath>
#include <cstring>
#include <filesystem>

#include "dv/window.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"
#include "project/profile.h"

namespace {

using namespace quvtest;

constexpr int kTraces = 20, kSamples = 64;

class DepthElevationModule : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  // Profiles made from synthetic SEG-Y lines (metres).
  void makeProfiles(const std::vector<std::string>& names, int samples = kSamples) {
    std::vector<std::string> paths;
    for (const std::string& n : names)
      paths.push_back(makeRecording(field, n + ".SGY", "SGY", kTraces, samples));
    addRecordings(paths);
    popup(item("Site/QUV/Raw Data"), 33102);
    answer("answer dialog \"Specify Name for Profiles\" press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    command(35001);
    for (const std::string& n : names) ASSERT_NE(record(n), nullptr) << n << "\n" << uiLogText();
    clearMessages();
    resetUi();
  }
  static quv::ProfileItem* record(const std::string& name) {
    void* obj = nullptr;
    dv::TreeItem* it = item("Site/QUV/Profiles/" + name);
    if (!it) return nullptr;
    ::GetTreepObj(it, &obj);
    return static_cast<quv::ProfileItem*>(obj);
  }
  // Trace i of a sample file of n samples per trace.
  std::vector<float> trace(const std::string& file, int n, int i) {
    const std::string bytes = readFile(inProject(file));
    std::vector<float> out(size_t(n), -1.0f);
    if (bytes.size() >= size_t(4) * n * (i + 1)) std::memcpy(out.data(), bytes.data() + size_t(4) * n * i, size_t(4) * n);
    return out;
  }
  static const quv::ProfileVersion* shown(const std::string& title) {
    for (dv::DocWindow* w : pontra::frame().mdi.windows())
      if (w->title() == title) {
        auto* item = record(title);
        return item ? quv::shownVersion(*item) : nullptr;
      }
    return nullptr;
  }
};

TEST_F(DepthElevationModule, WindowConvertsToDepthThenElevationAndReopens) {
  makeProfiles({"P"});
  doubleClick(item("Site/QUV/Profiles/P"));
  quv::ProfileVersion* t01 = quv::findVersion(*record("P"), 0, 1);
  ASSERT_NE(t01, nullptr);
  const float tLast = t01->time[kSamples - 1];

  // The row says "no" until the velocities are saved; OK with a blank cell
  // is refused first.
  answer("answer dialog \"Depth Convert\" press 23301 press 23302");
  answer("answer dialog \"Edit Velocities\" press 23314 cell 23310 1 0 50 press OK "
         "cell 23310 1 1 0.1 press OK");
  answer("answer message Warning OK");
  command(34163);  // the window's "Depth &Convert"
  EXPECT_NE(uiLogText().find("\"Blank values are not allowed\""), std::string::npos) << uiLogText();
  EXPECT_EQ(countOf(messages(), "Depth Convert: P - Completed"), 1) << messages() << uiLogText();
  EXPECT_EQ(readFile(inProject("TV_P.QUV")), "/ Time Velocity\n50.00 0.100\n");
  EXPECT_EQ(readFile(inProject("VEL_P.QUV")).size(), size_t(4 + 4 * kTraces * kSamples));
  EXPECT_EQ(readFile(inProject("D01_P.QUV")).size(), size_t(4 * kTraces * kSamples));
  quv::ProfileVersion* d01 = quv::findVersion(*record("P"), 1, 1);
  ASSERT_NE(d01, nullptr);
  // Metres: 0.1 m/ns is 0.32808399 ft/ns; the axis reaches v x t_last / 2.
  EXPECT_NEAR(d01->depthIncrement, 0.32808399 * tLast / 2 / (kSamples - 1), 1e-5);
  EXPECT_EQ(d01->sourceKind, 0);
  EXPECT_EQ(d01->sourceNumber, 1);
  EXPECT_EQ(d01->normal.vAxisType, 2);
  EXPECT_EQ(shown("P"), d01) << "the window shows the new version";
  // All traces share one velocity: the depth version is the time version
  // resampled onto its own uniform axis, sample 0 unchanged.
  EXPECT_FLOAT_EQ(trace("D01_P.QUV", kSamples, 3)[0], trace("T01_P.QUV", kSamples, 3)[0]);

  // Elevations: 3.048 m on the first trace, 6.096 m on the last, the rest
  // interpolated; OK with blanks is refused first.
  answer("answer dialog \"Elevation Convert\" press 23321 press 23322");
  answer("answer dialog \"Edit Elevation Values\" cell 23330 1 4 3.048 press OK cell 23330 20 4 6.096 "
         "press 23333 press OK");
  answer("answer message Warning OK");
  command(34164);  // "&Elevation Convert"
  EXPECT_NE(uiLogText().find("Blank elevation values are not allowed, fill in 1st and last, then interpolate"),
            std::string::npos)
      << uiLogText();
  EXPECT_EQ(countOf(messages(), "Elevation Convert: P - Completed"), 1) << messages() << uiLogText();
  quv::ProfileVersion* e01 = quv::findVersion(*record("P"), 2, 1);
  ASSERT_NE(e01, nullptr);
  const float dz = d01->depthIncrement;
  // 10 ft to 20 ft: M' = trunc(10 / dz + M), the first trace shifted furthest.
  EXPECT_EQ(e01->samples, int(10.0f / dz + kSamples));
  EXPECT_FLOAT_EQ(e01->firstElevation, 20.0f - d01->firstDepth);
  EXPECT_FLOAT_EQ(e01->elevationIncrement, -dz);
  EXPECT_EQ(e01->sourceKind, 1);
  EXPECT_EQ(shown("P"), e01);
  const int shift = int((20.0f - 10.0f) / dz);
  const std::vector<float> low = trace("E01_P.QUV", e01->samples, 0);
  const std::vector<float> deep = trace("D01_P.QUV", kSamples, 0);
  for (int k = 0; k < shift; ++k) ASSERT_EQ(low[size_t(k)], 0.0f) << k;
  for (int k = 0; k < kSamples; ++k) ASSERT_EQ(low[size_t(shift + k)], deep[size_t(k)]) << k;
  // The highest trace is not shifted.
  EXPECT_EQ(trace("E01_P.QUV", e01->samples, kTraces - 1)[0], trace("D01_P.QUV", kSamples, kTraces - 1)[0]);
  EXPECT_EQ(unscripted(), 0) << uiLogText();

  closeProject();
  clearMessages();
  openProject(orx);
  ASSERT_NE(record("P"), nullptr);
  EXPECT_NE(quv::findVersion(*record("P"), 1, 1), nullptr);
  EXPECT_NE(quv::findVersion(*record("P"), 2, 1), nullptr);
  EXPECT_EQ(countOf(messages(), "Profile Open: P - Completed"), 1) << messages();
}

TEST_F(DepthElevationModule, BatchConvertsChosenVersionsAndRefusesVelocitiesOfAnotherLength) {
  makeProfiles({"A", "B"});
  popup(item("Site/QUV/Profiles"), 33200);  // Select All: no version chosen, T01 stands in
  // Velocities of A saved for 32 samples per trace: its row is refused.
  std::string vel(4 + 4 * kTraces * 32, '\0');
  writeFile(inProject("VEL_A.QUV"), vel);
  answer("answer dialog \"Depth Convert\" cell 23300 2 0 x press 23301 press 23302");
  answer("answer dialog \"Edit Velocities\" press 23314 cell 23310 1 0 10 cell 23310 1 1 0.1 press OK");
  command(35024);  // "Depth Convert Selected"
  const std::string m = messages();
  EXPECT_EQ(countOf(m, "Batch Start"), 1) << m;
  EXPECT_EQ(countOf(m, "Error: Depth Convert: A - the velocities were saved for another number of samples"), 1) << m;
  EXPECT_EQ(countOf(m, "Depth Convert: A - Failed"), 1) << m;
  EXPECT_EQ(countOf(m, "Depth Convert: B - Completed"), 1) << m;
  EXPECT_EQ(countOf(m, "Batch End"), 1) << m;
  EXPECT_FALSE(exists(inProject("D01_A.QUV")));
  EXPECT_TRUE(exists(inProject("D01_B.QUV")));

  // A trace file that cannot be made leaves no version behind: no header,
  // no object, and the row fails.
  std::filesystem::create_directory(inProject("D02_B.QUV.part"));
  clearMessages();
  answer("answer dialog \"Depth Convert\" press 23302");
  command(35024);
  EXPECT_EQ(countOf(messages(), "Depth Convert: B - Failed"), 1) << messages();
  EXPECT_FALSE(exists(inProject("DD02_B.QUV")));
  EXPECT_EQ(quv::findVersion(*record("B"), 1, 2), nullptr);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(DepthElevationModule, OneSamplePerTraceGivesNoDepthAxisAndIsRefused) {
  makeProfiles({"ONE"}, 1);
  doubleClick(item("Site/QUV/Profiles/ONE"));
  answer("answer dialog \"Depth Convert\" press 23301 press 23302");
  answer("answer dialog \"Edit Velocities\" press 23314 cell 23310 1 0 10 cell 23310 1 1 0.1 press OK");
  command(34163);
  EXPECT_EQ(countOf(messages(), "Error: Depth Convert: ONE - T01 has one sample per trace"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Depth Convert: ONE - Failed"), 1) << messages();
  EXPECT_FALSE(exists(inProject("D01_ONE.QUV")));
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

}  // namespace
