// "Edit Geometry": the straight lines of one or more profiles, two grid rows
// each, with the linked Distance, Increment and Angle of the end row, the
// fixed and free rows, the units, and the ".geo" import and export.
#include <strings.h>

#include <cmath>
#include <cstdio>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/geometry.h"
#include "project/quv.h"
#include "project/messages.h"

namespace quv {

namespace {

// The fixed row's coordinates are shaded; the free row's are left plain.
constexpr dv::ColorRef kFixedBack = dv::rgb(192, 192, 192);
const std::vector<std::string> kUnitChoices = {"cm", "ft", "in", "m"};

std::string fixed2(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

std::string fixed3(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

dv::FileDialogRequest geoRequest(bool save, const std::string& folder) {
  dv::FileDialogRequest req;
  req.save = save;
  req.title = save ? "Export Geometry..." : "Import Geometry...";
  req.filters = {{"Geometry (.geo)", "*.geo"}};
  req.defaultExt = "geo";
  req.initialDir = folder;
  req.overwritePrompt = save;
  return req;
}

// Moves the free node so that it lies `distance` from the fixed node along
// the azimuth `angle` (degrees).
void placeFree(GeometryLine& l, double distance, double angle) {
  const double a = angle * 3.14159265358979323846 / 180.0;
  GeoNode& s = l.nodes.front();
  GeoNode& e = l.nodes.back();
  if (l.startFixed) {
    e.easting = s.easting + distance * std::sin(a);
    e.northing = s.northing + distance * std::cos(a);
  } else {
    s.easting = e.easting - distance * std::sin(a);
    s.northing = e.northing - distance * std::cos(a);
  }
}

}  // namespace

CGeometryDlg::CGeometryDlg(std::vector<GeometryLine> lines, std::string folder)
    : Dialog(320, "Edit Geometry", 440, 200), lines_(std::move(lines)), folder_(std::move(folder)) {
  addGrid(IDC_GRID, {7, 7, 370, 193});
  addButton(IDC_COMPLEX, "Complex Line", {378, 7, 433, 21});
  addButton(IDC_IMPORT, "Import", {378, 26, 433, 40});
  addButton(IDC_EXPORT, "Export", {378, 45, 433, 59});
  addButton(dv::IDOK, "OK", {378, 160, 433, 174}, true);
  addButton(dv::IDCANCEL, "Cancel", {378, 179, 433, 193});
}

bool CGeometryDlg::onInitDialog() {
  dv::GridModel* g = grid(IDC_GRID);
  g->setSize(1 + 2 * (int)lines_.size(), kCols);
  g->setFixedRows(1);
  g->setFixedCols(0);
  const char* heads[kCols] = {"Profile",  "Trace #",   "Fix Coord.", "Easting", "Northing",
                              "Distance", "Increment", "Angle",      "Units"};
  for (int c = 0; c < kCols; ++c) {
    g->setText(0, c, heads[c]);
    g->setEditable(0, c, false);
  }
  for (size_t k = 0; k < lines_.size(); ++k) showLine(k);
  return true;
}

void CGeometryDlg::showLine(size_t k) {
  dv::GridModel* g = grid(IDC_GRID);
  const GeometryLine& l = lines_[k];
  const int r0 = 1 + 2 * (int)k, r1 = r0 + 1;
  const GeoNode& s = l.nodes.front();
  const GeoNode& e = l.nodes.back();
  const bool complex = l.complex();
  for (int r : {r0, r1})
    for (int c = 0; c < kCols; ++c) {
      g->setKind(r, c, dv::GridModel::Text);
      g->setText(r, c, "");
      g->setEditable(r, c, false);
      g->setCellColors(r, c, dv::kDefaultColor);
    }
  g->setText(r0, kProfileCol, l.name);
  for (int r : {r0, r1}) {
    const GeoNode& n = r == r0 ? s : e;
    g->setText(r, kTraceCol, std::to_string(n.trace + 1));
    g->setText(r, kEastCol, fixed2(n.easting));
    g->setText(r, kNorthCol, fixed2(n.northing));
    if (complex) {
      g->setText(r, kFixCol, "COMPLEX");
      continue;
    }
    const bool fixedRow = (r == r0) == l.startFixed;
    g->setKind(r, kFixCol, dv::GridModel::Check);
    g->setChecked(r, kFixCol, fixedRow);
    g->setEditable(r, kFixCol, true);
    for (int c : {kEastCol, kNorthCol}) {
      g->setEditable(r, c, true);
      if (fixedRow) g->setCellColors(r, c, kFixedBack);
    }
  }
  const SegmentValues v = segmentValues(s, e);
  g->setText(r1, kDistCol, fixed2(v.distance));
  g->setText(r1, kIncCol, fixed3(v.increment));
  g->setText(r1, kAngleCol, fixed2(v.angle));
  g->setText(r0, kUnitsCol, unitsName(l.unitsPerFoot));
  if (!complex) {
    for (int c : {kDistCol, kIncCol, kAngleCol}) g->setEditable(r1, c, true);
    g->setKind(r0, kUnitsCol, dv::GridModel::DropDown);
    g->setChoices(r0, kUnitsCol, kUnitChoices);
    g->setEditable(r0, kUnitsCol, true);
  }
}

void CGeometryDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > 2 * (int)lines_.size()) return;
  const size_t k = (size_t)(row - 1) / 2;
  const bool endRow = (row - 1) % 2 == 1;
  GeometryLine& l = lines_[k];
  const std::string text = grid(IDC_GRID)->text(row, col);
  // Complex lines are edited with "Complex Line" only; "Profile" and
  // "Trace #" are never edited: such an edit only picks the row.
  const bool editable = !l.complex() &&
                        (col == kFixCol || col == kEastCol || col == kNorthCol ||
                         (endRow && (col == kDistCol || col == kIncCol || col == kAngleCol)) ||
                         (!endRow && col == kUnitsCol));
  if (!editable) return showLine(k);
  GeoNode& s = l.nodes.front();
  GeoNode& e = l.nodes.back();
  if (col == kFixCol) {
    l.startFixed = !endRow;
    l.changed = true;
    return showLine(k);
  }
  if (col == kUnitsCol) {
    if (unitsFactor(text, l.unitsPerFoot)) l.changed = true;
    return showLine(k);
  }
  double value = 0;
  if (!typedNumber(text, value)) {
    msg(0, kMsgWarningEditGeometryIsNotANumber, text.c_str());
    return showLine(k);
  }
  const SegmentValues now = segmentValues(s, e);
  switch (col) {
    case kEastCol: (endRow ? e : s).easting = value; break;
    case kNorthCol: (endRow ? e : s).northing = value; break;
    case kDistCol: placeFree(l, value, now.angle); break;
    case kIncCol: placeFree(l, double(e.trace - s.trace) * value, now.angle); break;
    case kAngleCol: placeFree(l, now.distance, normalizeAngle(value)); break;
  }
  l.changed = true;
  showLine(k);
}

void CGeometryDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
  switch (id) {
    case IDC_COMPLEX: {
      if (lines_.empty()) return;
      int row = grid(IDC_GRID)->currentRow();
      if (row < 1 || row > 2 * (int)lines_.size()) row = 1;
      const size_t k = (size_t)(row - 1) / 2;
      if (editComplex && editComplex(lines_[k])) {
        lines_[k].changed = false;  // saved by the complex dialog
        lines_[k].startFixed = true;
      }
      showLine(k);
      break;
    }
    case IDC_IMPORT: importGeo(); break;
    case IDC_EXPORT: exportGeo(); break;
    default: return Dialog::onCommand(id, notify);
  }
  changed();
}

