// Profile geometry: the plan-view position of every trace. A straight line
// is kept as two nodes (its first and last trace), a complex line as a list
// of nodes (trace, easting, northing) joined by straight segments; "GEO_"
// holds the nodes, "XY_" the coordinates of every trace. The Edit Geometry
// dialog edits the straight lines of one or more profiles with linked
// columns for length, trace increment and azimuth, and exchanges them as a
// ".geo" text file; the Edit Complex Line Geometry dialog edits the nodes of
// one profile and exchanges them as a ".cog" text file.
//
// Azimuths are degrees from north towards east (easting grows with the sine,
// northing with the cosine), kept above -180 and up to 180.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/dialog.h"

namespace quv {

struct GeoNode {
  int trace = 0;  // counted from 0
  double easting = 0, northing = 0;
};

// --- segments and lines (pure) --------------------------------------------------

struct SegmentValues {
  double distance = 0, increment = 0, angle = 0;
};
// Distance, distance per trace (0 when both nodes are on one trace) and
// azimuth from s to e.
SegmentValues segmentValues(const GeoNode& s, const GeoNode& e);
// Into the range above -180 up to 180 by whole turns; a value that is not a
// finite number gives 0.
double normalizeAngle(double degrees);

// A typed number: the whole text (blanks around it allowed) is one finite
// decimal number.
bool typedNumber(const std::string& text, double& value);

// "ft" for 1.0, "in" for 12.0, "cm" above 30.47, "m" otherwise.
std::string unitsName(float unitsPerFoot);
// The factor of "cm", "ft", "in" or "m" (exact text); false for any other.
bool unitsFactor(const std::string& text, float& unitsPerFoot);

// XY_ of a straight line through s and e, in single precision: trace 0 lies
// at s - trace_s x slope and each following trace adds the slope (0 when s
// and e are on one trace, so every trace lies at s).
void straightLineXY(int traces, const GeoNode& s, const GeoNode& e, std::vector<float>& easting,
                    std::vector<float>& northing);
// GEO_ nodes of a complex line: its nodes (sorted, distinct traces), with a
// node at trace 0 extrapolated back along the first segment when the first
// node is later, and one at trace N - 1 along the last segment when the last
// node is earlier.
std::vector<GeoNode> complexGeoNodes(int traces, const std::vector<GeoNode>& nodes);
// XY_ of a complex line, in single precision: before the first node along
// the first segment, each segment from its start node adding its slope per
// trace, after the last node continuing the last segment.
void complexLineXY(int traces, const std::vector<GeoNode>& nodes, std::vector<float>& easting,
                   std::vector<float>& northing);

// --- text files (pure) --------------------------------------------------------------

// One ".geo" line: "\"%s\",%.2f,%.2f,%.2f,%.2f".
struct GeoFileLine {
  std::string name;
  double startEasting = 0, startNorthing = 0, endEasting = 0, endNorthing = 0;
};
// The header line and one line per profile.
std::string formatGeoFile(const std::vector<GeoFileLine>& lines);
// A line read with "%[^,],%f,%f,%f,%f": the name trimmed and without its
// double quotes. False for a line that is not of that form (the header).
bool parseGeoLine(const std::string& line, GeoFileLine& out);

// The ".cog" text: "/ Trace# Easting Northing" and "%i %.2f %.2f" per node,
// the trace counted from 1.
std::string formatCogFile(const std::vector<GeoNode>& nodes);
// The tokens of a table line: left-trimmed, nothing for an empty line or a
// comment ("/"), else at most ten blank-separated tokens of at most 31
// characters each.
std::vector<std::string> tableTokens(const std::string& line);
// The nodes of a table text, the columns counted from 1; the traces in the
// file are counted from 1. Lines without numbers in those columns are left out.
std::vector<GeoNode> parseCogText(const std::string& text, int traceColumn, int eastingColumn,
                                  int northingColumn);

// The first steps of a table import: the file dialog `title` ("All Files
// (*.*)", starting in `folder`), `missing` (caption "Error") for a file that
// is not there, the column-order dialog for `names` (one to five), and the
// file's text ("Could not open file for reading" when it cannot be read).
// False when the user cancelled or a message was shown; `columns` then
// holds the chosen columns, counted from 1, in the order of `names`.
bool importTableText(const std::string& folder, const char* title, const char* missing,
                     const std::vector<const char*>& names, int columns[5], std::string& text);
// A table export: the save dialog `title` with the one filter ("Mark
// (.mrk)" for "*.mrk", ...), starting in `folder`; the text written whole,
// `failure` (caption "Error") when it cannot be.
void exportTableText(const std::string& folder, const char* title, const char* filter,
                     const char* extension, const std::string& text, const char* failure);
// A number as a table shows it ("%.2f", "%.3f").
std::string numberText(const char* format, double v);

// --- dialogs ------------------------------------------------------------------------

// The geometry of one profile as the dialogs edit it.
struct GeometryLine {
  std::string name;
  DvHandle tree = nullptr;  // the profile's tree object (the module's)
  int traces = 0;
  float unitsPerFoot = 1.0f;
  std::vector<GeoNode> nodes;  // straight lines: start and end
  bool changed = false;
  bool startFixed = true;  // straight lines: the start row is the fixed row
  bool complex() const { return nodes.size() > 2; }
};
// A line from the nodes of a GEO_ file; fewer than two nodes become a
// straight line over all traces.
GeometryLine geometryLine(std::string name, int traces, float unitsPerFoot,
                          const std::vector<int>& nodeTrace, const std::vector<float>& nodeEasting,
                          const std::vector<float>& nodeNorthing);

// "Edit Geometry": two rows per profile (start and end node, the end row
// with Distance, Increment and Angle); complex lines show their first and
// last node, marked "COMPLEX", and are edited with "Complex Line".
class CGeometryDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23200, IDC_COMPLEX = 23201, IDC_IMPORT = 23202, IDC_EXPORT = 23203 };
  enum {
    kProfileCol = 0, kTraceCol, kFixCol, kEastCol, kNorthCol, kDistCol, kIncCol, kAngleCol,
    kUnitsCol, kCols
  };
  CGeometryDlg(std::vector<GeometryLine> lines, std::string folder);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;

  // "Complex Line" for a line: true when the complex dialog saved it (the
  // callee then leaves the saved geometry in the line).
  std::function<bool(GeometryLine&)> editComplex;
  // OK: called for every changed straight line.
  std::function<void(const GeometryLine&)> save;
  const std::vector<GeometryLine>& lines() const { return lines_; }

 private:
  void showLine(size_t k);
  void importGeo();
  void exportGeo();
  std::vector<GeometryLine> lines_;
  std::string folder_;
};

