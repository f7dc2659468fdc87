// "Edit Elevation Values", "Elevation Math" and "Elevation Convert": the
// elevation table of a profile with its imports, interpolation and export,
// the conversion dialog over one or the selected profiles, and the
// conversion of one depth version into a new elevation version.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/elevation_convert.h"
#include "processing/positions.h"
#include "project/messages.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/tree_items.h"
#include "project/units.h"

namespace quv {

namespace {

std::string fixed2(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}


}  // namespace

// --- Edit Elevation Values -------------------------------------------------------------

CElevationDlg::CElevationDlg(ElevationTarget target)
    : Dialog(325, "Edit Elevation Values", 420, 220), target_(std::move(target)) {
  addGrid(IDC_GRID, {7, 7, 280, 213});
  add(dv::ControlKind::Group, 0, "Interpolate:", {288, 5, 413, 45});
  addRadio(IDC_LINEAR, "Linear", {294, 15, 352, 25}, true);
  addRadio(IDC_SPLINE, "Cubic Spline", {294, 28, 352, 38});
  addButton(IDC_INTERPOLATE, "Interpolate", {356, 20, 408, 34});
  add(dv::ControlKind::Group, 0, "Import:", {288, 48, 413, 128});
  addRadio(IDC_BY_TRACE, "Trace # && Elev.", {294, 58, 408, 68}, true);
  addRadio(IDC_BY_DISTANCE, "Distance && Elev.", {294, 70, 408, 80});
  addRadio(IDC_BY_COORDS, "Easting, Northing && Elev.w/", {294, 82, 408, 92});
  addStatic(0, "Max. Search Radius:", {294, 96, 360, 106});
  addEdit(IDC_RADIUS, {362, 94, 392, 106});
  addStatic(IDC_RADIUS_UNIT, target_.unit, {395, 96, 410, 106});
  addButton(IDC_IMPORT, "Import", {356, 110, 408, 124});
  addButton(IDC_EXPORT, "Export", {288, 134, 348, 148});
  addButton(IDC_CLEAR, "Clear Elevations", {288, 152, 348, 166});
  addButton(IDC_MATH, "Elevation Math", {352, 152, 413, 166});
  addButton(IDC_FROM_GPS, "Elevations from GPS", {288, 172, 348, 186});
  addStatic(0, "Smooth:", {352, 174, 380, 184});
  addEdit(IDC_SMOOTH, {382, 172, 413, 184});
  addButton(dv::IDOK, "OK", {288, 199, 348, 213}, true);
  addButton(dv::IDCANCEL, "Cancel", {352, 199, 413, 213});
  setText(IDC_SMOOTH, "1");
  checkRadio(IDC_LINEAR);
  checkRadio(IDC_BY_TRACE);
  setText(IDC_RADIUS, "10.00");
}

bool CElevationDlg::onInitDialog() {
  const int N = (int)target_.line.easting.size();
  std::string bytes;
  // A file cut short gives back the values it holds; the rest are blank.
  if (!(dv::fileSize(target_.zPath) <= 4 + 4 * int64_t(N) + 4096 &&
        dv::readWholeFile(target_.zPath, bytes) && readElevationValues(bytes, N, elevations_)))
    elevations_.assign((size_t)N, kBlankCell);
  dv::GridModel* g = grid(IDC_GRID);
  g->setSize(1 + N, kCols);
  g->setFixedRows(1);
  g->setFixedCols(0);
  const char* heads[kCols] = {"Trace #", "Distance", "Easting", "Northing", "Elevation"};
  for (int c = 0; c < kCols; ++c) {
    g->setText(0, c, heads[c]);
    g->setEditable(0, c, false);
  }
  const ElevationLine& l = target_.line;
  for (int i = 0; i < N; ++i) {
    g->setText(1 + i, kTraceCol, std::to_string(i + 1));
    g->setText(1 + i, kDistanceCol, fixed2(l.distance[(size_t)i]));
    g->setText(1 + i, kEastingCol, fixed2(l.easting[(size_t)i]));
    g->setText(1 + i, kNorthingCol, fixed2(l.northing[(size_t)i]));
    for (int c = 0; c < kElevationCol; ++c) g->setEditable(1 + i, c, false);
  }
  showElevations();
  return true;
}

void CElevationDlg::showElevations() {
  dv::GridModel* g = grid(IDC_GRID);
  for (size_t i = 0; i < elevations_.size(); ++i)
    g->setText(1 + (int)i, kElevationCol, isBlankCell(elevations_[i]) ? "" : fixed2(elevations_[i]));
}

void CElevationDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > (int)elevations_.size()) return;
  dv::GridModel* g = grid(IDC_GRID);
  if (col != kElevationCol) {
    // Only "Elevation" is edited: the other cells keep their values.
    const ElevationLine& l = target_.line;
    const size_t i = (size_t)row - 1;
    const std::string shown[] = {std::to_string(row), fixed2(l.distance[i]), fixed2(l.easting[i]),
                                 fixed2(l.northing[i])};
    if (col >= 0 && col < kElevationCol) g->setText(row, col, shown[col]);
    return;
  }
  // An emptied cell is blank again.
  const std::string text = g->text(row, col);
  elevations_[(size_t)row - 1] =
      text.find_first_not_of(" \t") == std::string::npos ? kBlankCell : float(std::atof(text.c_str()));
  showElevations();
}

