// The profile window's rules and behaviour on a profile held in memory
// (the STATIC copy: no framework calls are made): tab labels, the layout,
// scroll page sizes and steps, the zoom thresholds, the readout texts, the
// axes as a recording canvas sees them, and the window driven by its
// panes: paint order, zoom by rubber band, scrolling, Set Time Zero, the
// commands, menus by mode and the window state.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "display/axes.h"
#include "display/gain.h"
#include "display/profile_window.h"
#include "dv/headless.h"

namespace {

using namespace quv;

// A time version of `traces` x `samples` with built byte traces (byte =
// (trace * 7 + sample * 3) % 256), easting 0.5 m per trace, northing 100 + 0.25 m.
struct MemProfile {
  ProfileItem item;
  ProfileVersion* v = nullptr;
  MemProfile(int traces, int samples, int kind = kTimeVersion) {
    item.header = std::make_unique<ProfileHeader>();
    ProfileHeader& h = *item.header;
    h.traceCount = traces;
    h.unitsPerFoot = 0.3048f;
    for (int i = 0; i < traces; ++i) {
      h.easting.push_back(0.5f * float(i));
      h.northing.push_back(100.0f + 0.25f * float(i));
    }
    h.nodeTrace = {0, traces - 1};
    h.nodeEasting = {h.easting.front(), h.easting.back()};
    h.nodeNorthing = {h.northing.front(), h.northing.back()};
    item.fileName = "MEM.QUV";
    v = addVersion(item, "/nonexistent", kind, 1);
    v->samples = samples;
    v->timeIncrement = 0.5f;
    v->depthIncrement = 0.1f;
    v->elevationIncrement = -0.1f;
    v->firstElevation = 10.0f;
    setWholeProfile(v->normal, traces, samples);
    setWholeProfile(v->presentation, traces, samples);
    computeValueTables(*v);
    for (int t = 0; t < traces; ++t) {
      v->normalBytes[size_t(t)].reset(new uint8_t[size_t(samples)]);
      v->presentationBytes[size_t(t)].reset(new uint8_t[size_t(samples)]);
      for (int s = 0; s < samples; ++s)
        v->normalBytes[size_t(t)][size_t(s)] = v->presentationBytes[size_t(t)][size_t(s)] =
            uint8_t((t * 7 + s * 3) % 256);
    }
    v->loaded = true;
    rebuildVersionList(item);
  }
};

// --- tab labels, layout -------------------------------------------------------------

TEST(ProfileTabs, LabelsCarryNumberParentAndName) {
  ProfileVersion v;
  v.kind = kTimeVersion;
  v.number = 1;
  EXPECT_EQ(tabLabel(v), "T1");
  v.kind = kDepthVersion;
  v.number = 2;
  v.sourceKind = kTimeVersion;
  v.sourceNumber = 1;
  v.name = "migrated";
  EXPECT_EQ(tabLabel(v), "D2(T1) migrated");
  v.kind = kElevationVersion;
  v.number = 12;
  v.sourceKind = kDepthVersion;
  v.sourceNumber = 3;
  v.name.clear();
  EXPECT_EQ(tabLabel(v), "E12(D3)");
  v.sourceKind = -1;
  v.name = "two words";
  EXPECT_EQ(tabLabel(v), "E12 two words");
}

TEST(ProfileLayout, ViewsSeparatorPanelAndImageRectangle) {
  WindowLayout l = windowLayout(1000, 600, 0.85f);
  EXPECT_EQ(l.splitPos, 850);
  EXPECT_EQ(l.normal.left, 0);
  EXPECT_EQ(l.normal.top, 25);
  EXPECT_EQ(l.normal.right, 850);
  EXPECT_EQ(l.normal.bottom, 600);
  EXPECT_EQ(l.panel.left, 855);  // right of the 5-pixel separator
  EXPECT_EQ(l.panel.right, 1000);
  EXPECT_EQ(l.presentation.right, 1000);
  EXPECT_EQ(l.text.left, 10);
  EXPECT_EQ(l.text.top, 35);
  EXPECT_EQ(l.text.right, 990);
  EXPECT_EQ(l.text.bottom, 590);
  EXPECT_EQ(l.tabs.top, 5);
  EXPECT_EQ(l.tabs.bottom, 25);
  // A small client keeps the text view and the tabs at least 100 wide.
  l = windowLayout(60, 80, 0.5f);
  EXPECT_EQ(l.text.right - l.text.left, 100);
  EXPECT_EQ(l.text.bottom - l.text.top, 100);
  EXPECT_EQ(l.tabs.right - l.tabs.left, 100);

  dv::Rect r = normalImageRect(850, 575, 17, 17);
  EXPECT_EQ(r.left, 80);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right, 850 - 17 - 1);
  EXPECT_EQ(r.bottom, 575 - 17 - 1);
  r = normalImageRect(120, 90, 17, 17);
  EXPECT_EQ(r.right, 180);
  EXPECT_EQ(r.bottom, 150);

  // The separator stays between half the width and 4 pixels from the edge.
  EXPECT_EQ(clampSplit(100, 1000), 500);
  EXPECT_EQ(clampSplit(999, 1000), 996);
  EXPECT_EQ(clampSplit(700, 1000), 700);
}

