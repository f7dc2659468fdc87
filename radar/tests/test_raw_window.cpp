// The raw data window on its own (no project): the time-axis step table,
// where the axes, ticks, labels and marker lines land on a recording
// canvas, the image in the bitmap, zoom by rubber band, the scroll bars,
// the status readouts and the window's commands and menus.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "display/colortable.h"
#include "display/raw_gain.h"
#include "display/raw_window.h"
#include "fixture.h"
#include "project/raw.h"

namespace {

using dv::CanvasCall;

// --- the time axis ------------------------------------------------------------

TEST(RawTimeAxis, StepIsTheLargestRoundValueWithinHalfTheRange) {
  EXPECT_EQ(quv::rawTimeStep(25.0), 10.0);  // 0 to 50 ns
  const std::map<double, double> table = {
      {2e9, 5e8}, {5e8, 5e8}, {4.99e8, 1e8}, {1.2e6, 1e6}, {7e5, 5e5}, {600, 500}, {99.9, 50},
      {100, 100}, {12, 10}, {9.99, 5}, {5, 5}, {3, 1}, {0.7, 0.5}, {0.3, 0.1}, {0.05, 0.05},
      {0.0499, 0.01}, {0.0, 0.01}};
  for (auto [half, step] : table) EXPECT_EQ(quv::rawTimeStep(half), step) << "half range " << half;
}

TEST(RawTimeAxis, ValuesAreTheEndsAndTheMultiplesBetween) {
  EXPECT_EQ(quv::rawTimeValues(0, 50), (std::vector<double>{0, 10, 20, 30, 40, 50}));
  // The first multiple strictly above tmin; tmax itself last.
  EXPECT_EQ(quv::rawTimeValues(3.25, 17.75), (std::vector<double>{3.25, 5, 10, 15, 17.75}));
  EXPECT_EQ(quv::rawTimeValues(-12, 12), (std::vector<double>{-12, -10, 0, 10, 12}));
  // An end a rounding error off a multiple is not written twice.
  const std::vector<double> v = quv::rawTimeValues(0, 50.0000001);
  EXPECT_EQ(v.size(), 6u);
  EXPECT_DOUBLE_EQ(v.back(), 50.0000001);
  // One sample shown: one value.
  EXPECT_EQ(quv::rawTimeValues(7, 7), (std::vector<double>{7}));
}

// --- a window over synthetic data -------------------------------------------------

// A raw object of `traces` traces of `samples` samples, 1 ns apart from 0,
// trace i holding i + 1 in every sample except a spike at sample i % samples.
struct Fixture {
  quv::RawObject obj;
  std::map<int, std::string> panes;
  std::unique_ptr<quv::CRawWnd> window;

  Fixture(int traces, int samples, int format = 0) {
    obj.data = std::make_unique<quv::RawData>();
    quv::RawData& d = *obj.data;
    d.format = format;
    d.traces = traces;
    d.samples = samples;
    d.firstTrace = 0;
    d.lastTrace = traces - 1;
    d.firstSample = 0;
    d.lastSample = samples - 1;
    d.windowSet = 1;
    d.palette = quv::kGrayScale;
    for (int j = 0; j < samples; ++j) d.timeAxis.push_back(float(j));
    d.needed.assign(size_t(traces), 1);
    d.buffers.resize(size_t(traces));
    for (int i = 0; i < traces; ++i) {
      auto* x = static_cast<float*>(std::calloc(size_t(samples), sizeof(float)));
      for (int j = 0; j < samples; ++j) x[j] = float(i + 1);
      x[i % samples] = 1000.0f;
      d.buffers[size_t(i)].reset(x);
    }
    window = std::make_unique<quv::CRawWnd>(obj);
    window->statusSink = [this](int pane, const std::string& text) { panes[pane] = text; };
    window->resize(400, 300);
  }
  quv::CRawWnd& w() { return *window; }
  quv::RawData& d() { return *obj.data; }

