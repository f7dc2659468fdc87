// Markers, rubber sheeting and join through the STATIC copy: the marker
// file, the walk along the marker polyline with its spacing, corners and
// ends, the mixing of raw traces, and the layout of a join.
#include <cmath>

#include "fixture.h"
#include "processing/join.h"
#include "processing/markers.h"
#include "processing/rubber_sheet.h"

namespace {

using quv::Marker;

TEST(Markers, FileSkipsCommentLinesAndCountsTracesFromOne) {
  const std::string text = "/ Trace# Easting Northing\n  / a note\n\n 1 100.00 50.00\n11 100 60.5\nx y z\n";
  std::vector<Marker> m = quv::parseMarkerFile(text);
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].trace, 0);
  EXPECT_EQ(m[1].trace, 10);
  EXPECT_DOUBLE_EQ(m[1].northing, 60.5);
  EXPECT_EQ(quv::formatMarkerFile(m), "/ Trace# Easting Northing\n1 100.00 50.00\n11 100.00 60.50\n");

  // Markers from GPS keep their map reference as a comment line the table skips.
  quv::MarkerReference ref{32632, 556000, 5140000}, back;
  const std::string placed = quv::formatMarkerFile(m, ref);
  EXPECT_EQ(placed.substr(0, 73), "/ Trace# Easting Northing\n/ GPS EPSG:32632 origin 556000.000 5140000.000\n");
  EXPECT_EQ(quv::parseMarkerFile(placed).size(), 2u);
  ASSERT_TRUE(quv::parseMarkerReference(placed, back));
  EXPECT_EQ(back.epsg, 32632);
  EXPECT_EQ(back.originNorthing, 5140000);
  EXPECT_FALSE(quv::parseMarkerReference(text, back));
}

TEST(Markers, TableRulesInterpolateSortAndRefuse) {
  const double B = quv::kBlankMarker;
  std::vector<Marker> m = {{0, 0, 0}, {5, B, 0}, {10, 10, 20}, {12, B, 0}};
  quv::interpolateMarkers(m);
  EXPECT_DOUBLE_EQ(m[1].easting, 5);
  EXPECT_DOUBLE_EQ(m[1].northing, 10);
  EXPECT_TRUE(quv::isBlankMarker(m[3])) << "no marker after it: it stays blank";
  EXPECT_EQ(quv::markerTableRefusal(m), "Blank values are not allowed");
  m.pop_back();
  // Rows on one trace keep their order.
  m.push_back({5, 1, 1});
  quv::sortMarkers(m);
  EXPECT_EQ(m[1].easting, 5);
  EXPECT_EQ(m[2].easting, 1);
  EXPECT_EQ(quv::markerTableRefusal(m), "Markers with same trace value are not allowed");
  EXPECT_EQ(quv::markerExportRefusal({{0, 0, 0}, {1, 1, 1}}), "Cannot export less than 3 markers");
  EXPECT_EQ(quv::markerTableRefusal({{0, 0, 0}, {1, 1, 1}}), "Must have at least 3 markers");
  bool limited = false;
  EXPECT_EQ(quv::limitMarkerTrace(-1, 30, limited), 0);
  EXPECT_TRUE(limited);
  EXPECT_EQ(quv::limitMarkerTrace(30, 30, limited), 29);
  quv::populateMarkers(m, 100, 50, 2, 0);  // due north, 2 per trace
  EXPECT_DOUBLE_EQ(m[2].northing, 60);
  EXPECT_NEAR(m[2].easting, 100, 1e-9);
}

TEST(RubberSheetPlan, EvenMarkersGiveTheirSpacingWithTheFirstTraceOnTheFirstMarker) {
  // Raw traces 1, 11 and 21 (counted from 1), 10 m apart due north.
  quv::RubberSheetPlan p = quv::planRubberSheet({{0, 100, 50}, {10, 100, 60}, {20, 100, 70}}, 30, 16, "L");
  ASSERT_EQ(p.refusal, "");
  EXPECT_DOUBLE_EQ(p.dx, 1);
  EXPECT_EQ(p.firstMarkerTrace, 0);
  // On to the last raw trace: 29 m, 30 traces, each on its raw trace.
  ASSERT_EQ(p.traces.size(), 30u);
  for (int k = 0; k < 30; ++k) {
    EXPECT_EQ(p.traces[(size_t)k].source, k);
    EXPECT_NEAR(p.traces[(size_t)k].f, 0, 1e-9);
    EXPECT_NEAR(p.traces[(size_t)k].northing, 50 + k, 1e-9);
  }
  // The markers are nodes at their output traces.
  ASSERT_EQ(p.nodes.size(), 4u);
  EXPECT_EQ(p.nodes[1].trace, 10);
  EXPECT_EQ(p.nodes[2].trace, 20);
  EXPECT_EQ(p.nodes[3].trace, 29);
  EXPECT_NEAR(p.nodes[3].northing, 79, 1e-9);
}

