// "Rubber Sheet": the rows of raw items with their new profile names and
// marker files, Edit Markers, the New Traces choice and Convert with its
// batch lines; the commands on one raw item and on the selected ones.
#include "dv/file.h"
#include "dv/ui.h"
#include "processing/create_profile.h"
#include "processing/positions.h"
#include "processing/rubber_sheet.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/selection.h"
#include "project/tree_items.h"

namespace quv {

CRubberSheetDlg::CRubberSheetDlg(std::vector<RubberSheetRow> rows,
                                 std::vector<std::string> existingProfiles)
    : Dialog(362, "Rubber Sheet", 380, 180), rows_(std::move(rows)),
      existing_(std::move(existingProfiles)) {
  addGrid(IDC_GRID, {7, 7, 300, 173});
  addButton(IDC_EDIT_MARKERS, "Edit Markers", {308, 7, 373, 21});
  add(dv::ControlKind::Group, 0, "New Traces", {308, 28, 373, 70});
  addButton(IDC_FROM_GPS, "Markers from GPS", {308, 76, 373, 90});
  addRadio(IDC_INTERPOLATE, "Interpolate", {313, 38, 370, 48}, true);
  addRadio(IDC_MOVE_CLOSEST, "Move closest", {313, 52, 370, 62});
  addButton(IDC_CONVERT, "Convert", {308, 140, 373, 154}, true);
  addButton(dv::IDCANCEL, "Cancel", {308, 159, 373, 173});
  checkRadio(IDC_INTERPOLATE);
}

bool CRubberSheetDlg::onInitDialog() {
  fillGrid();
  return true;
}

void CRubberSheetDlg::fillGrid() {
  dv::GridModel* g = grid(IDC_GRID);
  const int current = g->currentRow();
  g->setSize((int)rows_.size() + 1, kCols);
  g->setFixedRows(1);
  g->setFixedCols(0);
  const char* heads[kCols] = {"Raw Data", "Profile Name", "Marker File"};
  for (int c = 0; c < kCols; ++c) {
    g->setText(0, c, heads[c]);
    g->setEditable(0, c, false);
    g->setColWidth(c, 95);
  }
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int r = (int)i + 1;
    g->setText(r, kRawCol, rows_[i].rawName);
    g->setText(r, kNameCol, rows_[i].profileName);
    g->setText(r, kMarkerCol, markerFile ? markerFile(rows_[i].rawName) : "");
    g->setEditable(r, kRawCol, false);
    g->setEditable(r, kMarkerCol, false);
  }
  g->setCurrent(current >= 1 && current < g->rows() ? current : -1);
}

void CRubberSheetDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > (int)rows_.size()) return;
  if (col == kNameCol) rows_[(size_t)row - 1].profileName = grid(IDC_GRID)->text(row, col);
  else fillGrid();  // the other columns are not edited
}

void CRubberSheetDlg::convertRows() {
  std::vector<std::string> typed, cleaned;
  for (const RubberSheetRow& r : rows_) typed.push_back(r.profileName);
  ProfileNameTexts texts;
  texts.blank = kMsgNameCanNotBeBlank;
  bool blank = false;
  const std::string refusal = checkProfileNames(typed, existing_, &cleaned, texts, &blank);
  if (!refusal.empty()) {
    dv::messageBox(refusal, blank ? "Warning" : "Error",
                   dv::MB_OK | (blank ? dv::MB_ICONWARNING : dv::MB_ICONERROR));
    return;
  }
  std::vector<RubberSheetRow> out = rows_;
  for (size_t i = 0; i < out.size(); ++i) out[i].profileName = cleaned[i];
  const NewTraces mode = check(IDC_MOVE_CLOSEST) ? NewTraces::MoveClosest : NewTraces::Interpolate;
  if (convert) convert(out, mode);
  endDialog(dv::IDOK);
}

void CRubberSheetDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
  if (id == IDC_CONVERT) return convertRows();
  if (id == IDC_FROM_GPS) {
    if (!markersFromGps || dv::messageBox(kMsgReplaceMarkersFromGps, "Markers from GPS",
                                          dv::MB_YESNO | dv::MB_ICONQUESTION) != dv::IDYES)
      return;
    for (const RubberSheetRow& r : rows_) markersFromGps(r.rawName);
    fillGrid();
    return changed();
  }
  if (id != IDC_EDIT_MARKERS) return Dialog::onCommand(id, notify);
  const int r = grid(IDC_GRID)->currentRow();
  // With one row there is only one to edit.
  const int row = r >= 1 && r <= (int)rows_.size() ? r : rows_.size() == 1 ? 1 : 0;
  if (row == 0 || !editMarkers) return;
  editMarkers(rows_[(size_t)row - 1].rawName);
  fillGrid();
  changed();
}

// --- with the project ------------------------------------------------------------------

namespace {

DvHandle rawItemNamed(const std::string& name) {
  for (DvHandle it : childItems(rawFolder()))
    if (treeName(it) == name) return it;
  return nullptr;
}

const RawData* rawDataNamed(const std::string& name) {
  DvHandle it = rawItemNamed(name);
  const RawObject* obj = it ? rawObjectOf(it) : nullptr;
  return obj && obj->data && obj->data->format != kRawUnreadable ? obj->data.get() : nullptr;
}

void convertRubberRows(const std::vector<RubberSheetRow>& rows, NewTraces mode) {
  const bool batch = rows.size() > 1;
  if (batch) {
    msgBare(0, "");
    msg(DV_MSG_TIMESTAMP, kMsgBatchStart);
  }
  for (const RubberSheetRow& row : rows)
    if (DvHandle it = rawItemNamed(row.rawName)) rubberSheet(it, row.profileName, mode);
  if (batch) {
    msg(DV_MSG_TIMESTAMP, kMsgBatchEnd);
    msgBare(0, "");
  }
}

}  // namespace

void rubberSheetCommand(DvHandle singleRawItemOrNull) {
  std::vector<RubberSheetRow> rows;
  auto add = [&](DvHandle it) {
    const std::string name = treeName(it);
    rows.push_back({name, defaultProfileName(name)});
  };
  if (singleRawItemOrNull) {
    if (treeBad(singleRawItemOrNull)) return;
    add(singleRawItemOrNull);
  } else {
    if (batchSelectionCheck(SelectionMode::Raw, false, false) != 0) return;
    for (DvHandle it : childItems(rawFolder()))
      if (!treeBad(it) && treeSelected(it)) add(it);
  }
  std::vector<std::string> existing;
  for (DvHandle it : childItems(profileFolder())) existing.push_back(treeName(it));
  CRubberSheetDlg dlg(std::move(rows), std::move(existing));
  dlg.markerFile = [](const std::string& rawName) -> std::string {
    const RawData* d = rawDataNamed(rawName);
    return d && dv::fileExists(d->markersPath) ? fileNameOf(d->markersPath) : "none";
  };
  dlg.editMarkers = [](const std::string& rawName) {
    if (const RawData* d = rawDataNamed(rawName)) editMarkers(*d);
  };
  dlg.markersFromGps = [](const std::string& rawName) {
    if (const RawData* d = rawDataNamed(rawName)) keepMarkersFromGps(*d, rawName);
  };
  dlg.convert = convertRubberRows;
  dlg.doModal();
}

}  // namespace quv