  dv::RecordingCanvas paint() {
    dv::RecordingCanvas c;
    window->onPaint(c);
    return c;
  }
  static dv::MouseEvent at(int x, int y, unsigned button = 0) {
    dv::MouseEvent e;
    e.x = x;
    e.y = y;
    e.button = button;
    return e;
  }
  void drag(int x0, int y0, int x1, int y1) {
    window->onMouseDown(at(x0, y0, dv::kLeftButton));
    window->onMouseMove(at((x0 + x1) / 2, (y0 + y1) / 2));
    window->onMouseMove(at(x1, y1));
    window->onMouseUp(at(x1, y1, dv::kLeftButton));
  }
};

const CanvasCall* textCall(const dv::RecordingCanvas& c, const std::string& s) {
  for (const CanvasCall& call : c.calls())
    if (call.kind == CanvasCall::Text && call.text == s) return &call;
  return nullptr;
}

bool hasLine(const dv::RecordingCanvas& c, int x0, int y0, int x1, int y1) {
  for (const CanvasCall& call : c.calls(CanvasCall::Line))
    if (call.points[0] == dv::Point{x0, y0} && call.points[1] == dv::Point{x1, y1}) return true;
  return false;
}

TEST(RawWindowPaint, AxesTicksAndLabelsLandWhereTheRulesPutThem) {
  // The image: from the margins to one pixel inside the 17-pixel scroll
  // bars, the client less the bars never taken below 100 pixels.
  const dv::Rect r = quv::rawImageRect(400, 300, 17, 17);
  EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}), (std::vector<int>{80, 50, 382, 282}));
  const dv::Rect small = quv::rawImageRect(60, 90, 17, 17);
  EXPECT_EQ(small.right, 99);
  EXPECT_EQ(small.bottom, 99);

  Fixture f(100, 51);  // 0 to 50 ns
  dv::RecordingCanvas c = f.paint();

  // Top axis: title centred, bottom at 50 - 5*13/2 - 2 = 16.
  const CanvasCall* title = textCall(c, "Trace #");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->points[0], (dv::Point{231, 16}));
  EXPECT_EQ(title->align, unsigned(dv::kTextCenter | dv::kTextBottom));
  const std::pair<const char*, int> top[] = {{"1", 80}, {"26", 155}, {"51", 231}, {"75", 306},
                                             {"100", 381}};
  for (auto [label, x] : top) {
    const CanvasCall* t = textCall(c, label);
    ASSERT_NE(t, nullptr) << label;
    // The last label (18 pixels wide on this canvas) would reach under the
    // scroll bar from x 383: it ends there instead.
    const int at = x == 381 ? 383 - 9 : x;
    EXPECT_EQ(t->points[0], (dv::Point{at, 42})) << label;  // 50 - 13/2 - 2
    EXPECT_TRUE(hasLine(c, x, 48, x, 42)) << "tick of " << label;
  }

  // Left axis: right-aligned at 80 - 6 - 2 = 72, on the top title's baseline.
  const CanvasCall* time = textCall(c, "Time (ns)");
  ASSERT_NE(time, nullptr);
  EXPECT_EQ(time->points[0], (dv::Point{72, 16}));
  EXPECT_EQ(time->align, unsigned(dv::kTextRight | dv::kTextBottom));
  const std::pair<const char*, int> left[] = {{"0.00", 50},   {"10.00", 96},  {"20.00", 142},
                                              {"30.00", 189}, {"40.00", 235}, {"50.00", 281}};
  for (auto [label, y] : left) {
    const CanvasCall* t = textCall(c, label);
    ASSERT_NE(t, nullptr) << label;
    // Centred on its row; the last one ends above the scroll bar at 283.
    EXPECT_EQ(t->points[0], (dv::Point{72, std::min(y + 6, 283)})) << label;
    EXPECT_TRUE(hasLine(c, 78, y, 72, y)) << "tick of " << label;
  }
  EXPECT_EQ(c.count(CanvasCall::Text), 2 + 5 + 6);

  // The bitmap covers the client and goes first.
  ASSERT_EQ(c.calls(CanvasCall::Bitmap).size(), 1u);
  const CanvasCall blit = c.calls(CanvasCall::Bitmap)[0];  // a copy: calls(kind) is a new list
  EXPECT_EQ(blit.rect.right, 400);
  EXPECT_EQ(blit.rect.bottom, 300);
  EXPECT_EQ(c.calls().front().kind, CanvasCall::Bitmap);

  // Zoomed to samples 10..28 the axis shows 10 to 28 ns in steps of 5.
  f.d().firstSample = 10;
  f.d().lastSample = 28;
  f.w().resize(400, 300);
  dv::RecordingCanvas z = f.paint();
  for (const char* label : {"10.00", "15.00", "20.00", "25.00", "28.00"})
    EXPECT_NE(textCall(z, label), nullptr) << label;
  EXPECT_EQ(textCall(z, "0.00"), nullptr);
  EXPECT_EQ(textCall(z, "30.00"), nullptr);
  EXPECT_EQ(textCall(z, "25.00")->points[0].y, 50 + (15 * 231 + 9) / 18 + 6);
}

