// The processing steps' numerics against what each step must do to a
// radargram: dewow and background removal take away what they are for and
// keep the reflections; the Butterworth filters pass and stop by the
// order's response without moving anything; the envelope is the modulation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "processing/processing_steps.h"

using namespace quv;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A Ricker wavelet of peak frequency f GHz centred at t0 ns, sampled every dt ns.
std::vector<float> ricker(int M, double dt, double t0, double f) {
  std::vector<float> w((size_t)M);
  for (int j = 0; j < M; ++j) {
    const double a = kPi * f * (j * dt - t0);
    w[(size_t)j] = float((1 - 2 * a * a) * std::exp(-a * a));
  }
  return w;
}

// The amplitude of the sinusoid of `cycles` whole periods over samples
// [from, from + n): the exact projection for sinusoids of whole periods.
double amplitudeAt(const std::vector<float>& x, int from, int n, int cycles) {
  double c = 0, s = 0;
  for (int j = 0; j < n; ++j) {
    const double p = 2 * kPi * cycles * j / n;
    c += x[(size_t)(from + j)] * std::cos(p);
    s += x[(size_t)(from + j)] * std::sin(p);
  }
  return 2 * std::hypot(c, s) / n;
}

}  // namespace

TEST(ProcessingSteps, DewowWindowIsTheNearestOddCountOfAtLeastThree) {
  EXPECT_EQ(dewowWindowSamples(10, 0.1f), 101);
  EXPECT_EQ(dewowWindowSamples(10, 0.5f), 21);   // 20 samples: the odd count nearest
  EXPECT_EQ(dewowWindowSamples(1, 0.5f), 3);     // 2 samples: never below 3
  EXPECT_EQ(dewowWindowSamples(10, 0), 3);       // no time axis
}

TEST(ProcessingSteps, DewowRemovesConstantAndSlowRampAndKeepsTheWavelet) {
  const int M = 2000;
  const double dt = 0.1, W = 20;  // ns
  const std::vector<float> w = ricker(M, dt, 100.0, 0.25);
  std::vector<float> x((size_t)M), out((size_t)M);
  for (int j = 0; j < M; ++j) x[(size_t)j] = w[(size_t)j] + 5.0f + 0.02f * float(j * dt);
  const int window = dewowWindowSamples(float(W), float(dt));
  dewowTrace(x.data(), out.data(), M, window);
  const int half = window / 2, centre = 1000;
  // The wavelet itself (+-6 ns around its centre) is kept within 1 % of its peak.
  for (int j = centre - 60; j <= centre + 60; ++j)
    ASSERT_NEAR(out[(size_t)j], w[(size_t)j], 0.01) << "sample " << j;
  // Away from the trace ends and from where the window takes in part of the
  // wavelet, the constant and the ramp are gone.
  for (int j = half; j < M - half; ++j) {
    if (std::abs(j - centre) < half + 60) continue;
    ASSERT_NEAR(out[(size_t)j], 0.0, 0.01) << "sample " << j;
  }
  // In place gives the same.
  dewowTrace(x.data(), x.data(), M, window);
  EXPECT_EQ(x, out);
  // The window is cut at the trace ends (not padded with zeros): a constant
  // goes to zero up to the last sample, also on a trace shorter than the window.
  for (int length : {M, 40}) {
    std::vector<float> flat((size_t)length, 5.0f);
    dewowTrace(flat.data(), flat.data(), length, window);
    for (int j = 0; j < length; ++j) ASSERT_NEAR(flat[(size_t)j], 0.0, 1e-5) << length << " " << j;
  }
}

TEST(ProcessingSteps, BackgroundRemovalKeepsADiffractionAndRemovesAFlatBand) {
  const int N = 200, M = 400;
  std::vector<std::vector<float>> line((size_t)N, std::vector<float>((size_t)M, 0.0f));
  for (int i = 0; i < N; ++i) {
    for (int j = 50; j < 56; ++j) line[(size_t)i][(size_t)j] = 3.0f;  // the same in every trace
    // A hyperbola with its apex at trace 100, sample 150.
    const double t = std::sqrt(150.0 * 150.0 + 25.0 * (i - 100) * (i - 100));
    const int j = int(std::lround(t));
    if (j < M) line[(size_t)i][(size_t)j] += 1.0f;
  }
  auto at = [](const void* c, int k) {
    return static_cast<const std::vector<std::vector<float>>*>(c)->at((size_t)k).data();
  };
  for (int window : {0, 101}) {
    BackgroundMean mean(N, M, window, at, &line);
    EXPECT_EQ(mean.wholeLine(), window == 0);
    std::vector<float> out((size_t)M);
    for (int i = 0; i < N; ++i) {
      mean.removeFrom(i, line[(size_t)i].data(), out.data());
      for (int j = 50; j < 56; ++j) ASSERT_NEAR(out[(size_t)j], 0.0, 1e-5) << window << " " << i;
      if (i == 100) {
        EXPECT_GT(out[150], 0.9f) << window;  // the apex stays
      }
      if (i == 60) {
        const int j = int(std::lround(std::sqrt(150.0 * 150.0 + 25.0 * 40 * 40)));
        EXPECT_GT(out[(size_t)j], 0.9f);                       // and so does a flank
      }
    }
  }
  // Trace after trace the sums are moved along; out of order they start
  // again: both give the same.
  BackgroundMean a(N, M, 11, at, &line), b(N, M, 11, at, &line);
  std::vector<float> moved((size_t)M);
  for (int i = 0; i <= 120; ++i) a.removeFrom(i, line[(size_t)i].data(), moved.data());
  b.meanFor(190);
  const float* direct = b.meanFor(120);
  for (int j = 0; j < M; ++j) ASSERT_NEAR(moved[(size_t)j], line[120][(size_t)j] - direct[j], 1e-6);
}

