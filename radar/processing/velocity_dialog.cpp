// "Edit Velocities" and "Depth Convert": the velocity table of a profile
// with its import, export and the "TV_" and "VEL_" files it saves, the
// conversion dialog over one or the selected profiles, and the conversion
// of one time version into a new depth version.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dv/file.h"
#include "dv/ui.h"
#include "processing/depth_convert.h"
#include "project/fitted_velocity.h"
#include "project/messages.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/tree_items.h"
#include "project/units.h"

namespace quv {

namespace {

std::string cellText(const char* format, float v) {
  if (isBlankCell(v)) return "";
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}


}  // namespace

// --- Edit Velocities ----------------------------------------------------------------

CVelocityDlg::CVelocityDlg(VelocityTarget target)
    : Dialog(323, "Edit Velocities", 250, 200), target_(std::move(target)) {
  addGrid(IDC_GRID, {7, 7, 180, 193});
  addButton(IDC_IMPORT, "Import", {188, 7, 243, 21});
  addButton(IDC_EXPORT, "Export", {188, 26, 243, 40});
  addButton(IDC_SORT, "Sort", {188, 45, 243, 59});
  addButton(IDC_INSERT, "Insert", {188, 64, 243, 78});
  addButton(IDC_DELETE, "Delete", {188, 83, 243, 97});
  addButton(dv::IDOK, "OK", {188, 160, 243, 174}, true);
  addButton(dv::IDCANCEL, "Cancel", {188, 179, 243, 193});
}

bool CVelocityDlg::onInitDialog() {
  std::string text;
  if (dv::fileExists(target_.tvPath) && dv::fileSize(target_.tvPath) < (16 << 20) &&
      dv::readWholeFile(target_.tvPath, text))
    rows_ = parseVelocityTable(text);
  if (rows_.empty() && target_.fittedVelocity > 0) rows_.push_back({0.0f, target_.fittedVelocity});
  showAll();
  return true;
}

void CVelocityDlg::showAll() {
  dv::GridModel* g = grid(IDC_GRID);
  const int current = g->currentRow();
  g->setSize(1 + (int)rows_.size(), 2);
  g->setFixedRows(1);
  g->setFixedCols(0);
  g->setText(0, kTimeCol, "Time (ns)");
  // Profiles in feet or inches take their velocities in feet per nanosecond.
  g->setText(0, kVelocityCol, target_.metric ? "Velocity (m/ns)" : "Velocity (ft/ns)");
  g->setEditable(0, kTimeCol, false);
  g->setEditable(0, kVelocityCol, false);
  for (size_t k = 0; k < rows_.size(); ++k) {
    g->setText(1 + (int)k, kTimeCol, cellText("%.2f", rows_[k].time));
    g->setText(1 + (int)k, kVelocityCol, cellText("%.3f", rows_[k].velocity));
  }
  g->setCurrent(current >= 1 && current < g->rows() ? current : -1);
}

void CVelocityDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > (int)rows_.size()) return;
  // A typed text counts by its numeric value; an empty text is 0.
  const float value = static_cast<float>(std::atof(grid(IDC_GRID)->text(row, col).c_str()));
  VelocityRow& r = rows_[(size_t)row - 1];
  (col == kTimeCol ? r.time : r.velocity) = value;
  showAll();
}

void CVelocityDlg::importTable() {
  dv::FileDialogRequest req;
  req.title = "Import Velocities...";
  req.filters = {{"All Files (*.*)", "*.*"}};
  req.initialDir = target_.folder;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  const std::string& path = r.paths[0];
  if (!dv::fileExists(path)) return errorBox(kMsgTheVelocityFileDoesNotExist);
  auto columns = scrivel<PfnGetColOrder>(SCRIVEL_GetColOrder);
  int c[5] = {1, 2, 3, 4, 5};
  if (!columns ||
      columns(path.c_str(), 2, "Time", "Velocity", "", "", "", &c[0], &c[1], &c[2], &c[3], &c[4]) != 0)
    return;
  std::string text;
  if (dv::fileSize(path) > (64 << 20) || !dv::readWholeFile(path, text))
    return errorBox(kMsgCouldNotOpenFileForReading);
  rows_ = importVelocityTable(text, c[0], c[1]);
  sortVelocityRows(rows_);
  grid(IDC_GRID)->setCurrent(-1);
  showAll();
}

void CVelocityDlg::exportTable() {
  dv::FileDialogRequest req;
  req.save = true;
  req.title = "Export Velocities...";
  req.filters = {{"Velocity (.vel)", "*.vel"}};
  req.defaultExt = "vel";
  req.initialDir = target_.folder;
  req.overwritePrompt = true;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  if (!dv::writeFileAtomic(r.paths[0], formatVelocityTable(rows_))) errorBox(kMsgCouldNotCreateFile);
}

void CVelocityDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
  dv::GridModel* g = grid(IDC_GRID);
  switch (id) {
    case IDC_IMPORT: importTable(); break;
    case IDC_EXPORT: exportTable(); break;
    case IDC_SORT:
      sortVelocityRows(rows_);
      showAll();
      break;
    case IDC_INSERT:
      rows_.push_back(VelocityRow{});
      showAll();
      g->setCurrent((int)rows_.size());
      break;
    case IDC_DELETE: {
      const int row = g->currentRow();
      if (row < 1 || row > (int)rows_.size()) return;
      rows_.erase(rows_.begin() + (row - 1));
      g->setCurrent(-1);
      showAll();
      break;
    }
    default: return Dialog::onCommand(id, notify);
  }
  changed();
}

