// The processing steps through the LOADED module: the profile window's
// "&Process" entries on a profile of every format's synthetic line each
// write the next time version, made from the version shown and named for
// the step, and every version comes back when the project is opened again.
// Migration refuses a line whose geometry spaces its traces unevenly. The
// parameter rules that the dialogs and the command line share are checked
// alone.
#include <cstdlib>

#include "fixture.h"
#include "processing/process_version.h"
#include "project/profile.h"
#include "quv/ids.h"

namespace {

using namespace quvtest;

class ProcessModule : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  static quv::ProfileItem* record(const std::string& name) {
    return static_cast<quv::ProfileItem*>(treeRecord("Site/QUV/Profiles/" + name));
  }
};

TEST_F(ProcessModule, EveryStepOnEveryFormatWritesAVersionThatReopens) {
  const char* formats[] = {"DZT", "HD", "RAD", "SG2", "SGY"};
  std::vector<std::string> paths;
  for (const char* f : formats) paths.push_back(makeRecording(field, std::string("L") + f + "." + f, f, 24, 96));
  addRecordings(paths);
  popup(item("Site/QUV/Raw Data"), quv::ID_RAW_SELECT_ALL);
  answer("answer dialog \"Specify Name for Profiles\" press OK");
  answer("answer dialog \"Edit Geometry\" press OK");
  command(quv::ID_MAIN_RAW_CREATE_PROFILES);
  const char* names[] = {"dewow 10 ns", "background whole line", nullptr, nullptr, nullptr, "envelope",
                         nullptr, nullptr};
  for (const char* f : formats) {
    const std::string p = std::string("L") + f;
    ASSERT_NE(record(p), nullptr) << p << "\n" << uiLogText();
    doubleClick(item("Site/QUV/Profiles/" + p));
    answer("answer dialog Dewow press OK");
    command(quv::ID_N_PROCESS_DEWOW);
    answer("answer dialog \"Background Removal\" press OK");
    command(quv::ID_N_PROCESS_BACKGROUND);
    answer("answer dialog \"Band-Pass Filter\" press OK");
    command(quv::ID_N_PROCESS_BAND_PASS);
    answer("answer dialog \"Low-Pass Filter\" press OK");
    command(quv::ID_N_PROCESS_LOW_PASS);
    answer("answer dialog \"High-Pass Filter\" press OK");
    command(quv::ID_N_PROCESS_HIGH_PASS);
    command(quv::ID_N_PROCESS_ENVELOPE);
    answer("answer dialog \"Time Zero from First Break\" press OK");
    command(quv::ID_N_PROCESS_TIME_ZERO);
    answer("answer dialog Migration set \"Velocity (m/ns)\" 0.1 press OK");
    command(quv::ID_N_PROCESS_MIGRATE);
    EXPECT_EQ(countOf(messages(), ": " + p + " - Completed"), 9) << messages();  // with Create Profile
  }
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  EXPECT_EQ(countOf(messages(), "- Failed"), 0) << messages();

  closeProject();
  openProject(orx);
  for (const char* f : formats) {
    const std::string p = std::string("L") + f;
    quv::ProfileItem* item = record(p);
    ASSERT_NE(item, nullptr) << p;
    const quv::ProfileVersion* t01 = quv::findVersion(*item, quv::kTimeVersion, 1);
    ASSERT_NE(t01, nullptr) << p;
    for (int k = 0; k < 8; ++k) {
      const quv::ProfileVersion* v = quv::findVersion(*item, quv::kTimeVersion, 2 + k);
      ASSERT_NE(v, nullptr) << p << " T" << 2 + k;
      EXPECT_EQ(v->sourceKind, quv::kTimeVersion);
      EXPECT_EQ(v->sourceNumber, 1 + k) << p << ": each step reads the version shown";
      EXPECT_EQ(v->samples, t01->samples);
      if (names[k]) {
        EXPECT_EQ(v->name, names[k]) << p;
      }
      EXPECT_EQ(readFile(v->samplePath).size(), size_t(4) * 24 * size_t(t01->samples)) << p;
    }
    // Time zero at the first break: after the envelope's direct wave, and
    // the migration keeps it.
    const quv::ProfileVersion* t08 = quv::findVersion(*item, quv::kTimeVersion, 8);
    const quv::ProfileVersion* t09 = quv::findVersion(*item, quv::kTimeVersion, 9);
    EXPECT_EQ(t08->name.rfind("time zero 0.2, sample ", 0), 0u) << t08->name;
    const int pick = std::atoi(t08->name.c_str() + std::string("time zero 0.2, sample ").size());
    EXPECT_FLOAT_EQ(t08->firstTime, -float(pick) * t08->timeIncrement) << p;
    EXPECT_FLOAT_EQ(t09->firstTime, t08->firstTime) << p;
    EXPECT_EQ(t09->name, "migrated 0.1 m/ns") << p;
  }
}