// --- scrolling --------------------------------------------------------------------

TEST(ProfileScroll, PageSizeAndPositionFromTheZoomWindow) {
  EXPECT_EQ(scrollPage({0, 999, 1000}), 101);  // whole profile
  EXPECT_EQ(scrollPosition({0, 999, 1000}), 0);
  EXPECT_EQ(scrollPage({0, 99, 1000}), 10);  // 101 * 100 / 1000
  EXPECT_EQ(scrollPosition({450, 549, 1000}), 450 * 91 / 900);
  EXPECT_EQ(scrollPosition({900, 999, 1000}), 91);  // the last page: thumb at 101 - P
  EXPECT_EQ(scrollPage({5, 5, 1000}), 1);           // at least 1
  EXPECT_EQ(scrollPage({0, 49, 100}), 50);  // 101 * 50 / 100 in integers
}

TEST(ProfileScroll, LinePageAndThumbStepsKeepTheSpanInsideTheProfile) {
  ScrollAxis a{900, 999, 1000};
  EXPECT_FALSE(scrollAxis(a, dv::kScrollLineDown, 0));  // the last trace is shown already
  EXPECT_EQ(a.first, 900);
  EXPECT_TRUE(scrollAxis(a, dv::kScrollLineUp, 0));
  EXPECT_EQ(a.first, 899);
  EXPECT_EQ(a.last, 998);
  a = {0, 99, 1000};
  EXPECT_FALSE(scrollAxis(a, dv::kScrollLineUp, 0));
  // Page: the position moves by (101 - 10) / 10 = 9 and first follows it.
  EXPECT_TRUE(scrollAxis(a, dv::kScrollPageDown, 0));
  EXPECT_EQ(a.first, 900 * 9 / 91);
  EXPECT_EQ(a.last - a.first, 99);
  // The thumb: first = (total - span - 1) * position / (101 - P).
  EXPECT_TRUE(scrollAxis(a, dv::kScrollThumbTrack, 45));
  EXPECT_EQ(a.first, 900 * 45 / 91);
  EXPECT_TRUE(scrollAxis(a, dv::kScrollThumbPosition, 500));  // kept to the range
  EXPECT_EQ(a.first, 900);
  EXPECT_EQ(a.last, 999);
  // A page step of a nearly whole view still moves (at least one position).
  a = {0, 949, 1000};
  EXPECT_EQ(scrollPage(a), 95);
  EXPECT_TRUE(scrollAxis(a, dv::kScrollPageDown, 0));
  EXPECT_GT(a.first, 0);
  // The whole profile shown: nothing moves.
  a = {0, 999, 1000};
  EXPECT_FALSE(scrollAxis(a, dv::kScrollPageDown, 0));
  EXPECT_FALSE(scrollAxis(a, dv::kScrollThumbTrack, 50));
}

// --- zoom -------------------------------------------------------------------------

TEST(ProfileZoom, OnlyAnAxisCoveringMoreThanEightItemsChanges) {
  std::vector<int> columns(300), rows(200);
  for (int i = 0; i < 300; ++i) columns[size_t(i)] = i;
  for (int i = 0; i < 200; ++i) rows[size_t(i)] = i;
  DisplaySettings s;
  setWholeProfile(s, 300, 200);
  // 100 traces wide and 5 samples high: only the trace range.
  EXPECT_TRUE(zoomToRect({120, 40, 20, 44}, columns, rows, s));  // corners reversed
  EXPECT_EQ(s.firstTrace, 20);
  EXPECT_EQ(s.lastTrace, 120);
  EXPECT_EQ(s.firstSample, 0);
  EXPECT_EQ(s.lastSample, 199);
  // 8 items are not enough, 9 are.
  EXPECT_FALSE(zoomToRect({50, 10, 57, 17}, columns, rows, s));
  EXPECT_EQ(s.firstTrace, 20);
  EXPECT_TRUE(zoomToRect({50, 10, 58, 18}, columns, rows, s));
  EXPECT_EQ(s.firstTrace, 50);
  EXPECT_EQ(s.lastTrace, 58);
  EXPECT_EQ(s.firstSample, 10);
  EXPECT_EQ(s.lastSample, 18);
  // Corners are kept inside the image.
  const dv::Point p = clampToImage({500, -3}, {80, 50, 380, 250});
  EXPECT_EQ(p.x, 379);
  EXPECT_EQ(p.y, 50);
}

// --- readouts ---------------------------------------------------------------------

