// Profile records in memory: the header with its instrument records, the
// version lists, loading a profile and its version headers, loading samples
// on demand, opening and closing a version for display, and saving.
#include "project/profile.h"

#include <algorithm>
#include <cstdio>

#include "dv/file.h"
#include "dv/ui.h"
#include "project/item_windows.h"
#include "project/mapped_file.h"
#include "project/resources.h"
#include "project/quv.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "project/messages.h"
#include "project/trace_progress.h"

namespace quv {

namespace {

int g_profileTypeIndex = -1;
ByteTraceBuilder g_byteTraceBuilder = nullptr;

// Own files of a profile are small (a version header holds two settings
// records of a few kilobytes); the readers take at most this many bytes.
constexpr int64_t kMaxOwnFileBytes = 64 << 20;

// Reads a whole file of at most `limit` bytes; false when it cannot be
// opened or is larger (a larger file is not one of ours).
bool readSmallFile(const std::string& path, std::string& out, int64_t limit = kMaxOwnFileBytes) {
  int64_t size = dv::fileSize(path);
  if (size < 0 || size > limit) return false;
  return dv::readWholeFile(path, out);
}

void setBad(DvHandle tree) {
  if (auto f = fw<PfnSetTreeInt>(PONTRA_SetTreeBad)) f(tree, 1);
}

float* zeroBuffer(int n) {
  return static_cast<float*>(std::calloc(static_cast<size_t>(std::max(n, 1)), sizeof(float)));
}

}  // namespace

void setProfileTypeIndex(int index) { g_profileTypeIndex = index; }
int profileTypeIndex() { return g_profileTypeIndex; }
void setByteTraceBuilder(ByteTraceBuilder builder) { g_byteTraceBuilder = builder; }

// --- header -------------------------------------------------------------------

ProfileHeader::ProfileHeader() {
  // Created through the format library when it is loaded; without it the
  // records stay empty pointers (nothing reads them until an export).
  if (auto f = scrivel<PfnCreateGssiFHdr>(SCRIVEL_CreateGssiFHdr)) f(&gssi);
  if (auto f = scrivel<PfnCreatePekkoFHdr>(SCRIVEL_CreatePekkoFHdr)) f(&pekko);
  if (auto f = scrivel<PfnCreateRamacFHdr>(SCRIVEL_CreateRamacFHdr)) f(&ramac);
  if (auto f = scrivel<PfnCreateSeg2FHdr>(SCRIVEL_CreateSeg2FHdr)) f(&seg2);
  if (auto f = scrivel<PfnCreateSegyFHdr>(SCRIVEL_CreateSegyFHdr)) f(&segy);
}

ProfileHeader::~ProfileHeader() {
  // Each record is released the way its format allocates it.
  if (gssi) {
    if (auto f = scrivel<PfnCleanupGssiFHdr>(SCRIVEL_CleanupGssiFHdr)) f(gssi);
  }
  delete pekko;
  delete ramac;
  if (seg2) {
    if (auto f = scrivel<PfnCleanupSeg2FHdr>(SCRIVEL_CleanupSeg2FHdr)) f(seg2);
  }
  std::free(segy);
  std::free(pekkoTraces);
  std::free(seg2Traces);
  std::free(segyTraces);
}

void setSidePaths(ProfileHeader& h, const std::string& dir, const std::string& fileName) {
  h.geoPath = dv::joinPath(dir, "GEO_" + fileName);
  h.xyPath = dv::joinPath(dir, "XY_" + fileName);
  h.zPath = dv::joinPath(dir, "Z_" + fileName);
  h.velPath = dv::joinPath(dir, "VEL_" + fileName);
  h.tvPath = dv::joinPath(dir, "TV_" + fileName);
}

int ProfileVersion::traceCount() const {
  return header ? header->traceCount : static_cast<int>(needed.size());
}

// --- version lists ------------------------------------------------------------

void rebuildVersionList(ProfileItem& item) {
  item.versionList.clear();
  for (auto& kind : item.versions)
    for (auto& v : kind) item.versionList.push_back(v.get());
}

int newVersionNumber(const ProfileItem& item, int kind) {
  if (kind < 0 || kind >= kVersionKinds) return 0;
  const auto& list = item.versions[kind];
  if (list.empty()) return 1;
  int next = list.back()->number + 1;
  return next <= kMaxVersionNumber ? next : 0;
}

ProfileVersion* findVersion(const ProfileItem& item, int kind, int number) {
  if (kind < 0 || kind >= kVersionKinds) return nullptr;
  for (auto& v : item.versions[kind])
    if (v->number == number) return v.get();
  return nullptr;
}

ProfileVersion* addVersion(ProfileItem& item, const std::string& dir, int kind, int number) {
  if (kind < 0 || kind >= kVersionKinds || number < 1 || number > kMaxVersionNumber) return nullptr;
  if (findVersion(item, kind, number)) return nullptr;
  auto v = std::make_unique<ProfileVersion>();
  v->kind = kind;
  v->number = number;
  v->samplePath = dv::joinPath(dir, sampleFileName(kind, number, item.fileName));
  v->headerPath = dv::joinPath(dir, headerFileName(kind, number, item.fileName));
  v->item = &item;
  v->header = item.header.get();
  v->headerValid = true;
  int n = v->traceCount();
  v->needed.assign(static_cast<size_t>(std::max(n, 0)), 0);
  v->buffers.resize(v->needed.size());
  v->normalBytes.resize(v->needed.size());
  v->presentationBytes.resize(v->needed.size());
  ProfileVersion* raw = v.get();
  auto& list = item.versions[kind];
  auto at = std::find_if(list.begin(), list.end(), [&](auto& e) { return e->number > number; });
  list.insert(at, std::move(v));
  return raw;
}

ProfileVersion* shownVersion(ProfileItem& item) {
  if (item.versionList.empty()) rebuildVersionList(item);
  if (item.versionList.empty()) return nullptr;
  int k = item.shownVersion;
  if (k < 0 || k >= static_cast<int>(item.versionList.size())) k = 0;
  return item.versionList[static_cast<size_t>(k)];
}

std::vector<VersionChoice> profileVersions(const ProfileItem& item) {
  std::vector<VersionChoice> out;
  for (auto& kind : item.versions)
    for (auto& v : kind) out.push_back({v->kind, v->number, v->label(), v->name});
  return out;
}

// --- version headers ------------------------------------------------------------

void computeValueTables(ProfileVersion& v) {
  const size_t n = static_cast<size_t>(std::max(v.samples, 0));
  const float u = v.header ? v.header->unitsPerFoot : 1.0f;
  v.time.resize(n);
  v.depthNormal.resize(n);
  v.depthPresentation.resize(n);
  v.elevation.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const float fi = static_cast<float>(i);
    v.time[i] = v.firstTime + fi * v.timeIncrement;
    if (v.kind == kTimeVersion) {
      v.depthNormal[i] = v.time[i] * v.normal.velocity * u * 0.5f;
      v.depthPresentation[i] = v.time[i] * v.presentation.velocity * u * 0.5f;
    } else {
      v.depthNormal[i] = v.depthPresentation[i] = (v.firstDepth + fi * v.depthIncrement) * u;
    }
    v.elevation[i] = (v.firstElevation + fi * v.elevationIncrement) * u;
  }
}