void CGeometryDlg::importGeo() {
  dv::FileDialogResult r = dv::ui().fileDialog(geoRequest(false, folder_));
  if (!r.ok || r.paths.empty()) return;
  std::string text;
  if (!dv::readWholeFile(r.paths[0], text)) {
    dv::messageBox(kMsgCouldNotOpenFileForReading, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    GeoFileLine g;
    if (parseGeoLine(text.substr(at, end - at), g)) {
      for (size_t k = 0; k < lines_.size(); ++k) {
        GeometryLine& l = lines_[k];
        // Complex lines keep their nodes: they are not in an export either.
        if (l.complex() || strcasecmp(l.name.c_str(), g.name.c_str()) != 0) continue;
        l.nodes.front().easting = g.startEasting, l.nodes.front().northing = g.startNorthing;
        l.nodes.back().easting = g.endEasting, l.nodes.back().northing = g.endNorthing;
        l.changed = true;
        showLine(k);
      }
    }
    at = end + 1;
  }
}

void CGeometryDlg::exportGeo() {
  dv::FileDialogResult r = dv::ui().fileDialog(geoRequest(true, folder_));
  if (!r.ok || r.paths.empty()) return;
  std::vector<GeoFileLine> out;
  for (const GeometryLine& l : lines_) {
    if (l.complex()) continue;
    out.push_back({l.name, l.nodes.front().easting, l.nodes.front().northing, l.nodes.back().easting,
                   l.nodes.back().northing});
  }
  if (!dv::writeFileAtomic(r.paths[0], formatGeoFile(out)))
    dv::messageBox(kMsgCouldNotCreateFile, "Error", dv::MB_OK | dv::MB_ICONERROR);
}

void CGeometryDlg::onOK() {
  if (grid(IDC_GRID)->rows() >= 2 && save)
    for (const GeometryLine& l : lines_)
      if (l.changed && !l.complex()) save(l);
  endDialog(dv::IDOK);
}

}  // namespace quv
