// Profiles: the module's own processed form of a radar line. A profile is a
// set of traces with geometry, held in numbered versions on three vertical
// axes (time T, depth D, elevation E, each numbered 01..99). All files of a
// profile lie in the project folder, named from its file name F (the tree
// object's file-extension text, the profile name + ".QUV"):
//   "PRF_" F        profile file
//   "T01_" F ...    sample files (N traces of n float32, no header)
//   "TT01_" F ...   version header files
//   "GEO_" F, "XY_" F, "Z_" F, "VEL_" F, "TV_" F  side files
// Every binary file begins with the module's version stamp (258 for 1.02);
// readers accept any stamp.
#pragma once

#include <cstdint>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "project/display_settings.h"

struct GssiFHdr;
struct PekkoFHdr;
struct PekkoTraceHdr;
struct RamacFHdr;
struct Seg2FHdr;
struct Seg2TraceHdr;
struct SegyFHdr;
struct SegyTraceHdr;

namespace quv {

enum VersionKind { kTimeVersion = 0, kDepthVersion = 1, kElevationVersion = 2 };
constexpr int kVersionKinds = 3;
constexpr int kMaxVersionNumber = 99;

// No instrument records more samples per trace; a version header whose
// trace file cannot say how long its traces are is held to this. Trace
// numbers are 32-bit, so a profile holds at most kMaxProfileTraces traces.
// What a version's files confirm is accepted whatever its size.
constexpr int32_t kMaxSamplesPerTrace = 65536;
constexpr int64_t kMaxProfileTraces = INT32_MAX;

// True when n samples per trace are what a trace file of fileBytes bytes
// (-1 when missing) can hold: at least one whole trace of a file that has
// bytes, at most kMaxSamplesPerTrace when it has none. A file holding fewer
// than all traces is a short file whose missing traces read as zeros.
bool traceFileConfirms(int64_t samples, int64_t fileBytes);

// 'T', 'D', 'E' for kinds 0, 1, 2 ('?' otherwise).
char versionLetter(int kind);
// "T01", "D02", "E15".
std::string versionName(int kind, int number);
// "T01_" + fileName and "TT01_" + fileName.
std::string sampleFileName(int kind, int number, const std::string& fileName);
std::string headerFileName(int kind, int number, const std::string& fileName);

// The window placement record as stored (44 bytes): length, flags, show
// command, minimised and maximised positions, normal rectangle.
struct WindowPlacement {
  uint32_t length = 44, flags = 0, showCmd = 1;
  int32_t minX = -1, minY = -1, maxX = -1, maxY = -1;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};
constexpr int kWindowPlacementBytes = 44;

// What the profile file keeps of an open profile window.
struct ProfileWindowState {
  WindowPlacement placement;
  float splitRatio = 0.5f;
  int32_t presentationMode = 0;
  int32_t textMode = 0;
};

// The fields of the "PRF_" file, in their stored order.
struct ProfileFileFields {
  int32_t stamp = 258;
  int32_t traceCount = 0;
  int32_t reserved = 0;
  int32_t shownVersion = 0;
  // The Select command stores the chosen version's kind first, its number second.
  int32_t selection1 = 0;
  int32_t selection2 = 0;
  int32_t windowOpen = 0;
  ProfileWindowState window;  // stored only when windowOpen is 1
};
std::string encodeProfileFile(const ProfileFileFields& f);
// False when the bytes end before the fields do (the window state is only
// required when the window-open flag is 1).
bool decodeProfileFile(const std::string& bytes, ProfileFileFields& f);

// The sample arrays of the format library are malloc'ed and released with free().
struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
using SampleBuffer = std::unique_ptr<float[], FreeDeleter>;
using ByteTrace = std::unique_ptr<uint8_t[]>;

class MappedFile;

// The samples of one trace of a version, read-only: either a buffer of its
// own (malloc'ed, released with free()) or a view into the version's mapped
// trace file.
class TraceSamples {
 public:
  TraceSamples() = default;
  TraceSamples(SampleBuffer owned) : owned_(std::move(owned)), p_(owned_.get()) {}
  TraceSamples& operator=(SampleBuffer owned) {
    owned_ = std::move(owned);
    p_ = owned_.get();
    return *this;
  }
  static TraceSamples view(const float* p) {
    TraceSamples t;
    t.p_ = p;
    return t;
  }
  // Takes ownership of a malloc'ed buffer (nullptr: no samples).
  void reset(float* owned = nullptr) {
    owned_.reset(owned);
    p_ = owned;
  }
  const float* get() const { return p_; }
  const float& operator[](size_t i) const { return p_[i]; }
  explicit operator bool() const { return p_ != nullptr; }
  bool operator==(std::nullptr_t) const { return p_ == nullptr; }
  bool mapped() const { return p_ && !owned_; }

