// The grid adapter and view: fixed cells, check and drop-down cells,
// colours, edits written back through GridModel::userEdit, and the current
// row and highlighted rows kept in step both ways.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QSignalSpy>

#include <memory>

#include "dv/grid.h"
#include "qt_grid.h"

namespace dv::qt {
namespace {

// The selection grid of a batch command: a header row, a check column,
// a drop-down column and a plain text column.
std::unique_ptr<GridModel> sampleGrid() {
  auto g = std::make_unique<GridModel>();
  g->setSize(4, 3);
  g->setText(0, 0, "Use");
  g->setText(0, 1, "Version");
  g->setText(0, 2, "Profile");
  for (int r = 1; r < 4; ++r) {
    g->setKind(r, 0, GridModel::Check);
    g->setChoices(r, 1, {"T01", "D01", "E01"});
    g->setText(r, 1, "T01");
    g->setText(r, 2, "LINE0" + std::to_string(r));
    g->setEditable(r, 2, false);
  }
  g->setChecked(2, 0, true);
  return g;
}

TEST(QtGrid, CellsShowTheirKindTextAndColours) {
  auto g = sampleGrid();
  g->setCellColors(3, 2, rgb(255, 0, 0), rgb(0, 0, 128));
  GridTableModel m(g.get());
  EXPECT_EQ(m.rowCount(), 4);
  EXPECT_EQ(m.columnCount(), 3);
  EXPECT_EQ(m.index(0, 1).data().toString(), "Version");
  EXPECT_EQ(m.index(1, 2).data().toString(), "LINE01");
  EXPECT_EQ(m.index(2, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  EXPECT_EQ(m.index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  EXPECT_FALSE(m.index(1, 1).data(Qt::CheckStateRole).isValid());
  // 0x00BBGGRR: red is the low byte.
  EXPECT_EQ(m.index(3, 2).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
  EXPECT_EQ(m.index(3, 2).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 0, 128));
  EXPECT_FALSE(m.index(1, 2).data(Qt::BackgroundRole).isValid());  // the view's default

  // Header cells are neither selectable nor editable; check cells toggle,
  // drop-down cells edit, a locked cell only selects.
  EXPECT_EQ(m.flags(m.index(0, 1)), Qt::ItemIsEnabled);
  EXPECT_TRUE(m.flags(m.index(1, 0)) & Qt::ItemIsUserCheckable);
  EXPECT_FALSE(m.flags(m.index(1, 0)) & Qt::ItemIsEditable);
  EXPECT_TRUE(m.flags(m.index(1, 1)) & Qt::ItemIsEditable);
  EXPECT_FALSE(m.flags(m.index(1, 2)) & Qt::ItemIsEditable);
  EXPECT_TRUE(m.flags(m.index(1, 2)) & Qt::ItemIsSelectable);
}

TEST(QtGrid, EditsGoThroughUserEditAndAreReported) {
  auto g = sampleGrid();
  std::vector<std::pair<int, int>> heard;
  g->onEdited = [&](int r, int c) { heard.emplace_back(r, c); };
  GridTableModel m(g.get());
  QSignalSpy edited(&m, &GridTableModel::cellEdited);

  EXPECT_TRUE(m.setData(m.index(1, 0), Qt::Checked, Qt::CheckStateRole));
  EXPECT_TRUE(g->checked(1, 0));
  EXPECT_TRUE(m.setData(m.index(2, 0), Qt::Unchecked, Qt::CheckStateRole));
  EXPECT_FALSE(g->checked(2, 0));
  EXPECT_TRUE(m.setData(m.index(3, 1), "E01", Qt::EditRole));
  EXPECT_EQ(g->text(3, 1), "E01");
  EXPECT_EQ(g->currentRow(), 3);
  // Header cells, locked cells and a text edit of a check cell are refused.
  EXPECT_FALSE(m.setData(m.index(0, 1), "x", Qt::EditRole));
  EXPECT_FALSE(m.setData(m.index(1, 2), "x", Qt::EditRole));
  EXPECT_FALSE(m.setData(m.index(1, 0), "x", Qt::EditRole));
  EXPECT_EQ(g->text(0, 1), "Version");

  EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{1, 0}, {2, 0}, {3, 1}}));
  EXPECT_EQ(edited.count(), 3);
}

TEST(QtGrid, DropDownCellsEditWithTheirChoices) {
  auto g = sampleGrid();
  GridView view(g.get());
  QModelIndex cell = view.model()->index(2, 1);
  QStyleOptionViewItem option;
  QWidget* editor = view.itemDelegate()->createEditor(view.viewport(), option, cell);
  auto* combo = qobject_cast<QComboBox*>(editor);
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(2), "E01");
  view.itemDelegate()->setEditorData(combo, cell);
  EXPECT_EQ(combo->currentText(), "T01");
  combo->setCurrentIndex(1);
  view.itemDelegate()->setModelData(combo, view.model(), cell);
  EXPECT_EQ(g->text(2, 1), "D01");
  delete editor;

