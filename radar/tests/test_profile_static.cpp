// Loading, saving, deleting and renaming profiles on the STATIC copy of the
// module. The test fills the static copy's start-up values with function
// tables of its own for the duration of each test (and restores them after):
//   entry 0, a small fake framework: project folder, a list of tree objects,
//            message lines and progress calls captured as text;
//   entry 1, two format-library functions (OpenFileForRead and
//            ReadProfileTrace) implementing the library's documented
//            contract over real files, so that short files and the quiet
//            flag can be observed. The real library is exercised through
//            the loaded module in test_profile_module.cpp.
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <filesystem>
#include <list>

#include "dv/file.h"
#include "dv/headless.h"
#include "dv/ui.h"
#include "project/profile.h"
#include "project/quv.h"

namespace {

namespace fs = std::filesystem;

struct FakeItem {
  std::string name, ext;
  int bad = 0, selected = 0;
  void* object = nullptr;
  bool deleted = false;
};

struct Fake {
  std::string projDir;
  std::vector<std::string> lines;     // MsgOut lines
  int formatReports = 0;              // trace problems the format library reported
  std::vector<std::string> progress;  // "create Loading data", "Trace 1 of 30 0", "destroy"
  std::list<FakeItem> items;
};
Fake* g_fake = nullptr;

int copyOut(const std::string& s, char* out, int size) {
  if (!out || size <= 0) return -1;
  std::snprintf(out, (size_t)size, "%s", s.c_str());
  return 0;
}
FakeItem* fakeItem(DvHandle h) { return static_cast<FakeItem*>(h); }

extern "C" {
int fGetProjDir(char* out, int size) { return copyOut(g_fake->projDir, out, size); }
int fGetTreeName(DvHandle h, char* out, int size) { return copyOut(fakeItem(h)->name, out, size); }
int fGetTreeFileExt(DvHandle h, char* out, int size) {
  return copyOut(fakeItem(h)->ext, out, size);
}
int fSetTreeName(DvHandle h, const char* t) { return fakeItem(h)->name = t, 0; }
int fSetTreeFileExt(DvHandle h, const char* t) { return fakeItem(h)->ext = t, 0; }
int fGetTreeBad(DvHandle h, int* v) { return *v = fakeItem(h)->bad, 0; }
int fSetTreeBad(DvHandle h, int v) { return fakeItem(h)->bad = v, 0; }
int fGetTreeSelected(DvHandle h, int* v) { return *v = fakeItem(h)->selected, 0; }
int fSetTreeSelected(DvHandle h, int v) { return fakeItem(h)->selected = v, 0; }
int fInsertTreeObject(int, const char* name, const char* ext, int sel, void* obj, DvHandle* out) {
  g_fake->items.push_back({name, ext, 0, sel, obj, false});
  *out = &g_fake->items.back();
  return 0;
}
int fDeleteTreeObject(DvHandle h) { return fakeItem(h)->deleted = true, 0; }
int fMsgOut(int, int, const char* format, ...) {
  char buf[2048];
  va_list ap;
  va_start(ap, format);
  std::vsnprintf(buf, sizeof buf, format, ap);
  va_end(ap);
  g_fake->lines.push_back(buf);
  return 0;
}
int fCreateProgress(const char* title, const char*) {
  g_fake->progress.push_back(std::string("create ") + title);
  return 0;
}
int fSetProgress(const char* text, int pos) {
  g_fake->progress.push_back(std::string(text) + " " + std::to_string(pos));
  return 0;
}
int fDestroyProgress() {
  g_fake->progress.push_back("destroy");
  return 0;
}
int fOpenFileForRead(const char* path, dv::File* file) {
  return file->open(path, dv::File::ReadOnly) ? SCRIVEL_OK : SCRIVEL_ERR_OPEN_READ;
}
// n floats of trace `index`; a trace beyond the file's end is a read error,
// reported unless quiet.
int fReadProfileTrace(const char*, dv::File* file, int n, int index, float** out, int quiet) {
  const int64_t offset = 4LL * n * index;
  if (file->length() < offset + 4LL * n) {
    if (!quiet) ++g_fake->formatReports;
    return SCRIVEL_ERR_READ;
  }
  file->seek(offset);
  auto* b = static_cast<float*>(std::malloc(4 * (size_t)std::max(n, 1)));
  file->read(b, 4 * (size_t)n);
  *out = b;
  return SCRIVEL_OK;
}
}

template <typename F>
DvFunc asFunc(F f) {
  return reinterpret_cast<DvFunc>(f);
}

class StaticProfile : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = quv::startup();
    g_fake = &fake;
    fw_.fill(nullptr);
    fw_[PONTRA_GetProjDir] = asFunc(fGetProjDir);
    fw_[PONTRA_GetTreeName] = asFunc(fGetTreeName);
    fw_[PONTRA_SetTreeName] = asFunc(fSetTreeName);
    fw_[PONTRA_GetTreeFileExt] = asFunc(fGetTreeFileExt);
    fw_[PONTRA_SetTreeFileExt] = asFunc(fSetTreeFileExt);
    fw_[PONTRA_GetTreeBad] = asFunc(fGetTreeBad);
    fw_[PONTRA_SetTreeBad] = asFunc(fSetTreeBad);
    fw_[PONTRA_GetTreeSelected] = asFunc(fGetTreeSelected);
    fw_[PONTRA_SetTreeSelected] = asFunc(fSetTreeSelected);
    fw_[PONTRA_InsertTreeObject] = asFunc(fInsertTreeObject);
    fw_[PONTRA_DeleteTreeObject] = asFunc(fDeleteTreeObject);
    fw_[PONTRA_MsgOut] = asFunc(fMsgOut);
    fw_[PONTRA_CreateProgress] = asFunc(fCreateProgress);
    fw_[PONTRA_SetProgress] = asFunc(fSetProgress);
    fw_[PONTRA_DestroyProgress] = asFunc(fDestroyProgress);
    sc_.fill(nullptr);
    sc_[SCRIVEL_OpenFileForRead] = asFunc(fOpenFileForRead);
    sc_[SCRIVEL_ReadProfileTrace] = asFunc(fReadProfileTrace);
    tables_.fill(nullptr);
    tables_[DV_MODULE_FRAMEWORK] = fw_.data();
    tables_[DV_MODULE_SCRIVEL] = sc_.data();
    quv::startup() = quv::Startup{};
    quv::startup().funcTables = tables_.data();
    savedType_ = quv::profileTypeIndex();
    quv::setProfileTypeIndex(0);

