// The raw data window in the real Qt frame on the offscreen platform: a
// double click shows it as a document window with its radargram, scroll
// bars, "&Raw" menu and object toolbar, the place the user gives it reaches
// the item file, and the headless renderer draws it to PNG (of a synthetic
// recording and of a shared GSSI one; set DELVAR_SCREENSHOTS to a folder to
// keep the pictures).
#ifdef DELVAR_HAVE_QT

#include <QApplication>
#include <QImage>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScrollBar>
#include <QToolBar>

#include <clocale>
#include <cstdlib>

#include "display/raw_window.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"
#include "project/raw.h"
#include "qt_docwidget.h"
#include "qt_frame.h"
#include "qt_render.h"

namespace {

using namespace quvtest;

std::string le(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[size_t(i)] = char((uint32_t(v) >> (8 * i)) & 0xff);
  return s;
}

class RawWindowGui : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
    if (!QCoreApplication::instance()) {
      if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      static int argc = 1;
      static char name[] = "quv_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
      std::setlocale(LC_NUMERIC, "C");
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
      GTEST_SKIP() << "a Qt application without widgets already runs in this process";
  }
  static void settleQt() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  static quv::RawObject* rawRecord(dv::TreeItem* it) {
    void* obj = nullptr;
    ::GetTreepObj(it, &obj);
    return static_cast<quv::RawObject*>(obj);
  }
  // Where pictures go: DELVAR_SCREENSHOTS when set, else the test's folder.
  std::string shotPath(const std::string& name) {
    const char* dir = std::getenv("DELVAR_SCREENSHOTS");
    return join(dir && *dir ? dir : work, name);
  }
  // A pixel as 0xRRGGBB.
  static unsigned rgbAt(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; }
  // Colours seen inside the image rectangle [80, right) x [50, bottom).
  static int coloursInside(const QImage& img, int right, int bottom) {
    QList<QRgb> seen;
    for (int y = 51; y < bottom; y += 7)
      for (int x = 81; x < right; x += 7)
        if (!seen.contains(img.pixel(x, y))) seen.append(img.pixel(x, y));
    return int(seen.size());
  }
};

TEST_F(RawWindowGui, OpensInTheRealFrameWithItsRadargramMenuAndToolbar) {
  dv::qt::QtFrameWindow view(pontra::frame());
  view.resize(1100, 800);
  view.show();
  settleQt();
  addRecordings({makeRecording(field, "GUI.DZT", "DZT", 120, 256)});
  doubleClick(item(rawPath("GUI.DZT")));
  settleQt();

  auto& mdi = pontra::frame().mdi;
  ASSERT_EQ(mdi.windows().size(), 1u);
  dv::DocWindow* w = mdi.windows()[0];
  QMdiSubWindow* sub = view.subWindowOf(w);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->windowTitle().toStdString(), "GUI.DZT");
  auto* content = qobject_cast<dv::qt::QtDocWidget*>(sub->widget());
  ASSERT_NE(content, nullptr) << "a painting window is shown by the document widget";
  EXPECT_TRUE(content->horizontalBar()->isVisible());
  EXPECT_TRUE(content->verticalBar()->isVisible());

  // The menu bar shows "&Raw" while the window is active.
  bool rawMenu = false;
  for (QAction* a : view.menuBar()->actions()) rawMenu = rawMenu || a->text() == "&Raw";
  EXPECT_TRUE(rawMenu);
  // The object toolbar carries the window's six commands.
  int buttons = 0;
  for (QAction* a : view.objectToolBar()->actions()) buttons += !a->isSeparator();
  EXPECT_EQ(buttons, 6);

  // The picture on screen: a black frame around a radargram of many shades.
  sub->resize(700, 500);
  settleQt();
  QImage shot = content->grab().toImage();
  ASSERT_FALSE(shot.isNull());
  const dv::Rect r = quv::rawImageRect(content->width(), content->height(),
                                       w->pane()->scrollBarWidth, w->pane()->scrollBarHeight);
  EXPECT_EQ(rgbAt(shot, r.left - 1, 120), 0u);
  EXPECT_EQ(rgbAt(shot, 200, r.top - 1), 0u);
  EXPECT_EQ(rgbAt(shot, 30, r.bottom - 20), 0xFFFFFFu);  // left margin: white (no label there)
  EXPECT_GT(coloursInside(shot, r.right, r.bottom), 20);
  shot.save(QString::fromStdString(shotPath("raw_window_screen.png")));

  // Where the user puts the window is what the item file keeps.
  sub->showNormal();
  sub->setGeometry(10, 20, 600, 450);
  settleQt();
  closeProject();
  settleQt();
  EXPECT_TRUE(mdi.windows().empty());
  const std::string bytes = readFile(inProject("RAW_GUI.QUV"));
  ASSERT_GE(bytes.size(), 44u);
  EXPECT_EQ(bytes.substr(4, 4), le(1));
  EXPECT_EQ(bytes.substr(bytes.size() - 16), le(10) + le(20) + le(610) + le(470));
}

TEST_F(RawWindowGui, RendersSyntheticAndSharedRecordingsToPng) {
  addRecordings({makeRecording(field, "SYN.RAD", "RAD", 300, 256)});
  std::vector<std::string> labels = {"SYN.RAD"};
  if (haveTestdata("gssi/FILE____032.DZT")) {
    addRecordings({testdataPath("gssi/FILE____032.DZT")});
    labels.push_back("FILE____032.DZT");
  }
  for (const std::string& label : labels) {
    doubleClick(item(rawPath(label)));
    auto* w = static_cast<quv::CRawWnd*>(rawRecord(item(rawPath(label)))->window);
    ASSERT_NE(w, nullptr) << label << "\n" << messages();
    for (int palette : {quv::kRawCmdGrayScale, quv::kRawCmdRedWhiteBlue}) {
      static_cast<dv::DocWindow*>(w)->onCommand(palette);
      const std::string png =
          shotPath("raw_window_" + label + (palette == quv::kRawCmdGrayScale ? "_gray" : "_rwb") + ".png");
      ASSERT_TRUE(dv::qt::renderDocWindow(*w, 900, 600, png)) << png;
      QImage img(QString::fromStdString(png));
      ASSERT_FALSE(img.isNull()) << png;
      EXPECT_EQ(img.width(), 900);
      const dv::Rect r = quv::rawImageRect(900, 600, 17, 17);
      EXPECT_EQ(rgbAt(img, r.left - 1, 300), 0u) << png;
      EXPECT_GT(coloursInside(img, r.right, r.bottom), 20) << png;
    }
  }
}

}  // namespace

#endif  // DELVAR_HAVE_QT