// "Edit Complex Line Geometry": one row per node (segment values on the row
// of each segment's end node).
class CComplexGeometryDlg : public dv::Dialog {
 public:
  enum { IDC_GRID = 23210, IDC_INSERT = 23211, IDC_DELETE = 23212, IDC_IMPORT = 23213,
         IDC_EXPORT = 23214 };
  enum { kProfileCol = 0, kTraceCol, kEastCol, kNorthCol, kDistCol, kIncCol, kAngleCol, kUnitsCol,
         kCols };
  CComplexGeometryDlg(GeometryLine line, std::string folder);
  bool onInitDialog() override;
  void onCommand(int id, int notify) override;
  void onGridEdited(int gridId, int row, int col) override;
  void onOK() override;

  // OK with a valid node list: the line with its nodes (the caller writes it).
  std::function<void(const GeometryLine&)> save;
  const GeometryLine& line() const { return line_; }

 private:
  void showAll();
  void sortNodes();
  void insertNode();
  void deleteNode();
  void importCog();
  void exportCog();
  GeometryLine line_;
  std::string folder_;
};

// --- with the project (module state) -----------------------------------------

// Edit Geometry for these profiles (bad ones and ones without geometry are
// left out). OK writes GEO_ and XY_ of every changed profile and recomputes
// its versions' tables.
void editGeometryCommand(const std::vector<DvHandle>& profileItems);
// Edit Geometries of the profile folder: the batch selection check, then
// Edit Geometry for the selected profiles.
void editSelectedGeometriesCommand();

}  // namespace quv
