// The profile window through the LOADED module: a double click on a profile
// made by Create Profile opens its window in the frame; the normal display
// rendered through the Qt canvas matches, pixel for pixel in the image
// area, an image built here from the display rules; the window's commands,
// readouts and state; the window state saved in the profile file and
// restored when the project opens again; the window in the real Qt frame;
// Fit Hyperbola on a diffraction of the synthetic line.
#if DELVAR_HAVE_QT
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolBar>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "display/axes.h"
#include "display/colortable.h"
#include "display/gain.h"
#include "display/image.h"
#include "display/profile_window.h"
#include "display/profile_window_rules.h"
#include "dv/headless.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"
#include "project/fitted_velocity.h"
#include "project/profile.h"
#include "qt_docwidget.h"
#include "qt_frame.h"
#include "qt_render.h"

namespace {

using namespace quvtest;

// The Qt application of this process: a widgets application on the
// offscreen platform, made before anything renders.
void qtApp() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "quv_tests";
  static char* argv[] = {name, nullptr};
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  new QApplication(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
}

// Where screenshots go: $DELVAR_SHOT_DIR, else the sandbox.
std::string shotPath(const std::string& name) {
  const char* dir = std::getenv("DELVAR_SHOT_DIR");
  std::string d = dir && *dir ? dir : sandbox();
  std::filesystem::create_directories(d);
  return join(d, name);
}

class ProfileWindowModule : public ProjectTest {
 protected:
  void SetUp() override {
    qtApp();
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  static dv::MdiArea& mdi() { return pontra::frame().mdi; }
  static dv::TreeItem* profile(const std::string& name) { return item("Site/QUV/Profiles/" + name); }
  static quv::ProfileItem* record(dv::TreeItem* it) {
    void* obj = nullptr;
    ::GetTreepObj(it, &obj);
    return static_cast<quv::ProfileItem*>(obj);
  }
  // Adds the recording and makes a profile of it with Create Profile.
  void makeProfile(const std::string& recording, const std::string& label) {
    addRecordings({recording});
    answer("answer dialog \"Specify Name for Profiles\" press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    popup(item(rawPath(label)), 33120);
    resetUi();
  }
  // The profile window of a profile (the document window titled with its name).
  static dv::DocWindow* window(const std::string& title) {
    for (dv::DocWindow* w : mdi().windows())
      if (w->title() == title) return w;
    return nullptr;
  }
  static std::string pane(int i) {
    const auto& p = pontra::frame().statusPanes;
    return size_t(i) < p.size() ? p[size_t(i)] : std::string();
  }
};

TEST_F(ProfileWindowModule, SharedRecordingRendersToAScreenshot) {
  QUV_NEED_TESTDATA("gssi/FILE____032.DZT");
  makeProfile(testdataPath("gssi/FILE____032.DZT"), "FILE____032.DZT");
  dv::TreeItem* it = profile("FILE____032");
  ASSERT_NE(it, nullptr) << messages();
  doubleClick(it);
  dv::DocWindow* w = window("FILE____032");
  ASSERT_NE(w, nullptr) << messages();
  ASSERT_NE(w->pane(), nullptr);
  const std::string png = shotPath("profile_FILE____032.png");
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 1000, 640, png));
  std::cout << "screenshot: " << png << "\n";
  w->onCommand(33243);  // Gray Scale
  w->onCommand(33247);  // Wiggles On
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 1000, 640, shotPath("profile_FILE____032_gray.png")));
  w->onCommand(34160);  // View Presentation: the page
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 1000, 640, shotPath("profile_FILE____032_page.png")));
}

TEST_F(ProfileWindowModule, SyntheticRecordingScreenshot) {
  makeProfile(makeRecording(field, "SYN.DZT", "DZT", 120, 256), "SYN.DZT");
  doubleClick(profile("SYN"));
  dv::DocWindow* w = window("SYN");
  ASSERT_NE(w, nullptr) << messages();
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 900, 600, shotPath("profile_SYN.png")));
  w->onCommand(33247);  // Wiggles On
  w->onCommand(20000);  // View Text
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 900, 600, shotPath("profile_SYN_text.png")));
}


