// Create Profile: turns raw data items into profiles. For each row of the
// "Specify Name for Profiles" dialog every trace of the raw item is copied
// into the new profile's first time version ("T01_"), a straight-line
// geometry is derived from the instrument header ("GEO_", "XY_"), the
// profile file ("PRF_") and the version header ("TT01_") are written, and the
// profile is inserted under "Profiles" and loaded. Afterwards the Edit
// Geometry dialog runs for all profiles and the display settings of each new
// version are brought into line with its geometry.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"
#include "dv/file.h"
#include "processing/geometry.h"  // GeoNode
#include "project/profile.h"  // SampleBuffer
#include "project/units.h"

namespace quv {

struct DefaultsValues;
struct RawData;

// --- names (pure) -------------------------------------------------------------

// The raw item's name up to its last "."; the whole name when that is empty
// (no "." at all, or a name beginning with its only ".").
std::string defaultProfileName(const std::string& rawName);
// Leading and trailing white space removed, then every double quote and
// every comma.
std::string cleanProfileName(const std::string& typed);
// Checks the typed names of the rows in order: each is cleaned; a blank one,
// one that cannot be a file name in the project folder, one that matches an
// existing profile or an earlier row (letter case ignored) is refused. Returns
// "" when every name may be used (`cleaned` then holds them), else the text
// of the message box to show.
std::string checkProfileNames(const std::vector<std::string>& typed,
                              const std::vector<std::string>& existing,
                              std::vector<std::string>* cleaned);
// The refusals of a name check: a blank name, and a name already used (a
// "%s" in it takes the existing profile's name). `blankRefused` tells the
// caller which of them it got (the texts differ between the operations).
struct ProfileNameTexts {
  const char* blank = "Profile name can not be blank";
  const char* used = "Profile name %s already used, choose another";
};
std::string checkProfileNames(const std::vector<std::string>& typed,
                              const std::vector<std::string>& existing,
                              std::vector<std::string>* cleaned, const ProfileNameTexts& texts,
                              bool* blankRefused = nullptr);

// --- samples and geometry (pure) ------------------------------------------------

// RAMAC traces carry a DC level: the mean of the last n/4 samples (integer
// division) is subtracted from every sample. Nothing happens below 4 samples.
void removeDcLevel(float* samples, int n);

// Smallest and largest value written, NaN left out; both 0 before any value.
struct AmplitudeRange {
  bool any = false;
  float minimum = 0, maximum = 0;
  void take(const float* samples, int n);
};

// The straight line a new profile starts with, from its instrument header.
struct StraightLine {
  float unitsPerFoot = kUnitsPerFootM;
  float startEasting = 0, startNorthing = 0, endEasting = 0, endNorthing = 0;
};
// Format codes 0 GSSI, 1 pulseEKKO, 2 RAMAC, 3 SEG-2, 4 SEG-Y with the
// matching header record (GssiFHdr, PekkoFHdr, ...; null gives the defaults);
// a line whose coordinates are all 0 afterwards counts traces (end easting
// N - 1).
StraightLine deriveStraightLine(int format, const void* header, int traces);
// Per-trace coordinates along the line in single precision:
// start + (end - start) x i / (N - 1); a single trace lies at the start.
void interpolateLine(const StraightLine& line, int traces, std::vector<float>& easting,
                     std::vector<float>& northing);

// After the geometry dialog: the new version's display settings follow its
// geometry (u = units per foot of the header). In metric units the depth
// velocity of both records is multiplied by 3.2425420; with the defaults'
// horizontal use mode 2 the presentation traces box is as wide as the line
// at the default horizontal scale (2-node lines only), with the vertical use
// mode 2 as high as the samples at the default depth scale. `defaults` may
// be null (only the velocity changes then).
void adjustNewVersionSettings(ProfileVersion& v, const ProfileHeader& h,
                              const DefaultsValues* defaults);

// --- converting the traces ------------------------------------------------------

// Where a raw item's traces come from.
struct RawTraceSource {
  int format = -1;      // 0..4 as above
  void* header = nullptr;  // the format's header record
  std::string samplesPath;  // the file holding the traces
  int traces = 0, samples = 0;
  // Traces already in memory (the raw window's), used as they are; may be
  // shorter than `traces`, and hold empty entries.
  const std::vector<SampleBuffer>* loaded = nullptr;
};

struct ConversionResult {
  bool ok = false;  // the trace file was created and every trace written
  AmplitudeRange range;
  int readProblems = 0;  // traces the format library reported (they read as zeros when failed)
  bool cancelled = false;  // stopped in the progress window: no file was written
};

// Copies every trace of the source into the sample file `path` (written to
// a temporary file beside it and renamed over it when whole), removing the
// DC level of RAMAC traces. Reports "Trace %i of %i" through `progress`
// every 10th trace when given. Calls the format library through its
// function table (module 1).
ConversionResult convertTraces(const RawTraceSource& source, const std::string& path,
                               const std::function<void(int trace, int traces)>& progress);

// A profile sample file written trace after trace: the traces go to
// "<path>.part" beside it, and finish() renames that over `path` once every
// trace is in. A file not finished is removed (nothing under the profile's
// name then).
class ProfileTraceFile {
 public:
  ProfileTraceFile() = default;
  ~ProfileTraceFile();
  ProfileTraceFile(const ProfileTraceFile&) = delete;
  ProfileTraceFile& operator=(const ProfileTraceFile&) = delete;
  // False when the format library is not there or the file cannot be made.
  bool create(const std::string& path);
  // The next trace (n samples); the amplitude range follows what is written.
  bool write(const float* samples, int n);
  // Flushes, closes and renames; false (and nothing left) when that fails.
  bool finish();
  int written() const { return next_; }
  const AmplitudeRange& range() const { return range_; }

