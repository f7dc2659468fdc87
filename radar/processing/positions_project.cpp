// Positions from GPS with the project: a raw item's stored sidecar placing
// a new profile, the profile's map reference, and Export Lines.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/create_profile.h"
#include "processing/positions.h"
#include "project/messages.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/selection.h"
#include "project/tree_items.h"
#include "project/units.h"

namespace quv {

namespace sc = scrivel::sidecar;

namespace {

double unitsPerMetre(float unitsPerFoot) { return double(unitsPerFoot) / kMetresPerFoot; }

// A sidecar's summary in one line: fixes used and every reason skipped.
std::string summaryText(const sc::Summary& s) {
  // "56 fixes; skipped: 139 repeated block, 2 past the end of the recording"
  const int n = s.positioned();
  std::string text = std::to_string(n) + (n == 1 ? " fix" : " fixes");
  const char* sep = "; skipped: ";
  for (const auto& [reason, count] : s.skipped()) {
    text += sep + std::to_string(count) + " " + reason;
    sep = ", ";
  }
  return text;
}

}  // namespace

bool readRawSidecar(const RawData& d, sc::Summary& summary) {
  if (d.positionsPath.empty() || !dv::fileExists(d.positionsPath)) {
    summary = sc::Summary();
    summary.error = "no GPS sidecar was stored with it";
    return false;
  }
  summary = sc::readSidecarFile(d.positionsPath, d.traces);
  return summary.error.empty();
}

std::string sidecarBeside(const std::string& recordingPath) {
  const std::string name = fileNameOf(recordingPath);
  const size_t dot = name.rfind('.');
  const std::string base = upperCase(dot == std::string::npos ? name : name.substr(0, dot));
  std::error_code ec;
  std::vector<std::string> found;
  for (const auto& e : std::filesystem::directory_iterator(dv::dirName(recordingPath), ec)) {
    const std::string other = e.path().filename().string();
    if (other.size() > base.size() && upperCase(other.substr(0, base.size())) == base) found.push_back(other);
  }
  // In the order the kinds are looked for, whatever order the folder lists them in.
  for (const std::string& ending : sc::sidecarEndings())
    for (const std::string& other : found)
      if (upperCase(other.substr(base.size())) == ending) return dv::joinPath(dv::dirName(recordingPath), other);
  return "";
}

std::string describeSidecar(const RawData& d) {
  sc::Summary s;
  if (!readRawSidecar(d, s)) return s.error;
  return std::string(sc::kindName(s.kind)) + ": " + summaryText(s);
}

namespace {

// The line through the fixes of a raw item's sidecar, in `epsg` (0: the UTM
// zone of the first fix) less `origin` (null: a whole kilometre near the
// first fix, which keeps the stored coordinates small); r takes the system
// and the origin.
bool lineOfFixes(const RawData& d, int traces, int epsg, const double* origin, double perMetre, double tolerance,
                 GpsLine& line, PositionRecord& r, std::string& why) {
  sc::Summary s;
  if (!readRawSidecar(d, s)) return why = s.error, false;
  std::vector<sc::PlacedFix> placed;
  if (!sc::placeFixes(s, epsg, placed, &r.epsg, why)) return false;
  if (placed.empty()) return why = "its sidecar holds no usable fix (" + summaryText(s) + ")", false;
  // A line needs two places to run between.
  if (placed.size() < 2) return why = "its sidecar holds one usable fix only (" + summaryText(s) + ")", false;
  r.originEasting = origin ? origin[0] : std::floor(placed.front().easting / 1000) * 1000;
  r.originNorthing = origin ? origin[1] : std::floor(placed.front().northing / 1000) * 1000;
  if (!gpsLine(placed, traces, r.originEasting, r.originNorthing, perMetre, tolerance, line))
    return why = "its fixes do not fit its traces", false;
  if (!(line.fixPath > 0)) return why = "its fixes all lie on one point", false;
  return true;
}

double rawUnitsPerMetre(const RawData& d) {
  return unitsPerMetre(deriveStraightLine(d.format, d.header, d.traces).unitsPerFoot);
}

}  // namespace

bool placeOnGps(NewProfile& p, const RawData& d, double tolerance, PositionRecord& record, std::string& why) {
  GpsLine line;
  PositionRecord r;
  if (!lineOfFixes(d, p.traces, 0, nullptr, unitsPerMetre(p.unitsPerFoot), tolerance, line, r, why)) return false;
  setNodes(p, line.nodes);
  p.easting.assign(line.easting.begin(), line.easting.end());
  p.northing.assign(line.northing.begin(), line.northing.end());
  r.elevation = line.elevation;
  record = std::move(r);
  return true;
}

bool markersFromGps(const RawData& d, bool atFixes, double tolerance, std::vector<Marker>& markers,
                    MarkerReference& ref, std::string& why) {
  GpsLine line;
  PositionRecord r;
  if (!lineOfFixes(d, d.traces, 0, nullptr, rawUnitsPerMetre(d), tolerance, line, r, why)) return false;
  std::vector<Marker> out;
  if (atFixes) {
    out = thinFixesByTrace(line.fixes, tolerance > 0 ? tolerance : line.defaultTolerance);
    // Rubber sheeting needs three markers: an evenly paced straight line keeps its middle fix too.
    if (out.size() == 2 && line.fixes.size() > 2) out.insert(out.begin() + 1, line.fixes[line.fixes.size() / 2]);
  } else {
    if (markers.empty()) return why = "the table has no marker to place", false;
    out = markers;
    for (Marker& m : out) {
      const size_t i = size_t(std::clamp(m.trace, 0, d.traces - 1));
      m.easting = line.easting[i], m.northing = line.northing[i];
    }
  }
  markers = std::move(out);
  ref.epsg = r.epsg, ref.originEasting = r.originEasting, ref.originNorthing = r.originNorthing;
  return true;
}

void keepMarkersFromGps(const RawData& d, const std::string& rawName) {
  std::vector<Marker> markers;
  MarkerReference ref;
  std::string why;
  if (!markersFromGps(d, true, 0, markers, ref, why)) return msg(0, kMsgMarkersFromGpsNone, rawName.c_str(), why.c_str());
  if (!dv::writeFileAtomic(d.markersPath, formatMarkerFile(markers, ref)))
    return msg(0, kMsgErrorCouldNotOpenForWriting, d.markersPath.c_str());
  msg(0, kMsgMarkersFromGpsOf, rawName.c_str(), int(markers.size()), ref.epsg);
}

bool rubberSheetRecord(const RawData& d, const MarkerReference& ref, const std::vector<double>& places,
                       PositionRecord& record) {
  if (ref.epsg <= 0) return false;
  record = PositionRecord();
  record.epsg = ref.epsg, record.originEasting = ref.originEasting, record.originNorthing = ref.originNorthing;
  GpsLine line;
  PositionRecord r;
  std::string why;
  const double origin[2] = {ref.originEasting, ref.originNorthing};
  // Without the sidecar (or its elevations) the profile keeps its place on the map only.
  if (!lineOfFixes(d, d.traces, ref.epsg, origin, rawUnitsPerMetre(d), 0, line, r, why) || line.elevation.empty())
    return true;
  const std::vector<float>& z = line.elevation;
  for (double place : places) {
    const size_t i = size_t(std::clamp(place, 0.0, double(z.size() - 1)));
    const double f = place - double(i);
    record.elevation.push_back(i + 1 < z.size() ? float(z[i] + f * (z[i + 1] - z[i])) : z[i]);
  }
  return true;
}

bool placeRowOnGps(NewProfile& p, const RawData& d, const CreateRow& row, PositionRecord& record) {
  std::string why;
  if (!placeOnGps(p, d, row.gpsTolerance, record, why)) {
    msg(0, kMsgGpsGeometryNotUsed, row.profileName.c_str(), why.c_str());
    return false;
  }
  double length = 0;
  for (size_t i = 1; i < p.easting.size(); ++i)
    length += std::hypot(double(p.easting[i]) - p.easting[i - 1], double(p.northing[i]) - p.northing[i - 1]);
  msg(0, kMsgGpsGeometryPlaced, row.profileName.c_str(), int(p.nodeTrace.size()), length, unitName(p.unitsPerFoot));
  return true;
}

void keepPositionRecord(const std::string& profileFileName, const PositionRecord& record) {
  const std::string path = positionFilePath(profileFileName);
  if (!dv::writeFileAtomic(path, formatPositionFile(record))) msg(0, kMsgErrorCouldNotOpenForWriting, path.c_str());
}

std::string positionFilePath(const std::string& profileFileName) {
  return dv::joinPath(projectDir(), "MAP_" + profileFileName);
}

bool readPositionRecord(const ProfileItem& item, PositionRecord& r) {
  const std::string path = positionFilePath(item.fileName);
  std::string text;
  const int traces = item.header ? item.header->traceCount : 0;
  return dv::fileExists(path) && dv::fileSize(path) < 64 + 16 * (int64_t(traces) + 8) &&
         dv::readWholeFile(path, text) && parsePositionFile(text, traces, r);
}

std::vector<MapLine> mapLinesOf(const std::vector<DvHandle>& profiles, int epsg, std::vector<std::string>& skipped) {
  std::vector<MapLine> out;
  for (DvHandle tree : profiles) {
    const ProfileItem* item = profileOf(tree);
    const std::string name = treeName(tree);
    if (!item || !item->header || treeBad(tree) || item->header->easting.empty()) {
      skipped.push_back(name + " (not loaded)");
      continue;
    }
    const ProfileHeader& h = *item->header;
    PositionRecord r;
    const bool placed = readPositionRecord(*item, r);
    if (!placed || r.epsg == 0) {
      if (epsg <= 0) {
        skipped.push_back(name + (placed ? " (placed by coordinates of an unknown system, and no EPSG code given)"
                                         : " (no map reference: not placed from GPS, and no EPSG code given)"));
        continue;
      }
      if (!placed) r = PositionRecord();
      r.epsg = epsg;
    }
    sc::Projection proj(r.epsg);
    if (!proj.valid()) {
      skipped.push_back(name + " (" + proj.error() + ")");
      continue;
    }
    MapLine m;
    m.name = name;
    m.epsg = r.epsg;
    for (const ProfileVersion* v : item->versionList) m.versions.push_back(v->label());
    const double perUnit = 1 / unitsPerMetre(h.unitsPerFoot);
    bool ok = true;
    for (size_t i = 0; i < h.easting.size() && ok; ++i) {
      const double e = h.easting[i] * perUnit + r.originEasting, n = h.northing[i] * perUnit + r.originNorthing;
      double lat = 0, lon = 0;
      ok = proj.inverse(e, n, lat, lon);
      if (i > 0) m.length += std::hypot(e - m.easting.back(), n - m.northing.back());
      m.easting.push_back(e), m.northing.push_back(n), m.lat.push_back(lat), m.lon.push_back(lon);
    }
    if (r.elevation.size() == h.easting.size()) m.elevation.assign(r.elevation.begin(), r.elevation.end());
    if (!ok) {
      skipped.push_back(name + " (its coordinates are outside EPSG:" + std::to_string(r.epsg) + ")");
      continue;
    }
    out.push_back(std::move(m));
  }
  return out;
}

bool exportMapFile(const std::vector<DvHandle>& profiles, const std::string& path, int epsg, std::string& error) {
  std::vector<std::string> skipped;
  std::vector<MapLine> lines = mapLinesOf(profiles, epsg, skipped);
  std::string text = formatMapFile(path, lines);
  if (text.empty()) return error = "the file must end in .geojson, .kml or .csv: " + path, false;
  if (lines.empty()) {
    error = "no line to export";
    for (const std::string& s : skipped) error += "; " + s;
    return false;
  }
  if (!dv::writeFileAtomic(path, text)) return error = "could not write " + path, false;
  for (const std::string& s : skipped) msg(0, kMsgExportLinesSkipped, s.c_str());
  return true;
}

void exportSelectedLinesCommand() {
  if (batchSelectionCheck(SelectionMode::Profiles, false, false) != 0) return;
  std::vector<DvHandle> chosen;
  for (DvHandle it : childItems(profileFolder()))
    if (treeSelected(it)) chosen.push_back(it);
  dv::FileDialogRequest req;
  req.save = true;
  req.title = "Export Lines";
  req.filters = {{"GeoJSON (.geojson)", "*.geojson"}, {"KML (.kml)", "*.kml"}, {"Trace Positions (.csv)", "*.csv"}};
  req.initialDir = projectDir();
  req.defaultExt = "geojson";
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  std::string error;
  if (exportMapFile(chosen, r.paths[0], 0, error)) msg(0, kMsgExportLinesCompleted, r.paths[0].c_str());
  else msg(0, kMsgExportLinesFailed, error.c_str());
}

}  // namespace quv