TEST_F(ProfileWindowModule, LoadUserPaletteReplacesTheSharedPaletteAndKeepsACopy) {
  makeProfile(makeRecording(field, "PAL.DZT", "DZT", 40, 64), "PAL.DZT");
  makeProfile(makeRecording(field, "PAL2.DZT", "DZT", 40, 64), "PAL2.DZT");
  doubleClick(profile("PAL"));
  doubleClick(profile("PAL2"));
  dv::DocWindow* w = window("PAL");
  ASSERT_NE(w, nullptr) << messages();
  const std::string pal = join(sandbox(), "greens.pal");
  writeFile(pal, "/ two greens\r\n\r\n  0 200 0\r\n0 100 0\r\n");

  // A file that cannot be opened changes nothing.
  answer("answer file \"" + join(sandbox(), "missing.pal") + "\"");
  w->onCommand(34169);
  EXPECT_NE(uiLogText().find("\"Error\": \"Could not open file for reading\""), std::string::npos)
      << uiLogText();
  EXPECT_NE(record(profile("PAL"))->versionList.at(0)->normal.paletteType, 3);

  answer("answer file \"" + pal + "\"");
  w->onCommand(34169);
  EXPECT_EQ(pendingAnswers(), 0);
  EXPECT_EQ(messages().find("Load User Palette"), std::string::npos) << messages();
  EXPECT_EQ(record(profile("PAL"))->versionList.at(0)->normal.paletteType, 3);
  EXPECT_NE(record(profile("PAL2"))->versionList.at(0)->normal.paletteType, 3);
  // The installation keeps the file for the next start.
  EXPECT_EQ(readFile(join(sandbox(), "USERDEF.PAL")), readFile(pal));
  // The display now draws with the loaded colours.
  QImage img = dv::qt::renderPane(*w->pane(), 700, 500);
  bool green = false;
  for (int y = 0; y < img.height() && !green; y += 3)
    for (int x = 0; x < img.width() && !green; x += 3) green = img.pixel(x, y) == qRgb(0, 200, 0);
  EXPECT_TRUE(green) << "no pixel of the loaded palette's first colour";
}

// --- the normal display against the rules -------------------------------------------

// The colour of a byte in the default Red-White-Blue palette of 64 colours.
QRgb rwb64(uint8_t byte) {
  const int k = byte >> 2;  // palette entry (index - 2)
  if (k < 32) return qRgb(255, 2 * k * 256 / 64, 2 * k * 256 / 64);
  const int m = 63 - k;
  return qRgb(2 * m * 256 / 64, 2 * m * 256 / 64, 255);
}

// One axis of the pixel maps, as the rules give it.
std::vector<int> pixelMap(int count, int from, int to, int first, int last) {
  std::vector<int> map(size_t(count), -1);
  const int p = to - from, k = last - first;
  for (int i = 0; i < p; ++i)
    map[size_t(from + i)] = k + 1 < p ? int((i + 0.5) * k / (p - 1) + first + 0.5)
                                      : int(double(i * k) / (p - 1) + first + 0.5);
  return map;
}

