// The selection dialog (304) and the Choose Version dialog (335).
#include "dv/file.h"
#include "dv/ui.h"
#include "project/raw.h"
#include "project/selection.h"
#include "project/messages.h"

namespace quv {

namespace {
enum { kNameCol = 0, kTickCol = 1, kVersionCol = 2 };

dv::FileDialogRequest selectionSetRequest(bool save, const std::string& folder) {
  dv::FileDialogRequest req;
  req.save = save;
  req.title = save ? "Save Selection Set..." : "Load Selection Set...";
  req.filters = {{"Selection Set (.sel)", "*.sel"}};
  req.defaultExt = "SEL";
  req.initialDir = folder;
  req.overwritePrompt = save;
  req.fileMustExist = false;
  return req;
}
}  // namespace

CSelectDlg::CSelectDlg(SelectionMode mode, std::vector<SelectionRow> rows, std::string startFolder)
    : Dialog(304, mode == SelectionMode::Profiles ? "Select Profile Data Sets" : "Select Raw Data Sets",
             300, 200),
      mode_(mode),
      rows_(std::move(rows)),
      startFolder_(std::move(startFolder)) {
  addGrid(IDC_GRID, {7, 7, 230, 193});
  addButton(IDC_SELECT_ALL, "Select All", {238, 7, 293, 21});
  addButton(IDC_DESELECT_ALL, "Deselect All", {238, 26, 293, 40});
  addButton(IDC_INVERT, "Invert Set", {238, 45, 293, 59});
  addButton(IDC_LOAD, "Load Set", {238, 64, 293, 78});
  addButton(IDC_SAVE, "Save Set", {238, 83, 293, 97});
  addButton(IDC_SELECT_HIGHLIGHTED, "Select Highlighted", {238, 102, 293, 116});
  addButton(dv::IDOK, "OK", {238, 160, 293, 174}, true);
  addButton(dv::IDCANCEL, "Cancel", {238, 179, 293, 193});
  setHelpContext(profiles() ? 57 : 19);
}

bool CSelectDlg::onInitDialog() {
  dv::GridModel* g = grid(IDC_GRID);
  int cols = profiles() ? 3 : 2;
  g->setSize((int)rows_.size() + 1, cols);
  g->setFixedRows(1);
  g->setFixedCols(0);
  g->setText(0, kNameCol, profiles() ? "Profile" : "Raw Data");
  g->setText(0, kTickCol, "Selected");
  if (profiles()) g->setText(0, kVersionCol, "Version");
  for (int c = 0; c < cols; ++c) g->setEditable(0, c, false);
  for (size_t i = 0; i < rows_.size(); ++i) {
    int r = (int)i + 1;
    g->setText(r, kNameCol, rows_[i].name);
    g->setEditable(r, kNameCol, false);
    g->setKind(r, kTickCol, dv::GridModel::Check);
    g->setChecked(r, kTickCol, rows_[i].ticked);
    if (profiles()) {
      g->setKind(r, kVersionCol, dv::GridModel::DropDown);
      g->setChoices(r, kVersionCol, rows_[i].choices);
      g->setText(r, kVersionCol, rows_[i].version);
    }
  }
  return true;
}

void CSelectDlg::tickAll(int how) {
  dv::GridModel* g = grid(IDC_GRID);
  for (int r = 1; r < g->rows(); ++r)
    g->setChecked(r, kTickCol, how < 0 ? !g->checked(r, kTickCol) : how == 1);
}

void CSelectDlg::onCommand(int id, int notify) {
  if (notify != dv::BN_CLICKED) return Dialog::onCommand(id, notify);
  dv::GridModel* g = grid(IDC_GRID);
  switch (id) {
    case IDC_SELECT_ALL: tickAll(1); break;
    case IDC_DESELECT_ALL: tickAll(0); break;
    case IDC_INVERT: tickAll(-1); break;
    case IDC_SELECT_HIGHLIGHTED:
      for (int r = 1; r < g->rows(); ++r)
        if (g->highlighted(r)) g->setChecked(r, kTickCol, true);
      break;
    case IDC_LOAD: loadSet(); break;
    case IDC_SAVE: saveSet(); break;
    default: Dialog::onCommand(id, notify); return;
  }
  changed();
}

void CSelectDlg::loadSet() {
  dv::FileDialogResult r = dv::ui().fileDialog(selectionSetRequest(false, startFolder_));
  if (!r.ok || r.paths.empty()) return;
  std::string text;
  if (!dv::readWholeFile(r.paths[0], text)) {
    dv::messageBox(kMsgCouldNotOpenFileForReading, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  if (dv::messageBox(kMsgDeselectCurrentSelectionSet, "Deselect?",
                     dv::MB_YESNO | dv::MB_ICONQUESTION) == dv::IDYES)
    tickAll(0);
  dv::GridModel* g = grid(IDC_GRID);
  for (const SelectionEntry& e : parseSelectionSet(text)) {
    int row = -1;
    for (int r = 1; r < g->rows() && row < 0; ++r)
      if (upperCase(g->text(r, kNameCol)) == e.name) row = r;
    if (row < 0) {
      dv::messageBox("Could not find tree item " + e.name + ".", "Warning",
                     dv::MB_OK | dv::MB_ICONWARNING);
      continue;
    }
    g->setChecked(row, kTickCol, true);
    if (profiles()) g->setText(row, kVersionCol, e.version);
  }
}

void CSelectDlg::saveSet() {
  dv::FileDialogResult r = dv::ui().fileDialog(selectionSetRequest(true, startFolder_));
  if (!r.ok || r.paths.empty()) return;
  dv::GridModel* g = grid(IDC_GRID);
  std::string out;
  for (int row = 1; row < g->rows(); ++row) {
    if (!g->checked(row, kTickCol)) continue;
    std::string version = profiles() ? g->text(row, kVersionCol) : "";
    out += selectionSetLine(g->text(row, kNameCol), profiles() ? &version : nullptr);
  }
  if (!dv::writeFileAtomic(r.paths[0], out))
    dv::messageBox(kMsgCouldNotCreateFile, "Error", dv::MB_OK | dv::MB_ICONERROR);
}

void CSelectDlg::onOK() {
  dv::GridModel* g = grid(IDC_GRID);
  for (size_t i = 0; i < rows_.size(); ++i) {
    int r = (int)i + 1;
    if (r >= g->rows()) break;
    rows_[i].ticked = g->checked(r, kTickCol);
    if (profiles()) rows_[i].version = g->text(r, kVersionCol);
  }
  endDialog(dv::IDOK);
}

CChooseVersionDlg::CChooseVersionDlg(std::vector<std::string> versions, std::string current)
    : Dialog(335, "Choose Version", 160, 60),
      versions_(std::move(versions)),
      current_(std::move(current)) {
  addStatic(-1, "Choose Version:", {7, 7, 100, 17});
  dv::Control& combo = addCombo(IDC_VERSIONS, {7, 19, 150, 80});
  combo.editable = true;
  addButton(dv::IDOK, "OK", {45, 40, 95, 54}, true);
  addButton(dv::IDCANCEL, "Cancel", {100, 40, 150, 54});
}

bool CChooseVersionDlg::onInitDialog() {
  setItems(IDC_VERSIONS, versions_);
  setText(IDC_VERSIONS, current_);
  return true;
}

void CChooseVersionDlg::onCommand(int id, int notify) {
  // Choosing an entry of the list puts it into the field.
  if (id == IDC_VERSIONS && notify == dv::CBN_SELCHANGE) {
    std::string chosen = selectedText(IDC_VERSIONS);
    if (!chosen.empty()) setText(IDC_VERSIONS, chosen);
    return;
  }
  Dialog::onCommand(id, notify);
}

void CChooseVersionDlg::onOK() {
  choice_ = text(IDC_VERSIONS);
  endDialog(dv::IDOK);
}

}  // namespace quv