TEST(RubberSheetPlan, UnevenSpacingTakesTheMeanAndStartsBeforeTheFirstMarker) {
  // 1 m per trace, then 2 m per trace: dx 1.5. The first marker is on raw
  // trace 3, so the line reaches back 3 m to raw trace 0: k0 = 2 traces
  // before it, the first at 0 m + 0.0 ... 3 - 2 x 1.5 = 0 m.
  quv::RubberSheetPlan p = quv::planRubberSheet({{3, 3, 0}, {13, 13, 0}, {23, 33, 0}}, 24, 8, "L");
  ASSERT_EQ(p.refusal, "");
  EXPECT_DOUBLE_EQ(p.dx, 1.5);
  EXPECT_EQ(p.firstMarkerTrace, 2);
  EXPECT_NEAR(p.traces[2].easting, 3, 1e-9);
  EXPECT_EQ(p.traces[2].source, 3);
  // 4.5 m lies halfway between raw traces 4 and 5: the later one for Move closest.
  EXPECT_EQ(p.traces[3].source, 4);
  EXPECT_NEAR(p.traces[3].f, 0.5, 1e-9);
  // Past the corner at 13 m the second segment is squeezed: 13.5 m is a
  // quarter of a raw trace after raw trace 13.
  EXPECT_NEAR(p.traces[9].easting, 13.5, 1e-9);
  EXPECT_EQ(p.traces[9].source, 13);
  EXPECT_NEAR(p.traces[9].f, 0.25, 1e-9);
  // The last at 33 m, on the last raw trace, reads no trace beyond it.
  EXPECT_NEAR(p.traces.back().easting, 33, 1e-9);
  EXPECT_EQ(p.traces.back().source, 23);
  EXPECT_EQ(p.traces.size(), 23u);

  float a[2] = {1, 10}, b[2] = {3, 30}, out[2];
  quv::mixTraces(quv::NewTraces::MoveClosest, 0.5, a, b, 2, out);
  EXPECT_EQ(out[0], 3) << "f = 0.5 takes the later trace";
  quv::mixTraces(quv::NewTraces::MoveClosest, 0.4999, a, b, 2, out);
  EXPECT_EQ(out[0], 1);
  quv::mixTraces(quv::NewTraces::Interpolate, 0.25, a, b, 2, out);
  EXPECT_FLOAT_EQ(out[1], 15);
}

TEST(RubberSheetPlan, CornersKeepEveryStepOneSpacingLong) {
  // East 9.5 m over 10 raw traces, then north 10 m over 10: dx 0.975. The
  // last trace before the corner is r = 0.725 short of it; the next lies
  // sqrt(dx^2 - r^2) up the outgoing segment (a right angle).
  quv::RubberSheetPlan p = quv::planRubberSheet({{0, 0.5, 0}, {10, 10, 0}, {20, 10, 10}}, 21, 4, "L");
  ASSERT_EQ(p.refusal, "");
  EXPECT_DOUBLE_EQ(p.dx, 0.975);
  ASSERT_GT(p.traces.size(), 11u);
  EXPECT_NEAR(p.traces[9].easting, 9.275, 1e-9);
  EXPECT_NEAR(p.traces[10].easting, 10, 1e-9);
  EXPECT_NEAR(p.traces[10].northing, std::sqrt(0.975 * 0.975 - 0.725 * 0.725), 1e-9);
  EXPECT_EQ(p.traces[10].source, 10);
  for (size_t k = 1; k < p.traces.size(); ++k) {
    const double step = std::hypot(p.traces[k].easting - p.traces[k - 1].easting,
                                   p.traces[k].northing - p.traces[k - 1].northing);
    EXPECT_NEAR(step, 0.975, 1e-9) << "trace " << k;
  }
  EXPECT_LE(p.traces.back().northing, 10 + 1e-9);
}

