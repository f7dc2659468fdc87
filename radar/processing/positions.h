// Positions from the field: the GPS sidecar stored with a raw item ("GPS_" +
// its first stored name) becomes a profile's geometry, its elevations the
// elevation table, and the lines of profiles go out to maps (GeoJSON, KML,
// CSV of trace positions).
//
// A profile placed from GPS keeps its map reference in "MAP_" + its file
// name beside its other files (a text file, see formatPositionFile): the
// EPSG code of its coordinates and an origin in metres. GEO_ and XY_ hold
// single-precision coordinates, too coarse for whole UTM values (a northing
// of 5 000 000 m keeps only half a metre), so they hold easting and northing
// less that origin, in the profile's distance units.
#pragma once

#include <string>
#include <vector>

#include "delvar/module.h"
#include "processing/geometry.h"  // GeoNode
#include "processing/markers.h"
#include "scrivel/projection.h"
#include "scrivel/sidecar.h"

namespace quv {

struct CreateRow;
struct NewProfile;
struct ProfileItem;
struct RawData;

// --- pure ------------------------------------------------------------------------------

// The map reference of a profile placed from GPS.
struct PositionRecord {
  int epsg = 0;  // 0: coordinates of a system not known (a coordinate file's)
  double originEasting = 0, originNorthing = 0;  // metres
  std::vector<float> elevation;  // per trace, metres; empty when the fixes had none
};
// "DELVAR positions 1", "epsg N", "origin E N", then "elevations K" and K
// values, one a line.
std::string formatPositionFile(const PositionRecord& r);
// False for text that is not such a file, or whose elevation count is not
// `traces` (0 elevations are allowed).
bool parsePositionFile(const std::string& text, int traces, PositionRecord& r);

// The indices of the points Douglas-Peucker keeps at `tolerance` (the first
// and last always).
std::vector<size_t> douglasPeucker(const std::vector<double>& x, const std::vector<double>& y, double tolerance);

// The fixes a rubber sheet needs to follow both the path and the pace along
// it: Douglas-Peucker where a fix's distance is from the place its trace
// would have if the traces between the kept fixes around it were evenly
// spaced (the first and last fix always kept).
std::vector<GeoNode> thinFixesByTrace(const std::vector<GeoNode>& fixes, double tolerance);

// A line through the fixes: every trace placed by its place between the
// fixes around it (traces before the first fix lie on it, after the last on
// the last), the nodes the fixes thinned to `tolerance` (<= 0: a tenth of the
// mean trace spacing) plus the first and last trace. Coordinates in metres
// less the origin, times `unitsPerMetre`.
struct GpsLine {
  std::vector<GeoNode> nodes;
  std::vector<double> easting, northing;  // per trace
  std::vector<float> elevation;           // per trace, metres; empty without elevations
  std::vector<GeoNode> fixes;             // the fixes used, one per trace at most, in trace order
  double fixPath = 0;                     // length of the fixes' path, in the same units
  double defaultTolerance = 0;            // a tenth of the mean trace spacing along the fixes
};
bool gpsLine(const std::vector<scrivel::sidecar::PlacedFix>& fixes, int traces, double originEasting,
             double originNorthing, double unitsPerMetre, double tolerance, GpsLine& out);

// Mean over a window of `traces` traces centred on each one (shrinking at
// the ends); values not finite are left out and stay as they are.
std::vector<float> smoothValues(const std::vector<float>& values, int traces);

// One line of a map export.
struct MapLine {
  std::string name;
  std::vector<std::string> versions;  // "T1", "D1", ...
  std::vector<double> easting, northing, elevation;  // metres, per trace (elevation may be empty)
  std::vector<double> lat, lon;                     // degrees, per trace
  int epsg = 0;
  double length = 0;  // along the traces, metres
};
// The text of a ".geojson" (one LineString per line, WGS 84 longitude and
// latitude), ".kml" or ".csv" (trace, easting, northing, elevation, latitude,
// longitude per trace) file, by the extension of `path`; "" for another one.
std::string formatMapFile(const std::string& path, const std::vector<MapLine>& lines);

// --- with the project -------------------------------------------------------------------

// The stored sidecar of a raw item, read with the item's trace count.
// False (summary.error set) when the item has none.
bool readRawSidecar(const RawData& d, scrivel::sidecar::Summary& summary);
// The sidecar beside a recording under its base name (".DZG", ".GPS", ...,
// any letter case), "" when there is none.
std::string sidecarBeside(const std::string& recordingPath);

// "GPS: 56 fixes; skipped: 139 repeated block" for the add message, or why there is none.
std::string describeSidecar(const RawData& d);

// "Geometry from GPS": places a new profile on the fixes of its raw item's
// sidecar (tolerance in profile units, <= 0 the default) and fills the
// record to write beside it. False with the reason when there are no fixes
// to place it by; p is unchanged then.
bool placeOnGps(NewProfile& p, const RawData& d, double tolerance, PositionRecord& record, std::string& why);
// "From GPS" of the Markers dialog by the fixes of the raw item's sidecar:
// markers at the fixes thinned by thinFixesByTrace to `tolerance` (<= 0: a
// tenth of the mean trace spacing of the fixes), or (atFixes false) the
// markers given, each moved to where the line through the fixes has its
// trace. Coordinates in the item's distance units less a whole kilometre
// near the first fix; `ref` takes the system and that origin. False with the
// reason (markers and ref unchanged) when there is nothing to place them by.
bool markersFromGps(const RawData& d, bool atFixes, double tolerance, std::vector<Marker>& markers,
                    MarkerReference& ref, std::string& why);
// markersFromGps at the fixes with the default tolerance, written as the
// item's marker file; the message bar says what it did or why not.
void keepMarkersFromGps(const RawData& d, const std::string& rawName);
// The record of a profile rubber-sheeted from markers placed from GPS: the
// system and origin of `ref`, and the fixes' elevations at each output trace
// (`places`: its raw trace plus the fraction towards the next). False when
// `ref` names no system.
bool rubberSheetRecord(const RawData& d, const MarkerReference& ref, const std::vector<double>& places,
                       PositionRecord& record);
// placeOnGps for a row of Create Profile, saying in the message bar what it
// did (or why the header's line is kept).
bool placeRowOnGps(NewProfile& p, const RawData& d, const CreateRow& row, PositionRecord& record);
// Writes a new profile's record; the message bar says when it cannot.
void keepPositionRecord(const std::string& profileFileName, const PositionRecord& record);
// "MAP_" + the profile's file name in the project folder.
std::string positionFilePath(const std::string& profileFileName);
// The record of a profile; false when it has none (or it cannot be read).
bool readPositionRecord(const ProfileItem& item, PositionRecord& r);

// The map lines of profiles: by their records, or with epsg > 0 for a
// profile without one, its coordinates taken as that system's (in its
// units). Profiles that cannot be placed are named in `skipped`.
std::vector<MapLine> mapLinesOf(const std::vector<DvHandle>& profiles, int epsg, std::vector<std::string>& skipped);
// Writes the map file of these profiles whole; false with the reason.
bool exportMapFile(const std::vector<DvHandle>& profiles, const std::string& path, int epsg, std::string& error);
// "Export Lines" of the profile folder: the batch selection check, the file
// dialog, the file; the message bar says what was written.
void exportSelectedLinesCommand();

}  // namespace quv
