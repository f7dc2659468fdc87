// The "Markers" dialog of a raw item (its marker table with the trace
// limits, insertion and deletion, interpolation, Scan Data from the
// recording's marker flags, Populate along a straight line, the imports
// through the column-order dialog and the ".mrk" export) and "Populate".
#include <cstdio>
#include <cstdlib>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/convert_version.h"  // warningBox, errorBox
#include "processing/markers.h"
#include "processing/positions.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/raw_traces.h"
#include "scrivel/scrivel.h"

namespace quv {

namespace {

std::string fixed2(double v) { return numberText("%.2f", v); }
void warn(const std::string& text) { warningBox(text.c_str()); }

}  // namespace

// --- Populate ------------------------------------------------------------------------

CPopulateDlg::CPopulateDlg(double e, double n)
    : Dialog(361, "Populate", 160, 100), easting(e), northing(n) {
  const char* labels[] = {"Easting:", "Northing:", "Increment:", "Angle:"};
  for (int k = 0; k < 4; ++k) {
    addStatic(0, labels[k], {7, 9 + 16 * k, 50, 19 + 16 * k});
    addEdit(IDC_EASTING + k, {55, 7 + 16 * k, 110, 19 + 16 * k});
  }
  addButton(dv::IDOK, "OK", {116, 7, 153, 21}, true);
  addButton(dv::IDCANCEL, "Cancel", {116, 26, 153, 40});
  setText(IDC_EASTING, fixed2(easting));
  setText(IDC_NORTHING, fixed2(northing));
  setText(IDC_INCREMENT, "1.000");
  setText(IDC_ANGLE, "90.00");
}

void CPopulateDlg::onOK() {
  double v[4];
  for (int k = 0; k < 4; ++k)
    if (!typedNumber(text(IDC_EASTING + k), v[k])) return warn(kMsgPopulateNeedsNumbers);
  easting = v[0], northing = v[1], increment = v[2], angle = v[3];
  endDialog(dv::IDOK);
}

// --- Markers from GPS ------------------------------------------------------------------

CGpsMarkersDlg::CGpsMarkersDlg() : Dialog(365, "Markers from GPS", 200, 78) {
  addRadio(IDC_AT_FIXES, "At the fixes", {7, 7, 140, 17}, true);
  addRadio(IDC_AT_TABLE, "At the table's traces", {7, 20, 140, 30});
  addStatic(0, "Tolerance:", {7, 38, 50, 48});
  addEdit(IDC_TOLERANCE, {55, 36, 110, 48});
  addStatic(0, "Empty: a tenth of the trace spacing", {7, 54, 150, 64});
  addButton(dv::IDOK, "OK", {150, 7, 193, 21}, true);
  addButton(dv::IDCANCEL, "Cancel", {150, 26, 193, 40});
  checkRadio(IDC_AT_FIXES);
}

void CGpsMarkersDlg::onOK() {
  atFixes = check(IDC_AT_FIXES) != 0;
  const std::string typed = text(IDC_TOLERANCE);
  tolerance = 0;
  if (typed.find_first_not_of(" \t") != std::string::npos && (!typedNumber(typed, tolerance) || tolerance < 0))
    return warn(kMsgGpsToleranceNotANumber);
  endDialog(dv::IDOK);
}

// --- Markers -------------------------------------------------------------------------

CMarkersDlg::CMarkersDlg(const RawData& raw, std::string folder)
    : Dialog(360, "Markers", 330, 200), raw_(raw), folder_(std::move(folder)) {
  addGrid(IDC_GRID, {7, 7, 200, 193});
  addButton(IDC_INTERPOLATE, "Interpolate", {208, 7, 263, 21});
  addButton(IDC_POPULATE, "Populate", {268, 7, 323, 21});
  addButton(IDC_CLEAR, "Clear All", {208, 26, 263, 40});
  addButton(IDC_SCAN, "Scan Data", {268, 26, 323, 40});
  add(dv::ControlKind::Group, 0, "Import:", {208, 45, 323, 100});
  addRadio(IDC_BY_TRACE, "Trace #", {214, 55, 318, 65}, true);
  addRadio(IDC_BY_COORDS, "Trace #, Easting && Northing", {214, 67, 318, 77});
  addButton(IDC_IMPORT, "Import", {268, 82, 318, 96});
  addButton(IDC_EXPORT, "Export", {208, 105, 263, 119});
  addButton(IDC_FROM_GPS, "From GPS", {268, 105, 323, 119});
  addButton(IDC_INSERT, "Insert", {208, 124, 263, 138});
  addButton(IDC_DELETE, "Delete", {268, 124, 323, 138});
  addButton(dv::IDOK, "OK", {208, 179, 263, 193}, true);
  addButton(dv::IDCANCEL, "Cancel", {268, 179, 323, 193});
  checkRadio(IDC_BY_COORDS);
}

bool CMarkersDlg::onInitDialog() {
  markers_ = readMarkers(raw_, &ref_);
  showAll();
  return true;
}

void CMarkersDlg::showAll() {
  dv::GridModel* g = grid(IDC_GRID);
  const int current = g->currentRow();
  g->setSize(1 + (int)markers_.size(), kCols);
  g->setFixedRows(1);
  g->setFixedCols(0);
  const char* heads[kCols] = {"Trace #", "Easting", "Northing"};
  for (int c = 0; c < kCols; ++c) {
    g->setText(0, c, heads[c]);
    g->setEditable(0, c, false);
  }
  for (size_t k = 0; k < markers_.size(); ++k) {
    const int r = 1 + (int)k;
    const Marker& m = markers_[k];
    const bool blank = isBlankMarker(m);
    g->setText(r, kTraceCol, std::to_string(m.trace + 1));
    g->setText(r, kEastCol, blank ? "" : fixed2(m.easting));
    g->setText(r, kNorthCol, blank ? "" : fixed2(m.northing));
  }
  g->setCurrent(current >= 1 && current < g->rows() ? current : -1);
}

void CMarkersDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > (int)markers_.size()) return;
  Marker& m = markers_[(size_t)row - 1];
  const std::string text = grid(IDC_GRID)->text(row, col);
  if (col == kTraceCol) {
    bool limited = false;
    m.trace = limitMarkerTrace(std::atoll(text.c_str()) - 1, raw_.traces, limited);
    if (limited) msg(0, kMsgWarningMarkersTraceNumberSetToLimit);
    sortMarkers(markers_);
  } else if (text.find_first_not_of(" \t") == std::string::npos) {
    // An emptied coordinate makes the marker blank again.
    m.easting = kBlankMarker;
  } else {
    double value = 0;
    if (!typedNumber(text, value)) {
      msg(0, kMsgWarningMarkersIsNotANumber, text.c_str());
    } else if (col == kEastCol) {
      // A blank marker's northing was never looked at: it starts at 0.
      if (isBlankMarker(m)) m.northing = 0;
      m.easting = value;
    } else if (col == kNorthCol) {
      if (isBlankMarker(m)) m.easting = 0;
      m.northing = value;
    }
  }
  showAll();
}