TEST_F(ProfileWindowModule, NormalDisplayMatchesTheImageTheRulesGive) {
  const int traces = 60, samples = 128;
  makeProfile(makeRecording(field, "REND.DZT", "DZT", traces, samples), "REND.DZT");
  doubleClick(profile("REND"));
  dv::DocWindow* w = window("REND");
  ASSERT_NE(w, nullptr) << messages();
  const int width = 800, height = 500;
  QImage shot = dv::qt::renderPane(*w->pane(), width, height);
  shot.save(QString::fromStdString(shotPath("profile_REND.png")));

  // The profile's samples and header as written by Create Profile; the bytes of
  // the default A. G. C. gain.
  quv::ProfileVersion hdr;
  ASSERT_TRUE(quv::decodeVersionHeader(readFile(inProject("TT01_REND.QUV")), hdr));
  ASSERT_EQ(hdr.samples, samples);
  const std::string raw = readFile(inProject("T01_REND.QUV"));
  ASSERT_EQ(raw.size(), size_t(traces) * samples * 4);
  const quv::TraceGain gain(quv::gainSettings(hdr.normal, hdr.amplitudeScale), samples, nullptr);
  std::vector<std::vector<uint8_t>> bytes(static_cast<size_t>(traces),
                                          std::vector<uint8_t>(static_cast<size_t>(samples)));
  for (int t = 0; t < traces; ++t) {
    std::vector<float> x(static_cast<size_t>(samples));
    std::memcpy(x.data(), raw.data() + size_t(t) * samples * 4, size_t(samples) * 4);
    gain.apply(x.data(), bytes[size_t(t)].data());
  }

  // The normal view: x 0, y 25, 85 % of the width; the image between the
  // fixed margins and the scroll bars.
  const dv::Pane* view = w->pane()->children().at(0);
  const int vw = int(float(width) * 0.85f), vh = height - 25;
  ASSERT_EQ(view->geometry().right, vw);
  const int L = 80, T = 50, R = vw - view->scrollBarWidth - 1, B = vh - view->scrollBarHeight - 1;
  const std::vector<int> cols = pixelMap(vw, L, R, 0, traces - 1);
  const std::vector<int> rows = pixelMap(vh, T, B, 0, samples - 1);
  // Major grid lines across the image at the five fixed vertical values.
  std::vector<int> grid;
  for (int k = 0; k < 5; ++k) grid.push_back(int(k * double(B - T - 1) / 4 + T + 0.5));

  int wrong = 0;
  for (int y = T - 1; y <= B; ++y)
    for (int x = L - 1; x <= R; ++x) {
      QRgb expect;
      if (x == L - 1 || x == R || y == T - 1 || y == B) expect = qRgb(0, 0, 0);  // the frame
      else if (std::find(grid.begin(), grid.end(), y) != grid.end()) expect = qRgb(0, 0, 0);
      else expect = rwb64(bytes[size_t(cols[size_t(x)])][size_t(rows[size_t(y)])]);
      const QRgb got = shot.pixel(x, y + 25) & 0xFFFFFF;
      if (got != (expect & 0xFFFFFF) && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex << got << ", expected "
                      << (expect & 0xFFFFFF);
    }
  EXPECT_EQ(wrong, 0);

  // Ticks outside the image land on their pixels: the first top major tick runs
  // from T - 2 up to T - fh / 2 - 2 (13-pixel font), the left one from L - 2.
  for (int y = T - 2; y > T - 13 / 2 - 2; --y) EXPECT_EQ(shot.pixel(L, y + 25) & 0xFFFFFF, 0u) << y;
  for (int x = L - 2; x > L - 13 / 2 - 2; --x) EXPECT_EQ(shot.pixel(x, T + 25) & 0xFFFFFF, 0u) << x;
  // Text, with a tolerance: the first time value "0.00" sits left of the image
  // beside the top, the title "Time (ns)" above it; both leave dark pixels there.
  auto dark = [&](int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += qGray(shot.pixel(x, y + 25)) < 128;
    return n;
  };
  EXPECT_GT(dark(30, T - 8, L - 8, T + 7), 10);
  EXPECT_GT(dark(5, T - 33 - 14, L - 8, T - 33 + 2), 10);
  // Nothing is drawn right of the image but the right-side ticks, hidden by default.
  EXPECT_EQ(dark(R + 2, T + 2, R + 12, B - 2), 0);
}

// --- readouts, zoom and commands through the window's panes -----------------------------------

TEST_F(ProfileWindowModule, ReadoutsZoomAndCommandsThroughThePanes) {
  makeProfile(makeRecording(field, "PANE.DZT", "DZT", 40, 64), "PANE.DZT");
  doubleClick(profile("PANE"));
  dv::DocWindow* w = window("PANE");
  ASSERT_NE(w, nullptr);
  // Double click again: the window is activated, not made twice.
  doubleClick(profile("PANE"));
  EXPECT_EQ(std::count_if(mdi().windows().begin(), mdi().windows().end(),
                          [](dv::DocWindow* d) { return d->title() == "PANE"; }),
            1);
  EXPECT_EQ(mdi().active(), w);
  // The frame shows the window's menu bar with its "&Profile" pop-up.
  ASSERT_NE(pontra::currentMenuBar(), nullptr);
  EXPECT_EQ(pontra::currentMenuBar()->items().back().caption, "&Profile");
  EXPECT_NE(menuEntry(34162), nullptr);  // "Set Time &Zero"

  w->pane()->resize(900, 600);
  dv::Pane* view = w->pane()->children().at(0);
  dv::MouseEvent e;
  e.x = 81;
  e.y = 51;
  view->onMouseMove(e);
  EXPECT_EQ(pane(0).substr(0, 8), "Easting:") << pane(0);
  EXPECT_NE(pane(0).find(" Time:0.00"), std::string::npos) << pane(0);
  EXPECT_EQ(pane(1), "#Trc:40");
  EXPECT_EQ(pane(2), "");
  EXPECT_EQ(pane(3), "Tmin:0.00");
  e.x = 20;  // over the vertical axis
  view->onMouseMove(e);
  EXPECT_EQ(pane(0), "");
  EXPECT_EQ(pane(1), "#Trc:40");

  // A rubber band from x 200 to beyond the image (kept to its last column)
  // and over 140 rows zooms both axes.
  const int L = 80, R = view->width() - view->scrollBarWidth - 1;
  const std::vector<int> cols = pixelMap(view->width(), L, R, 0, 39);
  e.x = 200;
  e.y = 60;
  e.button = dv::kLeftButton;
  view->onMouseDown(e);
  e.button = 0;
  e.x = 2000;
  e.y = 200;
  view->onMouseMove(e);
  e.button = dv::kLeftButton;
  view->onMouseUp(e);
  EXPECT_LT(view->vScroll.page, 101);
  const int first = cols[200], last = cols[size_t(R - 1)];
  EXPECT_EQ(last, 39);
  EXPECT_EQ(view->hScroll.page, 101 * (last - first + 1) / 40);
  EXPECT_EQ(view->hScroll.position, 101 - view->hScroll.page);  // the last trace is shown
  // Zoom Out through the frame's command routing.
  command(34206);
  EXPECT_EQ(view->vScroll.page, 101);
  EXPECT_EQ(view->hScroll.page, 101);

  // A rename retitles the window.
  ASSERT_TRUE(rename(profile("PANE"), "PANE2"));
  EXPECT_EQ(window("PANE2"), w);

  clearMessages();
  command(34160);  // View Presentation shows the page, View Normal the image again
  EXPECT_TRUE(static_cast<quv::CProfileWnd*>(w)->presentationMode());
  command(34140);
  EXPECT_FALSE(static_cast<quv::CProfileWnd*>(w)->presentationMode());
  answer("answer sheet \"Edit Normal Data Display Properties\" page \"Horizontal Axis\" expect value Decimals 2 cancel");
  command(34170);  // "Edit Pr&operties" opens the normal sheet
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  // Depth Convert on a time version is offered; Elevation Convert is refused.
  answer("answer message Error OK");
  command(34164);
  EXPECT_NE(uiLogText().find("Version must be depth to convert to elevation"), std::string::npos)
      << uiLogText();
}

// --- window state in the profile file ------------------------------------------------------

TEST_F(ProfileWindowModule, WindowStateIsSavedAndRestoredWithTheProject) {
  makeProfile(makeRecording(field, "KEEP.DZT", "DZT", 30, 64), "KEEP.DZT");
  doubleClick(profile("KEEP"));
  dv::DocWindow* w = window("KEEP");
  ASSERT_NE(w, nullptr);
  w->pane()->resize(1000, 600);
  // The separator dragged to x 700, the window placed, the text view shown.
  dv::MouseEvent e;
  e.x = 852;
  e.y = 300;
  e.button = dv::kLeftButton;
  w->pane()->onMouseDown(e);
  e.x = 700;
  w->pane()->onMouseUp(e);
  EXPECT_EQ(w->pane()->children()[0]->geometry().right, 700);
  dv::DocPlacement p;
  p.normal = {15, 25, 715, 525};
  w->onPlacement(p);
  w->onCommand(20000);  // View Text
  closeProject();

  quv::ProfileFileFields f;
  ASSERT_TRUE(quv::decodeProfileFile(readFile(inProject("PRF_KEEP.QUV")), f));
  EXPECT_EQ(f.windowOpen, 1);
  EXPECT_EQ(f.window.placement.left, 15);
  EXPECT_EQ(f.window.placement.top, 25);
  EXPECT_EQ(f.window.placement.right, 715);
  EXPECT_EQ(f.window.placement.bottom, 525);
  EXPECT_EQ(f.window.placement.showCmd, 1u);
  EXPECT_FLOAT_EQ(f.window.splitRatio, 0.7f);
  EXPECT_EQ(f.window.textMode, 1);
  EXPECT_EQ(f.window.presentationMode, 0);

  openProject(orx);
  w = window("KEEP");
  ASSERT_NE(w, nullptr) << messages();
  EXPECT_EQ(w->placement.normal.left, 15);
  EXPECT_EQ(w->placement.normal.bottom, 525);
  w->pane()->resize(1000, 600);
  EXPECT_TRUE(w->pane()->children()[2]->visible());  // the text view
  EXPECT_FALSE(w->pane()->children()[0]->visible());
  w->onCommand(20000);  // back to the graphic
  EXPECT_EQ(w->pane()->children()[0]->geometry().right, 700);

  // Closed by the user: the profile is saved without a window.
  EXPECT_TRUE(w->onClose());
  settle();
  EXPECT_EQ(window("KEEP"), nullptr);
  EXPECT_EQ(record(profile("KEEP"))->window, nullptr);
  closeProject();
  ASSERT_TRUE(quv::decodeProfileFile(readFile(inProject("PRF_KEEP.QUV")), f));
  EXPECT_EQ(f.windowOpen, 0);
  openProject(orx);
  EXPECT_EQ(window("KEEP"), nullptr);
}

// --- the window in the real frame ---------------------------------------------------------

TEST_F(ProfileWindowModule, GuiSmokeTheWindowInTheQtFrame) {
  makeProfile(makeRecording(field, "GUI.DZT", "DZT", 30, 64), "GUI.DZT");
  dv::qt::QtFrameWindow frame(pontra::frame());
  frame.resize(1200, 800);
  frame.show();
  doubleClick(profile("GUI"));
  QApplication::processEvents();
  dv::DocWindow* w = window("GUI");
  ASSERT_NE(w, nullptr);
  QMdiSubWindow* sub = frame.subWindowOf(w);
  ASSERT_NE(sub, nullptr);
  auto* doc = qobject_cast<dv::qt::QtDocWidget*>(sub->widget());
  ASSERT_NE(doc, nullptr);
  dv::qt::PaneWidget* viewWidget = doc->childWidget(w->pane()->children().at(0));
  ASSERT_NE(viewWidget, nullptr);
  EXPECT_TRUE(viewWidget->isVisible());
  EXPECT_TRUE(viewWidget->horizontalBar()->isVisible());
  EXPECT_FALSE(doc->childWidget(w->pane()->children().at(2))->isVisible());
  // The menu bar ends with "&Profile"; the object toolbar carries the normal buttons.
  ASSERT_FALSE(frame.menuBar()->actions().isEmpty());
  EXPECT_EQ(frame.menuBar()->actions().back()->text().toStdString(), "&Profile");
  ASSERT_TRUE(frame.objectToolBar()->isVisible());
  QAction* zoomOut = nullptr;
  for (QAction* a : frame.objectToolBar()->actions())
    if (a->toolTip() == "Zoom Out") zoomOut = a;
  ASSERT_NE(zoomOut, nullptr);
  // The mouse over the image shows the readouts in the frame's panes.
  const dv::Rect im{80, 50, viewWidget->width() - 18, viewWidget->height() - 18};
  QMouseEvent move(QEvent::MouseMove, QPointF(im.left + 3, im.top + 3),
                   viewWidget->mapToGlobal(QPointF(im.left + 3, im.top + 3)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewWidget, &move);
  EXPECT_EQ(frame.statusPane(1)->text().toStdString(), "#Trc:30");
  EXPECT_FALSE(frame.statusPane(0)->text().isEmpty());
  zoomOut->trigger();
  QApplication::processEvents();
  QImage shot = doc->grab().toImage();
  EXPECT_EQ(shot.width(), doc->width());
  // Closing the sub-window closes the profile window.
  sub->close();
  settle();
  QApplication::processEvents();
  EXPECT_EQ(window("GUI"), nullptr);
  EXPECT_EQ(record(profile("GUI"))->window, nullptr);
}


// --- Fit Hyperbola ---------------------------------------------------------------------------

TEST_F(ProfileWindowModule, FitHyperbolaFindsTheDiffractionVelocityAndDragsIt) {
  // The synthetic line's first diffraction: a quarter along the line
  // (trace 30 of 120), its apex at 30 % of 100 ns, velocity 0.1 m/ns.
  makeProfile(makeRecording(field, "DIFF.DZT", "DZT", 120, 256), "DIFF.DZT");
  doubleClick(profile("DIFF"));
  auto* w = static_cast<quv::CProfileWnd*>(window("DIFF"));
  ASSERT_NE(w, nullptr) << messages();
  w->pane()->resize(900, 600);
  quv::NormalView& view = w->normalView();
  command(quv::ID_N_FIT_HYPERBOLA);
  ASSERT_TRUE(w->fitMode());
  EXPECT_EQ(pane(2), "Fit Hyperbola: click the apex of a diffraction");
  const quv::ProfileVersion& v = *w->version();
  const int apexSample = int(std::lround((30.0 - v.firstTime) / v.timeIncrement));
  auto pixelOf = [](const std::vector<int>& map, int value) {
    return int(std::find(map.begin(), map.end(), value) - map.begin());
  };
  dv::MouseEvent e;
  e.button = dv::kLeftButton;
  e.x = pixelOf(view.maps().columns, 30);
  e.y = pixelOf(view.maps().rows, apexSample + 2);  // a click a little off the apex
  view.onMouseDown(e);
  view.onMouseUp(e);
  const quv::HyperbolaPick fitted = w->hyperbola();
  ASSERT_TRUE(fitted.valid()) << messages();
  EXPECT_NEAR(fitted.velocity, 0.1, 0.003) << messages();
  char status[32];
  std::snprintf(status, sizeof status, "v=%.4f m/ns", fitted.velocity);
  EXPECT_EQ(pane(2), status);
  EXPECT_NE(messages().find("Hyperbola at trace 31"), std::string::npos) << messages();
  const std::string shot = shotPath("profile_fit_hyperbola.png");
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 900, 600, shot));
  std::cout << "screenshot: " << shot << "\n";

  // A press on the drawn curve 20 traces out and a drag 30 pixels down:
  // later arrivals at that offset are a slower, narrower hyperbola.
  const std::vector<dv::Point> curve = view.hyperbolaPoints();
  const int x = pixelOf(view.maps().columns, 50);
  auto on = std::find_if(curve.begin(), curve.end(), [x](const dv::Point& p) { return p.x == x; });
  ASSERT_NE(on, curve.end());
  e.x = on->x;
  e.y = on->y;
  view.onMouseDown(e);
  EXPECT_TRUE(view.draggingHyperbola());
  e.button = 0;
  e.y += 30;
  view.onMouseMove(e);
  e.button = dv::kLeftButton;
  view.onMouseUp(e);
  const float dragged = w->hyperbola().velocity;
  EXPECT_LT(dragged, fitted.velocity - 0.005f);
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 900, 600, shotPath("profile_fit_hyperbola_dragged.png")));

  // The fitted velocity (kept by the loaded module): migration's default,
  // and the depth axes' velocity.
  char typed[32];
  std::snprintf(typed, sizeof typed, "%g", double(dragged));
  answer(std::string("answer dialog Migration expect value \"Velocity (m/ns)\" ") + typed + " press Cancel");
  command(quv::ID_N_PROCESS_MIGRATE);
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  command(quv::ID_N_USE_FITTED_VELOCITY);
  EXPECT_NEAR(w->version()->normal.velocity, dragged * 3.2808399, 1e-4);
  EXPECT_NE(messages().find("Use Fitted Velocity: DIFF T01"), std::string::npos) << messages();
  command(quv::ID_N_FIT_HYPERBOLA);
  EXPECT_FALSE(w->fitMode());
}

}  // namespace
#endif  // DELVAR_HAVE_QT
