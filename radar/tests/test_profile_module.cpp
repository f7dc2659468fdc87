// Profiles through the LOADED module: the real framework opens a project
// whose file lists profiles written here with the module's own writers (the
// static copy's pure functions), and the tree, the message bar, the progress
// window, the files in the project folder and the loaded module's records
// (reached through GetTreepObj; the layout is that of this program's copy)
// are checked after each user action. Samples are read by the real format
// library, so short files and its quiet flag are observed as users see them.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "dv/file.h"
#include "dv/headless.h"
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

  static quv::ProfileItem* record(dv::TreeItem* it) {
    void* obj = nullptr;
    ::GetTreepObj(it, &obj);
    return static_cast<quv::ProfileItem*>(obj);
  }
  static dv::TreeItem* profile(const std::string& name) {
    return item("Site/QUV/Profiles/" + name);
  }
  void patch(const std::string& name, size_t at, int32_t value) {
    std::string b = readFile(inProject(name));
    ASSERT_GE(b.size(), at + 4);
    std::memcpy(&b[at], &value, 4);
    writeFile(inProject(name), b);
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

  ASSERT_EQ(::IsModuleLoaded(DV_MODULE_SCRIVEL), 1) << "the format library is not loaded";
  doubleClick(it);
  // The profile window opens on the shown version, loading nothing; its
  // first paint builds the byte traces it shows, and only they stay in memory.
  EXPECT_NE(record(it)->window, nullptr) << messages();
  quv::ProfileVersion& v = *record(it)->versionList.at(0);
  EXPECT_TRUE(v.loaded);
  ASSERT_EQ(v.normalBytes.size(), 30u);
  EXPECT_FALSE(v.normalBytes[29]);
  ASSERT_NE(quvtest::docWindow("LINE1"), nullptr);
  paintWindow(*quvtest::docWindow("LINE1"), 1000, 640);
  ASSERT_TRUE(v.normalBytes[29]);
  EXPECT_FALSE(v.presentationBytes[29]) << "the presentation is not shown";
  ASSERT_EQ(v.buffers.size(), 30u);
  EXPECT_FALSE(v.buffers[29]);
  EXPECT_EQ(v.mapping, nullptr);

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
  // Saved with its window open, the profile shows it again.
  EXPECT_EQ(f.windowOpen, 1);
  EXPECT_NE(record(it)->window, nullptr);
  EXPECT_EQ(profileFiles("_LINE1.QUV"),
            (std::vector<std::string>{"D02_LINE1.QUV", "DD02_LINE1.QUV", "GEO_LINE1.QUV",
                                      "PRF_LINE1.QUV", "T01_LINE1.QUV", "T03_LINE1.QUV",
                                      "TT01_LINE1.QUV", "TT03_LINE1.QUV", "XY_LINE1.QUV"}));
}

// A build a user waits for (the byte traces of a 20-inch export at 300 dpi:
// more than 4,096 traces) shows its progress window; cancelled, it writes
// no file and tells of no error, the window stays open, the samples it
// loaded are given back, and what it built is kept for the next build,
// which finishes the rest.
TEST_F(ProfileModule, CancellingALargeByteTraceBuildWritesNothingAndKeepsTheWindowOpen) {
  writeProfile("LONG", 6000, 16, {{0, 1}});
  reopenWith({"LONG"});
  ASSERT_EQ(::IsModuleLoaded(DV_MODULE_SCRIVEL), 1) << "the format library is not loaded";
  doubleClick(profile("LONG"));
  dv::DocWindow* w = quvtest::docWindow("LONG");
  ASSERT_NE(w, nullptr) << messages();
  const quv::ProfileVersion& v = *record(profile("LONG"))->versionList.at(0);
  auto built = [&] {
    return std::count_if(v.normalBytes.begin(), v.normalBytes.end(), [](auto& b) { return b != nullptr; });
  };
  const std::string bmp = join(sandbox(), "long.bmp");
  std::remove(bmp.c_str());
  auto exportWide = [&] {
    answer("answer dialog \"Export Parameters\" set Width 20 set Height 2 set \"D. P. I.\" 300 press OK");
    answer("answer file \"" + bmp + "\"");
    w->onCommand(32769);
  };
  auto& ui = dv::headless();
  int windows = ui.progressWindowsCreated();
  answer("answer progress \"Applying gain and building image\" cancel 1");
  // On one thread the cancel is seen after the first block whatever the
  // machine's load; on more a worker may finish every block before it. (The
  // module keeps its own thread count, so the environment sets it.)
  ::setenv("DELVAR_THREADS", "1", 1);
  exportWide();
  ::unsetenv("DELVAR_THREADS");
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  EXPECT_EQ(ui.progressWindowsCreated(), windows + 1);
  EXPECT_FALSE(exists(bmp)) << uiLogText();
  EXPECT_EQ(uiLogText().find("Could not create file"), std::string::npos) << uiLogText();
  EXPECT_TRUE(v.loaded);
  EXPECT_EQ(quvtest::docWindow("LONG"), w);
  const auto partly = built();
  EXPECT_GT(partly, 0);
  EXPECT_LT(partly, 5400);
  for (size_t i = 0; i < v.buffers.size(); ++i) ASSERT_FALSE(v.buffers[i] || v.needed[i]) << i;
  EXPECT_EQ(v.mapping, nullptr);

  // Again to the end: the traces of the image's 5,400 columns, no others.
  windows = ui.progressWindowsCreated();
  exportWide();
  EXPECT_EQ(ui.progressWindowsCreated(), windows + 1);
  EXPECT_EQ(ui.progressTitle(), "Applying gain and building image");
  EXPECT_EQ(dv::fileSize(bmp), 6000 * 600 + 1078);
  EXPECT_EQ(built(), 5400);
  EXPECT_EQ(countOf(messages(), "Export: LONG - written to " + bmp), 1) << messages();
  // A window's paint is not such a build: it shows no progress.
  windows = ui.progressWindowsCreated();
  paintWindow(*w, 1000, 640);
  EXPECT_EQ(ui.progressWindowsCreated(), windows);
}

