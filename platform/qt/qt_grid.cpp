#include "qt_grid.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QPainter>
#include <QSet>
#include <QTimer>

#include <algorithm>

#include "qt_util.h"

namespace dv::qt {

// ---------------------------------------------------------------- model ----

GridTableModel::GridTableModel(dv::GridModel* grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), rows_(grid->rows()), cols_(grid->cols()) {
  previous_ = grid_->onChanged;
  grid_->onChanged = [this] {
    refresh();
    if (previous_) previous_();
  };
}

GridTableModel::~GridTableModel() { grid_->onChanged = previous_; }

bool GridTableModel::isFixed(int row, int col) const {
  return row < grid_->fixedRows() || col < grid_->fixedCols();
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_;
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
  // Bounds are checked against the GridModel itself: between a size change
  // and the (deferred) reset the cached size may be larger.
  const dv::GridModel::Cell* cell = grid_->cell(index.row(), index.column());
  if (!cell) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return toQ(cell->text);
    case Qt::CheckStateRole:
      if (cell->kind == dv::GridModel::Check) return cell->checked ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::BackgroundRole: {
      QColor c = toQColor(cell->back);
      return c.isValid() ? QVariant(QBrush(c)) : QVariant();
    }
    case Qt::ForegroundRole: {
      QColor c = toQColor(cell->fore);
      return c.isValid() ? QVariant(QBrush(c)) : QVariant();
    }
    default: return {};
  }
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
  int r = index.row(), c = index.column();
  const dv::GridModel::Cell* cell = grid_->cell(r, c);
  if (!cell) return Qt::NoItemFlags;
  if (isFixed(r, c)) return Qt::ItemIsEnabled;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (grid_->editable(r, c))
    f |= cell->kind == dv::GridModel::Check ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
  return f;
}

bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  int r = index.row(), c = index.column();
  const dv::GridModel::Cell* cell = grid_->cell(r, c);
  if (!cell || !grid_->editable(r, c)) return false;
  bool isCheck = cell->kind == dv::GridModel::Check;
  if ((role == Qt::CheckStateRole) != isCheck || (role != Qt::CheckStateRole && role != Qt::EditRole))
    return false;
  const std::string text = isCheck ? std::string(1, value.toInt() == Qt::Checked ? '1' : '0')
                                   : fromQ(value.toString());
  ++editDepth_;
  grid_->userEdit(r, c, text);
  emit cellEdited(r, c);
  --editDepth_;
  if (editDepth_ == 0 && resetPending_) {
    // The edit's handler resized the grid while the view was committing its
    // editor; resetting under the editor is unsafe, so it waits for the loop.
    QMetaObject::invokeMethod(this, [this] { applyRefresh(); }, Qt::QueuedConnection);
  }
  return true;
}

void GridTableModel::refresh() {
  bool sizeChanged = grid_->rows() != rows_ || grid_->cols() != cols_;
  if (sizeChanged && editDepth_ > 0) {
    resetPending_ = true;
    return;
  }
  if (sizeChanged) {
    applyRefresh();
    return;
  }
  if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
  emit refreshed(false);
}

void GridTableModel::applyRefresh() {
  resetPending_ = false;
  if (grid_->rows() == rows_ && grid_->cols() == cols_) {
    refresh();
    return;
  }
  beginResetModel();
  rows_ = grid_->rows();
  cols_ = grid_->cols();
  endResetModel();
  emit refreshed(true);
}

// ------------------------------------------------------------- delegate ----

namespace {
const GridTableModel* gridOf(const QModelIndex& index) {
  return qobject_cast<const GridTableModel*>(index.model());
}
}  // namespace

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
  const GridTableModel* m = gridOf(index);
  if (!m) return QStyledItemDelegate::paint(painter, option, index);
  int r = index.row(), c = index.column();
  const QWidget* w = option.widget;
  QStyle* style = w ? w->style() : QApplication::style();
  if (m->isFixed(r, c)) {
    QStyleOptionHeader h;
    h.rect = option.rect;
    h.palette = option.palette;
    h.fontMetrics = option.fontMetrics;
    h.state = QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_Horizontal;
    h.orientation = Qt::Horizontal;
    h.position = QStyleOptionHeader::Middle;
    h.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    h.text = index.data(Qt::DisplayRole).toString();
    QVariant back = index.data(Qt::BackgroundRole);
    if (back.isValid()) h.palette.setBrush(QPalette::Button, back.value<QBrush>());
    QVariant fore = index.data(Qt::ForegroundRole);
    if (fore.isValid()) h.palette.setBrush(QPalette::ButtonText, fore.value<QBrush>());
    painter->save();
    painter->setClipRect(option.rect);
    style->drawControl(QStyle::CE_Header, &h, painter, w);
    painter->restore();
    return;
  }
  QStyledItemDelegate::paint(painter, option, index);
  if (m->grid()->kind(r, c) == dv::GridModel::DropDown && m->grid()->editable(r, c)) {
    // A drop-down cell says so with an arrow at its right edge.
    QStyleOption arrow;
    int side = std::min(option.rect.height() - 4, 12);
    arrow.rect = QRect(option.rect.right() - side - 3, option.rect.center().y() - side / 2 + 1,
                       side, side);
    arrow.palette = option.palette;
    arrow.state = QStyle::State_Enabled;
    if (option.state & QStyle::State_Selected)
      arrow.palette.setBrush(QPalette::ButtonText, option.palette.highlightedText());
    style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, w);
  }
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  const GridTableModel* m = gridOf(index);
  if (!m || m->grid()->kind(index.row(), index.column()) != dv::GridModel::DropDown)
    return QStyledItemDelegate::createEditor(parent, option, index);
  auto* combo = new QComboBox(parent);
  combo->setFrame(false);
  for (const auto& choice : m->grid()->choices(index.row(), index.column()))
    combo->addItem(toQ(choice));
  auto* self = const_cast<GridDelegate*>(this);
  // Choosing an entry ends the edit at once, as a drop-down list does.
  connect(combo, &QComboBox::activated, self, [self, combo] {
    emit self->commitData(combo);
    emit self->closeEditor(combo);
  });
  QTimer::singleShot(0, combo, [combo] {
    if (combo->isVisible()) combo->showPopup();
  });
  return combo;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    combo->setCurrentIndex(combo->findText(index.data(Qt::EditRole).toString()));
    return;
  }
  QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
  if (auto* combo = qobject_cast<QComboBox*>(editor)) {
    if (combo->currentIndex() >= 0 && combo->currentText() != index.data(Qt::EditRole).toString())
      model->setData(index, combo->currentText(), Qt::EditRole);
    return;
  }
  QStyledItemDelegate::setModelData(editor, model, index);
}