bool traceFileConfirms(int64_t samples, int64_t fileBytes) {
  if (samples < 0) return false;
  return fileBytes > 0 ? samples * int64_t(sizeof(float)) <= fileBytes : samples <= kMaxSamplesPerTrace;
}

// 0 read, 1 could not be opened or read, 2 damaged (truncated, or samples
// per trace beyond what its trace file holds).
enum HeaderResult { kHeaderRead = 0, kHeaderUnreadable = 1, kHeaderDamaged = 2 };

static HeaderResult readVersionHeader(ProfileVersion& v) {
  const int traces = std::max(v.traceCount(), 0);
  v.needed.assign(static_cast<size_t>(traces), 0);
  v.buffers.clear();
  v.buffers.resize(v.needed.size());
  v.mapping.reset();
  v.normalBytes.clear();
  v.normalBytes.resize(v.needed.size());
  v.presentationBytes.clear();
  v.presentationBytes.resize(v.needed.size());
  v.headerValid = false;

  std::string bytes;
  ProfileVersion read;  // decoded apart, so that a damaged file changes nothing
  HeaderResult result = kHeaderRead;
  if (!readSmallFile(v.headerPath, bytes))
    result = kHeaderUnreadable;
  else if (!decodeVersionHeader(bytes, read) ||
           !traceFileConfirms(read.samples, dv::fileSize(v.samplePath)))
    result = kHeaderDamaged;
  if (result != kHeaderRead) {
    msg(0, kMsgCouldNotOpenForReading, v.headerPath.c_str());
    v.samples = 0;
    computeValueTables(v);
    return result;
  }
  v.samples = read.samples;
  v.minimum = read.minimum, v.maximum = read.maximum, v.amplitudeScale = read.amplitudeScale;
  v.firstTime = read.firstTime, v.timeIncrement = read.timeIncrement;
  v.firstDepth = read.firstDepth, v.depthIncrement = read.depthIncrement;
  v.firstElevation = read.firstElevation, v.elevationIncrement = read.elevationIncrement;
  v.sourceKind = read.sourceKind, v.sourceNumber = read.sourceNumber;
  v.name = std::move(read.name);
  v.normal = std::move(read.normal);
  v.presentation = std::move(read.presentation);
  v.headerValid = true;
  computeValueTables(v);
  return kHeaderRead;
}

