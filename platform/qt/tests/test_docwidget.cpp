// The generic document widget and the headless renderer: a painting window
// shown in the frame's area, its events reaching the pane in client
// pixels, child panes getting widgets at their places, scroll bars kept as
// the pane's state, the placement reported back, and a render to PNG.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

#include "dv/window.h"
#include "qt_docwidget.h"
#include "qt_frame.h"
#include "qt_render.h"

namespace dv::qt {
namespace {

// A pane that draws a red square at (10, 10)-(30, 30) on white and notes
// every event it gets.
class NotingPane : public Pane {
 public:
  void onPaint(Canvas& c) override {
    ++paints;
    c.fillRect({0, 0, width(), height()}, 0xFFFFFF);
    c.fillRect({10, 10, 30, 30}, 0x0000FF);
  }
  void onMouseDown(const MouseEvent& e) override { note("down", e); }
  void onMouseUp(const MouseEvent& e) override { note("up", e); }
  void onDoubleClick(const MouseEvent& e) override { note("dbl", e); }
  void onMouseMove(const MouseEvent& e) override {
    if (e.buttons) note("move", e);
  }
  bool onKey(const KeyEvent& e) override {
    keys.push_back(e.key);
    return true;
  }
  void onSize(int w, int h) override {
    sizes.push_back({w, h});
    for (Pane* c : children()) c->place({0, 0, w / 2, h});
  }
  void onScroll(bool vertical, int action, int position) override {
    scrolls.push_back({vertical ? 1 : 0, action, position});
    // The pane's own rule: a line step moves by 10, the thumb where dropped.
    ScrollBarState h = hScroll;
    if (action == kScrollLineDown) h.position = std::min(h.position + 10, 90);
    if (action == kScrollThumbTrack || action == kScrollThumbPosition) h.position = position;
    setScrollBars(h, vScroll);
  }
  void note(const char* what, const MouseEvent& e) {
    events.push_back(std::string(what) + " " + std::to_string(e.x) + "," + std::to_string(e.y) +
                     " b" + std::to_string(e.button) + " m" + std::to_string(e.modifiers));
  }
  int paints = 0;
  std::vector<std::string> events;
  std::vector<int> keys;
  std::vector<std::pair<int, int>> sizes;
  std::vector<std::vector<int>> scrolls;
};

class PaintingDoc : public DocWindow {
 public:
  PaintingDoc() { setTitle("Painting"); }
  Pane* pane() override { return &root; }
  void onPlacement(const DocPlacement& p) override {
    DocWindow::onPlacement(p);
    ++placements;
  }
  void onActivate(bool on) override { activations.push_back(on); }
  NotingPane root;
  int placements = 0;
  std::vector<bool> activations;
};

class TitleDoc : public DocWindow {
 public:
  TitleDoc() { setTitle("Plain"); }
};

TEST(DocWidget, FrameShowsPaintingWindowsWithTheGenericWidgetAndOthersWithTheirTitle) {
  FrameModel model;
  QtFrameWindow frame(model);
  frame.resize(900, 700);
  frame.show();
  PaintingDoc painting;
  painting.placement.normal = {20, 30, 420, 330};
  TitleDoc plain;
  model.mdi.add(&painting);
  model.mdi.add(&plain);
  ASSERT_NE(frame.subWindowOf(&painting), nullptr);
  EXPECT_NE(qobject_cast<QtDocWidget*>(frame.subWindowOf(&painting)->widget()), nullptr);
  EXPECT_NE(qobject_cast<DocTitleWidget*>(frame.subWindowOf(&plain)->widget()), nullptr);
  // The saved place is where the window appears, and moving it is reported.
  QMdiSubWindow* sub = frame.subWindowOf(&painting);
  EXPECT_EQ(sub->geometry(), QRect(20, 30, 400, 300));
  sub->move(50, 60);
  QApplication::processEvents();
  EXPECT_EQ(painting.placement.normal.left, 50);
  EXPECT_EQ(painting.placement.normal.top, 60);
  EXPECT_GT(painting.placements, 0);
  // Activation is told to the windows: on for the new one, off for the old.
  ASSERT_GE(painting.activations.size(), 2u);
  EXPECT_TRUE(painting.activations.front());
  EXPECT_FALSE(painting.activations.back());
  model.mdi.remove(&plain);
  model.mdi.remove(&painting);
  // After removal nothing reads the window any more.
  QApplication::processEvents();
}

TEST(DocWidget, EventsReachThePaneInClientPixelsWithButtonsAndModifiers) {
  NotingPane pane;
  PaneWidget w(&pane, true);
  w.resize(200, 100);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  EXPECT_EQ(pane.width(), 200);
  EXPECT_EQ(pane.height(), 100);
  QTest::mousePress(&w, Qt::LeftButton, Qt::ShiftModifier, QPoint(15, 25));
  QTest::mouseMove(&w, QPoint(40, 50));
  QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, QPoint(40, 50));
  QTest::mouseDClick(&w, Qt::RightButton, Qt::ControlModifier, QPoint(7, 8));
  QTest::keyClick(&w, Qt::Key_Left);
  QTest::keyClick(&w, Qt::Key_PageDown);
  ASSERT_GE(pane.events.size(), 3u);
  EXPECT_EQ(pane.events[0], "down 15,25 b1 m1");
  EXPECT_NE(std::find(pane.events.begin(), pane.events.end(), "dbl 7,8 b2 m2"), pane.events.end());
  EXPECT_EQ(pane.keys, (std::vector<int>{kKeyLeft, kKeyPageDown}));
  // Painting goes through the pane's hook.
  EXPECT_GT(pane.paints, 0);
  QImage shot = w.grab().toImage();
  EXPECT_EQ(shot.pixelColor(20, 20), QColor(255, 0, 0));
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(255, 255, 255));
}

