// The tree bar's view: it mirrors the TreeModel through changes and passes
// double clicks, the Delete key, right clicks and label edits to the handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <string>
#include <vector>

#include "dv/tree.h"
#include "qt_tree.h"

namespace dv::qt {
namespace {

class Handler : public TreeHandler {
 public:
  void treeRightClick(TreeItem* item, int x, int y) override {
    rightClicks.push_back(item);
    lastX = x;
    lastY = y;
  }
  void treeDoubleClick(TreeItem* item) override { doubleClicks.push_back(item); }
  void treeDeleteKey(TreeItem* item) override { deletes.push_back(item); }
  bool treeBeginLabelEdit(TreeItem* item) override {
    asked.push_back(item);
    return item->image == 2;  // objects may be renamed, folders not
  }
  bool treeEndLabelEdit(TreeItem* item, const std::string& text) override {
    endings.push_back(text);
    return text.find('/') == std::string::npos;
  }
  std::vector<TreeItem*> rightClicks, doubleClicks, deletes, asked;
  std::vector<std::string> endings;
  int lastX = 0, lastY = 0;
};

// A left double click as the window system delivers it: press, release,
// double click, release.
void doubleClick(QWidget* viewport, QPoint at) {
  for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, QPointF(at), viewport->mapToGlobal(QPointF(at)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(viewport, &e);
  }
}

// Lets queued work run to its end (an editor's commit queues the next step).
void settle() {
  for (int i = 0; i < 4; ++i) QApplication::processEvents();
}

struct Project {
  Project() {
    root = tree.insert(nullptr, "Site1", 0);
    quv = tree.insert(root, "QUV", 1);
    raw = tree.insert(quv, "Raw Data", 1);
    line1 = tree.insert(raw, "LINE01", 2);
    line2 = tree.insert(raw, "LINE02", 4);
    root->expanded = quv->expanded = raw->expanded = true;
    tree.setHandler(&handler);
  }
  TreeModel tree;
  Handler handler;
  TreeItem *root, *quv, *raw, *line1, *line2;
};

TEST(QtTree, MirrorsTheModelThroughItsChanges) {
  Project p;
  TreeView view(p.tree);
  ASSERT_EQ(view.topLevelItemCount(), 1);
  QTreeWidgetItem* raw = view.itemFor(p.raw);
  ASSERT_NE(raw, nullptr);
  EXPECT_EQ(raw->childCount(), 2);
  EXPECT_EQ(raw->child(1)->text(0), "LINE02");
  EXPECT_TRUE(raw->isExpanded());
  EXPECT_FALSE(raw->child(0)->icon(0).isNull());
  QTreeWidgetItem* line1 = view.itemFor(p.line1);

  TreeItem* line0 = p.tree.insert(p.raw, "LINE00", 2);
  p.tree.sortChildren(p.raw);
  ASSERT_EQ(raw->childCount(), 3);
  EXPECT_EQ(raw->child(0)->text(0), "LINE00");
  EXPECT_EQ(TreeView::treeItemOf(raw->child(0)), line0);
  // Items that still stand for the same entry are kept, not made anew.
  EXPECT_EQ(view.itemFor(p.line1), line1);

  p.tree.setText(p.line2, "LINE02b");
  EXPECT_EQ(view.itemFor(p.line2)->text(0), "LINE02b");
  p.tree.remove(line0);
  EXPECT_EQ(raw->childCount(), 2);
  EXPECT_EQ(view.itemFor(line0), nullptr);
}

TEST(QtTree, SelectionAndExpansionFollowBothWays) {
  Project p;
  TreeView view(p.tree);
  p.tree.select(p.line2);
  EXPECT_EQ(view.currentItem(), view.itemFor(p.line2));
  view.setCurrentItem(view.itemFor(p.line1));
  EXPECT_EQ(p.tree.selected(), p.line1);
  // A change elsewhere keeps the selection.
  p.tree.insert(p.quv, "Profiles", 1);
  EXPECT_EQ(view.currentItem(), view.itemFor(p.line1));

  view.itemFor(p.raw)->setExpanded(false);
  EXPECT_FALSE(p.raw->expanded);
  p.tree.setText(p.raw, "Raw Data");
  EXPECT_FALSE(view.itemFor(p.raw)->isExpanded());
}

TEST(QtTree, DoubleClickDeleteAndRightClickReachTheHandler) {
  Project p;
  TreeView view(p.tree);
  view.resize(240, 300);
  view.show();
  QApplication::processEvents();
  QPoint at = view.visualItemRect(view.itemFor(p.line1)).center();

  doubleClick(view.viewport(), at);
  EXPECT_EQ(p.handler.doubleClicks, (std::vector<TreeItem*>{p.line1}));

  view.setCurrentItem(view.itemFor(p.line2));
  QTest::keyClick(&view, Qt::Key_Delete);
  EXPECT_EQ(p.handler.deletes, (std::vector<TreeItem*>{p.line2}));

  // Right button: the press selects, a release over the same item clicks.
  QTest::mousePress(view.viewport(), Qt::RightButton, Qt::NoModifier, at);
  EXPECT_EQ(p.tree.selected(), p.line1);
  QTest::mouseRelease(view.viewport(), Qt::RightButton, Qt::NoModifier, at);
  ASSERT_EQ(p.handler.rightClicks, (std::vector<TreeItem*>{p.line1}));
  QPoint global = view.viewport()->mapToGlobal(at);
  EXPECT_EQ(p.handler.lastX, global.x());
  EXPECT_EQ(p.handler.lastY, global.y());
  // Released over another item: no click.
  QPoint other = view.visualItemRect(view.itemFor(p.raw)).center();
  QTest::mousePress(view.viewport(), Qt::RightButton, Qt::NoModifier, at);
  QTest::mouseRelease(view.viewport(), Qt::RightButton, Qt::NoModifier, other);
  EXPECT_EQ(p.handler.rightClicks.size(), 1u);
}

TEST(QtTree, LabelEditsNeedTheHandlersConsentAndShowTheModel) {
  Project p;
  TreeView view(p.tree);
  view.resize(240, 300);
  view.show();
  QApplication::processEvents();

  // A folder: the handler refuses, no editor opens.
  view.setCurrentItem(view.itemFor(p.raw));
  QTest::keyClick(&view, Qt::Key_F2);
  EXPECT_EQ(p.handler.asked, (std::vector<TreeItem*>{p.raw}));
  EXPECT_EQ(view.viewport()->findChild<QLineEdit*>(), nullptr);

  auto rename = [&](TreeItem* item, const char* text) {
    view.setCurrentItem(view.itemFor(item));
    QTest::keyClick(&view, Qt::Key_F2);
    auto* editor = view.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
  };
  rename(p.line1, "NORTH01");
  ASSERT_EQ(p.handler.endings.size(), 1u);
  EXPECT_EQ(p.handler.endings.back(), "NORTH01");
  EXPECT_EQ(p.line1->text, "NORTH01");
  EXPECT_EQ(view.itemFor(p.line1)->text(0), "NORTH01");

  rename(p.line1, "A/B");  // refused: the label stays the model's
  ASSERT_EQ(p.handler.endings.size(), 2u);
  EXPECT_EQ(p.handler.endings.back(), "A/B");
  EXPECT_EQ(p.line1->text, "NORTH01");
  EXPECT_EQ(view.itemFor(p.line1)->text(0), "NORTH01");
}

}  // namespace
}  // namespace dv::qt