TEST(ProfileReadouts, PanesByAxisTypeAndVersionKind) {
  MemProfile p(40, 20);
  ProfileVersion& v = *p.v;
  const ProfileHeader& h = *p.item.header;
  DisplaySettings& s = v.normal;
  // Easting with northing, time.
  Readouts r = readouts(v, h, 4, 6);
  EXPECT_EQ(r.pane[0], "Easting:2.00 Northing:101.00 Time:3.00");
  EXPECT_EQ(r.pane[1], "#Trc:40");
  EXPECT_EQ(r.pane[2], "");
  EXPECT_EQ(r.pane[3], "Tmin:0.00");
  EXPECT_EQ(r.pane[4], "Tmax:9.50");
  s.eastingWithNorthing = 0;
  EXPECT_EQ(readouts(v, h, 4, 6).pane[0], "Easting:2.00 Time:3.00");
  s.hAxisType = kAxisNorthing;
  EXPECT_EQ(readouts(v, h, 4, 6).pane[0], "Northing:101.00 Easting:2.00 Time:3.00");
  s.northingWithEasting = 0;
  EXPECT_EQ(readouts(v, h, 4, 6).pane[0], "Northing:101.00 Time:3.00");
  s.hAxisType = kAxisTrace;
  s.vAxisType = kAxisSample;
  r = readouts(v, h, 4, 6);
  EXPECT_EQ(r.pane[0], "Trace:5 Sample:7");
  EXPECT_EQ(r.pane[3], "#Smp:20");
  EXPECT_EQ(r.pane[4], "");
  // Depth of a time version with the normal velocity, shown in m/ns for metres.
  s.vAxisType = kAxisDepth;
  r = readouts(v, h, 4, 6);
  char expect[96];
  std::snprintf(expect, sizeof expect, "Trace:5 Depth:%.2f w/ Velocity:%.3f", v.depthNormal[6],
                0.3 * 0.3048);
  EXPECT_EQ(r.pane[0], expect);
  EXPECT_EQ(r.pane[3], "Dmin:0.00");
  // Feet: the velocity as stored.
  p.item.header->unitsPerFoot = 1.0f;
  EXPECT_NE(readouts(v, h, 4, 6).pane[0].find("Velocity:0.300"), std::string::npos);
  // Outside the image pane 0 is empty, the others stay.
  r = readouts(v, h, -1, -1);
  EXPECT_EQ(r.pane[0], "");
  EXPECT_EQ(r.pane[1], "#Trc:40");
  EXPECT_EQ(r.pane[3], "Dmin:0.00");

  MemProfile e(10, 20, kElevationVersion);
  e.v->normal.vAxisType = kAxisDepth;
  e.v->normal.hAxisType = kAxisTrace;
  r = readouts(*e.v, *e.item.header, 0, 1);
  EXPECT_EQ(r.pane[0].substr(0, 18), "Trace:1 Elevation:");
  EXPECT_EQ(r.pane[3].substr(0, 5), "Emin:");  // the last sample's elevation, the lowest
  EXPECT_LT(e.v->elevation.back(), e.v->elevation.front());
  MemProfile d(10, 20, kDepthVersion);
  d.v->normal.vAxisType = kAxisDepth;
  EXPECT_NE(readouts(*d.v, *d.item.header, 0, 1).pane[0].find(" Depth:"), std::string::npos);
  EXPECT_EQ(readouts(*d.v, *d.item.header, 0, 1).pane[0].find("Velocity"), std::string::npos);
}

// --- axes ---------------------------------------------------------------------------

struct AxesFixture {
  DisplaySettings s;
  std::vector<float> east, north, time;
  std::vector<int32_t> nodes{0, 100};
  AxesInput in;
  AxesFixture() {
    for (int i = 0; i <= 100; ++i) {
      east.push_back(10.0f + 0.5f * float(i));  // 10 .. 60
      north.push_back(200.0f - 0.25f * float(i));
    }
    for (int j = 0; j <= 50; ++j) time.push_back(0.4f * float(j));  // 0 .. 20 ns
    in.image = {80, 50, 481, 251};  // Wp = 400, Hp = 200
    in.settings = &s;
    in.firstTrace = 0;
    in.lastTrace = 100;
    in.firstSample = 0;
    in.lastSample = 50;
    in.fh = in.fv = 12;
    in.easting = &east;
    in.northing = &north;
    in.vertical = &time;
    in.nodeTraces = &nodes;
    in.unitsPerFoot = 0.3048f;
  }
  std::vector<dv::CanvasCall> texts(dv::RecordingCanvas& c) const { return c.calls(dv::CanvasCall::Text); }
};

TEST(ProfileAxes, MinorTickPositionsOfTheThreeTickModes) {
  AxesFixture f;
  AxisScale h = horizontalScale(f.in);
  // Fixed number 5 with 5 minors: 21 ticks, every 20 pixels.
  std::vector<int> t = minorTicks(h);
  ASSERT_EQ(t.size(), 21u);
  EXPECT_EQ(t[0], 80);
  EXPECT_EQ(t[1], 100);
  EXPECT_EQ(t[20], 480);
  // Every 25th trace with 5 minors: M = 100 * 5 / 25 + 1 = 21.
  f.s.hTickMode = kTickEveryNth;
  f.s.everyNthTrace = 25;
  EXPECT_EQ(minorTicks(horizontalScale(f.in)).size(), 21u);
  // Easting increment 7 with 5 minors (1.4 m): from 10 to 60 the first multiple
  // of 1.4 at or beyond 10 is 11.2, 9.6 pixels in.
  f.s.hTickMode = kTickIncrement;
  f.s.hCoordIncrement = 7.0f;
  t = minorTicks(horizontalScale(f.in));
  const double count = 50.0 * 5 / 7 + 1;
  const double shift = 400.0 * (std::ceil(10.0 / 1.4) * 1.4 - 10.0) / 50.0;
  ASSERT_FALSE(t.empty());
  EXPECT_EQ(t[0], int(80 + shift + 0.5));
  EXPECT_EQ(t[1], int(400.0 / (count - 1) + 80 + shift + 0.5));
  for (int x : t) EXPECT_LT(x, 481);
  // A falling coordinate (northing 200 .. 175) counts down from the first
  // multiple at or below c(first).
  f.s.hAxisType = kAxisNorthing;
  f.s.hCoordIncrement = 10.0f;
  f.s.hMinors = 2;
  t = minorTicks(horizontalScale(f.in));
  ASSERT_EQ(t.size(), size_t(25.0 * 2 / 10 + 1));
  EXPECT_EQ(t[0], 80);  // 200 is a multiple of 5
  EXPECT_EQ(t[1], 80 + 80);
}