TEST(DocWidget, ChildPanesGetWidgetsAtTheirPlacesAndFollowShowAndHide) {
  NotingPane root, child;
  child.id = 20400;
  root.children().push_back(&child);
  PaneWidget w(&root, true);
  w.resize(300, 120);
  w.show();
  QApplication::processEvents();
  PaneWidget* cw = w.childWidget(&child);
  ASSERT_NE(cw, nullptr);
  EXPECT_EQ(cw->geometry(), QRect(0, 0, 150, 120));
  EXPECT_EQ(child.width(), 150);
  child.show(false);
  EXPECT_FALSE(cw->isVisible());
  child.show(true);
  EXPECT_TRUE(cw->isVisible());
  child.place({10, 20, 110, 70});
  EXPECT_EQ(cw->geometry(), QRect(10, 20, 100, 50));
  // Events on the child reach the child, in its own client pixels.
  QTest::mousePress(cw, Qt::LeftButton, Qt::NoModifier, QPoint(3, 4));
  ASSERT_EQ(child.events.size(), 1u);
  EXPECT_EQ(child.events[0], "down 3,4 b1 m0");
  EXPECT_TRUE(root.events.empty());
  w.detach();
}

TEST(DocWidget, ScrollBarsShowThePaneStateAndReportUserScrolling) {
  NotingPane pane;
  PaneWidget w(&pane, true);
  w.resize(200, 150);
  w.show();
  QApplication::processEvents();
  ScrollBarState h{20401, 0, 100, 21, 0, true}, v{20402, 0, 100, 101, 0, false};
  pane.setScrollBars(h, v);
  QScrollBar* bar = w.horizontalBar();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(w.verticalBar()->isVisible());
  // Range 0..100 with a page of 21: the thumb travels 0..80.
  EXPECT_EQ(bar->minimum(), 0);
  EXPECT_EQ(bar->maximum(), 80);
  EXPECT_EQ(bar->pageStep(), 21);
  EXPECT_EQ(bar->geometry().bottom(), 149);
  EXPECT_EQ(bar->height(), pane.scrollBarHeight);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  ASSERT_EQ(pane.scrolls.size(), 1u);
  EXPECT_EQ(pane.scrolls[0][0], 0);
  EXPECT_EQ(pane.scrolls[0][1], kScrollLineDown);
  // The pane's rule decides the position, not the bar's own step.
  EXPECT_EQ(pane.hScroll.position, 10);
  EXPECT_EQ(bar->value(), 10);
  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(pane.scrolls.back()[1], kScrollPageUp);
  // Setting the state from the pane does not report a scroll back.
  const size_t before = pane.scrolls.size();
  h.position = 40;
  pane.setScrollBars(h, v);
  EXPECT_EQ(bar->value(), 40);
  EXPECT_EQ(pane.scrolls.size(), before);
}

TEST(DocWidget, RenderWritesTheWindowWithItsVisibleChildren) {
  PaintingDoc doc;
  NotingPane child;
  doc.root.children().push_back(&child);
  QImage img = renderPane(doc.root, 120, 60);
  ASSERT_EQ(img.size(), QSize(120, 60));
  EXPECT_EQ(doc.root.width(), 120);
  // The child covers the left half: its red square is at (10, 10) of its own client.
  EXPECT_EQ(img.pixelColor(15, 15), QColor(255, 0, 0));
  EXPECT_EQ(img.pixelColor(70, 40), QColor(255, 255, 255));
  child.show(false);
  child.place({60, 0, 120, 60});
  child.show(true);
  // onSize of the root places the child at the left half again.
  img = renderPane(doc.root, 120, 60);
  EXPECT_EQ(child.geometry().left, 0);
  QTemporaryDir dir;
  const std::string png = dir.filePath("w.png").toStdString();
  EXPECT_TRUE(renderDocWindow(doc, 120, 60, png));
  QImage back(QString::fromStdString(png));
  EXPECT_EQ(back.size(), QSize(120, 60));
  TitleDoc plain;
  EXPECT_FALSE(renderDocWindow(plain, 120, 60, png));
  EXPECT_FALSE(renderDocWindow(doc, 0, 60, png));
}

}  // namespace
}  // namespace dv::qt