void CElevationDlg::importValues() {
  // The radius is checked first, whatever the mode.
  const double radius = std::atof(text(IDC_RADIUS).c_str());
  if (!(radius > 0)) return warningBox(kMsgOnlyPositiveSearchRadiusValuesAreAllowed);
  dv::FileDialogRequest req;
  req.title = "Import Elevation Data...";
  req.filters = {{"All Files (*.*)", "*.*"}};
  req.initialDir = target_.folder;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  const std::string& path = r.paths[0];
  if (!dv::fileExists(path)) return errorBox(kMsgTheElevationDataFileDoesNotExist);
  const ElevationImport mode = check(IDC_BY_COORDS)     ? ElevationImport::Coordinates
                               : check(IDC_BY_DISTANCE) ? ElevationImport::Distance
                                                        : ElevationImport::Trace;
  auto columns = scrivel<PfnGetColOrder>(SCRIVEL_GetColOrder);
  int c[5] = {1, 2, 3, 4, 5};
  int rc = 1;
  if (columns && mode == ElevationImport::Coordinates)
    rc = columns(path.c_str(), 3, "Easting", "Northing", "Elevation", "", "", &c[0], &c[1], &c[2],
                 &c[3], &c[4]);
  else if (columns)
    rc = columns(path.c_str(), 2, mode == ElevationImport::Trace ? "Trace #" : "Distance",
                 "Elevation", "", "", "", &c[0], &c[1], &c[2], &c[3], &c[4]);
  if (rc != 0) return;
  std::string text;
  if (dv::fileSize(path) > (64 << 20) || !dv::readWholeFile(path, text))
    return errorBox(kMsgCouldNotOpenFileForReading);
  importElevations(text, mode, c, target_.line, radius, elevations_);
  showElevations();
}

void CElevationDlg::exportValues() {
  dv::FileDialogRequest req;
  req.save = true;
  req.title = "Export Elevation Data...";
  req.filters = {{"Elevation Data (.elv)", "*.elv"}};
  req.defaultExt = "elv";
  req.initialDir = target_.folder;
  req.overwritePrompt = true;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  if (!dv::writeFileAtomic(r.paths[0], formatElevationFile(elevations_, target_.line)))
    errorBox(kMsgCouldNotCreateFile);
}

void CElevationDlg::math() {
  CElevMathDlg dlg;
  if (dlg.doModal() != dv::IDOK) return;
  elevationMath(elevations_, dlg.check(CElevMathDlg::IDC_MULTIPLY) != 0,
                static_cast<float>(std::atof(dlg.text(CElevMathDlg::IDC_VALUE).c_str())));
  showElevations();
}

// The fixes' elevations, each the mean over Smooth traces around it.
void CElevationDlg::fromGps() {
  if (target_.gpsElevations.size() != elevations_.size() || elevations_.empty())
    return warningBox(kMsgNoGpsElevations);
  char* end = nullptr;
  const std::string typed = text(IDC_SMOOTH);
  const long traces = std::strtol(typed.c_str(), &end, 10);
  if (end == typed.c_str() || *end != 0 || traces < 1 || traces > (long)elevations_.size())
    return warningBox(kMsgSmoothTracesWholeNumber);
  elevations_ = smoothValues(target_.gpsElevations, int(traces));
  showElevations();
}

void CElevationDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
  switch (id) {
    case IDC_INTERPOLATE:
      if (check(IDC_SPLINE))
        interpolateSpline(elevations_);
      else
        interpolateLinear(elevations_);
      showElevations();
      break;
    case IDC_IMPORT: importValues(); break;
    case IDC_EXPORT: exportValues(); break;
    case IDC_CLEAR:
      elevations_.assign(elevations_.size(), kBlankCell);
      showElevations();
      break;
    case IDC_MATH: math(); break;
    case IDC_FROM_GPS: fromGps(); break;
    default: return Dialog::onCommand(id, notify);
  }
  changed();
}

void CElevationDlg::onOK() {
  for (float z : elevations_)
    if (isBlankCell(z)) return warningBox(kMsgBlankElevationValuesAreNotAllowed);
  if (!dv::writeFileAtomic(target_.zPath, encodeZFile(elevations_, versionStamp())))
    return errorBox(kMsgCouldNotCreateFile);
  endDialog(dv::IDOK);
}

