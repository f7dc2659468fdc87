// Markers of a raw data item: chosen raw traces tied to surveyed plan
// coordinates, kept in the item's marker file ("MRK_" + its first stored
// name) and edited in the "Markers" dialog. Rubber sheeting builds a
// profile along the polyline through them.
//
// The marker file (and a ".mrk" export) is text: "/ Trace# Easting
// Northing", then "%i %.2f %.2f" per marker, the trace counted from 1. A
// marker whose easting holds the blank value (above 1e38) has no
// coordinates yet.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dv/dialog.h"
#include "processing/geometry.h"  // GeoNode

namespace quv {

struct RawData;

// A marker: the raw trace (from 0) and its coordinates.
using Marker = GeoNode;
constexpr double kBlankMarker = 2e38;
inline bool isBlankMarker(const Marker& m) { return m.easting > 1e38; }

// --- the table (pure) ----------------------------------------------------------------

// The marker file's text.
std::string formatMarkerFile(const std::vector<Marker>& markers);

// Where markers placed from GPS lie: EPSG `epsg` coordinates in metres less
// the origin, in the item's distance units (epsg 0: no reference). The
// marker file keeps it as a comment line after its heading,
// "/ GPS EPSG:32633 origin 500000 5000000", which readers of the file skip.
struct MarkerReference {
  int epsg = 0;
  double originEasting = 0, originNorthing = 0;
};
std::string formatMarkerFile(const std::vector<Marker>& markers, const MarkerReference& ref);
// The reference line of a marker file's text; false (ref unchanged) without one.
bool parseMarkerReference(const std::string& text, MarkerReference& ref);
// Lines left-trimmed; empty lines and lines beginning with "/" skipped; the
// others read as "%d %f %f" (the trace counted from 1). Lines that do not
// read so are left out.
std::vector<Marker> parseMarkerFile(const std::string& text);
// By trace, rows on one trace keeping their order.
void sortMarkers(std::vector<Marker>& markers);
// A trace index inside 0..traces-1; `limited` tells whether it was moved.
int limitMarkerTrace(long long index, int traces, bool& limited);
// Every blank marker with a non-blank one before it and one after it in
// the table takes coordinates interpolated linearly by trace number
// between the nearest such neighbours; the others stay blank.
void interpolateMarkers(std::vector<Marker>& markers);
// Coordinates along a straight line: the first marker at (easting,
// northing), each other `increment` per trace further along the azimuth
// `angle` (degrees from north towards east).
void populateMarkers(std::vector<Marker>& markers, double easting, double northing,
                     double increment, double angle);
// The refusal of OK ("" when the table may be saved): a blank marker, two
// neighbouring rows on one trace, fewer than 3 rows.
std::string markerTableRefusal(const std::vector<Marker>& markers);
// The refusal of Export: fewer than 3 rows, two neighbouring rows on one trace.
std::string markerExportRefusal(const std::vector<Marker>& markers);

// --- dialogs -----------------------------------------------------------------------

// "Populate": the start point, the increment per trace and the azimuth.
class CPopulateDlg : public dv::Dialog {
 public:
  enum { IDC_EASTING = 23740, IDC_NORTHING, IDC_INCREMENT, IDC_ANGLE };
  CPopulateDlg(double easting, double northing);
  void onOK() override;
  double easting = 0, northing = 0, increment = 1, angle = 90;
};

// "Markers": the marker table of one raw item. OK (with a valid table)
// rewrites the marker file and closes.
class CMarkersDlg : public dv::Dialog {
 public:
  enum {
    IDC_GRID = 23700, IDC_INTERPOLATE, IDC_POPULATE, IDC_CLEAR, IDC_SCAN, IDC_BY_TRACE,
    IDC_BY_COORDS, IDC_IMPORT, IDC_EXPORT, IDC_INSERT, IDC_DELETE, IDC_FROM_GPS
  };
  enum { kTraceCol = 0, kEastCol, kNorthCol, kCols };
  // `raw` is the item (its trace count, its marker file and its traces for
  // Scan Data); `folder` is where the file dialogs start.
  CMarkersDlg(const RawData& raw, std::string folder);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;
  const std::vector<Marker>& markers() const { return markers_; }
  const MarkerReference& reference() const { return ref_; }

 private:
  void showAll();
  void fromGps();
  void scanData();
  void importMarkers();
  void exportMarkers();
  const RawData& raw_;
  std::string folder_;
  std::vector<Marker> markers_;
  MarkerReference ref_;  // set while the coordinates are those of "From GPS"
};

// "Markers from GPS": markers at the fixes of the item's sidecar (thinned to
// a tolerance; empty: a tenth of the trace spacing) or at the traces of the
// table's markers.
class CGpsMarkersDlg : public dv::Dialog {
 public:
  enum { IDC_AT_FIXES = 23760, IDC_AT_TABLE, IDC_TOLERANCE };
  CGpsMarkersDlg();
  void onOK() override;
  bool atFixes = true;
  double tolerance = 0;  // 0: the default
};

// --- with the project (module state) -----------------------------------------

// The marker table of a raw item's marker file (empty when it has none),
// and its reference when `ref` is given (none: left as it is).
std::vector<Marker> readMarkers(const RawData& raw, MarkerReference* ref = nullptr);
// "Markers" for a raw item; true when OK saved its marker file.
bool editMarkers(const RawData& raw);

}  // namespace quv
