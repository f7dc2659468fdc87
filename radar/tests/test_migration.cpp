// The whole-section numerics against what they must do to a radargram: the
// first break is where the mean amplitude first rises past the fraction,
// Stolt migration collapses a diffraction hyperbola onto its apex at the
// true velocity and clearly less at a wrong one, and the hyperbola fit
// finds the velocity that made the hyperbola.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "processing/migration.h"

using namespace quv;

namespace {

constexpr double kPi = 3.14159265358979323846;

double ricker(double tau, double f) {
  const double a = kPi * f * tau;
  return (1 - 2 * a * a) * std::exp(-a * a);
}

// N x M section of one point diffractor: a Ricker wavelet of f GHz on the
// hyperbola of apex (x0, t0 ns) at velocity v, traces dx apart.
struct Diffractor {
  int N = 128, M = 256, x0 = 64;
  float dx = 0.05f, dt = 0.5f, v = 0.1f;
  double t0 = 60, f = 0.4;
  std::vector<float> section() const {
    std::vector<float> s(size_t(N) * size_t(M));
    for (int i = 0; i < N; ++i) {
      const double t = hyperbolaTime(t0, (i - x0) * double(dx), v);
      for (int j = 0; j < M; ++j) s[size_t(i) * size_t(M) + size_t(j)] = float(ricker(j * dt - t, f));
    }
    return s;
  }
  // The share of the energy within two traces and two samples of the apex.
  double nearApex(const std::vector<float>& s) const {
    const int apex = int(std::lround(t0 / dt));
    double in = 0, all = 0;
    for (int i = 0; i < N; ++i)
      for (int j = 0; j < M; ++j) {
        const double e = double(s[size_t(i) * size_t(M) + size_t(j)]) * s[size_t(i) * size_t(M) + size_t(j)];
        all += e;
        if (std::abs(i - x0) <= 2 && std::abs(j - apex) <= 2) in += e;
      }
    return all > 0 ? in / all : 0;
  }
};

const float* rowOf(const void* context, int i) {
  return static_cast<const std::vector<std::vector<float>>*>(context)->at(size_t(i)).data();
}

}  // namespace

TEST(Migration, FirstBreakIsTheFirstSampleOfTheMeanAbsoluteTraceAboveTheFraction) {
  // Two traces of opposite polarity: the mean of |x| rises 0, 1, 3, 10, 4.
  const std::vector<std::vector<float>> traces = {{0, 1, -3, 10, 4}, {0, -1, 3, -10, -4}};
  const std::vector<float> mean = meanAbsoluteTrace(2, 5, rowOf, &traces);
  EXPECT_FLOAT_EQ(mean[2], 3.0f);
  EXPECT_EQ(firstBreakSample(mean, 0.2f), 2);  // 3 > 2, 1 is not
  EXPECT_EQ(firstBreakSample(mean, 0.05f), 1);
  EXPECT_EQ(firstBreakSample(std::vector<float>(5, 0.0f), 0.2f), -1);
}

TEST(Migration, TraceSpacingIsEvenOnlyWhenEverySegmentSpacesAlike) {
  // A straight line of 101 traces over 5 m, and a bent one of two equal spacings.
  EXPECT_NEAR(evenTraceSpacing({0, 100}, {0, 3}, {0, 4}), 0.05, 1e-9);
  EXPECT_NEAR(evenTraceSpacing({0, 50, 100}, {0, 2.5f, 2.5f}, {0, 0, 2.5f}), 0.05, 1e-9);
  double least = 0, most = 0;
  EXPECT_EQ(evenTraceSpacing({0, 50, 100}, {0, 2.5f, 2.5f}, {0, 0, 5}, &least, &most), -1);
  EXPECT_NEAR(least, 0.05, 1e-9);
  EXPECT_NEAR(most, 0.1, 1e-9);
  EXPECT_EQ(evenTraceSpacing({0, 100}, {7, 7}, {1, 1}), 0) << "every trace on one point";
  EXPECT_EQ(evenTraceSpacing({0}, {7}, {1}), 0);
}

TEST(Migration, StoltCollapsesAPointDiffractorAtTheTrueVelocityOnly) {
  const Diffractor d;
  const std::vector<float> raw = d.section();
  EXPECT_LT(d.nearApex(raw), 0.1) << "the hyperbola spreads over the line";
  auto migrated = [&](float v) {
    std::vector<float> s = raw;
    EXPECT_TRUE(stoltMigrate(s.data(), d.N, d.M, d.dx, d.dt, v));
    return d.nearApex(s);
  };
  const double right = migrated(d.v), slow = migrated(0.8f * d.v), fast = migrated(1.2f * d.v);
  EXPECT_GE(right, 0.5);
  EXPECT_LT(slow, 0.5 * right);
  EXPECT_LT(fast, 0.5 * right);
  // Padding: a diffractor at the line's first trace migrates as it does
  // with a line of twice as many traces, nothing wrapping onto its last traces.
  Diffractor edge;
  edge.x0 = 0;
  std::vector<float> s = edge.section(), wide = s;
  wide.resize(2 * s.size(), 0.0f);
  ASSERT_TRUE(stoltMigrate(s.data(), edge.N, edge.M, edge.dx, edge.dt, edge.v));
  ASSERT_TRUE(stoltMigrate(wide.data(), 2 * edge.N, edge.M, edge.dx, edge.dt, edge.v));
  double differs = 0, all = 0;
  for (size_t k = 0; k < s.size(); ++k) {
    all += double(wide[k]) * wide[k];
    differs += (double(s[k]) - wide[k]) * (double(s[k]) - wide[k]);
  }
  EXPECT_LT(differs, 1e-2 * all);  // without the padding 40 %
  EXPECT_FALSE(stoltMigrate(s.data(), edge.N, edge.M, 0.0f, edge.dt, edge.v)) << "no spacing";
}

TEST(Migration, HyperbolaFitFindsTheVelocityWithinTwoPercent) {
  for (float v : {0.06f, 0.1f, 0.13f}) {
    Diffractor d;
    d.v = v;
    const std::vector<float> s = d.section();
    // The click two samples below the apex.
    const HyperbolaFit fit = fitHyperbola(s.data(), d.N, d.M, d.dx, d.dt, d.x0, float(d.t0 + 2 * d.dt), 0.03f, 0.3f);
    EXPECT_NEAR(fit.velocity, v, 0.02 * v) << v;
    EXPECT_NEAR(fit.apexTime, d.t0, d.dt) << v;
    EXPECT_GT(fit.semblance, 0.8f);
  }
}