TEST_F(ProfileModule, SamplesLoadAtTheFirstPaintAndShortFilesReadAsZerosQuietlyAfter25) {
  writeProfile("SHORT", 40, 8, {{0, 1}}, /*tracesInFile=*/5);  // 35 traces missing
  writeProfile("FEW", 30, 8, {{0, 1}}, 6);                      // 24 missing
  writeProfile("NONE", 12, 8, {{0, 1}});
  std::remove(inProject("T01_NONE.QUV").c_str());
  reopenWith({"SHORT", "FEW", "NONE"});
  ASSERT_EQ(::IsModuleLoaded(DV_MODULE_SCRIVEL), 1) << "the format library is not loaded";
  const std::string readError = "Error: Could not read trace";
  const std::string warning = "Warning: More than 25 trace warnings or errors, supressing messages";
  auto& ui = dv::headless();

  // Opening reads nothing; the first paint reads the traces it shows,
  // without a progress window (a window's worth of traces is no long step).
  clearMessages();
  int windows = ui.progressWindowsCreated();
  doubleClick(profile("SHORT"));
  EXPECT_EQ(countOf(messages(), readError), 0) << messages();
  ASSERT_NE(quvtest::docWindow("SHORT"), nullptr);
  paintWindow(*quvtest::docWindow("SHORT"), 1000, 640);
  EXPECT_EQ(countOf(messages(), readError), 25) << messages();
  EXPECT_EQ(countOf(messages(), warning), 1);
  EXPECT_EQ(ui.progressWindowsCreated(), windows);
  // The traces read carry their samples; the missing ones are zero amplitude.
  quv::ProfileVersion& v = *record(profile("SHORT"))->versionList.at(0);
  ASSERT_TRUE(v.normalBytes.at(4));
  EXPECT_NE(v.normalBytes[4][7], 128);
  for (int i = 5; i < 40; ++i) {
    ASSERT_TRUE(v.normalBytes[i]);
    EXPECT_EQ(v.normalBytes[i][7], 128) << i;
  }
  // Painted again (a scroll back, say): nothing is read again.
  clearMessages();
  paintWindow(*quvtest::docWindow("SHORT"), 1000, 640);
  EXPECT_EQ(countOf(messages(), readError), 0) << messages();

  clearMessages();
  doubleClick(profile("FEW"));
  paintWindow(*quvtest::docWindow("FEW"), 1000, 640);
  EXPECT_EQ(countOf(messages(), readError), 24);
  EXPECT_EQ(countOf(messages(), warning), 0);

  // No sample file at all: every trace is zeros.
  clearMessages();
  doubleClick(profile("NONE"));
  paintWindow(*quvtest::docWindow("NONE"), 1000, 640);
  quv::ProfileVersion& z = *record(profile("NONE"))->versionList.at(0);
  ASSERT_TRUE(z.normalBytes.at(11));
  EXPECT_EQ(z.normalBytes[11][0], 128);
}