void CVelocityDlg::onOK() {
  if (rows_.empty()) return;
  sortVelocityRows(rows_);
  showAll();
  if (const char* fault = velocityRowsFault(rows_)) return warningBox(fault);
  if (!dv::writeFileAtomic(target_.tvPath, formatVelocityTable(rows_)))
    return errorBox(kMsgCouldNotCreateFile);
  std::vector<float> rms(target_.times.size());
  rmsVelocities(rows_, target_.times.data(), (int)rms.size(), rms.data());
  if (!dv::writeFileAtomic(target_.velPath, encodeVelFile(rms, target_.traces, versionStamp())))
    return errorBox(kMsgCouldNotCreateFile);
  endDialog(dv::IDOK);
}

// --- Depth Convert ------------------------------------------------------------------

CDepthConvertDlg::CDepthConvertDlg(std::vector<ConvertRow> rows)
    : CConvertDlg(322, "Depth Convert", "Velocity Profile", "Edit Velocities", IDC_GRID, IDC_EDIT,
                  IDC_CONVERT, std::move(rows)) {}

namespace {

ConvertOutcome convertToDepth(ProfileItem& item, ProfileVersion& v, VersionAdded added) {
  const ProfileHeader& h = *item.header;
  const std::string profile = treeName(item.tree);
  const std::string label = v.label();
  const int N = h.traceCount, M = v.samples;
  // A velocity file that cannot be opened has no effect.
  const int64_t size = dv::fileSize(h.velPath);
  if (size < 0) return ConvertOutcome::NoEffect;
  // One saved for another sample count would be read in rows of the wrong
  // length, one cut short past its end: either is refused.
  std::string bytes;
  std::vector<float> velocities;
  if (size != 4 + int64_t(N) * M * 4) {
    msg(0, kMsgErrorDepthConvertVelocitiesDoNotFit, profile.c_str(), M, label.c_str());
    return ConvertOutcome::Failed;
  }
  if (!dv::readWholeFile(h.velPath, bytes)) return ConvertOutcome::NoEffect;
  if (!decodeVelFile(bytes, N, M, velocities)) {
    msg(0, kMsgErrorDepthConvertVelocitiesDoNotFit, profile.c_str(), M, label.c_str());
    return ConvertOutcome::Failed;
  }
  if (M < 2 || (int)v.time.size() < M) {
    msg(0, kMsgErrorDepthConvertOneSample, profile.c_str(), label.c_str());
    return ConvertOutcome::Failed;
  }
  velocitiesInFeet(velocities, h.unitsPerFoot);
  const DepthAxis axis = depthAxis(velocities.data(), N, M, v.time[0], v.time[(size_t)M - 1]);
  if (!(axis.dz > 0) || !std::isfinite(axis.dz) || !std::isfinite(axis.z0)) {
    msg(0, kMsgErrorDepthConvertNoDepthAxis, profile.c_str(), label.c_str());
    return ConvertOutcome::Failed;
  }

  std::vector<float> depths((size_t)M);
  VersionConversion c;
  c.command = "Depth Convert";
  c.progressTitle = kMsgDepthConvertingProfile;
  c.kind = kDepthVersion;
  c.samples = M;
  const float* times = v.time.data();
  c.trace = [&](int i, const float* in, float* out) {
    depthConvertTrace(in, velocities.data() + size_t(i) * M, times, M, axis, depths.data(), out);
  };
  c.header = [&](ProfileVersion& made) {
    made.firstDepth = axis.z0;
    made.depthIncrement = axis.dz;
    for (DisplaySettings* s : {&made.normal, &made.presentation})
      if (s->vAxisType == 1) s->vAxisType = 2;  // time becomes depth
  };
  ProfileVersion* made = convertVersion(item, v, c);
  if (!made) return ConvertOutcome::Failed;
  if (added) added(item, *made);
  return ConvertOutcome::Done;
}

}  // namespace

void depthConvertCommand(ProfileItem* single, VersionAdded added) {
  const bool batch = single == nullptr;
  CDepthConvertDlg dlg(convertRows(single, true));
  dlg.edit = [batch](const ConvertRow& row) {
    ProfileItem* item = profileOf(row.tree);
    if (!item || !item->header) return;
    ProfileVersion* v = rowVersion(*item, batch, kTimeVersion);
    VelocityTarget t;
    t.tvPath = item->header->tvPath;
    t.velPath = item->header->velPath;
    t.folder = projectDir();
    t.traces = item->header->traceCount;
    if (v) t.times.assign(v->time.begin(), v->time.end());
    t.metric = isMetric(item->header->unitsPerFoot);
    t.fittedVelocity = fittedVelocity(*item);
    CVelocityDlg velocities(std::move(t));
    velocities.doModal();
  };
  dlg.convert = [batch, added](const std::vector<ConvertRow>& rows) {
    runConversions(rows, batch, kTimeVersion, kMsgDepthConvertCompleted, kMsgDepthConvertFailed,
                   [added](ProfileItem& item, ProfileVersion& v) { return convertToDepth(item, v, added); });
  };
  dlg.doModal();
}

}  // namespace quv
