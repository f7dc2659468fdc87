// "Define Trace Order/Crop Parameters": the table of raw items with their
// trace counts and new orders, shared by Reverse, Crop and Reorder.
#include "dv/ui.h"
#include "processing/trace_order.h"
#include "project/messages.h"

namespace quv {

CReorderDlg::CReorderDlg(std::vector<ReorderRow> rows)
    : Dialog(345, "Define Trace Order/Crop Parameters", 300, 160), rows_(std::move(rows)) {
  addGrid(IDC_GRID, {7, 7, 230, 153});
  addButton(dv::IDOK, "OK", {238, 7, 293, 21}, true);
  addButton(dv::IDCANCEL, "Cancel", {238, 26, 293, 40});
}

bool CReorderDlg::onInitDialog() {
  dv::GridModel* g = grid(IDC_GRID);
  g->setSize(int(rows_.size()) + 1, 3);
  g->setFixedRows(1);
  g->setFixedCols(0);
  const char* titles[] = {"Raw Data", "# of Traces", "New Order"};
  for (int c = 0; c < 3; ++c) {
    g->setText(0, c, titles[c]);
    g->setEditable(0, c, false);
  }
  g->setColWidth(kRawCol, 90);
  g->setColWidth(kTracesCol, 50);
  g->setColWidth(kOrderCol, 90);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const int r = int(i) + 1;
    g->setText(r, kRawCol, rows_[i].rawName);
    g->setEditable(r, kRawCol, false);
    g->setText(r, kTracesCol, std::to_string(rows_[i].traces));
    g->setEditable(r, kTracesCol, false);
    g->setText(r, kOrderCol, rows_[i].order);
  }
  return true;
}

void CReorderDlg::onGridEdited(int gridId, int row, int col) {
  if (gridId != IDC_GRID || row < 1 || row > int(rows_.size())) return;
  dv::GridModel* g = grid(IDC_GRID);
  ReorderRow& r = rows_[size_t(row) - 1];
  if (col == kOrderCol)
    r.order = g->text(row, col);
  else  // the other columns only show the item
    g->setText(row, col, col == kRawCol ? r.rawName : std::to_string(r.traces));
}

void CReorderDlg::onOK() {
  dv::GridModel* g = grid(IDC_GRID);
  for (size_t i = 0; i < rows_.size() && int(i) + 1 < g->rows(); ++i)
    rows_[i].order = g->text(int(i) + 1, kOrderCol);
  // Every text is read before anything is changed.
  for (const ReorderRow& row : rows_) {
    std::vector<int> order;
    if (ParseTraceOrder(row.order, row.traces, order)) continue;
    const std::string format = kMsgErrorParsing;
    const size_t at = format.find("%s");
    const std::string text = format.substr(0, at) + row.rawName + format.substr(at + 2);
    dv::messageBox(text, "Warning", dv::MB_OK | dv::MB_ICONWARNING);
    return;
  }
  if (apply) apply(rows_);
  endDialog(dv::IDOK);
}

}  // namespace quv