TEST_F(ProfileModule, HostileProfileAndHeaderFilesMarkTheItemBadAndAreKept) {
  writeProfile("BIG", 3, 4, {{0, 1}});
  patch("PRF_BIG.QUV", 4, 0x7fffffff);  // more traces than the coordinate file holds
  writeProfile("CUT", 3, 4, {{0, 1}});
  writeFile(inProject("PRF_CUT.QUV"), readFile(inProject("PRF_CUT.QUV")).substr(0, 10));
  writeProfile("HDR", 3, 4, {{0, 1}, {0, 2}});
  patch("TT01_HDR.QUV", 4, 1 << 30);  // 2^30 samples per trace
  std::string cut = readFile(inProject("TT02_HDR.QUV"));
  writeFile(inProject("TT02_HDR.QUV"), cut.substr(0, cut.size() - 3));
  writeProfile("DIR", 3, 4, {{0, 1}, {0, 2}});  // a header that cannot be read at all
  std::remove(inProject("TT02_DIR.QUV").c_str());
  std::filesystem::create_directory(inProject("TT02_DIR.QUV"));
  const std::string big = readFile(inProject("PRF_BIG.QUV")),
                    cutPrf = readFile(inProject("PRF_CUT.QUV")),
                    hdr = readFile(inProject("TT01_HDR.QUV"));
  reopenWith({"BIG", "CUT", "HDR", "DIR", "GONE"});
  EXPECT_EQ(countOf(messages(), "Profile Open: GONE - Failed"), 1);  // no files at all

  for (const char* name : {"BIG", "CUT", "HDR"}) {
    ASSERT_NE(profile(name), nullptr) << name;
    EXPECT_EQ(isBad(profile(name)), 1) << name;
    EXPECT_EQ(countOf(messages(), std::string("Profile Open: ") + name + " - Failed"), 1);
  }
  EXPECT_NE(messages().find("Could not open " + inProject("XY_BIG.QUV") + " for reading"),
            std::string::npos);
  EXPECT_NE(messages().find("Error: Could not open " + inProject("PRF_CUT.QUV") + " for reading"),
            std::string::npos);
  EXPECT_TRUE(record(profile("HDR"))->versionList.at(0)->time.empty());
  // The unreadable header leaves an empty version; the profile stays usable.
  EXPECT_EQ(isBad(profile("DIR")), 0);
  EXPECT_EQ(record(profile("DIR"))->versionList.at(1)->samples, 0);

  // A bad profile's pop-up offers only Delete.
  popup(profile("BIG"), 33220);
  EXPECT_NE(uiLogText().find("\"Select\" is greyed"), std::string::npos) << uiLogText();
  popup(profile("BIG"), 33223);
  EXPECT_NE(uiLogText().find("\"Edit Geometry\" is greyed"), std::string::npos);
  // A good profile's Edit Geometry opens the geometry dialog (cancelled here).
  answer("answer dialog \"Edit Geometry\" press Cancel");
  popup(profile("DIR"), 33223);
  EXPECT_EQ(pendingAnswers(), 0) << "the geometry dialog did not open";
  EXPECT_EQ(messages().find("Edit Geometry: the geometry dialog arrives in a later version"),
            std::string::npos);

  closeProject();  // a bad profile is not saved over
  EXPECT_EQ(readFile(inProject("PRF_BIG.QUV")), big);
  EXPECT_EQ(readFile(inProject("PRF_CUT.QUV")), cutPrf);
  EXPECT_EQ(readFile(inProject("TT01_HDR.QUV")), hdr);
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

TEST_F(ProfileModule, RenameIsRefusedForUnsafeNamesAndFilesThatExist) {
  writeProfile("A", 2, 2, {{0, 1}});
  writeFile(inProject("GEO_B.QUV"), "a file of no profile in the tree");
  reopenWith({"A"});
  dv::TreeItem* it = profile("A");
  ASSERT_NE(it, nullptr);
  const auto before = listDir(projDir);
  for (const char* name : {"x/y", "..", "B"}) {
    rename(it, name);
    EXPECT_EQ(it->text, "A") << name;
    EXPECT_EQ(recordName(it), "A");
    EXPECT_EQ(recordFileExt(it), "A.QUV");
  }
  EXPECT_NE(messages().find("is not allowed"), std::string::npos) << messages();
  EXPECT_NE(messages().find(inProject("GEO_B.QUV") + " exists already"), std::string::npos);
  EXPECT_EQ(listDir(projDir), before);
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

// A version's counts are held to its trace file, not to a fixed size: a
// long line whose (sparse, multi-gigabyte) file holds all its samples opens,
// a header giving traces longer than the whole file is damaged.
TEST_F(ProfileModule, VersionHeadersAreHeldToTheirTraceFileWhateverItsSize) {
  constexpr int kTraces = 300000, kSamples = 1024;  // 3.1e8 samples, 1.2 GB of floats
  writeProfile("LONG", kTraces, kSamples, {{0, 1}}, /*tracesInFile=*/0);
  const std::string samples = inProject("T01_LONG.QUV");
  std::filesystem::resize_file(samples, uintmax_t(kTraces) * kSamples * 4);  // a hole, no writes
  writeProfile("WIDE", 3, 4, {{0, 1}});
  patch("TT01_WIDE.QUV", 4, 13);  // 13 samples a trace: not one trace fits in 48 bytes
  reopenWith({"LONG", "WIDE"});

  ASSERT_NE(profile("LONG"), nullptr);
  EXPECT_EQ(isBad(profile("LONG")), 0) << messages();
  const quv::ProfileVersion& v = *record(profile("LONG"))->versionList.at(0);
  EXPECT_TRUE(v.headerValid);
  EXPECT_EQ(v.samples, kSamples);
  EXPECT_EQ(v.traceCount(), kTraces);

  ASSERT_NE(profile("WIDE"), nullptr);
  EXPECT_EQ(isBad(profile("WIDE")), 1);
  EXPECT_EQ(countOf(messages(), "Profile Open: WIDE - Failed"), 1) << messages();
}

}  // namespace
