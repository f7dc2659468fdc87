// The dialogs of Create Profile: the name table ("Specify Name for Profiles")
// and the choice of further raw data items ("Select additional profiles to
// create").
#include <algorithm>

#include "dv/ui.h"
#include "processing/create_profile.h"
#include "project/messages.h"

namespace quv {

CAddProfilesDlg::CAddProfilesDlg(std::vector<std::string> rawNames)
    : Dialog(311, "Select additional profiles to create", 180, 160), names_(std::move(rawNames)) {
  dv::Control& list = addList(IDC_LIST, {7, 7, 173, 130});
  list.multiple = true;
  addButton(dv::IDOK, "OK", {30, 138, 85, 152}, true);
  addButton(dv::IDCANCEL, "Cancel", {95, 138, 150, 152});
}

bool CAddProfilesDlg::onInitDialog() {
  setItems(IDC_LIST, names_);
  return true;
}

void CAddProfilesDlg::onOK() {
  chosen_.clear();
  const dv::Control* list = control(IDC_LIST);
  std::vector<int> picks = list->multiSel;
  if (picks.empty() && list->sel >= 0) picks.push_back(list->sel);
  // In list order, whatever order they were picked in.
  std::sort(picks.begin(), picks.end());
  picks.erase(std::unique(picks.begin(), picks.end()), picks.end());
  for (int k : picks)
    if (k >= 0 && k < (int)list->items.size()) chosen_.push_back(list->items[(size_t)k]);
  endDialog(dv::IDOK);
}

CCreateProfileDlg::CCreateProfileDlg(std::vector<CreateRow> rows, std::vector<std::string> rawNames,
                                     std::vector<std::string> existingProfiles)
    : Dialog(310, "Specify Name for Profiles", 300, 180),
      rows_(std::move(rows)),
      rawNames_(std::move(rawNames)),
      existing_(std::move(existingProfiles)) {
  addGrid(IDC_GRID, {7, 7, 230, 173});
  addButton(IDC_ADD, "Add Profile", {238, 7, 293, 21});
  addButton(IDC_DELETE, "Delete Profile", {238, 26, 293, 40});
  addCheck(IDC_GPS, "Geometry from GPS", {238, 50, 298, 60});
  addStatic(0, "Tolerance:", {238, 64, 293, 72});
  addEdit(IDC_GPS_TOLERANCE, {238, 74, 293, 86});
  addButton(dv::IDOK, "OK", {238, 140, 293, 154}, true);
  addButton(dv::IDCANCEL, "Cancel", {238, 159, 293, 173});
}

void CCreateProfileDlg::fillGrid() {
  dv::GridModel* g = grid(IDC_GRID);
  const int current = g->currentRow();
  g->setSize((int)rows_.size() + 1, 2);
  g->setFixedRows(1);
  g->setFixedCols(0);
  g->setText(0, kRawCol, "Raw Data");
  g->setText(0, kNameCol, "Profile Name");
  g->setEditable(0, kRawCol, false);
  g->setEditable(0, kNameCol, false);
  g->setColWidth(kRawCol, 110);
  g->setColWidth(kNameCol, 110);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int r = (int)i + 1;
    g->setText(r, kRawCol, rows_[i].rawName);
    g->setEditable(r, kRawCol, false);
    g->setText(r, kNameCol, rows_[i].profileName);
    g->setEditable(r, kNameCol, true);
  }
  g->setCurrent(current >= 1 && current < g->rows() ? current : -1);
}

void CCreateProfileDlg::readGrid() {
  dv::GridModel* g = grid(IDC_GRID);
  for (size_t i = 0; i < rows_.size() && (int)i + 1 < g->rows(); ++i)
    rows_[i].profileName = g->text((int)i + 1, kNameCol);
}

bool CCreateProfileDlg::onInitDialog() {
  fillGrid();
  return true;
}

void CCreateProfileDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > (int)rows_.size()) return;
  dv::GridModel* g = grid(IDC_GRID);
  if (col == kNameCol) {
    rows_[(size_t)row - 1].profileName = g->text(row, col);
  } else {
    // The raw data column is not edited: an edit only picks the row.
    g->setText(row, col, rows_[(size_t)row - 1].rawName);
  }
}

void CCreateProfileDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED || (id != IDC_ADD && id != IDC_DELETE))
    return Dialog::onCommand(id, notify);
  readGrid();
  if (id == IDC_ADD) {
    CAddProfilesDlg add(rawNames_);
    if (add.doModal() == dv::IDOK)
      for (const std::string& name : add.chosen()) rows_.push_back({name, defaultProfileName(name)});
  } else {
    const int r = grid(IDC_GRID)->currentRow();
    if (!rows_.empty() && r >= 1 && r <= (int)rows_.size()) {
      rows_.erase(rows_.begin() + (r - 1));
      grid(IDC_GRID)->setCurrent(-1);
    }
  }
  fillGrid();
  changed();
}

void CCreateProfileDlg::onOK() {
  readGrid();
  std::vector<std::string> typed, cleaned;
  for (const CreateRow& row : rows_) typed.push_back(row.profileName);
  std::string refusal = checkProfileNames(typed, existing_, &cleaned);
  if (!refusal.empty()) {
    // The user corrects the table; nothing has been created.
    dv::messageBox(refusal, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  std::vector<CreateRow> out = rows_;
  // A blank tolerance is the default (a tenth of the trace spacing).
  double tolerance = 0;
  const std::string typedTolerance = text(IDC_GPS_TOLERANCE);
  if (check(IDC_GPS) && typedTolerance.find_first_not_of(" ") != std::string::npos &&
      (!typedNumber(typedTolerance, tolerance) || tolerance < 0)) {
    dv::messageBox(kMsgGpsToleranceNotANumber, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  for (size_t i = 0; i < out.size(); ++i) {
    out[i].profileName = cleaned[i];
    out[i].gpsGeometry = check(IDC_GPS) != 0;
    out[i].gpsTolerance = tolerance;
  }
  if (create) create(out);
  endDialog(dv::IDOK);
}

}  // namespace quv