void CMarkersDlg::scanData() {
  std::vector<Marker> found;
  dv::File file;
  auto open = scrivel<PfnOpenFile>(SCRIVEL_OpenFileForRead);
  if (!open || !raw_.header || open(rawSamplesPath(raw_).c_str(), &file) != SCRIVEL_OK) {
    msg(0, kMsgErrorCouldNotOpenForReading, rawSamplesPath(raw_).c_str());
    return;
  }
  dv::WaitCursor wait;
  std::vector<float> samples((size_t)std::max(raw_.samples, 1));
  for (int i = 0; i < raw_.traces; ++i) {
    bool marked = false;
    readRawTrace(raw_, file, i, 1, samples.data(), marked);
    if (marked) found.push_back({i, kBlankMarker, 0});
  }
  markers_ = std::move(found);
  grid(IDC_GRID)->setCurrent(-1);
}

void CMarkersDlg::fromGps() {
  CGpsMarkersDlg dlg;
  if (dlg.doModal() != dv::IDOK) return;
  std::string why;
  if (!markersFromGps(raw_, dlg.atFixes, dlg.tolerance, markers_, ref_, why)) {
    char text[512];
    std::snprintf(text, sizeof text, kMsgNoMarkersFromGps, why.c_str());
    return warn(text);
  }
  grid(IDC_GRID)->setCurrent(-1);
  msg(0, kMsgMarkersFromGps, int(markers_.size()), ref_.epsg);
}