TEST(RubberSheetPlan, MarkersThatGiveNoSpacingAreRefused) {
  EXPECT_EQ(quv::planRubberSheet({{0, 0, 0}, {10, 10, 0}}, 30, 8, "L1.DZT").refusal,
            "Batch Error - L1.DZT must have more that 3 markers to rubber sheet");
  EXPECT_NE(quv::planRubberSheet({{0, 0, 0}, {10, 10, 0}, {10, 20, 0}}, 30, 8, "L").refusal.find(
                "two markers lie on trace 11"),
            std::string::npos);
  EXPECT_NE(quv::planRubberSheet({{0, 0, 0}, {10, 5, 5}, {20, 5, 5}}, 30, 8, "L").refusal.find(
                "lie on one point"),
            std::string::npos);
  EXPECT_NE(quv::planRubberSheet({{0, 0, 0}, {10, 5, 5}, {40, 9, 9}}, 30, 8, "L").refusal.find(
                "outside the 30 traces"),
            std::string::npos);
  // A squeezed first segment makes the mean spacing far shorter than the
  // second segment's: more traces than a profile holds (trace numbers are
  // 32-bit; the length of a line is no limit).
  EXPECT_NE(quv::planRubberSheet({{0, 0, 0}, {1, 0.0001, 0}, {1999999999, 1e6, 0}}, 2000000000, 1024, "L")
                .refusal.find("more than a profile holds"),
            std::string::npos);
}

quv::JoinItem item(const char* name, int traces, double e0, double e1) {
  quv::JoinItem k;
  k.name = name;
  k.traces = traces;
  k.samples = 16;
  k.end = traces - 1;
  k.startEasting = e0;
  k.endEasting = e1;
  return k;
}

TEST(JoinPlan, SharedPointsGapsAndNodes) {
  // Ends that coincide: N1 + N2 - 1 traces, no gap.
  quv::JoinPlan p = quv::planJoin({item("A", 21, 0, 10), item("B", 11, 10, 15)});
  ASSERT_EQ(p.refusal, "");
  EXPECT_EQ(p.total, 31);
  EXPECT_EQ(p.gap[1], 0);
  EXPECT_EQ(p.lastUsed[0], 19);
  ASSERT_EQ(p.nodes.size(), 3u);
  EXPECT_EQ(p.nodes[1].trace, 20);
  EXPECT_EQ(p.nodes[2].trace, 30);

  // 10 m apart at dx 0.5: 20 zero traces, the second item from trace 41.
  quv::JoinItem b = item("B", 11, 20, 25), c = item("C", 5, 5, 5);
  c.samples = 64;
  p = quv::planJoin({item("A", 21, 0, 10), b});
  EXPECT_DOUBLE_EQ(p.dx, 0.5);
  EXPECT_EQ(p.gap[1], 20);
  EXPECT_EQ(p.total, 21 + 20 + 11);
  EXPECT_EQ(p.first[1], 41);
  EXPECT_EQ(p.samples, 16);

  // A start trace after the end trace writes nothing of that item.
  quv::JoinItem none = item("N", 11, 10, 15);
  none.start = 8, none.end = 3;
  p = quv::planJoin({item("A", 21, 0, 10), none});
  EXPECT_EQ(p.total, 20);

  // The largest sample count; an item on one trace or no spacing is refused.
  quv::JoinItem one = item("O", 11, 10, 15);
  one.start = one.end = 4;
  EXPECT_NE(quv::planJoin({item("A", 21, 0, 10), one}).refusal.find("Start Trace and End Trace of O"),
            std::string::npos);
  EXPECT_NE(quv::planJoin({item("A", 21, 3, 3), c}).refusal.find("trace spacing of 0"),
            std::string::npos);
}

TEST(JoinPlan, TimingDiffersAboveOneThousandth) {
  quv::JoinItem a = item("A", 2, 0, 1), b = a;
  b.firstTime = 0.001f;
  EXPECT_FALSE(quv::timingDiffers(a, b));
  b.firstTime = 0.0011f;
  EXPECT_TRUE(quv::timingDiffers(a, b));
  b.firstTime = 0, b.interval = a.interval + 0.0011f;
  EXPECT_TRUE(quv::timingDiffers(a, b));
}

}  // namespace