TEST(ProfileAxes, MajorValuesAndTheirLabelsOnBothSides) {
  AxesFixture f;
  f.s.hBottomValues = 0;  // labels below too
  dv::RecordingCanvas c;
  drawAxes(c, f.in);
  // Easting with northing: two lines above and two below for each of 5 values.
  auto all = f.texts(c);
  auto at = [&](int x, int y) {
    for (const auto& call : all)
      if (call.points[0] == dv::Point{x, y}) return call.text;
    return std::string("(none)");
  };
  EXPECT_EQ(at(80, 50 - 18 - 2), "10.00");    // primary above: T - 3 fh / 2 - 2
  EXPECT_EQ(at(80, 50 - 6 - 2), "200.00");    // secondary above: T - fh / 2 - 2
  EXPECT_EQ(at(80, 251 + 6 + 1), "10.00");    // primary below: B + fh / 2 + 1
  EXPECT_EQ(at(80, 251 + 18 + 1), "200.00");  // secondary below
  EXPECT_EQ(at(180, 50 - 18 - 2), "22.50");   // trace 25 at k * Wp / 4 + L
  EXPECT_EQ(at(480, 50 - 6 - 2), "175.00");
  // Titles: centred with their bottom at T - 5 fh / 2 - 2.
  EXPECT_EQ(at(80 + 401 / 2, 50 - 30 - 2), "Easting / Northing (m)");
  EXPECT_EQ(at(80 - 6 - 2, 50 - 30 - 2), "Time (ns)");
  // Vertical values on the left, right-aligned, bottom at y + fv / 2.
  EXPECT_EQ(at(72, 50 + 6), "0.00");
  EXPECT_EQ(at(72, 250 + 6), "20.00");
  EXPECT_EQ(at(72, 100 + 6), "5.20");  // sample 13 = trunc(50 * 1 / 4 + 0.5)
  // The right side is hidden by default.
  EXPECT_EQ(at(481 + 6 + 1, 50 + 6), "(none)");

  // One coordinate, the trace number: one line each side, index + 1.
  f.s.hAxisType = kAxisTrace;
  f.s.hHideFirst = 1;
  c.clear();
  drawAxes(c, f.in);
  all = f.texts(c);
  EXPECT_EQ(at(80, 50 - 6 - 2), "(none)");  // the first value is hidden
  EXPECT_EQ(at(180, 50 - 6 - 2), "26");
  EXPECT_EQ(at(480, 251 + 6 + 1), "101");
  EXPECT_EQ(at(80 + 401 / 2, 50 - 30 - 2), "Trace #");
}

TEST(ProfileAxes, EveryNthAndIncrementValuesEndAtTheFarEdge) {
  AxesFixture f;
  f.s.hTickMode = kTickEveryNth;
  f.s.everyNthTrace = 30;
  std::vector<AxisValue> v = majorValues(horizontalScale(f.in));
  ASSERT_EQ(v.size(), 5u);  // 0, 30, 60, 90, then the last at R - 1
  EXPECT_EQ(v[1].pos, 80 + 120);
  EXPECT_EQ(v[4].pos, 480);
  EXPECT_FLOAT_EQ(float(v[4].value), 60.0f);
  f.s.everyNthTrace = 25;  // steps end on the last trace: no second label there
  EXPECT_EQ(majorValues(horizontalScale(f.in)).size(), 5u);

  // Easting every 10 m: 10 (first), 20, 30, 40, 50, 60 (crossings), then 60 at R - 1.
  f.s.hTickMode = kTickIncrement;
  f.s.hCoordIncrement = 10.0f;
  v = majorValues(horizontalScale(f.in));
  ASSERT_GE(v.size(), 6u);
  EXPECT_EQ(v.front().pos, 80);
  EXPECT_FLOAT_EQ(float(v[1].value), 20.0f);
  EXPECT_EQ(v[1].pos, 80 + 80);  // trace 20
  EXPECT_FLOAT_EQ(float(v[1].second), 195.0f);
  EXPECT_EQ(v.back().pos, 480);
  // Time every 3 ns: 0 at T, crossings 3, 6, ... 18, then 20 at B - 1.
  f.s.vTickMode = kTickIncrement;
  f.s.vCoordIncrement = 3.0f;
  v = majorValues(verticalScale(f.in));
  ASSERT_EQ(v.size(), 8u);
  EXPECT_FLOAT_EQ(float(v[1].value), 3.0f);
  EXPECT_EQ(v.back().pos, 250);
}