  // A text cell gets the ordinary line editor.
  g->setKind(1, 1, GridModel::Text);
  QWidget* line = view.itemDelegate()->createEditor(view.viewport(), option, view.model()->index(1, 1));
  EXPECT_EQ(qobject_cast<QComboBox*>(line), nullptr);
  delete line;
}

TEST(QtGrid, CurrentRowAndHighlightsFollowBothWays) {
  auto g = sampleGrid();
  g->setHighlighted(2, true);
  GridView view(g.get());
  view.resize(300, 200);
  // Rows highlighted before the view existed show selected.
  EXPECT_TRUE(g->highlighted(2));
  EXPECT_TRUE(view.selectionModel()->isSelected(view.model()->index(2, 1)));
  g->setHighlighted(2, false);

  g->setCurrent(2, 1);
  EXPECT_EQ(view.currentIndex(), view.model()->index(2, 1));
  view.setCurrentIndex(view.model()->index(3, 1));
  EXPECT_EQ(g->currentRow(), 3);
  EXPECT_EQ(g->currentCol(), 1);

  g->setHighlighted(1, true);
  g->setHighlighted(3, true);
  QItemSelectionModel* sel = view.selectionModel();
  EXPECT_TRUE(sel->isSelected(view.model()->index(1, 2)));
  EXPECT_TRUE(sel->isSelected(view.model()->index(3, 1)));
  EXPECT_FALSE(sel->isSelected(view.model()->index(2, 1)));

  // The user's selection is the set of highlighted rows.
  sel->select(view.model()->index(2, 1),
              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  EXPECT_FALSE(g->highlighted(1));
  EXPECT_TRUE(g->highlighted(2));
  EXPECT_FALSE(g->highlighted(3));
}

TEST(QtGrid, SizeChangesShowAndEditsMayResizeTheGrid) {
  auto g = sampleGrid();
  GridView view(g.get());
  g->insertRow(4);
  EXPECT_EQ(view.model()->rowCount(), 5);
  g->setCols(4);
  EXPECT_EQ(view.model()->columnCount(), 4);

  // An edit whose handler appends a row (as an "Insert" would): the view
  // follows once the editor is gone.
  g->onEdited = [&](int r, int) {
    if (r == g->rows() - 1) g->insertRow(g->rows());
  };
  view.model()->setData(view.model()->index(4, 1), "D01", Qt::EditRole);
  QApplication::processEvents();
  EXPECT_EQ(g->rows(), 6);
  EXPECT_EQ(view.model()->rowCount(), 6);
}

TEST(QtGrid, TheAdapterChainsAndRestoresTheChangeCallback) {
  auto g = sampleGrid();
  int calls = 0;
  g->onChanged = [&] { ++calls; };
  {
    GridView view(g.get());
    g->setText(1, 2, "x");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(view.model()->index(1, 2).data().toString(), "x");
  }
  g->setText(1, 2, "y");  // the view is gone: only the old callback runs
  EXPECT_EQ(calls, 2);
}

TEST(QtGrid, ColumnWidthsComeFromTheModel) {
  auto g = sampleGrid();
  g->setColWidth(0, 44);
  g->setColWidth(1, 90);
  GridView view(g.get());
  view.resize(400, 200);
  QApplication::processEvents();
  EXPECT_EQ(view.columnWidth(0), 44);
  EXPECT_EQ(view.columnWidth(1), 90);
}

}  // namespace
}  // namespace dv::qt