TEST(RawWindowPaint, ImageIsTheGainedTracesInsideABlackFrame) {
  Fixture f(100, 51);
  f.paint();
  const dv::IndexedBitmap& b = f.w().bitmap();
  ASSERT_EQ(b.width(), 400);
  EXPECT_EQ(b.pixel(10, 10), quv::kWhiteIndex);
  EXPECT_EQ(b.pixel(79, 49), quv::kBlackIndex);    // frame corner
  EXPECT_EQ(b.pixel(382, 282), quv::kBlackIndex);  // frame corner
  // Trace 0, sample 0 is its spike (1000 of 1000: byte 255 -> index 65);
  // its other samples hold 1 of 1000.
  EXPECT_EQ(b.pixel(80, 50), 65);
  EXPECT_EQ(b.pixel(80, 281), (128 >> 2) + 2);
  // Gray scale entry 2 is black and entry 65 near white.
  EXPECT_EQ(b.color(2), dv::rgb(0, 0, 0));
  EXPECT_EQ(b.color(65), dv::rgb(252, 252, 252));
}

TEST(RawWindowPaint, MarkedTracesGetDottedLinesAcrossTheImageInsideTheZoom) {
  Fixture f(200, 51);
  f.w().markers()[10] = f.w().markers()[50] = f.w().markers()[199] = 1;
  f.d().lastTrace = 99;  // 0..99 shown: trace 199 is outside
  f.w().resize(400, 300);
  dv::RecordingCanvas c = f.paint();
  std::vector<int> xs;
  for (const CanvasCall& l : c.calls(CanvasCall::Line))
    if (l.penStyle == dv::PenStyle::Dot) {
      EXPECT_EQ(l.points[0].y, 50);
      EXPECT_EQ(l.points[1].y, 282);
      EXPECT_EQ(l.points[0].x, l.points[1].x);
      xs.push_back(l.points[0].x);
    }
  EXPECT_EQ(xs, (std::vector<int>{110, 232}));  // 301 * t / 99 + 80

  f.d().firstTrace = 20;
  f.d().lastTrace = 199;
  f.w().resize(400, 300);
  c = f.paint();
  xs.clear();
  for (const CanvasCall& l : c.calls(CanvasCall::Line))
    if (l.penStyle == dv::PenStyle::Dot) xs.push_back(l.points[0].x);
  EXPECT_EQ(xs, (std::vector<int>{130, 381}));  // 301 * 30 / 179 + 80, the last trace at the right
  // The pen is solid again for whatever comes after.
  EXPECT_EQ(c.calls().back().penStyle, dv::PenStyle::Solid);
}