TEST(ProfileAxes, TicksGridAndHideSwitches) {
  AxesFixture f;
  dv::RecordingCanvas c;
  drawAxes(c, f.in);
  auto lines = c.calls(dv::CanvasCall::Line);
  auto has = [&](int x0, int y0, int x1, int y1) {
    return std::any_of(lines.begin(), lines.end(), [&](const dv::CanvasCall& l) {
      return l.points[0] == dv::Point{x0, y0} && l.points[1] == dv::Point{x1, y1};
    });
  };
  EXPECT_TRUE(has(100, 48, 100, 45));   // top minor: T - 2 to T - fh / 4 - 2
  EXPECT_FALSE(has(100, 252, 100, 255));  // bottom minor hidden by default
  EXPECT_TRUE(has(180, 48, 180, 42));   // top major: to T - fh / 2 - 2
  EXPECT_TRUE(has(78, 100, 72, 100));   // left major at sample 13 (y 100)
  EXPECT_TRUE(has(80, 100, 481, 100));  // major grid across the image
  EXPECT_TRUE(has(78, 60, 75, 60));     // left minor (every Hp / 20): L - 2 to L - fv / 4 - 2
  EXPECT_FALSE(has(80, 60, 481, 60));   // minor grid off by default
  for (const auto& l : lines) EXPECT_EQ(l.penColour, 0u);

  f.s.hTopMajor = f.s.hTopMinor = 1;
  f.s.hideMajorGrid = 1;
  f.s.vRightMajor = 0;
  c.clear();
  drawAxes(c, f.in);
  lines = c.calls(dv::CanvasCall::Line);
  EXPECT_FALSE(has(100, 48, 100, 45));
  EXPECT_FALSE(has(180, 48, 180, 42));
  EXPECT_FALSE(has(80, 100, 481, 100));
  EXPECT_TRUE(has(482, 100, 488, 100));  // right major: R + 1 to R + fv / 2 + 1
  f.s.hideMinorGrid = 0;
  c.clear();
  drawAxes(c, f.in);
  lines = c.calls(dv::CanvasCall::Line);
  EXPECT_TRUE(has(80, 60, 481, 60));
}

TEST(ProfileAxes, ComplexLineDrawsVertexLinesInsteadOfHorizontalMinors) {
  AxesFixture f;
  f.nodes = {0, 25, 70, 100};
  dv::RecordingCanvas c;
  drawAxes(c, f.in);
  auto lines = c.calls(dv::CanvasCall::Line);
  auto vertical = [&](int x) {
    return std::count_if(lines.begin(), lines.end(), [&](const dv::CanvasCall& l) {
      return l.points[0] == dv::Point{x, 50} && l.points[1] == dv::Point{x, 251};
    });
  };
  EXPECT_EQ(vertical(180), 1);  // trace 25
  EXPECT_EQ(vertical(360), 1);  // trace 70
  EXPECT_EQ(vertical(80), 0);   // end nodes get none
  // No horizontal minor ticks (x 100 would be one).
  EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const dv::CanvasCall& l) {
    return l.points[0] == dv::Point{100, 48};
  }));
  // Outside the zoom window, or switched off: none.
  f.in.firstTrace = 30;
  f.s.hideGeometryNodes = 0;
  c.clear();
  drawAxes(c, f.in);
  lines = c.calls(dv::CanvasCall::Line);
  EXPECT_EQ(vertical(180), 0);
  f.in.firstTrace = 0;
  f.s.hideGeometryNodes = 1;
  c.clear();
  drawAxes(c, f.in);
  lines = c.calls(dv::CanvasCall::Line);
  EXPECT_EQ(vertical(180), 0);
}

TEST(ProfileAxes, TitlesAndUnits) {
  DisplaySettings s;
  EXPECT_EQ(horizontalTitle(s, 0.3048f), "Easting / Northing (m)");
  s.eastingWithNorthing = 0;
  EXPECT_EQ(horizontalTitle(s, 1.0f), "Easting (ft)");
  s.hAxisType = kAxisNorthing;
  EXPECT_EQ(horizontalTitle(s, 12.0f), "Northing / Easting (in)");
  EXPECT_EQ(horizontalTitle(s, 30.48f), "Northing / Easting (cm)");
  s.vAxisType = kAxisDepth;
  EXPECT_EQ(verticalTitle(s, kTimeVersion, 0.3048f), "Depth (m)");
  EXPECT_EQ(verticalTitle(s, kElevationVersion, 1.0f), "Elevation (ft)");
  s.vAxisType = kAxisSample;
  EXPECT_EQ(verticalTitle(s, kTimeVersion, 1.0f), "Sample #");
  EXPECT_EQ(axisFontPixels(10.0f), 13);
}

// --- the window on its panes ---------------------------------------------------------------

class Window : public ::testing::Test {
 protected:
  Window() : p(300, 120), w(p.item, *p.v) {
    p.item.window = &w;
    w.pane()->resize(1000, 600);
  }
  NormalView& view() { return w.normalView(); }
  dv::MouseEvent at(int x, int y, unsigned button) {
    dv::MouseEvent e;
    e.x = x;
    e.y = y;
    e.button = button;
    return e;
  }
  MemProfile p;
  CProfileWnd w;
};