 private:
  void drop();
  std::string path_;
  dv::File file_;
  bool open_ = false;
  int next_ = 0;
  AmplitudeRange range_;
};

// Every trace-by-trace operation's progress line ("Trace %i of %i" and the
// like: `format` takes the trace counted from 1 and the count) on every
// 10th trace, through the framework's progress window.
void showTraceProgress(const char* format, int i, int traces);

// What a new profile made from raw data is written from: its first time
// version (the sample file is written already) and its geometry.
struct NewProfile {
  int traces = 0, samples = 0;
  float firstTime = 0, interval = 1;
  AmplitudeRange range;
  float unitsPerFoot = kUnitsPerFootM;
  std::vector<int32_t> nodeTrace;
  std::vector<float> nodeEasting, nodeNorthing;
  std::vector<float> easting, northing;  // one per trace
};
// A new profile of `traces` traces of `samples` samples with the timing of
// the raw item d and the units per foot its format's header gives; the
// range is what was written.
NewProfile newProfileOf(const RawData& d, int traces, int samples, const AmplitudeRange& range);
// The GEO_ nodes of a new profile.
void setNodes(NewProfile& p, const std::vector<GeoNode>& nodes);

// --- dialogs --------------------------------------------------------------------

// One row of the name table.
struct CreateRow {
  std::string rawName;
  std::string profileName;
  // "Geometry from GPS": placed on the fixes of the raw item's sidecar,
  // thinned to this tolerance (profile units; 0: a tenth of the trace spacing).
  bool gpsGeometry = false;
  double gpsTolerance = 0;
};

// "Select additional profiles to create": a multi-selection list of raw
// data items; OK leaves the chosen names in chosen().
class CAddProfilesDlg : public dv::Dialog {
 public:
  enum { IDC_LIST = 23110 };
  explicit CAddProfilesDlg(std::vector<std::string> rawNames);
  bool onInitDialog() override;
  void onOK() override;
  const std::vector<std::string>& chosen() const { return chosen_; }

 private:
  std::vector<std::string> names_, chosen_;
};

// "Specify Name for Profiles": the name table. OK checks the names (the
// dialog stays open after a refused one) and hands the cleaned rows to
// `create`, then closes.
class CCreateProfileDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23100, IDC_ADD = 23101, IDC_DELETE = 23102, IDC_GPS = 23103, IDC_GPS_TOLERANCE = 23104 };
  enum { kRawCol = 0, kNameCol = 1 };
  CCreateProfileDlg(std::vector<CreateRow> rows, std::vector<std::string> rawNames,
                    std::vector<std::string> existingProfiles);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;

  std::function<void(const std::vector<CreateRow>&)> create;
  const std::vector<CreateRow>& rows() const { return rows_; }

 private:
  void fillGrid();
  void readGrid();
  std::vector<CreateRow> rows_;
  std::vector<std::string> rawNames_, existing_;
};

// --- with the project (module state) -----------------------------------------

// Inserts the tree object of a profile whose files are written and loads it;
// null when the tree object could not be inserted or the files do not read
// back (the tree object is removed again then; the files are the caller's).
DvHandle insertNewProfile(const std::string& name, const std::string& fileName);
// The files of a new profile whose "T01_" sample file is written (GEO_,
// XY_, the version header from the project's display defaults and PRF_),
// then its tree item. Null when a file could not be written: the
// profile's files, its sample file among them, are removed again.
DvHandle completeNewProfile(const std::string& name, const NewProfile& p);
// The project's name for a new profile's sample file "T01_" P ".QUV".
std::string newProfileSamplePath(const std::string& name);

// Create Profile(s): batch when `singleRawItemOrNull` is null (every raw
// item of the "Raw Data" folder that is selected and not bad, after the batch
// selection check), else the one item. `rawFolderOrNull` is the folder the
// command came from (the "Raw Data" folder is found when null).
void createProfilesCommand(DvHandle rawFolderOrNull, DvHandle singleRawItemOrNull);

}  // namespace quv
