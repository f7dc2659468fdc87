// Position sidecars: the files instruments write beside a recording to tie
// its traces to positions. Each kind has a small reader; all give the same
// summary: the fixes used (trace numbers counted from 1), and what was
// skipped, reason by reason.
//   DZG   GSSI: "$GSSIS,<scan>,..." lines, each followed by the NMEA
//         sentences of that scan (scans count from 0 in the file)
//   GPS   pulseEKKO: "Trace #N at position X" blocks of NMEA sentences
//   COR   RAMAC: one tab-separated record per marked trace
//         (trace date time lat N|S lon E|W elevation M accuracy)
//   DZX   GSSI XML markers: waypoints of scan and along-line distance
// and the coordinate files other tools write beside a recording, projected
// coordinates in the system of the survey (its EPSG code unknown unless the
// user gives it):
//   TOP   CSV "N,E,Z", one row per trace
//   TOPO  "_topo.txt": tab-separated "E N Z", one row per trace
//   XYZ   ".xyz" rows "x,y,z" without trace numbers, spread evenly along
//         the recording's traces
//   FID   "_FID.txt": marker CSV "TRACE,POSITION,COMMENT" (along-line
//         distance at a trace, like DZX waypoints)
//   FIX   the workbench's own file of fixes keyed by trace number, written
//         when a recording's traces are rewritten (see formatFixFile)
// The readers never allocate more than the bytes given call for, and take
// any bytes: what cannot be used is counted under a reason.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace scrivel::sidecar {

enum class Kind { Unknown, Dzg, PekkoGps, RamacCor, Dzx, Top, Topo, Xyz, Fid, Fixes };

// "DZG", "GPS", "COR", "DZX", "TOP", "TOPO", "XYZ", "FID", "FIX" ("" for Unknown).
const char* kindName(Kind k);
// The kind by the end of the file's name (any letter case: ".DZG", ...,
// "_topo.txt", "_FID.txt"), else by its first bytes.
Kind kindOf(const std::string& fileName, const std::string& bytes);
// What follows a recording's base name in the name of a sidecar beside it,
// upper case, in the order they are looked for: the instruments' own
// (".DZG", ".DZX", ".GPS", ".COR"), then other tools' coordinates
// ("_TOPO.TXT", ".TOP", "_GPS.XYZ", ".XYZ") and markers ("_FID.TXT").
const std::vector<std::string>& sidecarEndings();

struct Fix {
  int trace = 0;  // from 1
  bool hasPosition = false;  // latitude and longitude (WGS 84, degrees, east and north positive)
  double lat = 0, lon = 0;
  bool hasElevation = false;  // metres above the geoid (GGA altitude, COR elevation)
  double elevation = 0;
  bool hasDistance = false;  // along-line distance of a marker (DZX, FID), in the file's units
  double distance = 0;
  // Projected coordinates of the survey's system (TOP, TOPO, XYZ), in its
  // units (metres for the usual systems); Summary::epsg names it.
  bool hasProjected = false;
  double easting = 0, northing = 0;
};

struct Skip {
  int trace = 0;  // the trace the record belonged to, 0 when none
  std::string reason;
};

struct Summary {
  Kind kind = Kind::Unknown;
  std::vector<Fix> fixes;  // in the order of the file, trace numbers rising
  std::vector<Skip> skips;
  std::string error;  // not a sidecar at all (unknown kind, unreadable file)
  // The system of projected coordinates, 0 when unknown.
  int epsg = 0;
  // Skips counted in the file a FIX file was made from (reason -> count).
  std::map<std::string, int> carried;
  // Reason -> count (with the carried ones).
  std::map<std::string, int> skipped() const;
  // The fixes that carry a position (latitude and longitude, or projected).
  int positioned() const;
};

// Reasons, as counted.
extern const char* const kBadChecksum;      // "bad checksum"
extern const char* const kNoChecksum;       // "no checksum"
extern const char* const kSpliced;          // "spliced sentence"
extern const char* const kEmptyGga;         // "empty GGA"
extern const char* const kNoFix;            // "no fix (quality 0)"
extern const char* const kVoidRmc;          // "void RMC"
extern const char* const kNoPosition;       // "no position sentence"
extern const char* const kRepeated;         // "repeated block"
extern const char* const kPastEnd;          // "past the end of the recording"
extern const char* const kOutOfOrder;       // "trace out of order"
extern const char* const kBadRecord;        // "unreadable record"
extern const char* const kLeftOut;          // "trace left out by a new order"

// Reads a sidecar of kind k from its bytes. traceCount > 0 is the number of
// traces of the recording: fixes past it are skipped.
Summary readSidecar(Kind k, const std::string& bytes, int traceCount = 0);
// Reads the file (at most 64 MiB), its kind from its name and bytes.
Summary readSidecarFile(const std::string& path, int traceCount = 0);

// The text of a FIX file holding the summary: "DELVAR fixes 1", "kind K"
// (the kind it was read from), "epsg N", "skipped COUNT REASON" per reason,
// then "fix TRACE LAT LON ELEVATION EASTING NORTHING DISTANCE" per fix,
// "-" for what the fix lacks. Read back, it gives the same fixes, kind,
// EPSG code and skip counts.
std::string formatFixFile(const Summary& s);

// --- NMEA 0183 -----------------------------------------------------------------

struct Nmea {
  std::string type;  // "GGA", "RMC", "ZDA", ... (the talker, "GP" or "GN", dropped)
  std::vector<std::string> fields;  // after the address field, without the checksum
};
// One sentence from "$" to the end of its line: false with the reason when
// its checksum is wrong or missing.
bool parseNmea(const std::string& sentence, Nmea& out, std::string& reason);
// A latitude or longitude field: DDMM.mmmm / DDDMM.mmmm, or decimal degrees
// when the field holds no minutes part (fewer than three digits before the
// point for latitude, four for longitude); hemi "N"/"S"/"E"/"W" or empty.
bool parseCoordinate(const std::string& value, const std::string& hemi, bool longitude, double& out);

// A fix from one GGA or RMC sentence; false with the reason when it holds none.
bool fixFromSentence(const Nmea& s, Fix& fix, std::string& reason);

}  // namespace scrivel::sidecar