void CMarkersDlg::importMarkers() {
  const bool coords = check(IDC_BY_COORDS) != 0;
  int c[5];
  std::string text;
  const std::vector<const char*> names =
      coords ? std::vector<const char*>{"Trace #", "Easting", "Northing"}
             : std::vector<const char*>{"Trace #"};
  if (!importTableText(folder_, "Import Markers...", kMsgTheMarkerFileDoesNotExist, names, c, text))
    return;
  std::vector<Marker> read = parseCogText(text, c[0], coords ? c[1] : c[0], coords ? c[2] : c[0]);
  bool anyLimited = false;
  for (Marker& m : read) {
    bool limited = false;
    m.trace = limitMarkerTrace(m.trace, raw_.traces, limited);
    anyLimited = anyLimited || limited;
    if (!coords) m.easting = kBlankMarker, m.northing = 0;
  }
  if (anyLimited) msg(0, kMsgWarningMarkersTraceNumberSetToLimit);
  markers_ = std::move(read);
  ref_ = MarkerReference();
  sortMarkers(markers_);
  grid(IDC_GRID)->setCurrent(-1);
}

void CMarkersDlg::exportMarkers() {
  const std::string refusal = markerExportRefusal(markers_);
  if (!refusal.empty()) return warn(refusal);
  exportTableText(folder_, "Export Markers...", "Mark (.mrk)", "mrk", formatMarkerFile(markers_),
                  kMsgCouldNotCreateaFile);
}

void CMarkersDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
  dv::GridModel* g = grid(IDC_GRID);
  switch (id) {
    case IDC_INSERT: {
      // The new row follows the last marker by one trace, without coordinates.
      const int last = markers_.empty() ? -1 : markers_.back().trace;
      bool limited = false;
      markers_.push_back({limitMarkerTrace(last + 1, raw_.traces, limited), kBlankMarker, 0});
      break;
    }
    case IDC_DELETE: {
      const int r = g->currentRow();
      if (r < 1 || r > (int)markers_.size()) return;
      markers_.erase(markers_.begin() + (r - 1));
      g->setCurrent(-1);
      break;
    }
    case IDC_CLEAR:
      for (Marker& m : markers_) m.easting = kBlankMarker;
      ref_ = MarkerReference();
      break;
    case IDC_INTERPOLATE: interpolateMarkers(markers_); break;
    case IDC_SCAN:
      scanData();
      ref_ = MarkerReference();
      break;
    case IDC_FROM_GPS: fromGps(); break;
    case IDC_POPULATE: {
      if (markers_.size() < 2) return;
      const Marker& first = markers_.front();
      CPopulateDlg dlg(isBlankMarker(first) ? 0 : first.easting,
                       isBlankMarker(first) ? 0 : first.northing);
      if (dlg.doModal() != dv::IDOK) return;
      populateMarkers(markers_, dlg.easting, dlg.northing, dlg.increment, dlg.angle);
      ref_ = MarkerReference();
      break;
    }
    case IDC_IMPORT: importMarkers(); break;
    case IDC_EXPORT: exportMarkers(); return;
    default: return Dialog::onCommand(id, notify);
  }
  showAll();
  changed();
}

void CMarkersDlg::onOK() {
  const std::string refusal = markerTableRefusal(markers_);
  if (!refusal.empty()) return warn(refusal);
  if (!dv::writeFileAtomic(raw_.markersPath, formatMarkerFile(markers_, ref_)))
    return errorBox(kMsgCouldNotCreateFile);
  endDialog(dv::IDOK);
}

// --- with the project ------------------------------------------------------------------

std::vector<Marker> readMarkers(const RawData& raw, MarkerReference* ref) {
  std::string text;
  // A marker file is a few lines per marker; anything far larger is not one.
  if (dv::fileSize(raw.markersPath) > (int64_t(raw.traces) + 16) * 256 ||
      !dv::readWholeFile(raw.markersPath, text))
    return {};
  if (ref) parseMarkerReference(text, *ref);
  return parseMarkerFile(text);
}

bool editMarkers(const RawData& raw) {
  CMarkersDlg dlg(raw, projectDir());
  return dlg.doModal() == dv::IDOK;
}

}  // namespace quv