TEST_F(Window, ViewsArePlacedByModeAndTheNormalPaintRunsInItsOrder) {
  dv::Pane* client = w.pane();
  ASSERT_EQ(client->children().size(), 3u);
  EXPECT_EQ(view().geometry().right, int(1000 * 0.85f));
  EXPECT_TRUE(view().visible());
  EXPECT_FALSE(w.textView().visible());

  dv::RecordingCanvas c;
  view().onPaint(c);
  const auto& calls = c.calls();
  // The bitmap is blitted before any axis line; the corner goes white.
  auto first = [&](dv::CanvasCall::Kind k) {
    return std::find_if(calls.begin(), calls.end(), [&](const auto& x) { return x.kind == k; }) -
           calls.begin();
  };
  EXPECT_LT(first(dv::CanvasCall::Bitmap), first(dv::CanvasCall::Line));
  const auto blit = c.calls(dv::CanvasCall::Bitmap).at(0);
  EXPECT_EQ(blit.rect.right, view().width() - view().scrollBarWidth);
  EXPECT_EQ(blit.rect.bottom, view().height() - view().scrollBarHeight);
  // The bitmap holds the image and the frame just outside it.
  const dv::Rect im = view().image();
  const dv::IndexedBitmap& b = view().bitmap();
  EXPECT_EQ(b.pixel(im.left - 1, im.top - 1), 0);
  EXPECT_EQ(b.pixel(im.right, im.bottom), 0);
  EXPECT_EQ(b.pixel(im.left - 2, im.top), 1);  // white outside
  const int t = view().maps().columns[size_t(im.left)], s = view().maps().rows[size_t(im.top)];
  EXPECT_EQ(b.pixel(im.left, im.top), ((t * 7 + s * 3) % 256 >> 2) + 2);

  w.setTextMode(true);
  EXPECT_FALSE(view().visible());
  EXPECT_TRUE(w.textView().visible());
  EXPECT_EQ(w.textView().geometry().left, 10);
  EXPECT_EQ(w.textView().lines().at(0), "Version: T1");
  // The menu follows the mode: "???" 34120 in text mode.
  const dv::MenuItem& profile = w.menuBar()->items().back();
  EXPECT_EQ(profile.caption, "&Profile");
  ASSERT_EQ(profile.popup->size(), 1u);
  EXPECT_EQ(profile.popup->items()[0].id, 34120);
  w.setTextMode(false);
  EXPECT_EQ(w.menuBar()->items().back().popup->items()[0].caption, "View &Presentation");
}

TEST_F(Window, RubberBandZoomScrollBarsAndZoomOut) {
  const dv::Rect im = view().image();
  // 100 traces wide, 4 samples high: only the traces change.
  const int x0 = im.left + 10, y0 = im.top + 10;
  const auto& cols = view().maps().columns;
  int x1 = x0;
  while (cols[size_t(x1)] - cols[size_t(x0)] < 99) ++x1;
  view().onMouseDown(at(x0, y0, dv::kLeftButton));
  EXPECT_TRUE(view().dragging());
  EXPECT_TRUE(view().captured());
  view().onMouseMove(at(x1, y0 + 1, 0));
  dv::RecordingCanvas c;
  view().onPaint(c);
  EXPECT_EQ(c.count(dv::CanvasCall::RubberBand), 1);
  const int t0 = cols[size_t(x0)];
  view().onMouseUp(at(x1, y0 + 1, dv::kLeftButton));
  EXPECT_FALSE(view().dragging());
  DisplaySettings& s = w.normal();
  EXPECT_EQ(s.firstTrace, t0);
  EXPECT_EQ(s.lastTrace, t0 + 99);
  EXPECT_EQ(s.firstSample, 0);
  EXPECT_EQ(s.lastSample, 119);
  // The press chose the trace panel's trace.
  EXPECT_EQ(w.panelTrace(), t0);
  // Scroll bars follow the zoom window.
  EXPECT_EQ(view().hScroll.page, 101 * 100 / 300);
  EXPECT_EQ(view().hScroll.position, scrollPosition({s.firstTrace, s.lastTrace, 300}));
  EXPECT_EQ(view().vScroll.page, 101);
  EXPECT_TRUE(view().hScroll.visible);
  view().onScroll(false, dv::kScrollLineDown, 0);
  EXPECT_EQ(s.firstTrace, t0 + 1);
  view().onScroll(false, dv::kScrollBottom, 0);
  EXPECT_EQ(s.lastTrace, 299);
  EXPECT_EQ(view().hScroll.position, 101 - view().hScroll.page);
  // The pixel maps show the new window.
  EXPECT_EQ(view().maps().columns[size_t(im.left)], s.firstTrace);
  w.onCommand(ID_IMG_ZOOM_OUT);
  EXPECT_EQ(s.firstTrace, 0);
  EXPECT_EQ(s.lastTrace, 299);
  EXPECT_EQ(view().hScroll.page, 101);
}