TEST(RawWindowZoom, RubberBandOfMoreThanEightItemsZoomsEachAxisOnItsOwn) {
  Fixture f(100, 51);
  // From trace 10 to trace 60 but only a few samples high: only the
  // traces change.
  const quv::PixelMaps& m = f.w().pixelMaps();
  auto columnOf = [&](int trace) {
    for (int x = 0; x < 400; ++x)
      if (m.columns[size_t(x)] == trace) return x;
    return -1;
  };
  f.drag(columnOf(10), 100, columnOf(60), 110);
  EXPECT_EQ(f.d().firstTrace, 10);
  EXPECT_EQ(f.d().lastTrace, 60);
  EXPECT_EQ(f.d().firstSample, 0);
  EXPECT_EQ(f.d().lastSample, 50);
  // The maps follow at once.
  EXPECT_EQ(f.w().pixelMaps().columns[80], 10);

  // Dragged backwards: the corners are sorted (traces 10..60 on 302
  // columns, samples 0..50 on 232 rows).
  f.drag(370, 270, 200, 60);
  EXPECT_EQ(f.d().firstTrace, 30);
  EXPECT_EQ(f.d().lastTrace, 58);
  EXPECT_EQ(f.d().firstSample, 2);
  EXPECT_EQ(f.d().lastSample, 48);
  // Pressed outside the image: no zoom.
  f.drag(390, 290, 90, 60);
  EXPECT_EQ(f.d().firstTrace, 30);
  EXPECT_EQ(f.d().firstSample, 2);

  // Eight items or fewer on both axes: nothing changes.
  const int ft = f.d().firstTrace, fs = f.d().firstSample;
  f.drag(100, 200, 103, 203);
  EXPECT_EQ(f.d().firstTrace, ft);
  EXPECT_EQ(f.d().firstSample, fs);

  // While dragging the band is drawn inverted, clamped to the image.
  f.w().onMouseDown(Fixture::at(300, 200, dv::kLeftButton));
  f.w().onMouseMove(Fixture::at(500, 10));
  dv::RecordingCanvas c = f.paint();
  ASSERT_EQ(c.count(CanvasCall::RubberBand), 1);
  const dv::Rect band = c.calls(CanvasCall::RubberBand)[0].rect;
  EXPECT_EQ(band.left, 300);
  EXPECT_EQ(band.top, 50);
  EXPECT_EQ(band.right, 382);
  EXPECT_EQ(band.bottom, 201);
  f.w().onMouseUp(Fixture::at(500, 10, dv::kLeftButton));

  // Zoom Out shows everything again.
  f.w().onCommand(quv::kRawCmdZoomOut);
  EXPECT_EQ(f.d().firstTrace, 0);
  EXPECT_EQ(f.d().lastTrace, 99);
  EXPECT_EQ(f.d().firstSample, 0);
  EXPECT_EQ(f.d().lastSample, 50);
  EXPECT_EQ(f.paint().count(CanvasCall::RubberBand), 0);
}

TEST(RawWindowScroll, PageSizePositionAndEveryKindOfStep) {
  quv::ShownSpan all{0, 99, 100};
  EXPECT_EQ(quv::scrollPage(all), 101);
  EXPECT_EQ(quv::scrollPosition(all), 0);
  EXPECT_FALSE(quv::scrollSpan(all, 1, 0));

  quv::ShownSpan s{0, 9, 100};
  EXPECT_EQ(quv::scrollPage(s), 10);       // 101 * 10 / 100
  EXPECT_FALSE(quv::scrollSpan(s, 0, 0));  // line left at the start
  EXPECT_TRUE(quv::scrollSpan(s, 1, 0));   // line right
  EXPECT_EQ(s.first, 1);
  EXPECT_EQ(s.last, 10);
  s.first = 0, s.last = 9;
  EXPECT_TRUE(quv::scrollSpan(s, 3, 0));   // page right: position 9 of 91
  EXPECT_EQ(s.first, 8);                   // 90 * 9 / 91
  EXPECT_EQ(quv::scrollPosition(s), 8);    // 8 * 91 / 90
  EXPECT_TRUE(quv::scrollSpan(s, 5, 91));  // thumb at the end
  EXPECT_EQ(s.first, 90);
  EXPECT_EQ(s.last, 99);
  EXPECT_FALSE(quv::scrollSpan(s, 1, 0));  // the last trace is shown already
  EXPECT_TRUE(quv::scrollSpan(s, 4, 45));
  EXPECT_EQ(s.first, 44);  // 90 * 45 / 91

  // A short axis whose thumb has more steps than the span has room: a page
  // still moves the span.
  quv::ShownSpan shortAxis{0, 9, 20};
  EXPECT_TRUE(quv::scrollSpan(shortAxis, 3, 0));
  EXPECT_GE(shortAxis.first, 1);
  EXPECT_EQ(shortAxis.last - shortAxis.first, 9);
}