TEST(ProcessingSteps, BandPassKeepsTheInBandSinusoidAndStopsOthersByTheOrdersResponse) {
  // 0.1 ns per sample; the measured middle 200 ns hold whole periods of
  // 50, 250 and 1500 MHz (10, 50 and 300 cycles).
  const int M = 4000, from = 1000, n = 2000;
  const double dt = 0.1;
  const int cycles[3] = {10, 50, 300};
  std::vector<float> x((size_t)M), out((size_t)M);
  for (int j = 0; j < M; ++j) {
    double v = 0;
    for (int c : cycles) v += std::cos(2 * kPi * c * (j - from) / n + 0.3 * c);
    x[(size_t)j] = float(v);
  }
  ButterworthFilter f;
  f.band = FilterBand::BandPass;
  f.lowMHz = 100, f.highMHz = 600, f.order = 4;
  TraceFilter(f, M, float(dt)).apply(x.data(), out.data());
  EXPECT_NEAR(amplitudeAt(out, from, n, 50), 1.0, 0.01);
  for (int c : {10, 300}) {
    const double fMHz = c * 1000.0 / (n * dt);
    const double expected = f.gain(fMHz);
    EXPECT_LT(expected, 0.01);
    EXPECT_NEAR(amplitudeAt(out, from, n, c), expected, 0.1 * expected + 2e-5) << fMHz << " MHz";
  }
  // The power response is one half at the corners and falls by the order.
  EXPECT_NEAR(f.gain(100) / f.gain(300), 0.5, 0.01);
  f.band = FilterBand::LowPass;
  EXPECT_NEAR(f.gain(600), 0.5, 1e-9);
  EXPECT_NEAR(f.gain(1200), 1.0 / (1 + 256.0), 1e-9);
  f.band = FilterBand::HighPass;
  EXPECT_NEAR(f.gain(50), 1.0 / (1 + 256.0), 1e-9);
  EXPECT_EQ(f.gain(0), 0.0);
}

TEST(ProcessingSteps, FiltersAreZeroPhase) {
  const int M = 1001, centre = 500;
  const std::vector<float> w = ricker(M, 0.1, centre * 0.1, 0.4);
  ButterworthFilter f;
  f.lowMHz = 200, f.highMHz = 500, f.order = 4;
  for (FilterBand band : {FilterBand::BandPass, FilterBand::LowPass, FilterBand::HighPass}) {
    f.band = band;
    std::vector<float> out(w);
    TraceFilter(f, M, 0.1f).apply(out.data(), out.data());  // in place
    const auto peak = std::max_element(out.begin(), out.end(),
                                       [](float a, float b) { return std::abs(a) < std::abs(b); });
    EXPECT_EQ(peak - out.begin(), centre) << int(band);
    for (int k = 1; k < 300; ++k)
      ASSERT_NEAR(out[(size_t)(centre + k)], out[(size_t)(centre - k)], 1e-4 * std::abs(*peak))
          << int(band) << " at " << k;
  }
}

TEST(ProcessingSteps, EnvelopeOfAModulatedCosineIsTheModulation) {
  const int M = 3000;
  const double dt = 0.1;
  std::vector<float> x((size_t)M), env((size_t)M);
  auto modulation = [&](int j) { return 1.0 + 0.5 * std::cos(2 * kPi * 0.02 * j * dt); };
  for (int j = 0; j < M; ++j) x[(size_t)j] = float(modulation(j) * std::cos(2 * kPi * 0.5 * j * dt));
  envelopeTrace(x.data(), env.data(), M);
  for (int j = 500; j < M - 500; ++j) ASSERT_NEAR(env[(size_t)j], modulation(j), 0.01) << j;
}

TEST(ProcessingSteps, TransformLengthsArePaddedAndPlansReused) {
  EXPECT_EQ(paddedLength(1024), 2048);
  EXPECT_EQ(paddedLength(1000), 2000);
  EXPECT_EQ(paddedLength(1001), 2025);  // 3^4 5^2
  EXPECT_EQ(&realTransform(2048), &realTransform(2048));
}
