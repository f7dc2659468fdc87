// Preferences and synchronisation through the LOADED module: the default
// folders of the file dialogs and "Specify Default File Locations", the raw
// data display defaults, "Load External Data Display Defaults...", and the
// "Synchronize Versions" / "Synchronize Profiles" dialogs of the profile
// window with what they copy.
#include <filesystem>

#include "dv/headless.h"
#include "dv/settings.h"
#include "dv/system.h"
#include "dv/window.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"
#include "project/defaults_file.h"
#include "project/profile.h"
#include "project/raw.h"

namespace {

using namespace quvtest;
namespace fs = std::filesystem;

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

class PreferencesModule : public ProjectTest {
 protected:
  static std::string ini() { return join(join(sandbox(), "INI"), "DELVAR.INI"); }
  // The folder the raw data add dialog's file dialog starts in.
  static std::string rawAddFolder() {
    answer("answer dialog #303 press 20501 press Cancel");
    answer("answer file cancel");
    command(32802);
    return dv::headless().lastFileDialogFolder();
  }
  // File Locations with three paths typed, then OK.
  static void setLocations(const std::string& raw, const std::string& brennic,
                           const std::string& exportDir) {
    answer("answer dialog \"Specify Default File Locations\" cell grid 1 1 " + quoted(raw) +
           " cell grid 2 1 " + quoted(brennic) + " cell grid 3 1 " + quoted(exportDir) +
           " press OK");
    command(35040);
  }
  quv::ProjectDefaults projectFile() const {
    quv::ProjectDefaults d;
    EXPECT_TRUE(quv::decodeDefaults(readFile(inProject("DEFAULTS.QUV")), d));
    return d;
  }
};

TEST_F(PreferencesModule, FoldersStartAtHomeAndFileLocationsWritesThemEvenOnAFreshInstallation) {
  const std::string home = dv::homeDir();
  // The module keeps the folders earlier tests of this process chose; a fresh
  // installation has the home folder in memory and no settings file on disk.
  setLocations(home, home, home);
  fs::remove_all(join(sandbox(), "INI"));
  answer("answer dialog \"Specify Default File Locations\" expect value grid 0 1 Path "
         "expect value grid 1 0 \"Raw Data\" expect value grid 1 1 " + quoted(home) +
         " expect value grid 2 0 \"Brennic Import\" expect value grid 2 1 " + quoted(home) +
         " expect value grid 3 0 Export expect value grid 3 1 " + quoted(home) + " press Cancel");
  command(35040);
  EXPECT_EQ(rawAddFolder(), home);
  answer("answer dialog #107 select 20004 \"QUV - Brennic Project\" press OK");
  answer("answer file cancel");
  command(32804);  // File > Import
  EXPECT_EQ(dv::headless().lastFileDialogFolder(), home);
  EXPECT_FALSE(exists(join(sandbox(), "INI"))) << "Cancel writes nothing";

  setLocations(field, "/brennic", "/export");
  EXPECT_EQ(dv::getProfileString("DELVAR_defaults", "default_raw_data_directory", "", ini()), field);
  EXPECT_EQ(dv::getProfileString("DELVAR_defaults", "default_brennic_import_directory", "", ini()),
            "/brennic");
  EXPECT_EQ(dv::getProfileString("DELVAR_defaults", "default_export_directory", "", ini()),
            "/export");
  EXPECT_EQ(rawAddFolder(), field);

  // A settings folder that cannot be made: the folders are used all the
  // same, and the message bar says they were not saved.
  fs::remove_all(join(sandbox(), "INI"));
  writeFile(join(sandbox(), "INI"), "not a folder");
  setLocations("/r2", "/b2", "/e2");
  EXPECT_EQ(countOf(messages(), "could not be saved to " + ini()), 1) << messages();
  EXPECT_EQ(rawAddFolder(), "/r2");
  EXPECT_EQ(unscripted(), 0) << uiLogText();

  fs::remove(join(sandbox(), "INI"));
  setLocations(home, home, home);  // as the other tests expect them
  fs::remove_all(join(sandbox(), "INI"));
}

TEST_F(PreferencesModule, RawDefaultsAreStoredWithoutHeadAndTakenByNewRawItems) {
  QUV_NEED_FORMAT_LIBRARY();
  // Nothing chosen yet: Trace Max and no palette button on.
  answer("answer dialog \"Set Raw Data Display Defaults\" expect value \"Trace Max\" 1 "
         "expect value \"Gray Scale\" 0 expect value Red-White-Blue 0 "
         "radio \"AGC 25%\" radio Red-White-Blue press OK");
  command(35041);
  const std::string bytes = readFile(inProject("DEFAULTS.QUV"));
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(bytes.substr(0, 8), std::string("\2\0\0\0\2\0\0\0", 8)) << "gain 2, palette 2, no head";
  addRecordings({makeRecording(field, "RWB.DZT", "DZT", 10, 32)});
  quv::RawItemFile f;
  ASSERT_TRUE(quv::decodeRawItemFile(readFile(inProject("RAW_RWB.QUV")), f));
  EXPECT_EQ(f.gain, 2);
  EXPECT_EQ(f.palette, 2);

  // A defaults file that cannot be written keeps the choice for the session.
  fs::remove(inProject("DEFAULTS.QUV"));
  fs::create_directory(inProject("DEFAULTS.QUV"));
  answer("answer dialog \"Set Raw Data Display Defaults\" radio \"Gray Scale\" press OK");
  command(35041);
  EXPECT_EQ(countOf(messages(), "Warning: Raw Data Display - the display defaults could not be saved"), 1)
      << messages();
  answer("answer dialog \"Set Raw Data Display Defaults\" expect value \"Gray Scale\" 1 "
         "expect value \"AGC 25%\" 1 press Cancel");
  command(35041);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  fs::remove(inProject("DEFAULTS.QUV"));
}

TEST_F(PreferencesModule, LoadedExternalDefaultsAreCopiedInWithTheHeadAndActiveAfterReopening) {
  answer("answer file " + quoted(join(field, "missing.quv")));
  answer("answer message Error OK");
  command(35044);
  EXPECT_NE(uiLogText().find("\"Error\": \"The default file does not exist\""), std::string::npos)
      << uiLogText();

  const std::string junk = join(field, "junk.quv");
  writeFile(junk, "12");
  answer("answer file " + quoted(junk));
  command(35044);
  EXPECT_EQ(countOf(messages(), "is not a display defaults file"), 1) << messages();
  EXPECT_FALSE(exists(inProject("DEFAULTS.QUV")));

  quv::ProjectDefaults external;
  external.values.rawGain = 1, external.values.rawPalette = 1;
  external.normal.gainType = 0;
  external.presentation.elements[quv::kTitle].texts[0] = "Survey 9";
  const std::string path = join(field, "Defaults.quv");
  writeFile(path, quv::encodeDefaults(external, false, 258));
  answer("answer file " + quoted(path));
  command(35044);
  const std::string bytes = readFile(inProject("DEFAULTS.QUV"));
  EXPECT_EQ(bytes.substr(0, 12), std::string("\x39\x30\0\0\2\1\0\0\1\0\0\0", 12))
      << "marker 12345, version 1.02, then the ten values";
  EXPECT_EQ(projectFile().presentation.elements[quv::kTitle].texts[0], "Survey 9");

  closeProject();
  openProject(orx);
  answer("answer dialog \"Set Raw Data Display Defaults\" expect value \"AGC 10%\" 1 "
         "expect value \"Gray Scale\" 1 press Cancel");
  command(35041);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  EXPECT_EQ(pendingAnswers(), 0);
}

// --- synchronisation -------------------------------------------------------------------

class SyncModule : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  // Profiles of synthetic SEG-Y lines of 20 traces, made by Create Profiles.
  void makeProfiles(const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    for (const std::string& n : names) paths.push_back(makeRecording(field, n + ".SGY", "SGY", 20, 64));
    addRecordings(paths);
    popup(item("Site/QUV/Raw Data"), 33102);
    answer("answer dialog \"Specify Name for Profiles\" press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    command(35001);
    resetUi();
  }
  static quv::ProfileItem* record(const std::string& name) {
    void* obj = nullptr;
    if (dv::TreeItem* it = item("Site/QUV/Profiles/" + name)) ::GetTreepObj(it, &obj);
    return static_cast<quv::ProfileItem*>(obj);
  }
  static dv::DocWindow* window(const std::string& title) {
    for (dv::DocWindow* w : pontra::frame().mdi.windows())
      if (w->title() == title) return w;
    return nullptr;
  }
  static void tune(dv::DocWindow* w) {
    w->onCommand(33243);  // Gray Scale
    w->onCommand(33247);  // Wiggles On
  }
};

TEST_F(SyncModule, VersionsOnlySourceChangesNothingAndADepthTargetKeepsItsVerticalAxis) {
  makeProfiles({"P"});
  doubleClick(item("Site/QUV/Profiles/P"));
  dv::DocWindow* w = window("P");
  ASSERT_NE(w, nullptr) << messages();
  quv::ProfileVersion* t01 = quv::findVersion(*record("P"), 0, 1);
  ASSERT_NE(t01, nullptr);
  const quv::DisplaySettings before = t01->normal;
  answer("answer dialog \"Synchronize Versions\" expect value grid 0 0 Version "
         "expect value grid 1 1 Source expect value grid 1 2 Source "
         "press \"All Normal\" press \"All Presentation\" press OK");
  w->onCommand(33280);
  EXPECT_TRUE(quv::sameStoredFields(before, t01->normal));
  EXPECT_EQ(unscripted(), 0) << uiLogText();

  // D01 from T01, then T01 shown again, tuned, and synchronised into D01.
  answer("answer dialog \"Depth Convert\" press 23301 press 23302");
  answer("answer dialog \"Edit Velocities\" press 23314 cell 23310 1 0 10 cell 23310 1 1 0.1 press OK");
  w->onCommand(34163);
  quv::ProfileVersion* d01 = quv::findVersion(*record("P"), 1, 1);
  ASSERT_NE(d01, nullptr) << messages();
  EXPECT_TRUE(w->onClose());
  settle();
  record("P")->shownVersion = 0;
  doubleClick(item("Site/QUV/Profiles/P"));
  w = window("P");
  ASSERT_NE(w, nullptr);
  tune(w);
  t01->normal.vDecimals = 4;
  const quv::DisplaySettings depthBefore = d01->normal, presentationBefore = d01->presentation;
  answer("answer dialog \"Synchronize Versions\" expect value grid 2 0 \"D1 \" "
         "expect value grid 2 1 0 cell grid 2 1 1 press OK");
  w->onCommand(34167);
  EXPECT_EQ(d01->normal.paletteType, 1);
  EXPECT_EQ(d01->normal.wiggleLines, 1);
  EXPECT_EQ(d01->normal.vAxisType, depthBefore.vAxisType);
  EXPECT_EQ(d01->normal.vDecimals, depthBefore.vDecimals);
  EXPECT_EQ(d01->normal.lastSample, depthBefore.lastSample);
  EXPECT_TRUE(quv::sameStoredFields(presentationBefore, d01->presentation)) << "not ticked";
  EXPECT_EQ(unscripted(), 0) << uiLogText();

  // Saved with the version when the project closes.
  closeProject();
  quv::ProfileVersion stored;
  ASSERT_TRUE(quv::decodeVersionHeader(readFile(inProject("DD01_P.QUV")), stored));
  EXPECT_EQ(stored.normal.paletteType, 1);
  EXPECT_EQ(stored.normal.vAxisType, depthBefore.vAxisType);
}

TEST_F(SyncModule, ProfilesClearAllUndoesAllNormalAndTickedProfilesTakeTheTraces) {
  makeProfiles({"A", "B"});
  doubleClick(item("Site/QUV/Profiles/A"));
  doubleClick(item("Site/QUV/Profiles/B"));
  dv::DocWindow* a = window("A");
  ASSERT_NE(a, nullptr) << messages();
  tune(a);
  quv::ProfileVersion* b = quv::shownVersion(*record("B"));
  ASSERT_NE(b, nullptr);
  const quv::DisplaySettings bBefore = b->normal;

  answer("answer dialog \"Synchronize Profiles\" expect value grid 0 0 Profile "
         "expect value grid 1 0 A expect value grid 1 1 Source press \"All Normal\" "
         "expect value grid 2 1 1 press \"Clear All\" expect value grid 2 1 0 "
         "expect value grid 2 2 0 press OK");
  a->onCommand(33281);
  EXPECT_TRUE(quv::sameStoredFields(bBefore, b->normal));

  b->normal.vDecimals = 4;
  answer("answer dialog \"Synchronize Profiles\" cell grid 2 1 1 press OK");
  a->onCommand(34168);
  EXPECT_EQ(b->normal.paletteType, 1);
  EXPECT_EQ(b->normal.wiggleLines, 1);
  EXPECT_EQ(b->normal.vDecimals, 4) << "never the vertical axis";
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

}  // namespace