bool loadVersionHeader(ProfileVersion& v) { return readVersionHeader(v) == kHeaderRead; }

// --- loading a profile ----------------------------------------------------------

void loadProfile(ProfileItem& item) {
  const std::string dir = projectDir();
  item.fileName = treeFileExt(item.tree);
  if (!dv::isSafeFileName(item.fileName)) {
    // A name from the project file that would reach outside the project
    // folder: the item stays in the tree, marked bad, and no file is touched.
    msg(0, kMsgErrorTheProfileFileNameIsNot,
        item.fileName.c_str());
    setBad(item.tree);
    return;
  }
  const std::string path = dv::joinPath(dir, "PRF_" + item.fileName);
  std::string bytes;
  ProfileFileFields fields;
  if (!readSmallFile(path, bytes) || !decodeProfileFile(bytes, fields) || fields.traceCount < 0) {
    msg(0, kMsgErrorCouldNotOpenForReading, path.c_str());
    setBad(item.tree);
    return;
  }
  auto header = std::make_unique<ProfileHeader>();
  setSidePaths(*header, dir, item.fileName);
  header->traceCount = fields.traceCount;

  std::string geo, xy;
  if (!readSmallFile(header->geoPath, geo) || !decodeGeoFile(geo, *header)) {
    msg(0, kMsgCouldNotOpenForReading, header->geoPath.c_str());
    setBad(item.tree);
    return;
  }
  if (!readSmallFile(header->xyPath, xy) || !decodeXYFile(xy, *header)) {
    msg(0, kMsgCouldNotOpenForReading, header->xyPath.c_str());
    setBad(item.tree);
    return;
  }
  item.header = std::move(header);
  item.shownVersion = fields.shownVersion;
  item.selection1 = fields.selection1;
  item.selection2 = fields.selection2;

  for (int number = 1; number <= kMaxVersionNumber; ++number) {
    for (int kind = 0; kind < kVersionKinds; ++kind) {
      if (!dv::fileExists(dv::joinPath(dir, headerFileName(kind, number, item.fileName))))
        continue;
      ProfileVersion* v = addVersion(item, dir, kind, number);
      if (v && readVersionHeader(*v) == kHeaderDamaged) {
        // A damaged header: the profile is not shown or edited, and saving
        // leaves its files as they are. One that cannot be opened leaves
        // an empty version only.
        setBad(item.tree);
      }
    }
  }
  rebuildVersionList(item);

  // The window state is kept so that saving writes it back, and a profile
  // saved with its window open shows it again with that state.
  item.windowOpen = fields.windowOpen == 1;
  item.windowState = fields.window;
  if (item.windowOpen && !treeBad(item.tree) && itemWindows().reopenProfile)
    itemWindows().reopenProfile(item, fields.window);
}

// --- samples --------------------------------------------------------------------

namespace {

bool missing(const ProfileVersion& v, int i) { return v.needed[size_t(i)] && !v.buffers[size_t(i)]; }

// Views every needed trace the trace file holds whole through its mapping.
void viewMappedTraces(ProfileVersion& v) {
  const int traces = static_cast<int>(v.needed.size());
  const int64_t traceBytes = int64_t(std::max(v.samples, 0)) * int64_t(sizeof(float));
  if (traceBytes == 0) return;
  if (v.mapping && !v.mapping->sameFile(v.samplePath)) {
    // The file was written anew: nothing may be seen through the old one.
    for (auto& b : v.buffers)
      if (b.mapped()) b.reset();
    v.mapping.reset();
  }
  if (!v.mapping) v.mapping = MappedFile::open(v.samplePath);
  if (!v.mapping) return;
  const auto* first = static_cast<const float*>(v.mapping->data());
  const int64_t whole = std::min<int64_t>(v.mapping->bytes() / traceBytes, traces);
  for (int64_t i = 0; i < whole; ++i)
    if (missing(v, int(i))) v.buffers[size_t(i)] = TraceSamples::view(first + i * v.samples);
}

}  // namespace

void releaseMappedPages(const ProfileVersion& v, int first, int end) {
  if (!v.mapping || v.samples <= 0) return;
  const int64_t traceBytes = int64_t(v.samples) * int64_t(sizeof(float));
  v.mapping->releasePages(int64_t(first) * traceBytes, int64_t(end) * traceBytes);
}