TEST(RawWindowScroll, BarsFollowTheZoomAndMoveTheShownPart) {
  Fixture f(100, 51);
  EXPECT_EQ(f.w().hScroll.id, 20401);
  EXPECT_EQ(f.w().vScroll.id, 20402);
  EXPECT_EQ(f.w().hScroll.page, 101);
  EXPECT_EQ(f.w().hScroll.position, 0);
  f.d().lastTrace = 9;
  f.d().firstSample = 10;
  f.d().lastSample = 20;
  f.w().onScroll(false, 1, 0);  // line right
  EXPECT_EQ(f.d().firstTrace, 1);
  EXPECT_EQ(f.d().lastTrace, 10);
  EXPECT_EQ(f.w().hScroll.page, 10);
  EXPECT_EQ(f.w().hScroll.position, 1);  // 1 * 91 / 90
  EXPECT_EQ(f.w().vScroll.page, 21);     // 101 * 11 / 51
  f.w().onScroll(true, 5, 80);          // vertical thumb at the end
  EXPECT_EQ(f.d().firstSample, 40);
  EXPECT_EQ(f.d().lastSample, 50);
  EXPECT_EQ(f.w().pixelMaps().rows[50], 40);
}

TEST(RawWindowReadouts, PanesShowThePointUnderTheMouseAndTheSizes) {
  Fixture f(100, 51);
  f.w().onMouseMove(Fixture::at(81, 281));
  EXPECT_EQ(f.panes[0], "Trace:1 Sample:51 Time:50.00");
  EXPECT_EQ(f.panes[1], "#Trc:100");
  EXPECT_EQ(f.panes[2], "#Smp:51");
  EXPECT_EQ(f.panes[3], "Tmin:0.00");
  EXPECT_EQ(f.panes[4], "Tmax:50.00");
  f.w().onMouseMove(Fixture::at(381, 50));
  EXPECT_EQ(f.panes[0], "Trace:100 Sample:1 Time:0.00");
  // Outside the image pane 0 is emptied, the others stay.
  f.w().onMouseMove(Fixture::at(40, 100));
  EXPECT_EQ(f.panes[0], "");
  EXPECT_EQ(f.panes[4], "Tmax:50.00");
  f.w().onMouseMove(Fixture::at(200, 282));  // the frame row
  EXPECT_EQ(f.panes[0], "");
  // Scrolling under a still mouse reads out the new trace.
  f.w().onMouseMove(Fixture::at(80, 100));
  f.d().lastTrace = 9;
  f.w().onScroll(false, 7, 0);
  EXPECT_EQ(f.panes[0].substr(0, 9), "Trace:91 ");
  f.w().onMouseLeave();
  EXPECT_EQ(f.panes[0], "");
}

TEST(RawWindowCommands, GainAndPaletteCommandsRebuildAndAreKeptInTheItem) {
  Fixture f(30, 40, /*RAMAC*/ 2);
  f.paint();
  // Trace 3's spike at sample 3: 996 above the offset of 4.
  EXPECT_EQ(f.w().byteTraces()[3][3], 254);  // 996 * 127 / 1000
  f.w().onCommand(quv::kRawCmdGainAgc25);
  EXPECT_EQ(f.d().gain, quv::kRawGainAgc25);
  f.paint();
  EXPECT_EQ(f.w().byteTraces()[3][3], 255);
  std::vector<uint8_t> expect(40);
  quv::rawGainTrace(f.d().buffers[3].get(), 40, quv::kRawGainAgc25, 2, expect.data());
  EXPECT_EQ(std::vector<uint8_t>(f.w().byteTraces()[3].get(), f.w().byteTraces()[3].get() + 40),
            expect);
  // The toolbar's ids do the same.
  f.w().onCommand(34030);
  EXPECT_EQ(f.d().gain, quv::kRawGainAgc10);
  f.w().onCommand(34029);
  EXPECT_EQ(f.d().gain, quv::kRawGainTraceMax);

  f.d().colours = 16;
  f.w().onCommand(quv::kRawCmdRedWhiteBlue);
  EXPECT_EQ(f.d().palette, quv::kRedWhiteBlue);
  EXPECT_EQ(f.d().colours, 64);
  EXPECT_EQ(f.w().bitmap().color(2), dv::rgb(255, 0, 0));
  EXPECT_EQ(f.w().bitmap().color(65), dv::rgb(0, 0, 255));
  f.w().onCommand(34032);
  EXPECT_EQ(f.d().palette, quv::kGrayScale);
  EXPECT_EQ(f.w().bitmap().color(2), dv::rgb(0, 0, 0));
  // A palette not chosen yet (0) shows as gray scale, not as an empty image.
  f.d().palette = 0;
  quv::CRawWnd fresh(f.obj);
  EXPECT_EQ(fresh.bitmap().color(65), dv::rgb(252, 252, 252));
}

