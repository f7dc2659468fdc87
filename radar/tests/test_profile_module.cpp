// Profiles through the LOADED module: the real framework opens a project
// whose file lists a profile written here with the module's own writers
// (the static copy's pure functions), and the tree, the message bar and the
// files in the project folder are checked after each user action.
#include <algorithm>
#include <fstream>

#include "dv/file.h"
#include "fixture.h"
#include "pontra/services.h"
#include "project/profile.h"

namespace {

using namespace quvtest;

class ProfileModule : public ProjectTest {
 protected:
  // Writes profile `name` into the project folder: N traces of n samples,
  // versions as (kind, number), sample value trace * 100 + sample;
  // `tracesInFile` below N makes the sample files short.
  void writeProfile(const std::string& name, int N, int n,
                    std::vector<std::pair<int, int>> versions, int tracesInFile = -1) {
    const std::string f = name + ".QUV";
    quv::ProfileHeader h;
    quv::setSidePaths(h, projDir, f);
    h.traceCount = N;
    h.nodeTrace = {0, N - 1};
    h.nodeEasting = {0, 10};
    h.nodeNorthing = {0, 0};
    for (int i = 0; i < N; ++i) h.easting.push_back(float(i)), h.northing.push_back(0);
    ASSERT_TRUE(quv::writeGeoFile(h));
    ASSERT_TRUE(quv::writeXYFile(h));
    for (auto [kind, number] : versions) {
      quv::ProfileVersion v;
      v.kind = kind, v.number = number;
      v.headerPath = inProject(quv::headerFileName(kind, number, f));
      v.samples = n;
      quv::setWholeProfile(v.normal, N, n);
      ASSERT_TRUE(quv::writeVersionHeaderFile(v));
      std::string bytes;
      for (int i = 0; i < (tracesInFile < 0 ? N : tracesInFile); ++i)
        for (int j = 0; j < n; ++j) {
          float x = float(i * 100 + j);
          bytes.append(reinterpret_cast<const char*>(&x), 4);
        }
      writeFile(inProject(quv::sampleFileName(kind, number, f)), bytes);
    }
    quv::ProfileFileFields pf;
    pf.traceCount = N;
    ASSERT_TRUE(quv::writeProfileFile(inProject("PRF_" + f), pf));
  }

  // Closes the project, adds the profiles' object lines and opens it again.
  void reopenWith(const std::vector<std::string>& names) {
    closeProject();
    std::string orxText = readFile(orx);
    for (auto& n : names)
      orxText += "\"QUV\",\"Profiles\",\"\",\"" + n + "\",\"" + n + ".QUV\",700,1,0\r\n";
    writeFile(orx, orxText);
    clearMessages();
    openProject(orx);
  }

  std::vector<std::string> profileFiles(const std::string& f) {
    std::vector<std::string> out;
    for (auto& name : listDir(projDir))
      if (name.size() > f.size() && name.compare(name.size() - f.size(), f.size(), f) == 0)
        out.push_back(name);
    return out;
  }