TEST_F(ProcessModule, MigrationRefusesUnevenTraceSpacing) {
  addRecordings({makeRecording(field, "BENT.DZT", "DZT", 30, 64)});
  answer("answer dialog \"Specify Name for Profiles\" press OK");
  answer("answer dialog \"Edit Geometry\" press OK");
  popup(item("Site/QUV/Raw Data/BENT.DZT"), quv::ID_RAWOBJ_CREATE_PROFILE);
  quv::ProfileItem* p = record("BENT");
  ASSERT_NE(p, nullptr) << uiLogText();
  // Three nodes: traces 0-10 two metres apart, 10-29 one.
  p->header->nodeTrace = {0, 10, 29};
  p->header->nodeEasting = {0, 2, 3};
  p->header->nodeNorthing = {0, 0, 0};
  doubleClick(item("Site/QUV/Profiles/BENT"));
  answer("answer dialog Migration press OK");
  answer("answer message Error OK");
  command(quv::ID_N_PROCESS_MIGRATE);
  EXPECT_NE(uiLogText().find("spaces its traces unevenly (from 0.0526 to 0.2000 m apart)"), std::string::npos)
      << uiLogText();
  EXPECT_EQ(quv::findVersion(*p, quv::kTimeVersion, 2), nullptr);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST(ProcessParameters, WrongParametersNameTheAcceptedOnesAndBadValuesAreRefused) {
  quv::ProcessStep s;
  ASSERT_TRUE(quv::findStep("BandPass", 0.1f, s));
  // Defaults for 0.1 ns a sample (Nyquist 5000 MHz): a twentieth and a fifth.
  EXPECT_EQ(s.get("low"), 250);
  EXPECT_EQ(s.get("high"), 1000);
  EXPECT_EQ(quv::parameterProblem(s, 0.1f), "");
  const std::string unknown = quv::assignParameters(s, {"lo=50"});
  EXPECT_NE(unknown.find("low=X high=X order=N"), std::string::npos) << unknown;
  EXPECT_NE(quv::assignParameters(s, {"order=2.5"}).find("whole number"), std::string::npos);
  EXPECT_NE(quv::assignParameters(s, {"high"}), "");
  EXPECT_EQ(quv::assignParameters(s, {"low=600", "high=400"}), "");
  EXPECT_NE(quv::parameterProblem(s, 0.1f).find("low corner must lie below"), std::string::npos);
  EXPECT_EQ(quv::assignParameters(s, {"low=100", "HIGH=6000"}), "");
  EXPECT_NE(quv::parameterProblem(s, 0.1f).find("Nyquist frequency of 5000 MHz"), std::string::npos);
  EXPECT_EQ(quv::assignParameters(s, {"high=800", "order=11"}), "");
  EXPECT_NE(quv::parameterProblem(s, 0.1f), "");
  EXPECT_EQ(quv::assignParameters(s, {"order=2"}), "");
  EXPECT_EQ(quv::versionNameFor(s), "band-pass 100-800 MHz order 2");
  ASSERT_TRUE(quv::findStep("dewow", 0.1f, s));
  EXPECT_EQ(quv::assignParameters(s, {"window=0"}), "");
  EXPECT_NE(quv::parameterProblem(s, 0.1f), "");
  ASSERT_TRUE(quv::findStep("background", 0.1f, s));
  EXPECT_EQ(quv::assignParameters(s, {"traces=25"}), "");
  EXPECT_EQ(quv::versionNameFor(s), "background 25 traces");
  EXPECT_EQ(quv::assignParameters(s, {"traces=99999999999"}), "");
  EXPECT_NE(quv::parameterProblem(s, 0.1f), "") << "a count no int holds is refused";
  EXPECT_FALSE(quv::findStep("kirchhoff", 0.1f, s));
  EXPECT_EQ(quv::stepKeys(), "dewow, background, bandpass, lowpass, highpass, envelope, timezero, migrate");
  ASSERT_TRUE(quv::findStep("timezero", 0.1f, s));
  EXPECT_EQ(quv::assignParameters(s, {"fraction=1"}), "");
  EXPECT_NE(quv::parameterProblem(s, 0.1f), "") << "a fraction of 1 is never passed";
  ASSERT_TRUE(quv::findStep("migrate", 0.1f, s));
  EXPECT_EQ(quv::assignParameters(s, {"velocity=-0.1"}), "");
  EXPECT_NE(quv::parameterProblem(s, 0.1f), "");
}

}  // namespace
