#include "dv/grid.h"

#include <algorithm>

namespace dv {

namespace {
const std::string kEmpty;
const std::vector<std::string> kNoChoices;
}  // namespace

void GridModel::setSize(int rows, int cols) {
  if (rows < 0) rows = 0;
  if (cols < 0) cols = 0;
  std::vector<Cell> cells((size_t)rows * (size_t)cols);
  for (int r = 0; r < std::min(rows, rows_); ++r)
    for (int c = 0; c < std::min(cols, cols_); ++c)
      cells[(size_t)r * cols + c] = std::move(cells_[(size_t)r * cols_ + c]);
  cells_ = std::move(cells);
  highlighted_.resize((size_t)rows, false);
  colWidths_.resize((size_t)cols, 0);
  rows_ = rows;
  cols_ = cols;
  if (curRow_ >= rows_) curRow_ = rows_ - 1;
  notify();
}

void GridModel::setRows(int rows) { setSize(rows, cols_); }
void GridModel::setCols(int cols) { setSize(rows_, cols); }

const GridModel::Cell* GridModel::cell(int r, int c) const {
  if (r < 0 || c < 0 || r >= rows_ || c >= cols_) return nullptr;
  return &cells_[(size_t)r * cols_ + c];
}

GridModel::Cell* GridModel::cellMut(int r, int c) { return const_cast<Cell*>(cell(r, c)); }

const std::string& GridModel::text(int r, int c) const {
  auto* x = cell(r, c);
  return x ? x->text : kEmpty;
}

void GridModel::setText(int r, int c, const std::string& t) {
  if (auto* x = cellMut(r, c)) {
    x->text = t;
    notify();
  }
}

bool GridModel::checked(int r, int c) const {
  auto* x = cell(r, c);
  return x && x->checked;
}

void GridModel::setChecked(int r, int c, bool v) {
  if (auto* x = cellMut(r, c)) {
    x->checked = v;
    notify();
  }
}

void GridModel::setKind(int r, int c, CellKind k) {
  if (auto* x = cellMut(r, c)) {
    x->kind = k;
    notify();
  }
}

GridModel::CellKind GridModel::kind(int r, int c) const {
  auto* x = cell(r, c);
  return x ? x->kind : Text;
}

void GridModel::setChoices(int r, int c, std::vector<std::string> choices) {
  if (auto* x = cellMut(r, c)) {
    x->choices = std::move(choices);
    x->kind = DropDown;
    notify();
  }
}

const std::vector<std::string>& GridModel::choices(int r, int c) const {
  auto* x = cell(r, c);
  return x ? x->choices : kNoChoices;
}

void GridModel::setEditable(int r, int c, bool e) {
  if (auto* x = cellMut(r, c)) x->editable = e;
}

bool GridModel::editable(int r, int c) const {
  auto* x = cell(r, c);
  return x && x->editable && r >= fixedRows_ && c >= fixedCols_;
}

void GridModel::setCellColors(int r, int c, ColorRef back, ColorRef fore) {
  if (auto* x = cellMut(r, c)) {
    x->back = back;
    x->fore = fore;
    notify();
  }
}

ColorRef GridModel::backColor(int r, int c) const {
  auto* x = cell(r, c);
  return x ? x->back : kDefaultColor;
}

ColorRef GridModel::foreColor(int r, int c) const {
  auto* x = cell(r, c);
  return x ? x->fore : kDefaultColor;
}

void GridModel::setColWidth(int c, int width) {
  if (c >= 0 && c < cols_) colWidths_[(size_t)c] = width;
}

int GridModel::colWidth(int c) const { return c >= 0 && c < cols_ ? colWidths_[(size_t)c] : 0; }

void GridModel::insertRow(int before) {
  if (before < 0 || before > rows_) before = rows_;
  cells_.insert(cells_.begin() + (long)before * cols_, (size_t)cols_, Cell{});
  highlighted_.insert(highlighted_.begin() + before, false);
  ++rows_;
  notify();
}

void GridModel::removeRow(int r) {
  if (r < 0 || r >= rows_) return;
  cells_.erase(cells_.begin() + (long)r * cols_, cells_.begin() + (long)(r + 1) * cols_);
  highlighted_.erase(highlighted_.begin() + r);
  --rows_;
  if (curRow_ >= rows_) curRow_ = rows_ - 1;
  notify();
}

void GridModel::setHighlighted(int r, bool on) {
  if (r >= 0 && r < rows_) {
    highlighted_[(size_t)r] = on;
    notify();
  }
}

bool GridModel::highlighted(int r) const { return r >= 0 && r < rows_ && highlighted_[(size_t)r]; }

void GridModel::setCurrent(int r, int c) {
  curRow_ = r;
  curCol_ = c;
  notify();
}

bool GridModel::userEdit(int r, int c, const std::string& t) {
  auto* x = cellMut(r, c);
  if (!x) return false;
  if (x->kind == Check)
    x->checked = !(t.empty() || t == "0" || t == "false" || t == "no");
  else
    x->text = t;
  curRow_ = r;
  curCol_ = c;
  if (onEdited) onEdited(r, c);
  notify();
  return true;
}

}  // namespace dv
