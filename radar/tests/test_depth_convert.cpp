// Depth conversion rules (the STATIC copy): the velocity table's sort,
// faults, import and files, the RMS velocities, the unit rule, the depth
// axis and the conversion of one trace.
#include <gtest/gtest.h>

#include <cmath>

#include "processing/depth_convert.h"

namespace {

using namespace quv;

std::vector<float> rms(const std::vector<VelocityRow>& rows, const std::vector<float>& times) {
  std::vector<float> out(times.size());
  rmsVelocities(rows, times.data(), (int)times.size(), out.data());
  return out;
}

TEST(DepthRms, OneRowGivesItsVelocityEverywhereAndLaterRowsContinue) {
  const std::vector<float> t = {0, 10, 25, 50, 80};
  for (float v : rms({{50, 0.1f}}, t)) EXPECT_FLOAT_EQ(v, 0.1f);
  // Two layers: the second velocity goes on below the last row's time.
  const std::vector<float> two = rms({{10, 0.1f}, {20, 0.2f}}, {0, 5, 20, 40});
  EXPECT_FLOAT_EQ(two[0], 0.1f);  // t = 0 takes the current layer's velocity, no division
  EXPECT_FLOAT_EQ(two[1], 0.1f);
  EXPECT_FLOAT_EQ(two[2], std::sqrt(0.025f));
  EXPECT_FLOAT_EQ(two[3], std::sqrt((0.1f + 0.04f * 30) / 40));
}

TEST(DepthVelocityTable, SortIsStableWithBlanksLastAndFaultsComeInRowOrder) {
  std::vector<VelocityRow> rows = {{20, 1}, {kBlankCell, 2}, {10, 3}, {20, 4}, {5, 5}};
  sortVelocityRows(rows);
  std::vector<float> order;
  for (auto& r : rows) order.push_back(r.velocity);
  EXPECT_EQ(order, (std::vector<float>{5, 3, 1, 4, 2}));

  // Typed time 0 is accepted; the first fault in row order is the one shown.
  EXPECT_EQ(velocityRowsFault({{0, 0.1f}, {10, 0.2f}}), nullptr);
  EXPECT_STREQ(velocityRowsFault({{-1, 0.1f}, {10, kBlankCell}}), "Negative time values are not allowed");
  EXPECT_STREQ(velocityRowsFault({{1, 0.1f}, {10, kBlankCell}}), "Blank values are not allowed");
  EXPECT_STREQ(velocityRowsFault({{1, 0}}), "Only positive velocity values are allowed");
}

TEST(DepthVelocityTable, ImportSkipsTimeZeroAndTakesTheChosenColumns) {
  const std::string file = "/ v t\n  0.10 0\n\n0.12 15 x\n0.15 30\n-0.1 40\n0.2\n";
  const std::vector<VelocityRow> rows = importVelocityTable(file, 2, 1);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_FLOAT_EQ(rows[0].time, 15);
  EXPECT_FLOAT_EQ(rows[0].velocity, 0.12f);
  EXPECT_FLOAT_EQ(rows[1].time, 30);

  // "TV_" is written without blank rows and read back.
  const std::string tv = formatVelocityTable({{10, 0.1f}, {kBlankCell, 0.2f}, {20.5f, 0.125f}});
  EXPECT_EQ(tv, "/ Time Velocity\n10.00 0.100\n20.50 0.125\n");
  const std::vector<VelocityRow> back = parseVelocityTable(tv + "  / note\n7\n");
  ASSERT_EQ(back.size(), 3u);
  EXPECT_FLOAT_EQ(back[1].velocity, 0.125f);
  EXPECT_TRUE(isBlankCell(back[2].velocity));  // a line with one number: the other is blank
}

TEST(DepthVelFile, RowsOfAnotherLengthAndShortFilesAreRefused) {
  const std::string bytes = encodeVelFile({0.1f, 0.2f, 0.3f}, 2, 258);
  ASSERT_EQ(bytes.size(), 4u + 2 * 3 * 4);
  std::vector<float> v;
  ASSERT_TRUE(decodeVelFile(bytes, 2, 3, v));
  EXPECT_EQ(v, (std::vector<float>{0.1f, 0.2f, 0.3f, 0.1f, 0.2f, 0.3f}));
  EXPECT_FALSE(decodeVelFile(bytes, 2, 4, v));
  EXPECT_FALSE(decodeVelFile(bytes.substr(0, bytes.size() - 1), 2, 3, v));
}

TEST(DepthConversion, MetricVelocitiesAreTakenInFeetPerNanosecond) {
  std::vector<float> m = {0.1f}, ft = {0.1f}, in = {0.1f}, cm = {0.1f};
  velocitiesInFeet(m, 0.3048f);
  velocitiesInFeet(ft, 1.0f);
  velocitiesInFeet(in, 12.0f);
  velocitiesInFeet(cm, 30.48f);
  EXPECT_FLOAT_EQ(m[0], 0.32808399f);
  EXPECT_FLOAT_EQ(ft[0], 0.1f);
  EXPECT_FLOAT_EQ(in[0], 0.1f);
  EXPECT_FLOAT_EQ(cm[0], 0.32808399f);
}

TEST(DepthConversion, AxisFollowsTheExtremeVelocitiesAndSlowerTracesEndInZeros) {
  // Two traces of 11 samples 0..100 ns: 0.1 and 0.2 ft/ns throughout.
  const int M = 11;
  std::vector<float> t(M), v(2 * M), a(M);
  for (int j = 0; j < M; ++j) t[j] = 10.0f * j, v[j] = 0.1f, v[M + j] = 0.2f, a[j] = float(j);
  DepthAxis axis = depthAxis(v.data(), 2, M, t[0], t[M - 1]);
  EXPECT_FLOAT_EQ(axis.z0, 0);
  EXPECT_FLOAT_EQ(axis.dz, 0.2f * 100 / 2 / 10);  // 1 ft per sample
  // A later first sample: z0 from the smallest first velocity.
  EXPECT_FLOAT_EQ(depthAxis(v.data(), 2, M, 20, 100).z0, 0.1f * 20 / 2);

  std::vector<float> d(M), slow(M), fast(M);
  depthConvertTrace(a.data(), v.data(), t.data(), M, axis, d.data(), slow.data());
  depthConvertTrace(a.data(), v.data() + M, t.data(), M, axis, d.data(), fast.data());
  // Fast trace: depth of sample j is j ft, so output k is sample k.
  for (int k = 0; k < M; ++k) EXPECT_FLOAT_EQ(fast[k], float(k)) << k;
  // Slow trace: sample j lies at j/2 ft; output k at k ft reads sample 2k,
  // and below its last sample's depth (5 ft) the trace is 0.
  for (int k = 0; k <= 5; ++k) EXPECT_FLOAT_EQ(slow[k], float(2 * k)) << k;
  for (int k = 6; k < M; ++k) EXPECT_EQ(slow[k], 0.0f) << k;
  // Halfway between two input depths the output is their mean.
  axis.z0 = 0.25f;
  depthConvertTrace(a.data(), v.data(), t.data(), M, axis, d.data(), slow.data());
  EXPECT_FLOAT_EQ(slow[0], 0.5f);
}

}  // namespace