void loadSamples(ProfileVersion& v, bool showProgress) {
  const int traces = static_cast<int>(v.needed.size());
  const int n = v.samples;
  bool any = false;
  for (int i = 0; i < traces && !any; ++i) any = missing(v, i);
  if (!any) return;
  viewMappedTraces(v);
  // The traces the file does not hold whole (a short file) are read through
  // the format library, which reports them.
  any = false;
  for (int i = 0; i < traces && !any; ++i) any = missing(v, i);
  if (!any) return;

  dv::WaitCursor wait;
  dv::File file;
  auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
  auto read = scrivel<PfnReadProfileTrace>(SCRIVEL_ReadProfileTrace);
  if (!open || !read || open(v.samplePath.c_str(), &file) != SCRIVEL_OK) {
    for (int i = 0; i < traces; ++i)
      if (v.needed[i] && !v.buffers[i]) v.buffers[i].reset(zeroBuffer(n));
    return;
  }
  if (showProgress)
    if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress)) f("Loading data", "");
  auto progress = fw<PfnSetProgress>(PONTRA_SetProgress);
  int problems = 0, quiet = 0;
  for (int i = 0; i < traces; ++i) {
    if (showProgress && progress) traceProgress(i, traces, progress);
    if (!v.needed[i] || v.buffers[i]) continue;
    float* samples = nullptr;
    int rc = read(v.samplePath.c_str(), &file, n, i, &samples, quiet);
    if (rc != SCRIVEL_OK && ++problems == 25) {
      msg(0, kMsgWarningMoreThan25TraceWarningsOr);
      quiet = 1;
    }
    if (rc < 0) {
      std::free(samples);
      samples = zeroBuffer(n);
    }
    v.buffers[i].reset(samples ? samples : zeroBuffer(n));
  }
  if (showProgress)
    if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  file.close();
}

void dropUnusedMapping(ProfileVersion& v) {
  if (std::none_of(v.buffers.begin(), v.buffers.end(), [](const TraceSamples& b) { return b.mapped(); }))
    v.mapping.reset();
}

static void releaseUnneeded(ProfileVersion& v) {
  for (size_t i = 0; i < v.buffers.size(); ++i)
    if (!v.needed[i]) v.buffers[i].reset();
  dropUnusedMapping(v);
}

int64_t displayMemoryBytes(const ProfileVersion& v) {
  const int64_t traces = int64_t(v.needed.size()), n = std::max(v.samples, 0);
  // The traces a trace file holds whole are mapped; the others are read into memory.
  const int64_t fileBytes = std::max<int64_t>(dv::fileSize(v.samplePath), 0);
  const int64_t mapped = n > 0 ? std::min(traces, fileBytes / (n * int64_t(sizeof(float)))) : traces;
  const int64_t byteTraces = g_byteTraceBuilder ? 2 * traces * n : 0;
  return byteTraces + (traces - mapped) * n * int64_t(sizeof(float));
}

bool openVersionForDisplay(ProfileVersion& v) {
  if (v.loaded) return true;
  const std::string name = v.item && v.item->tree ? treeName(v.item->tree) : v.label();
  if (!memoryHolds(name, displayMemoryBytes(v))) return false;
  // The displays build the byte traces they draw, each when first drawn
  // (loading its samples then); opening loads nothing.
  if (!g_byteTraceBuilder) {
    // Without them the samples stay in memory for the display to gain when it draws.
    std::fill(v.needed.begin(), v.needed.end(), 1);
    loadSamples(v, true);
    std::fill(v.needed.begin(), v.needed.end(), 0);
  }
  v.loaded = true;
  return true;
}

void closeVersionForDisplay(ProfileVersion& v) {
  std::fill(v.needed.begin(), v.needed.end(), 0);
  for (auto& b : v.normalBytes) b.reset();
  for (auto& b : v.presentationBytes) b.reset();
  releaseUnneeded(v);
  v.loaded = false;
}

// --- saving ---------------------------------------------------------------------

bool saveProfile(ProfileItem& item) {
  // A profile that could not be read whole is left on disk as it is.
  if (!item.header || treeBad(item.tree) || !dv::isSafeFileName(item.fileName)) return false;
  bool ok = true;
  for (auto& kind : item.versions)
    for (auto& v : kind) {
      if (!v->headerValid) continue;  // never replace a header that was not read
      if (!writeVersionHeaderFile(*v)) {
        msg(0, kMsgErrorCouldNotOpenForWriting, v->headerPath.c_str());
        ok = false;
      }
    }
  ProfileFileFields f;
  f.stamp = versionStamp();
  f.traceCount = item.header->traceCount;
  f.reserved = 0;
  f.shownVersion = item.shownVersion;
  f.selection1 = item.selection1;
  f.selection2 = item.selection2;
  f.windowOpen = (item.window || item.windowOpen) ? 1 : 0;
  f.window = item.windowState;
  const std::string path = dv::joinPath(projectDir(), "PRF_" + item.fileName);
  if (!writeProfileFile(path, f)) {
    msg(0, kMsgErrorCouldNotOpenForWriting, path.c_str());
    ok = false;
  }
  return ok;
}

void destroyProfile(ProfileItem* item) { delete item; }

}  // namespace quv