    fake.projDir = (fs::temp_directory_path() /
                    ("quv_static_" + std::string(::testing::UnitTest::GetInstance()
                                                     ->current_test_info()
                                                     ->name())))
                       .string();
    fs::remove_all(fake.projDir);
    fs::create_directories(fake.projDir);
  }
  void TearDown() override {
    for (auto& it : fake.items)
      if (!it.deleted) quv::destroyProfile(static_cast<quv::ProfileItem*>(it.object));
    quv::startup() = saved_;
    quv::setProfileTypeIndex(savedType_);
    g_fake = nullptr;
    fs::remove_all(fake.projDir);
  }

  std::string path(const std::string& name) const { return dv::joinPath(fake.projDir, name); }
  std::vector<std::string> files() const {
    std::vector<std::string> names;
    for (auto& e : fs::directory_iterator(fake.projDir)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  bool hasLine(const std::string& line) const {
    return std::find(fake.lines.begin(), fake.lines.end(), line) != fake.lines.end();
  }
  static std::string readAll(const std::string& p) {
    std::string s;
    dv::readWholeFile(p, s);
    return s;
  }

  // Writes a whole profile with the module's writers: N traces, straight
  // geometry, and one version per (kind, number) with n samples whose
  // sample value is trace * 1000 + sample; `tracesInFile` limits the sample
  // file (a short file when below N).
  void writeProfile(const std::string& name, int N, int n,
                    std::vector<std::pair<int, int>> versions, int tracesInFile = -1,
                    int shown = 0) {
    const std::string f = name + ".QUV";
    quv::ProfileHeader h;
    quv::setSidePaths(h, fake.projDir, f);
    h.traceCount = N;
    h.unitsPerFoot = 1.0f;
    h.nodeTrace = {0, N - 1};
    h.nodeEasting = {0, float(N - 1)};
    h.nodeNorthing = {0, 0};
    for (int i = 0; i < N; ++i) h.easting.push_back(float(i)), h.northing.push_back(0);
    ASSERT_TRUE(quv::writeGeoFile(h));
    ASSERT_TRUE(quv::writeXYFile(h));
    for (auto [kind, number] : versions) {
      quv::ProfileVersion v;
      v.kind = kind, v.number = number;
      v.headerPath = path(quv::headerFileName(kind, number, f));
      v.samples = n;
      v.timeIncrement = 0.1f;
      v.name = "v" + std::to_string(number);
      quv::setWholeProfile(v.normal, N, n);
      ASSERT_TRUE(quv::writeVersionHeaderFile(v));
      std::string samples;
      int stored = tracesInFile < 0 ? N : tracesInFile;
      for (int i = 0; i < stored; ++i)
        for (int j = 0; j < n; ++j) {
          float x = float(i * 1000 + j);
          samples.append(reinterpret_cast<const char*>(&x), 4);
        }
      ASSERT_TRUE(dv::writeFileAtomic(path(quv::sampleFileName(kind, number, f)), samples));
    }
    quv::ProfileFileFields pf;
    pf.traceCount = N;
    pf.shownVersion = shown;
    ASSERT_TRUE(quv::writeProfileFile(path("PRF_" + f), pf));
  }

  quv::ProfileItem* open(const std::string& name) {
    return quv::openProfile(name.c_str(), (name + ".QUV").c_str(), 0);
  }
  FakeItem& last() { return fake.items.back(); }

  Fake fake;

 private:
  quv::Startup saved_;
  int savedType_ = -1;
  std::array<DvFunc, PONTRA_SLOT_COUNT> fw_{};
  std::array<DvFunc, SCRIVEL_SLOT_COUNT> sc_{};
  std::array<DvFunc*, DV_MODULE_SLOTS> tables_{};
};

// --- loading ---------------------------------------------------------------------

TEST_F(StaticProfile, OpensWithItsVersionsInListOrder) {
  writeProfile("LINE1", 6, 8, {{0, 1}, {0, 3}, {1, 2}}, -1, 2);
  quv::ProfileItem* p = open("LINE1");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(last().bad, 0);
  EXPECT_TRUE(hasLine("Profile Open: LINE1 - Completed"));
  std::vector<std::string> labels;
  for (auto* v : p->versionList) labels.push_back(v->label());
  EXPECT_EQ(labels, (std::vector<std::string>{"T01", "T03", "D02"}));
  EXPECT_EQ(quv::shownVersion(*p)->label(), "D02");
  EXPECT_EQ(quv::newVersionNumber(*p, quv::kTimeVersion), 4);
  EXPECT_EQ(quv::newVersionNumber(*p, quv::kDepthVersion), 3);
  quv::ProfileVersion* t3 = quv::findVersion(*p, 0, 3);
  EXPECT_EQ(t3->name, "v3");
  EXPECT_EQ(t3->samples, 8);
  EXPECT_EQ(t3->normal.lastTrace, 5);
  EXPECT_EQ(t3->time.size(), 8u);
  EXPECT_EQ(t3->needed.size(), 6u);
  EXPECT_EQ(p->header->easting.size(), 6u);
  EXPECT_EQ(p->header->nodeCount(), 2);
}

TEST_F(StaticProfile, MissingProfileOrSideFilesMarkTheItemBad) {
  open("NONE");
  EXPECT_EQ(last().bad, 1);
  EXPECT_TRUE(hasLine("Error: Could not open " + path("PRF_NONE.QUV") + " for reading"));
  EXPECT_TRUE(hasLine("Profile Open: NONE - Failed"));

  writeProfile("NOGEO", 3, 4, {{0, 1}});
  fs::remove(path("GEO_NOGEO.QUV"));
  quv::ProfileItem* p = open("NOGEO");
  EXPECT_EQ(last().bad, 1);
  EXPECT_EQ(p->header, nullptr);
  EXPECT_TRUE(hasLine("Could not open " + path("GEO_NOGEO.QUV") + " for reading"));
  EXPECT_TRUE(hasLine("Profile Open: NOGEO - Failed"));
}

TEST_F(StaticProfile, MissingVersionHeaderLeavesAnEmptyVersion) {
  writeProfile("L", 3, 4, {{0, 1}, {0, 2}});
  // A header that cannot be read though it exists (a folder in its place).
  fs::remove(path("TT02_L.QUV"));
  fs::create_directory(path("TT02_L.QUV"));
  quv::ProfileItem* p = open("L");
  ASSERT_EQ(p->versionList.size(), 2u);
  EXPECT_EQ(p->versionList[1]->samples, 0);
  EXPECT_FALSE(p->versionList[1]->headerValid);
  EXPECT_TRUE(hasLine("Could not open " + path("TT02_L.QUV") + " for reading"));
}

TEST_F(StaticProfile, HostileProfileAndHeaderFilesMarkTheItemBadAndAreKept) {
  // A trace count the coordinate file does not hold.
  writeProfile("BIG", 3, 4, {{0, 1}});
  quv::ProfileFileFields pf;
  pf.traceCount = 0x7fffffff;
  quv::writeProfileFile(path("PRF_BIG.QUV"), pf);
  open("BIG");
  EXPECT_EQ(last().bad, 1);
  EXPECT_TRUE(hasLine("Could not open " + path("XY_BIG.QUV") + " for reading"));

  // A truncated profile file.
  writeProfile("CUT", 3, 4, {{0, 1}});
  std::string prf = readAll(path("PRF_CUT.QUV"));
  dv::writeFileAtomic(path("PRF_CUT.QUV"), prf.substr(0, 10));
  open("CUT");
  EXPECT_EQ(last().bad, 1);

  // A version header claiming 2^30 samples per trace, and one cut short.
  writeProfile("HDR", 3, 4, {{0, 1}, {0, 2}});
  std::string hdr = readAll(path("TT01_HDR.QUV"));
  int32_t huge = 1 << 30;
  std::memcpy(&hdr[4], &huge, 4);
  dv::writeFileAtomic(path("TT01_HDR.QUV"), hdr);
  std::string cut = readAll(path("TT02_HDR.QUV"));
  dv::writeFileAtomic(path("TT02_HDR.QUV"), cut.substr(0, cut.size() - 3));
  quv::ProfileItem* p = open("HDR");
  EXPECT_EQ(last().bad, 1);
  EXPECT_EQ(p->versionList[0]->samples, 0);
  EXPECT_TRUE(p->versionList[0]->time.empty());
  EXPECT_TRUE(hasLine("Profile Open: HDR - Failed"));

  // Closing a bad profile writes nothing: its files stay as they were.
  EXPECT_FALSE(quv::saveProfile(*p));
  EXPECT_EQ(readAll(path("TT01_HDR.QUV")), hdr);
  EXPECT_EQ(readAll(path("PRF_CUT.QUV")), prf.substr(0, 10));
}

TEST_F(StaticProfile, FileNamesThatLeaveTheProjectFolderAreRefused) {
  fs::create_directories(fs::path(fake.projDir) / "sub");
  for (const char* ext : {"../OUT.QUV", "sub/X.QUV", ".."}) {
    quv::ProfileItem* p = quv::openProfile("X", ext, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(last().bad, 1) << ext;
    EXPECT_EQ(p->header, nullptr);
    // Deleting it removes the tree object and no file anywhere.
    quv::deleteProfile(&last(), p);
    EXPECT_TRUE(last().deleted);
  }
  EXPECT_EQ(files(), std::vector<std::string>{"sub"});
}

// --- samples ------------------------------------------------------------------

TEST_F(StaticProfile, SamplesLoadOnDemandWithProgressEveryTenthTrace) {
  writeProfile("S", 25, 4, {{0, 1}});
  quv::ProfileItem* p = open("S");
  quv::ProfileVersion& v = *p->versionList[0];
  v.needed[3] = 1;
  quv::loadSamples(v, false);
  ASSERT_TRUE(v.buffers[3]);
  EXPECT_FLOAT_EQ(v.buffers[3][2], 3002.0f);
  EXPECT_FALSE(v.buffers[4]);
  EXPECT_TRUE(fake.progress.empty());

  quv::openVersionForDisplay(v);
  EXPECT_TRUE(v.loaded);
  EXPECT_EQ(fake.progress, (std::vector<std::string>{"create Loading data", "Trace 1 of 25 0",
                                                     "Trace 11 of 25 40", "Trace 21 of 25 80",
                                                     "destroy"}));
  for (int i = 0; i < 25; ++i) ASSERT_TRUE(v.buffers[i]) << i;
  EXPECT_FLOAT_EQ(v.buffers[24][3], 24003.0f);
  for (auto n : v.needed) EXPECT_EQ(n, 0);

  fake.progress.clear();
  quv::openVersionForDisplay(v);  // once until closed
  EXPECT_TRUE(fake.progress.empty());
  quv::closeVersionForDisplay(v);
  EXPECT_FALSE(v.loaded);
  for (int i = 0; i < 25; ++i) EXPECT_FALSE(v.buffers[i]);
}

TEST_F(StaticProfile, ShortSampleFileGivesZerosAndStopsReportingAfterTwentyFive) {
  writeProfile("SHORT", 40, 4, {{0, 1}}, /*tracesInFile=*/5);
  quv::ProfileItem* p = open("SHORT");
  quv::ProfileVersion& v = *p->versionList[0];
  quv::openVersionForDisplay(v);
  EXPECT_EQ(fake.formatReports, 25);  // 35 failing traces, the last 10 quietly
  const std::string warning =
      "Warning: More than 25 trace warnings or errors, supressing messages";
  EXPECT_EQ(std::count(fake.lines.begin(), fake.lines.end(), warning), 1);
  EXPECT_FLOAT_EQ(v.buffers[4][1], 4001.0f);
  for (int i = 5; i < 40; ++i) {
    ASSERT_TRUE(v.buffers[i]);
    for (int j = 0; j < 4; ++j) EXPECT_EQ(v.buffers[i][j], 0.0f);
  }
}

TEST_F(StaticProfile, FewerThanTwentyFiveProblemsAreAllReported) {
  writeProfile("FEW", 30, 2, {{0, 1}}, 6);
  quv::ProfileItem* p = open("FEW");
  quv::openVersionForDisplay(*p->versionList[0]);
  EXPECT_EQ(fake.formatReports, 24);
  EXPECT_EQ(std::count_if(fake.lines.begin(), fake.lines.end(),
                          [](auto& l) { return l.find("supressing") != std::string::npos; }),
            0);
}

TEST_F(StaticProfile, MissingSampleFileGivesZeroTracesWithoutProgress) {
  writeProfile("NOSAMP", 12, 3, {{0, 1}});
  fs::remove(path("T01_NOSAMP.QUV"));
  quv::ProfileItem* p = open("NOSAMP");
  quv::ProfileVersion& v = *p->versionList[0];
  quv::openVersionForDisplay(v);
  EXPECT_TRUE(fake.progress.empty());
  for (int i = 0; i < 12; ++i) {
    ASSERT_TRUE(v.buffers[i]);
    EXPECT_EQ(v.buffers[i][2], 0.0f);
  }
}

// --- saving -----------------------------------------------------------------------

TEST_F(StaticProfile, SavingRewritesHeadersAndTheProfileFile) {
  writeProfile("SAVE", 4, 2, {{0, 1}, {2, 1}});
  quv::ProfileItem* p = open("SAVE");
  p->shownVersion = 1, p->selection1 = 2, p->selection2 = 1;
  p->versionList[1]->name = "renamed";
  p->versionList[0]->presentation.gainType = 0;
  p->windowOpen = true;
  p->windowState.placement.left = 33;
  ASSERT_TRUE(quv::saveProfile(*p));

  quv::ProfileFileFields f;
  ASSERT_TRUE(quv::decodeProfileFile(readAll(path("PRF_SAVE.QUV")), f));
  EXPECT_EQ(f.stamp, 258);
  EXPECT_EQ(f.traceCount, 4);
  EXPECT_EQ(f.shownVersion, 1);
  EXPECT_EQ(f.selection1, 2);
  EXPECT_EQ(f.windowOpen, 1);
  EXPECT_EQ(f.window.placement.left, 33);
  quv::ProfileVersion e;
  ASSERT_TRUE(quv::decodeVersionHeader(readAll(path("EE01_SAVE.QUV")), e));
  EXPECT_EQ(e.name, "renamed");
  quv::ProfileVersion t;
  ASSERT_TRUE(quv::decodeVersionHeader(readAll(path("TT01_SAVE.QUV")), t));
  EXPECT_EQ(t.presentation.gainType, 0);

  // Reopened, the window state and selection come back.
  quv::ProfileItem* again = open("SAVE");
  EXPECT_TRUE(again->windowOpen);
  EXPECT_EQ(again->windowState.placement.left, 33);
  EXPECT_EQ(again->selection1, 2);
  EXPECT_EQ(quv::shownVersion(*again)->label(), "E01");
}

// --- delete and rename --------------------------------------------------------

TEST_F(StaticProfile, DeleteRemovesEveryFileOfTheProfileAndNoOther) {
  writeProfile("DEL", 3, 2, {{0, 1}, {0, 3}, {1, 2}});
  writeProfile("KEEP", 3, 2, {{0, 1}});
  dv::writeFileAtomic(path("Z_DEL.QUV"), "z");
  dv::writeFileAtomic(path("TV_DEL.QUV"), "tv");  // no VEL_ file
  quv::ProfileItem* p = open("DEL");
  quv::deleteProfile(&fake.items.back(), p);
  EXPECT_TRUE(fake.items.back().deleted);
  EXPECT_TRUE(hasLine("Profile Deleted: " + path("PRF_DEL.QUV")));
  EXPECT_EQ(files(), (std::vector<std::string>{"GEO_KEEP.QUV", "PRF_KEEP.QUV", "T01_KEEP.QUV",
                                               "TT01_KEEP.QUV", "XY_KEEP.QUV"}));
}

TEST_F(StaticProfile, RenameMovesEveryFileAndUpdatesPathsAndTree) {
  writeProfile("OLD", 3, 2, {{0, 1}, {1, 2}, {2, 1}});
  dv::writeFileAtomic(path("VEL_OLD.QUV"), "v");
  quv::ProfileItem* p = open("OLD");
  FakeItem& it = last();
  ASSERT_EQ(quv::renameProfile(&it, p, "NEW"), 0);
  EXPECT_EQ(it.name, "NEW");
  EXPECT_EQ(it.ext, "NEW.QUV");
  EXPECT_EQ(files(), (std::vector<std::string>{"D02_NEW.QUV", "DD02_NEW.QUV", "E01_NEW.QUV",
                                               "EE01_NEW.QUV", "GEO_NEW.QUV", "PRF_NEW.QUV",
                                               "T01_NEW.QUV", "TT01_NEW.QUV", "VEL_NEW.QUV",
                                               "XY_NEW.QUV"}));
  EXPECT_EQ(p->header->velPath, path("VEL_NEW.QUV"));
  EXPECT_EQ(p->versionList[1]->samplePath, path("D02_NEW.QUV"));
  // Samples are read from the renamed files, and saving writes the new names.
  quv::openVersionForDisplay(*p->versionList[2]);
  EXPECT_FLOAT_EQ(p->versionList[2]->buffers[2][1], 2001.0f);
  ASSERT_TRUE(quv::saveProfile(*p));
  EXPECT_EQ(files().size(), 10u);
}

TEST_F(StaticProfile, RenameIsRefusedForUnsafeNamesAndExistingTargets) {
  writeProfile("A", 2, 2, {{0, 1}});
  writeProfile("B", 2, 2, {{0, 1}});
  quv::ProfileItem* a = open("A");
  FakeItem& it = last();
  const auto before = files();
  for (const char* bad : {"../A", "x/y", ".."}) {
    EXPECT_EQ(quv::renameProfile(&it, a, bad), -1) << bad;
    EXPECT_TRUE(std::any_of(fake.lines.begin(), fake.lines.end(), [&](auto& l) {
      return l.find("is not allowed") != std::string::npos;
    }));
  }
  EXPECT_EQ(quv::renameProfile(&it, a, "B"), -1);  // B's files exist
  EXPECT_EQ(files(), before);
  EXPECT_EQ(it.name, "A");
  EXPECT_EQ(it.ext, "A.QUV");
}

}  // namespace
