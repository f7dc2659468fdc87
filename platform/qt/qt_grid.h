// The grid control: a table model adapter over dv::GridModel and a table view
// configured for it. Row and column indexes are the GridModel's own: the
// fixed rows and columns are ordinary rows and columns drawn like headers
// (the view's own header sections stay hidden).
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

#include <functional>

#include "dv/grid.h"

namespace dv::qt {

class GridTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  // `grid` must outlive the adapter; its onChanged callback is chained while
  // the adapter lives and restored afterwards.
  explicit GridTableModel(dv::GridModel* grid, QObject* parent = nullptr);
  ~GridTableModel() override;

  dv::GridModel* grid() const { return grid_; }
  bool isFixed(int row, int col) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Shows the GridModel again: a reset when its size changed, else a redraw.
  void refresh();

 signals:
  // A user edit reached GridModel::userEdit.
  void cellEdited(int row, int col);
  // The view should take the current row, highlights and widths again.
  void refreshed(bool sizeChanged);

 private:
  void applyRefresh();
  dv::GridModel* grid_;
  std::function<void()> previous_;
  int rows_ = 0, cols_ = 0;
  int editDepth_ = 0;       // inside setData (and the handlers it reaches)
  bool resetPending_ = false;
};

// Draws fixed cells as header sections and drop-down cells with an arrow;
// edits drop-down cells with a combo box of the cell's choices.
class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};

class GridView : public QTableView {
  Q_OBJECT
 public:
  explicit GridView(dv::GridModel* grid, QWidget* parent = nullptr);
  GridTableModel* gridModel() const { return model_; }
  dv::GridModel* grid() const { return model_->grid(); }

 signals:
  // A cell was edited by the user (after GridModel::userEdit).
  void cellEdited(int row, int col);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

 private:
  void syncFromModel(bool sizeChanged);
  void applyWidths(bool fitUnset);
  GridTableModel* model_;
  bool syncing_ = false;
  bool fitPending_ = false;
};

}  // namespace dv::qt