TEST(RawWindowCommands, RightClickOnTheImageOpensTheWindowPopup) {
  Fixture f(30, 40);
  quvtest::resetUi();
  quvtest::answer("answer popup 33145");
  f.w().onMouseDown(Fixture::at(200, 150, dv::kRightButton));
  f.w().onMouseUp(Fixture::at(200, 150, dv::kRightButton));
  EXPECT_EQ(quvtest::pendingAnswers(), 0) << quvtest::uiLogText();
  EXPECT_EQ(f.d().palette, quv::kRedWhiteBlue);
  // Above the image or left of it (the axes) there is no pop-up.
  const int asked = int(quvtest::uiLog().size());
  f.w().onMouseDown(Fixture::at(200, 20, dv::kRightButton));
  f.w().onMouseUp(Fixture::at(200, 20, dv::kRightButton));
  f.w().onMouseDown(Fixture::at(30, 150, dv::kRightButton));
  f.w().onMouseUp(Fixture::at(30, 150, dv::kRightButton));
  // Pressed on the image, released on the axis: none either.
  f.w().onMouseDown(Fixture::at(200, 150, dv::kRightButton));
  f.w().onMouseUp(Fixture::at(30, 150, dv::kRightButton));
  EXPECT_EQ(int(quvtest::uiLog().size()), asked);

  // The pop-up shows the current gain and palette checked.
  auto menu = quv::rawWindowPopup(quv::kRawGainAgc10, quv::kRedWhiteBlue);
  EXPECT_TRUE(menu->find(33142)->checked);
  EXPECT_TRUE(menu->find(33145)->checked);
  EXPECT_FALSE(menu->find(33141)->checked);
}

TEST(RawWindowMenus, RawPopupMenuBarAndToolbarFollowTheWindow) {
  // The "&Raw" entries reach the raw object's commands of the same operations.
  EXPECT_EQ(quv::rawObjectCommandOf(34000), 33120);  // Create Profile
  EXPECT_EQ(quv::rawObjectCommandOf(34001), 33125);  // Reorder
  EXPECT_EQ(quv::rawObjectCommandOf(34004), 33128);  // Crop
  EXPECT_EQ(quv::rawObjectCommandOf(34007), 33131);  // View File Header
  EXPECT_EQ(quv::rawObjectCommandOf(34008), 0);

  Fixture f(12, 20);
  dv::Menu* bar = f.w().menuBar();
  ASSERT_NE(bar, nullptr);
  ASSERT_FALSE(bar->items().empty());
  EXPECT_EQ(bar->items().back().caption, "&Raw");
  EXPECT_EQ(f.w().commandState(34007), 1);
  EXPECT_EQ(f.w().commandState(57607), 1);  // Print
  EXPECT_EQ(f.w().commandState(12345), -1);
  // The toolbar is there while the window is active, and follows the commands.
  EXPECT_EQ(f.w().toolBar(), nullptr);
  f.w().onActivate(true);
  ASSERT_NE(f.w().toolBar(), nullptr);
  f.w().onCommand(quv::kRawCmdGainAgc10);
  f.w().onCommand(quv::kRawCmdRedWhiteBlue);
  const std::vector<dv::ToolButton>& shown = *f.w().toolBar();
  EXPECT_TRUE(shown[2].checked);
  EXPECT_FALSE(shown[1].checked);
  EXPECT_TRUE(shown[5].checked);
  f.w().onActivate(false);
  EXPECT_EQ(f.w().toolBar(), nullptr);
}

TEST(RawMarkerFile, TracesAreReadFromTheMarkerLines) {
  EXPECT_EQ(quv::markerFileTraces("/ Trace# Easting Northing\n"
                                  "5 100.00 200.00\n"
                                  "\n"
                                  "   12 1.5 2.5\r\n"
                                  "  / 99 0 0\n"
                                  "junk\n"
                                  "1 0.00 0.00"),
            (std::vector<int>{4, 11, 0}));
}

}  // namespace