  static constexpr const char* kProfiles = "Site/QUV/Profiles/";
};

TEST_F(ProfileModule, ReopensWithItsVersionsAndLoadsTheShownVersionOnDoubleClick) {
  writeProfile("LINE1", 30, 16, {{0, 1}, {0, 3}, {1, 2}});
  reopenWith({"LINE1"});
  dv::TreeItem* it = item(std::string(kProfiles) + "LINE1");
  ASSERT_NE(it, nullptr) << messages();
  EXPECT_EQ(isBad(it), 0);
  EXPECT_EQ(recordFileExt(it), "LINE1.QUV");
  EXPECT_EQ(countOf(messages(), "Profile Open: LINE1 - Completed"), 1) << messages();

  doubleClick(it);
  EXPECT_NE(messages().find("version T01 loaded"), std::string::npos) << messages();

  // Closing saves the profile: the files are rewritten and read again.
  closeProject();
  openProject(orx);
  it = item(std::string(kProfiles) + "LINE1");
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(isBad(it), 0);
  std::string prf = readFile(inProject("PRF_LINE1.QUV"));
  quv::ProfileFileFields f;
  ASSERT_TRUE(quv::decodeProfileFile(prf, f));
  EXPECT_EQ(f.stamp, 258);
  EXPECT_EQ(f.traceCount, 30);
  EXPECT_EQ(f.windowOpen, 0);
  EXPECT_EQ(profileFiles("_LINE1.QUV"),
            (std::vector<std::string>{"D02_LINE1.QUV", "DD02_LINE1.QUV", "GEO_LINE1.QUV",
                                      "PRF_LINE1.QUV", "T01_LINE1.QUV", "T03_LINE1.QUV",
                                      "TT01_LINE1.QUV", "TT03_LINE1.QUV", "XY_LINE1.QUV"}));
}

TEST_F(ProfileModule, ShortSampleFileWarnsOnceAfterTwentyFiveProblems) {
  writeProfile("SHORT", 40, 8, {{0, 1}}, 5);
  reopenWith({"SHORT"});
  dv::TreeItem* it = item(std::string(kProfiles) + "SHORT");
  ASSERT_NE(it, nullptr);
  clearMessages();
  ASSERT_EQ(::IsModuleLoaded(DV_MODULE_SCRIVEL), 1) << "the format library is not loaded";
  doubleClick(it);
  EXPECT_EQ(countOf(messages(), "Warning: More than 25 trace warnings or errors, supressing messages"),
            1)
      << messages();
  EXPECT_NE(messages().find("version T01 loaded"), std::string::npos);
  // The loaded module's record (same layout as this program's copy): the
  // five stored traces read through the format library, the rest zeros.
  void* obj = nullptr;
  ASSERT_EQ(::GetTreepObj(it, &obj), 0);
  auto* p = static_cast<quv::ProfileItem*>(obj);
  ASSERT_NE(p, nullptr);
  quv::ProfileVersion& v = *p->versionList.at(0);
  EXPECT_TRUE(v.loaded);
  ASSERT_EQ(v.buffers.size(), 40u);
  ASSERT_TRUE(v.buffers[4]);
  EXPECT_FLOAT_EQ(v.buffers[4][7], 407.0f);
  ASSERT_TRUE(v.buffers[39]);
  EXPECT_EQ(v.buffers[39][7], 0.0f);
}

TEST_F(ProfileModule, DamagedFilesMarkTheProfileBadAndGreyItsMenu) {
  writeProfile("GOOD", 4, 4, {{0, 1}});
  writeProfile("NOXY", 4, 4, {{0, 1}});
  std::remove(inProject("XY_NOXY.QUV").c_str());
  reopenWith({"GOOD", "NOXY", "GONE"});
  EXPECT_EQ(countOf(messages(), "Profile Open: NOXY - Failed"), 1) << messages();
  EXPECT_EQ(countOf(messages(), "Profile Open: GONE - Failed"), 1);
  EXPECT_NE(messages().find("Could not open " + inProject("XY_NOXY.QUV") + " for reading"),
            std::string::npos);
  dv::TreeItem* bad = item(std::string(kProfiles) + "NOXY");
  ASSERT_NE(bad, nullptr);
  EXPECT_EQ(isBad(bad), 1);

  resetUi();
  popup(bad, 33220);
  EXPECT_NE(uiLogText().find("\"Select\" is greyed"), std::string::npos) << uiLogText();
  resetUi();
  popup(bad, 33223);
  EXPECT_NE(uiLogText().find("\"Edit Geometry\" is greyed"), std::string::npos);
  resetUi();
  popup(item(std::string(kProfiles) + "GOOD"), 33223);
  EXPECT_NE(messages().find("Edit Geometry: the geometry dialog arrives in a later version"),
            std::string::npos)
      << uiLogText();

  // The bad profile's files are kept as they were when the project closes.
  std::string geo = readFile(inProject("GEO_NOXY.QUV"));
  std::string hdr = readFile(inProject("TT01_NOXY.QUV"));
  closeProject();
  EXPECT_EQ(readFile(inProject("GEO_NOXY.QUV")), geo);
  EXPECT_EQ(readFile(inProject("TT01_NOXY.QUV")), hdr);
  EXPECT_FALSE(exists(inProject("XY_NOXY.QUV")));
}

TEST_F(ProfileModule, RenameMovesEveryFileAndTheProjectKeepsTheNewName) {
  writeProfile("OLD", 5, 4, {{0, 1}, {0, 2}, {2, 1}});
  writeFile(inProject("TV_OLD.QUV"), "/ velocities\n");
  reopenWith({"OLD"});
  dv::TreeItem* it = item(std::string(kProfiles) + "OLD");
  ASSERT_NE(it, nullptr);
  ASSERT_TRUE(rename(it, "NEW"));
  EXPECT_EQ(recordName(it), "NEW");
  EXPECT_EQ(recordFileExt(it), "NEW.QUV");
  EXPECT_TRUE(profileFiles("_OLD.QUV").empty());
  EXPECT_EQ(profileFiles("_NEW.QUV"),
            (std::vector<std::string>{"E01_NEW.QUV", "EE01_NEW.QUV", "GEO_NEW.QUV", "PRF_NEW.QUV",
                                      "T01_NEW.QUV", "T02_NEW.QUV", "TT01_NEW.QUV",
                                      "TT02_NEW.QUV", "TV_NEW.QUV", "XY_NEW.QUV"}));
  closeProject();
  openProject(orx);
  dv::TreeItem* again = item(std::string(kProfiles) + "NEW");
  ASSERT_NE(again, nullptr) << messages();
  EXPECT_EQ(isBad(again), 0);
  EXPECT_EQ(countOf(messages(), "Profile Open: NEW - Completed"), 1);
}

TEST_F(ProfileModule, DeleteAsksThenRemovesEveryFileOfTheProfile) {
  writeProfile("DEL", 3, 4, {{0, 1}, {1, 1}});
  writeProfile("KEEP", 3, 4, {{0, 1}});
  writeFile(inProject("Z_DEL.QUV"), std::string(16, '\0'));  // no VEL_ file
  reopenWith({"DEL", "KEEP"});
  dv::TreeItem* it = item(std::string(kProfiles) + "DEL");
  ASSERT_NE(it, nullptr);

  answer("answer message \"Delete Item?\" No");
  deleteKey(it);
  ASSERT_NE(item(std::string(kProfiles) + "DEL"), nullptr);
  EXPECT_EQ(profileFiles("_DEL.QUV").size(), 8u);

  answer("answer message \"Delete Item?\" Yes");
  popup(it, 33222);
  EXPECT_EQ(item(std::string(kProfiles) + "DEL"), nullptr);
  EXPECT_TRUE(profileFiles("_DEL.QUV").empty());
  EXPECT_EQ(profileFiles("_KEEP.QUV").size(), 5u);
  EXPECT_EQ(countOf(messages(), "Profile Deleted: " + inProject("PRF_DEL.QUV")), 1) << messages();
  EXPECT_EQ(readFile(orx).find("\"DEL\""), std::string::npos);
}

TEST_F(ProfileModule, SelectStoresTheChosenVersionAndDeselectClearsTheMark) {
  writeProfile("SEL", 3, 4, {{0, 1}, {1, 2}});
  reopenWith({"SEL"});
  dv::TreeItem* it = item(std::string(kProfiles) + "SEL");
  ASSERT_NE(it, nullptr);
  answer("answer dialog #335 set 22700 \"D2 \" press OK");
  popup(it, 33220);
  EXPECT_EQ(isSelected(it), 1) << uiLogText();
  answer("answer dialog #335 press Cancel");
  popup(it, 33220);
  EXPECT_EQ(isSelected(it), 1);  // a cancelled choice changes nothing

  // The chosen kind and number are stored first and second in the profile file.
  closeProject();
  quv::ProfileFileFields f;
  ASSERT_TRUE(quv::decodeProfileFile(readFile(inProject("PRF_SEL.QUV")), f));
  EXPECT_EQ(f.selection1, quv::kDepthVersion);
  EXPECT_EQ(f.selection2, 2);
  openProject(orx);
  it = item(std::string(kProfiles) + "SEL");
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(isSelected(it), 1);
  popup(it, 33221);
  EXPECT_EQ(isSelected(it), 0);
}

TEST_F(ProfileModule, ProjectFileNamesOutsideTheFolderAreRefused) {
  closeProject();
  std::string orxText = readFile(orx);
  orxText += "\"QUV\",\"Profiles\",\"\",\"EVIL\",\"../../EVIL.QUV\",700,1,0\r\n";
  writeFile(orx, orxText);
  openProject(orx);
  dv::TreeItem* it = item(std::string(kProfiles) + "EVIL");
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(isBad(it), 1);
  EXPECT_NE(messages().find("is not allowed"), std::string::npos) << messages();
  EXPECT_EQ(countOf(messages(), "Profile Open: EVIL - Failed"), 1);
  // Kept in the project file, untouched, when the project closes.
  closeProject();
  EXPECT_NE(readFile(orx).find("../../EVIL.QUV"), std::string::npos);
}

}  // namespace