CElevMathDlg::CElevMathDlg() : Dialog(326, "Elevation Math", 160, 72) {
  addRadio(IDC_MULTIPLY, "Multiply", {7, 7, 70, 17}, true);
  addRadio(IDC_ADD, "Add", {7, 20, 70, 30});
  addStatic(0, "Value:", {7, 36, 35, 46});
  addEdit(IDC_VALUE, {38, 34, 100, 46});
  addButton(dv::IDOK, "OK", {105, 7, 153, 21}, true);
  addButton(dv::IDCANCEL, "Cancel", {105, 26, 153, 40});
  checkRadio(IDC_MULTIPLY);
  setText(IDC_VALUE, "1.0");
}

// --- Elevation Convert ------------------------------------------------------------------

CElevConvertDlg::CElevConvertDlg(std::vector<ConvertRow> rows)
    : CConvertDlg(324, "Elevation Convert", "Values File", "Edit Values", IDC_GRID, IDC_EDIT,
                  IDC_CONVERT, std::move(rows)) {}

namespace {

ConvertOutcome convertToElevation(ProfileItem& item, ProfileVersion& v, VersionAdded added) {
  const ProfileHeader& h = *item.header;
  const std::string profile = treeName(item.tree);
  const std::string label = v.label();
  const int N = h.traceCount;
  // A values file that cannot be opened has no effect; one cut short is
  // never read past its end.
  const int64_t size = dv::fileSize(h.zPath);
  if (size < 0) return ConvertOutcome::NoEffect;
  if (size < 4 + 4 * int64_t(N)) {
    msg(0, kMsgErrorElevationConvertShortFile, profile.c_str(), N);
    return ConvertOutcome::Failed;
  }
  dv::File file;
  std::string bytes((size_t)(4 + 4 * int64_t(N)), '\0');
  if (!file.open(h.zPath, dv::File::ReadOnly) || file.read(bytes.data(), bytes.size()) != bytes.size())
    return ConvertOutcome::NoEffect;
  file.close();
  std::vector<float> feet;
  if (!decodeZFile(bytes, N, feet)) return ConvertOutcome::NoEffect;
  for (float& z : feet)
    if (!isBlankCell(z)) z /= h.unitsPerFoot;

  ElevationPlan plan;
  const int M = v.samples;
  const float dz = v.depthIncrement;
  switch (planElevation(feet, dz, M, plan)) {
    case PlanFault::None: break;
    case PlanFault::Increment:
      msg(0, kMsgErrorElevationConvertIncrement, profile.c_str(), label.c_str(), double(dz));
      return ConvertOutcome::Failed;
    case PlanFault::Blank:
      msg(0, kMsgErrorElevationConvertBlank, profile.c_str());
      return ConvertOutcome::Failed;
    case PlanFault::TooManySamples:
      msg(0, kMsgErrorElevationConvertTooManySamples, profile.c_str(),
          double(plan.emax - plan.emin), double((plan.emax - plan.emin) / dz + float(M)),
          label.c_str(), kMaxSamplesPerTrace);
      return ConvertOutcome::Failed;
  }

  VersionConversion c;
  c.command = "Elevation Convert";
  c.progressTitle = kMsgElevationConvertingProfile;
  c.kind = kElevationVersion;
  c.samples = plan.samples;
  c.trace = [&](int i, const float* in, float* out) {
    shiftTrace(in, M, plan.shifts[(size_t)i], out, plan.samples);
  };
  c.header = [&](ProfileVersion& made) {
    made.firstElevation = plan.emax - v.firstDepth;
    made.elevationIncrement = -dz;
    // The vertical axis type 2 stands for depth or elevation alike: the
    // version's kind tells the display which values to show.
  };
  ProfileVersion* made = convertVersion(item, v, c);
  if (!made) return ConvertOutcome::Failed;
  if (added) added(item, *made);
  return ConvertOutcome::Done;
}

}  // namespace

void elevationConvertCommand(ProfileItem* single, VersionAdded added) {
  const bool batch = single == nullptr;
  CElevConvertDlg dlg(convertRows(single, false));
  dlg.edit = [](const ConvertRow& row) {
    ProfileItem* item = profileOf(row.tree);
    if (!item || !item->header) return;
    const ProfileHeader& h = *item->header;
    ElevationTarget t;
    t.zPath = h.zPath;
    t.folder = projectDir();
    t.line.easting = h.easting;
    t.line.northing = h.northing;
    t.line.distance = traceDistances(h.easting, h.northing);
    t.unit = unitName(h.unitsPerFoot);
    PositionRecord placed;
    if (readPositionRecord(*item, placed))
      for (float metres : placed.elevation) t.gpsElevations.push_back(float(metres / kMetresPerFoot * h.unitsPerFoot));
    CElevationDlg values(std::move(t));
    values.doModal();
  };
  dlg.convert = [batch, added](const std::vector<ConvertRow>& rows) {
    runConversions(rows, batch, kDepthVersion, kMsgElevationConvertCompleted,
                   kMsgElevationConvertFailed, [added](ProfileItem& item, ProfileVersion& v) {
                     return convertToElevation(item, v, added);
                   });
  };
  dlg.doModal();
}

}  // namespace quv
