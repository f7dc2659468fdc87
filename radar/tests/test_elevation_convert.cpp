// Elevation rules (the STATIC copy): the plan of shifts and samples, the
// shifting of a trace, the imports by trace, distance and coordinates,
// linear and spline interpolation, Elevation Math and the ".elv" text.
#include <gtest/gtest.h>

#include "processing/elevation_convert.h"
#include "project/profile.h"

namespace {

using namespace quv;

constexpr float B = kBlankCell;

TEST(ElevationPlan, ShiftsAndSamplesFollowTheHighestSurface) {
  ElevationPlan plan;
  ASSERT_EQ(planElevation({10, 12, 11}, 0.5f, 100, plan), PlanFault::None);
  EXPECT_EQ(plan.samples, 104);
  EXPECT_EQ(plan.shifts, (std::vector<int>{4, 0, 2}));
  EXPECT_FLOAT_EQ(plan.emax, 12);
  // 3.048 m in a metric profile is 10 ft once divided by its units per foot.
  ASSERT_EQ(planElevation({3.048f / 0.3048f, 12}, 0.5f, 10, plan), PlanFault::None);
  EXPECT_EQ(plan.shifts[0], 4);

  EXPECT_EQ(planElevation({10, 12}, 0.0f, 100, plan), PlanFault::Increment);
  EXPECT_EQ(planElevation({10, 12}, -0.5f, 100, plan), PlanFault::Increment);
  EXPECT_EQ(planElevation({10, B}, 0.5f, 100, plan), PlanFault::Blank);
  // A span that needs more samples than a version may hold.
  EXPECT_EQ(planElevation({0, 1e6f}, 0.5f, 100, plan), PlanFault::TooManySamples);

  std::vector<float> out(6, 9.0f);
  const float in[3] = {1, 2, 3};
  shiftTrace(in, 3, 2, out.data(), 6);
  EXPECT_EQ(out, (std::vector<float>{0, 0, 1, 2, 3, 0}));
}

ElevationLine lineOf(int traces, float step) {
  ElevationLine l;
  for (int i = 0; i < traces; ++i) l.easting.push_back(step * i), l.northing.push_back(0);
  l.distance = traceDistances(l.easting, l.northing);
  return l;
}

TEST(ElevationImport, TraceDistanceAndCoordinateModesPlaceTheirValues) {
  const ElevationLine l = lineOf(4, 2.0f);  // L = 6
  EXPECT_DOUBLE_EQ(l.distance.back(), 6.0);
  const int cols[3] = {1, 2, 3};
  std::vector<float> e(4, B);
  // By trace number (from 1); traces outside the line are ignored.
  EXPECT_EQ(importElevations("/ t e\n2 7.5\n0 1\n5 1\n", ElevationImport::Trace, cols, l, 1, e), 1);
  EXPECT_EQ(e, (std::vector<float>{B, 7.5f, B, B}));
  // By distance: L lands on the last trace, L/2 with N = 4 on index 2.
  e.assign(4, B);
  importElevations("6 1\n3 2\n", ElevationImport::Distance, cols, l, 1, e);
  EXPECT_EQ(e, (std::vector<float>{B, B, 2, 1}));
  // By coordinates: exactly at the radius is accepted, beyond it ignored;
  // the nearest trace takes the value.
  e.assign(4, B);
  EXPECT_EQ(importElevations("4 3 5\n0 3.0001 6\n2.9 0 7\n", ElevationImport::Coordinates, cols, l, 3, e), 2);
  EXPECT_EQ(e, (std::vector<float>{B, 7, 5, B}));
}

TEST(ElevationTable, InterpolationFillsOnlyBetweenKnownValues) {
  std::vector<float> e = {B, 5, B, B, 8, B};
  interpolateLinear(e);
  EXPECT_EQ(e, (std::vector<float>{B, 5, 6, 7, 8, B}));

  // The spline with flat ends passes through its knots, is symmetric
  // between two knots and fills nothing outside them.
  std::vector<float> s = {B, 0, B, B, B, 4, B};
  interpolateSpline(s);
  EXPECT_TRUE(isBlankCell(s[0]));
  EXPECT_TRUE(isBlankCell(s[6]));
  EXPECT_FLOAT_EQ(s[1], 0);
  EXPECT_FLOAT_EQ(s[3], 2);
  EXPECT_FLOAT_EQ(s[2] + s[4], 4);
  EXPECT_LT(s[2], 1.0f);  // flat start: slower than the straight line
  std::vector<float> one = {B, 3, B};
  interpolateSpline(one);
  EXPECT_TRUE(isBlankCell(one[2]));
}

TEST(ElevationTable, MathLeavesBlanksAndExportListsKnownValues) {
  std::vector<float> e = {2, B, 4};
  elevationMath(e, true, 1.5f);
  EXPECT_EQ(e, (std::vector<float>{3, B, 6}));
  elevationMath(e, false, -1);
  EXPECT_EQ(e, (std::vector<float>{2, B, 5}));
  EXPECT_EQ(formatElevationFile(e, lineOf(3, 1.0f)),
            "/ Trace# Distance Easting Northing Elevation\n"
            "1 0.000000 0.000000 0.000000 2.000000\n"
            "3 2.000000 2.000000 0.000000 5.000000\n");
  // A values file cut short gives what it holds, blanks for the rest.
  std::vector<float> read;
  ASSERT_TRUE(readElevationValues(encodeZFile({1, 2}, 258), 3, read));
  EXPECT_EQ(read, (std::vector<float>{1, 2, B}));
}

}  // namespace
