// The grid: the table control most dialogs share. Fixed header rows and
// columns, editable cells, check cells, drop-down cells, cell colours,
// highlighted rows and a current row. The Qt view is a table view over it;
// dialogs and scripts change it through the same calls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dv {

// Colours are kept as 0x00BBGGRR, as stored.
using ColorRef = uint32_t;
constexpr ColorRef kDefaultColor = 0xFFFFFFFFu;  // "use the view's default"

inline constexpr ColorRef rgb(int r, int g, int b) {
  return ColorRef(r & 255) | (ColorRef(g & 255) << 8) | (ColorRef(b & 255) << 16);
}

class GridModel {
 public:
  enum CellKind { Text = 0, Check = 1, DropDown = 2 };
  struct Cell {
    std::string text;
    CellKind kind = Text;
    bool checked = false;
    bool editable = true;
    std::vector<std::string> choices;  // drop-down cells
    ColorRef back = kDefaultColor;
    ColorRef fore = kDefaultColor;
  };

  void setSize(int rows, int cols);
  void setRows(int rows);
  void setCols(int cols);
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  void setFixedRows(int n) { fixedRows_ = n; notify(); }
  void setFixedCols(int n) { fixedCols_ = n; notify(); }
  int fixedRows() const { return fixedRows_; }
  int fixedCols() const { return fixedCols_; }

  const std::string& text(int r, int c) const;
  void setText(int r, int c, const std::string& t);
  bool checked(int r, int c) const;
  void setChecked(int r, int c, bool v);
  void setKind(int r, int c, CellKind k);
  CellKind kind(int r, int c) const;
  void setChoices(int r, int c, std::vector<std::string> choices);
  const std::vector<std::string>& choices(int r, int c) const;
  void setEditable(int r, int c, bool e);
  bool editable(int r, int c) const;
  void setCellColors(int r, int c, ColorRef back, ColorRef fore = kDefaultColor);
  ColorRef backColor(int r, int c) const;
  ColorRef foreColor(int r, int c) const;
  void setColWidth(int c, int width);
  int colWidth(int c) const;

  void insertRow(int before);
  void removeRow(int r);

  void setHighlighted(int r, bool on);
  bool highlighted(int r) const;
  void setCurrent(int r, int c = -1);
  int currentRow() const { return curRow_; }
  int currentCol() const { return curCol_; }

  // A user (or a script) edits a cell: the text or check state changes and
  // the edit handler, when set, hears of it after the change.
  bool userEdit(int r, int c, const std::string& t);
  std::function<void(int row, int col)> onEdited;
  // The view redraws when this fires (any change).
  std::function<void()> onChanged;

  const Cell* cell(int r, int c) const;

 private:
  Cell* cellMut(int r, int c);
  void notify() {
    if (onChanged) onChanged();
  }
  int rows_ = 0, cols_ = 0, fixedRows_ = 1, fixedCols_ = 0;
  int curRow_ = -1, curCol_ = -1;
  std::vector<Cell> cells_;
  std::vector<bool> highlighted_;
  std::vector<int> colWidths_;
};

}  // namespace dv
