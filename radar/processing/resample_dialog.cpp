// "Define Trace Time Window/Sample Rate Parameters": per raw item its time
// axis and the new one, edited in the three "New" columns.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dv/ui.h"
#include "processing/resample.h"
#include "project/messages.h"

namespace quv {

namespace {

const char* const kTitles[] = {"Raw Data",       "Start Time",   "End Time",    "Time Inc",
                               "New Start Time", "New End Time", "New Time Inc"};

double ResampleRow::*const kValues[] = {
    nullptr,
    &ResampleRow::startTime,
    &ResampleRow::endTime,
    &ResampleRow::increment,
    &ResampleRow::newStartTime,
    &ResampleRow::newEndTime,
    &ResampleRow::newIncrement,
};

bool isIncrement(int col) {
  return col == CResampleDlg::kIncCol || col == CResampleDlg::kNewIncCol;
}

std::string formatted(double v, int col) {
  char text[64];
  std::snprintf(text, sizeof text, isIncrement(col) ? "%.3f" : "%.2f", v);
  return text;
}

void warn(const std::string& text) { dv::messageBox(text, "Warning", dv::MB_OK | dv::MB_ICONWARNING); }

}  // namespace

CResampleDlg::CResampleDlg(std::vector<ResampleRow> rows)
    : Dialog(346, "Define Trace Time Window/Sample Rate Parameters", 420, 160),
      rows_(std::move(rows)) {
  addGrid(IDC_GRID, {7, 7, 350, 153});
  addButton(dv::IDOK, "OK", {358, 7, 413, 21}, true);
  addButton(dv::IDCANCEL, "Cancel", {358, 26, 413, 40});
}

std::string CResampleDlg::shown(size_t row, int col) const {
  return col == kRawCol ? rows_[row].rawName : formatted(rows_[row].*kValues[col], col);
}

bool CResampleDlg::onInitDialog() {
  dv::GridModel* g = grid(IDC_GRID);
  g->setSize(int(rows_.size()) + 1, kColumns);
  g->setFixedRows(1);
  g->setFixedCols(0);
  for (int c = 0; c < kColumns; ++c) {
    g->setText(0, c, kTitles[c]);
    g->setEditable(0, c, false);
    g->setColWidth(c, c == kRawCol ? 70 : 45);
  }
  for (size_t i = 0; i < rows_.size(); ++i)
    for (int c = 0; c < kColumns; ++c) {
      g->setText(int(i) + 1, c, shown(i, c));
      g->setEditable(int(i) + 1, c, c >= kNewStartCol);
    }
  return true;
}

void CResampleDlg::onGridEdited(int gridId, int row, int col) {
  // The item's own values only show it.
  if (gridId == IDC_GRID && row >= 1 && row <= int(rows_.size()) && col < kNewStartCol)
    grid(IDC_GRID)->setText(row, col, shown(size_t(row) - 1, col));
}

void CResampleDlg::onOK() {
  dv::GridModel* g = grid(IDC_GRID);
  std::vector<ResampleRow> chosen = rows_;
  for (size_t i = 0; i < chosen.size() && int(i) + 1 < g->rows(); ++i) {
    // A cell left as shown keeps the item's exact value: the item's own
    // axis is not moved by the rounding of what the table shows.
    const double ResampleRow::*own[] = {&ResampleRow::startTime, &ResampleRow::endTime,
                                        &ResampleRow::increment};
    for (int c = kNewStartCol; c <= kNewIncCol; ++c) {
      const std::string& text = g->text(int(i) + 1, c);
      chosen[i].*kValues[c] = text == formatted(rows_[i].*own[c - kNewStartCol], c)
                                  ? rows_[i].*own[c - kNewStartCol]
                                  : std::atof(text.c_str());
    }
  }
  for (const ResampleRow& row : chosen)
    if (!(row.newIncrement > 0)) {
      warn(kMsgOnlyPositiveTimeIncrementsAreAllowed);
      return;
    }
  for (const ResampleRow& row : chosen) {
    const std::string fault = resampleRowFault(row);
    if (fault.empty()) continue;
    const std::string format = kMsgCannotResample;
    const size_t name = format.find("%s"), reason = format.find("%s", name + 2);
    warn(format.substr(0, name) + row.rawName + format.substr(name + 2, reason - name - 2) + fault +
         format.substr(reason + 2));
    return;
  }
  rows_ = chosen;
  if (apply) apply(rows_);
  endDialog(dv::IDOK);
}

}  // namespace quv