 private:
  SampleBuffer owned_;
  const float* p_ = nullptr;
};

struct ProfileItem;

// One per profile.
struct ProfileHeader {
  // Full paths of the five side files.
  std::string geoPath, xyPath, zPath, velPath, tvPath;
  int32_t traceCount = 0;
  // One empty record of each instrument format, created with the profile
  // and released with it (through the format library where it has a cleanup).
  GssiFHdr* gssi = nullptr;
  PekkoFHdr* pekko = nullptr;
  RamacFHdr* ramac = nullptr;
  Seg2FHdr* seg2 = nullptr;
  SegyFHdr* segy = nullptr;
  PekkoTraceHdr* pekkoTraces = nullptr;  // per-trace record arrays, empty
  Seg2TraceHdr* seg2Traces = nullptr;
  SegyTraceHdr* segyTraces = nullptr;
  float unitsPerFoot = 1.0f;
  // Geometry nodes.
  std::vector<int32_t> nodeTrace;
  std::vector<float> nodeEasting, nodeNorthing;
  // Coordinates of every trace (N entries each).
  std::vector<float> easting, northing;

  ProfileHeader();  // creates the empty instrument records
  ~ProfileHeader();
  ProfileHeader(const ProfileHeader&) = delete;
  ProfileHeader& operator=(const ProfileHeader&) = delete;
  int nodeCount() const { return static_cast<int>(nodeTrace.size()); }
};

// One per version.
struct ProfileVersion {
  int kind = kTimeVersion;
  int number = 1;
  std::string samplePath, headerPath;
  ProfileItem* item = nullptr;
  ProfileHeader* header = nullptr;
  bool loaded = false;  // open for display
  // The header fields were read from (or made for) this version; saving
  // never rewrites a header file that could not be read.
  bool headerValid = false;
  // Header fields, in the order of the version header file.
  int32_t samples = 0;
  float minimum = 0, maximum = 0, amplitudeScale = 1.0f;
  float firstTime = 0, timeIncrement = 0;
  float firstDepth = 0, depthIncrement = 0;
  float firstElevation = 0, elevationIncrement = 0;
  int32_t sourceKind = -1, sourceNumber = 0;
  std::string name;
  DisplaySettings normal, presentation;
  // Per trace (N entries once the header is loaded).
  std::vector<uint8_t> needed;
  std::vector<TraceSamples> buffers;
  std::vector<ByteTrace> normalBytes, presentationBytes;
  // The trace file, mapped while traces are viewed through it.
  std::shared_ptr<const MappedFile> mapping;
  // Value tables (n entries).
  std::vector<float> time, depthNormal, depthPresentation, elevation;