// ----------------------------------------------------------------- view ----

GridView::GridView(dv::GridModel* grid, QWidget* parent)
    : QTableView(parent), model_(new GridTableModel(grid, this)) {
  // Taking the model announces the new selection model's empty selection,
  // which must not clear the grid's highlighted rows.
  syncing_ = true;
  setModel(model_);
  syncing_ = false;
  setItemDelegate(new GridDelegate(this));
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setMinimumSectionSize(24);
  verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 7);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  setWordWrap(false);
  setTabKeyNavigation(true);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  connect(model_, &GridTableModel::cellEdited, this, &GridView::cellEdited);
  connect(model_, &GridTableModel::refreshed, this, &GridView::syncFromModel);
  syncFromModel(true);
}

void GridView::applyWidths(bool fitUnset) {
  dv::GridModel* g = grid();
  int last = model_->columnCount() - 1;
  for (int c = 0; c <= last; ++c) {
    int w = g->colWidth(c);
    if (w > 0) {
      setColumnWidth(c, w);
    } else if (fitUnset && c < last) {  // the last column takes the rest of the width
      resizeColumnToContents(c);
      setColumnWidth(c, std::max(columnWidth(c) + 8, 48));
    }
  }
}

void GridView::syncFromModel(bool sizeChanged) {
  if (syncing_) return;
  syncing_ = true;
  dv::GridModel* g = grid();
  int rows = model_->rowCount(), cols = model_->columnCount();
  if (sizeChanged) {
    applyWidths(false);
    // Cells are usually filled right after the size is set: fit the columns
    // without a width once the filling is over.
    if (!fitPending_) {
      fitPending_ = true;
      QTimer::singleShot(0, this, [this] {
        fitPending_ = false;
        applyWidths(true);
      });
    }
  }
  int r = g->currentRow(), c = g->currentCol();
  if (r >= 0 && r < rows && rows > 0 && cols > 0) {
    if (c < 0 || c >= cols) c = std::max(g->fixedCols(), std::max(currentIndex().column(), 0));
    c = std::min(c, cols - 1);
    QModelIndex want = model_->index(r, c);
    if (currentIndex() != want) selectionModel()->setCurrentIndex(want, QItemSelectionModel::NoUpdate);
  }
  QItemSelection sel;
  bool differs = false;
  QSet<int> shown;
  for (const QModelIndex& i : selectionModel()->selectedIndexes()) shown.insert(i.row());
  for (int row = 0; row < rows && cols > 0; ++row) {
    bool on = g->highlighted(row);
    if (on != shown.contains(row)) differs = true;
    if (on) sel.select(model_->index(row, 0), model_->index(row, cols - 1));
  }
  if (differs) selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
  syncing_ = false;
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (syncing_ || !current.isValid() || model_->isFixed(current.row(), current.column())) return;
  dv::GridModel* g = grid();
  if (g->currentRow() == current.row() && g->currentCol() == current.column()) return;
  syncing_ = true;
  g->setCurrent(current.row(), current.column());
  syncing_ = false;
}

void GridView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  QTableView::selectionChanged(selected, deselected);
  if (syncing_) return;
  QSet<int> rows;
  for (const QModelIndex& i : selectionModel()->selectedIndexes()) rows.insert(i.row());
  dv::GridModel* g = grid();
  syncing_ = true;
  for (int r = 0; r < g->rows() && r < model_->rowCount(); ++r)
    if (g->highlighted(r) != rows.contains(r)) g->setHighlighted(r, rows.contains(r));
  syncing_ = false;
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  QModelIndex i = QTableView::moveCursor(action, modifiers);
  if (!i.isValid()) return i;
  dv::GridModel* g = grid();
  int r = std::max(i.row(), g->fixedRows()), c = std::max(i.column(), g->fixedCols());
  if (r >= model_->rowCount() || c >= model_->columnCount()) return currentIndex();
  return model_->index(r, c);
}

}  // namespace dv::qt