TEST_F(Window, SetTimeZeroIsArmedByItsCommandAndTakesTheNextClick) {
  ProfileVersion& v = *p.v;
  const dv::Rect im = view().image();
  w.onCommand(ID_N_TIME_ZERO);
  EXPECT_TRUE(w.timeZeroArmed());
  EXPECT_EQ(view().cursor(), dv::CursorShape::UpArrow);
  const int y = im.top + 50;
  const int s = view().maps().rows[size_t(y)];
  view().onMouseDown(at(im.left + 5, y, dv::kLeftButton));
  EXPECT_FALSE(w.timeZeroArmed());
  EXPECT_FALSE(view().dragging());  // the armed click does not start a zoom
  EXPECT_FLOAT_EQ(v.firstTime, -float(s) * 0.5f);
  EXPECT_FLOAT_EQ(v.time[size_t(s)], 0.0f);
  EXPECT_FLOAT_EQ(v.depthNormal[size_t(s) + 2], 1.0f * 0.3f * 0.3048f * 0.5f);
  // The byte traces are built again when painted.
  EXPECT_FALSE(v.normalBytes[0]);
  EXPECT_EQ(view().cursor(), dv::CursorShape::Arrow);
  // Not for a depth version.
  v.kind = kDepthVersion;
  w.onCommand(ID_IMG_TIME_ZERO);
  EXPECT_FALSE(w.timeZeroArmed());
}

TEST_F(Window, PaletteWigglesFillsAndRightButtonZones) {
  DisplaySettings& s = w.normal();
  s.numColours = 16;
  w.onCommand(ID_IMG_GRAY);
  EXPECT_EQ(s.paletteType, 1);
  EXPECT_EQ(s.numColours, 64);
  w.onCommand(ID_TB_NO_COLOR);
  EXPECT_EQ(s.paletteType, 0);
  w.onCommand(ID_TB_WIGGLES);  // all off: on
  EXPECT_EQ(s.wiggleLines, 1);
  EXPECT_EQ(s.fillLeft, 0);
  EXPECT_EQ(s.fillRight, 1);
  w.onCommand(ID_TB_WIGGLES);
  EXPECT_EQ(s.wiggleLines + s.fillLeft + s.fillRight, 0);
  w.onCommand(ID_PANEL_FILL_BOTH);
  EXPECT_EQ(s.panelFillLeft + s.panelFillRight, 2);
  w.onCommand(ID_PANEL_NO_FILL);
  EXPECT_EQ(s.panelFillLeft + s.panelFillRight, 0);
  // The No Color image stays white inside the frame.
  dv::RecordingCanvas c;
  view().onPaint(c);
  const dv::Rect im = view().image();
  EXPECT_EQ(view().bitmap().pixel(im.left + 3, im.top + 3), 1);

  // Right button: the image's pop-up only when it goes up in the same zone.
  auto& ui = dv::headless();
  ui.resetLog();
  ui.clearAnswers();
  std::string error;
  ASSERT_TRUE(ui.addAnswerLine("answer popup 33244", &error)) << error;
  view().onMouseDown(at(im.left + 5, im.top + 5, dv::kRightButton));
  EXPECT_EQ(w.rightZone(), 0);
  view().onMouseUp(at(im.left + 9, im.top + 9, dv::kRightButton));
  EXPECT_EQ(w.rightZone(), -1);
  EXPECT_EQ(s.paletteType, 2);  // Red-White-Blue chosen in the pop-up
  view().onMouseDown(at(im.left + 5, im.top - 10, dv::kRightButton));
  EXPECT_EQ(w.rightZone(), 1);
  view().onMouseUp(at(im.left + 5, im.top + 10, dv::kRightButton));  // another zone: nothing
  EXPECT_EQ(ui.pendingAnswers(), 0u);
  EXPECT_EQ(w.rightZone(), -1);
  view().onMouseDown(at(10, im.top + 10, dv::kRightButton));
  EXPECT_EQ(w.rightZone(), 2);
  ui.resetLog();
}

TEST_F(Window, SeparatorDragSetsTheSplitRatioAndStateRoundTrips) {
  ProfileClient& client = w.client();
  const int sep = client.layout().splitPos;
  client.onMouseMove(at(sep + 2, 300, 0));
  EXPECT_EQ(client.cursor(), dv::CursorShape::SizeHorizontal);
  client.onMouseDown(at(sep + 2, 300, dv::kLeftButton));
  client.onMouseMove(at(100, 300, 0));  // kept to half the width
  client.onMouseUp(at(100, 300, dv::kLeftButton));
  EXPECT_FLOAT_EQ(w.splitRatio(), 0.5f);
  EXPECT_EQ(view().geometry().right, 500);
  EXPECT_EQ(client.layout().panel.left, 505);

  dv::DocPlacement pl;
  pl.normal = {10, 20, 610, 420};
  pl.maximized = true;
  w.onPlacement(pl);
  w.setTextMode(true);
  ProfileWindowState st = w.state();
  EXPECT_EQ(st.placement.left, 10);
  EXPECT_EQ(st.placement.bottom, 420);
  EXPECT_EQ(st.placement.showCmd, 3u);
  EXPECT_FLOAT_EQ(st.splitRatio, 0.5f);
  EXPECT_EQ(st.textMode, 1);
  EXPECT_EQ(st.presentationMode, 0);
  // The profile item keeps the state for saving.
  EXPECT_EQ(p.item.windowState.textMode, 1);
  EXPECT_FLOAT_EQ(p.item.windowState.splitRatio, 0.5f);

  MemProfile q(50, 40);
  CProfileWnd other(q.item, *q.v);
  other.applyState(st);
  EXPECT_TRUE(other.textMode());
  EXPECT_FLOAT_EQ(other.splitRatio(), 0.5f);
  EXPECT_TRUE(other.maximized());
  EXPECT_EQ(other.placement.normal.right, 610);
  // A damaged ratio takes the default.
  st.splitRatio = -3.0f;
  other.applyState(st);
  EXPECT_FLOAT_EQ(other.splitRatio(), 0.85f);
}