  std::string label() const { return versionName(kind, number); }
  int traceCount() const;
};

// 127 / maximum when -minimum < maximum, otherwise -127 / minimum; 1.0 when both are 0.
float amplitudeScaleFor(float minimum, float maximum);

// The version header file's bytes, and its reader. The reader fails on a
// file that ends before its fields, or with a name length below 1 or beyond
// the file; it allocates nothing sized by a field before checking it.
std::string encodeVersionHeader(const ProfileVersion& v, int stamp);
bool decodeVersionHeader(const std::string& bytes, ProfileVersion& v);

// Side files. The readers check every count against the file's length.
std::string encodeGeoFile(const ProfileHeader& h, int stamp);
bool decodeGeoFile(const std::string& bytes, ProfileHeader& h);
std::string encodeXYFile(const ProfileHeader& h, int stamp);
// Reads N = h.traceCount coordinate pairs; fails when the file holds fewer.
bool decodeXYFile(const std::string& bytes, ProfileHeader& h);
std::string encodeZFile(const std::vector<float>& elevations, int stamp);
bool decodeZFile(const std::string& bytes, int traceCount, std::vector<float>& elevations);

// Every file write of a profile goes through a temporary file + rename.
bool writeProfileFile(const std::string& path, const ProfileFileFields& f);
bool writeVersionHeaderFile(const ProfileVersion& v);  // to v.headerPath
bool writeGeoFile(const ProfileHeader& h);             // to h.geoPath
bool writeXYFile(const ProfileHeader& h);              // to h.xyPath
bool writeZFile(const ProfileHeader& h, const std::vector<float>& elevations);

// One per profile in the tree (the tree object's object pointer).
struct ProfileItem {
  DvHandle tree = nullptr;
  std::unique_ptr<ProfileHeader> header;
  int32_t shownVersion = 0;
  int32_t selection1 = 0, selection2 = 0;
  // All versions, time then depth then elevation (rebuilt before a window opens).
  std::vector<ProfileVersion*> versionList;
  // Per kind, in ascending number.
  std::vector<std::unique_ptr<ProfileVersion>> versions[kVersionKinds];
  // The profile window arrives with the display windows; until then the
  // stored window state is kept so that saving writes back what was read.
  void* window = nullptr;
  bool windowOpen = false;
  ProfileWindowState windowState;
  std::string fileName;  // F, as given by the tree object when loaded
};

// --- Profile item operations ------------------------------------------------

// The tree type index of profiles (set by the module entry from RegisterType).
void setProfileTypeIndex(int index);
int profileTypeIndex();

// Fills item.versionList: time, depth, elevation, each in ascending number.
void rebuildVersionList(ProfileItem& item);
// One more than the last existing number of that kind, 1 when none; 0 when
// all 99 numbers are taken (the caller refuses a new version then).
int newVersionNumber(const ProfileItem& item, int kind);
// Adds an empty version with its two paths formed from dir and item.fileName,
// kept in ascending number; nullptr for a bad kind/number or one that exists.
ProfileVersion* addVersion(ProfileItem& item, const std::string& dir, int kind, int number);
ProfileVersion* findVersion(const ProfileItem& item, int kind, int number);
ProfileVersion* shownVersion(ProfileItem& item);  // by index into versionList

// Forms the five side-file paths of header for file name F in dir.
void setSidePaths(ProfileHeader& h, const std::string& dir, const std::string& fileName);

// Loads the profile of a tree object (its PRF_, GEO_, XY_ files and every
// version header); failures mark the tree object bad with their message.
void loadProfile(ProfileItem& item);
// Loads one version header (sizes the per-trace arrays and value tables).
// A missing or unreadable header leaves the version empty.
bool loadVersionHeader(ProfileVersion& v);
// Recomputes the value tables from the header fields and the settings.
void computeValueTables(ProfileVersion& v);
// Gives every needed trace without samples its samples: a view into the
// mapped trace file when the file holds the whole trace, otherwise read
// through the format library (zeros when it cannot be read). A trace file
// replaced since it was mapped is mapped again (every view of the old one
// is dropped first).
void loadSamples(ProfileVersion& v, bool showProgress);
// Gives the memory pages of the mapped samples of traces [first, end) back
// to the system (the views stay valid and read the file again when used).
void releaseMappedPages(const ProfileVersion& v, int first, int end);
// Unmaps the trace file once no trace is viewed through it any more.
void dropUnusedMapping(ProfileVersion& v);
// Open (done once until closed) and close a version for display. With
// the displays' byte-trace building installed, opening loads and builds
// nothing: each display builds the byte traces it draws when it first
// draws them (both tables are kept until closed); without it opening loads
// every trace's samples. Opening is refused (false, with the message,
// nothing changed) when memory cannot hold the byte traces and the samples
// its trace file does not hold.
int64_t displayMemoryBytes(const ProfileVersion& v);
bool openVersionForDisplay(ProfileVersion& v);
void closeVersionForDisplay(ProfileVersion& v);
// Installed by the image building of the displays: it builds the normal or
// presentation byte traces of a version.
using ByteTraceBuilder = void (*)(ProfileVersion& v, bool presentation, bool showProgress);
void setByteTraceBuilder(ByteTraceBuilder builder);

// Rewrites every version header, then the profile file. False when a file
// could not be written (each failure is reported in the message bar).
bool saveProfile(ProfileItem& item);

// Allocates a profile item for a project line or a newly written profile,
// inserts its tree object, loads it and writes "Profile Open: %s - ...".
// Returns the item (owned through the tree object), or nullptr when the tree
// object could not be inserted. A file name that would leave the project
// folder keeps the item in the tree, marked bad, with no file touched.
ProfileItem* openProfile(const char* name, const char* fileExt, int selected);

// Deletes a profile without asking: closes its window, deletes every version
// file and side file that exists and "PRF_" F, removes the tree object and
// writes "Profile Deleted: %s". The item is freed.
void deleteProfile(DvHandle tree, ProfileItem* item);

// Renames every file of a profile to the new name (+ ".QUV") and updates the
// tree. Refuses names that cannot be file names in the project folder and
// names whose files already exist; returns 0 when done.
int renameProfile(DvHandle tree, ProfileItem* item, const char* newName);

// The versions a "Choose Version" dialog offers, in list order.
struct VersionChoice {
  int kind = 0;
  int number = 0;
  std::string label;  // "T01", "D02", ...
  std::string name;   // the version's own name (may be empty)
};
std::vector<VersionChoice> profileVersions(const ProfileItem& item);

// Frees a profile item (versions, header) without touching files.
void destroyProfile(ProfileItem* item);

}  // namespace quv