TEST_F(Window, TabsSwitchVersionsAndDeleteKeepsOne) {
  ProfileVersion* d = addVersion(p.item, "/nonexistent", kDepthVersion, 2);
  d->samples = 120;
  d->sourceKind = kTimeVersion;
  d->sourceNumber = 1;
  d->name = "migrated";
  rebuildVersionList(p.item);
  dv::RecordingCanvas c;
  w.client().onPaint(c);
  ASSERT_EQ(w.client().tabRects().size(), 2u);
  std::vector<std::string> labels;
  for (const auto& t : c.calls(dv::CanvasCall::Text)) labels.push_back(t.text);
  EXPECT_NE(std::find(labels.begin(), labels.end(), "D2(T1) migrated"), labels.end());
  EXPECT_EQ(w.client().tabRects()[0].left, kTabsLeft);
  const dv::Rect tab = w.client().tabRects()[1];
  w.client().onMouseDown(at(tab.left + 3, tab.top + 5, dv::kLeftButton));
  EXPECT_EQ(w.version(), d);
  EXPECT_EQ(p.item.shownVersion, 1);
  EXPECT_FALSE(p.v->loaded);  // the old version is closed for display
  // Set Time Zero is not offered for a depth version.
  EXPECT_EQ(w.commandState(ID_N_TIME_ZERO), 0);
  // Depth Convert needs a time version.
  dv::headless().resetLog();
  w.onCommand(ID_N_DEPTH_CONVERT);
  ASSERT_FALSE(dv::headless().log().empty());
  EXPECT_NE(dv::headless().log().back().find("Version must be time to convert to depth"),
            std::string::npos);
  // Delete Version on the tab pop-up deletes the shown version without asking
  // and shows another; the only version left is never deleted.
  auto& ui = dv::headless();
  ui.resetLog();
  ui.clearAnswers();
  std::string error;
  ASSERT_TRUE(ui.addAnswerLine("answer popup 33283", &error)) << error;
  w.client().onMouseUp(at(tab.left + 3, tab.top + 5, dv::kRightButton));
  EXPECT_EQ(ui.pendingAnswers(), 0u);
  ASSERT_EQ(p.item.versionList.size(), 1u);
  EXPECT_EQ(w.version(), p.v);
  EXPECT_TRUE(p.v->loaded);
  EXPECT_EQ(p.item.shownVersion, 0);
  w.onCommand(ID_TAB_DELETE_VERSION);
  EXPECT_EQ(p.item.versionList.size(), 1u);
  EXPECT_EQ(w.commandState(ID_N_DELETE_VERSION), 0);
  ui.resetLog();
}

TEST(ProfileMenus, ProfileMenuByModeAndThePopups) {
  auto normal = profileMenu(false, false);
  // The entries of the table, with the "&Process" pop-up of the steps after Elevation Convert.
  ASSERT_EQ(normal->size(), 12u);
  EXPECT_EQ(normal->items()[0].id, 34160);
  EXPECT_EQ(normal->items()[11].caption, "Edit Pr&operties");
  ASSERT_NE(normal->items()[5].popup, nullptr);
  EXPECT_EQ(normal->items()[5].caption, "&Process");
  EXPECT_EQ(normal->findCommand("&Process/&Envelope"), 34176);
  auto pres = profileMenu(false, true);
  ASSERT_EQ(pres->size(), 11u);
  EXPECT_EQ(pres->items()[1].caption, "&Edit Layout Mode");
  EXPECT_EQ(pres->items()[1].id, 34142);
  EXPECT_EQ(profileMenu(true, true)->items()[0].id, 34100);
  EXPECT_EQ(profilePopup("WPRFLTRACES")->size(), 9u);
  EXPECT_EQ(profilePopup("WPRFRWND")->items()[4].caption, "Fill &Both");
  EXPECT_EQ(profilePopup("WPRF4TAB")->items()[5].id, 33295);
  EXPECT_EQ(profilePopup("NONE"), nullptr);
  // The toolbar shows the buttons of the mode, pressed for the state.
  DisplaySettings n, p;
  auto tb = profileToolBar(false, n, p);
  auto find = [&](int id) { return *std::find_if(tb.begin(), tb.end(), [&](auto& b) { return b.id == id; }); };
  EXPECT_FALSE(find(34206).hidden);
  EXPECT_TRUE(find(34184).hidden);
  EXPECT_TRUE(find(34209).checked);  // Red-White-Blue
  EXPECT_FALSE(find(34212).checked);
  EXPECT_EQ(find(34193).tooltip, "NoColor");
}

}  // namespace
