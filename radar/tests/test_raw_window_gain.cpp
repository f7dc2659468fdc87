// Raw gains: the RAMAC DC offset, Trace Max against the largest raw value,
// the two A. G. C. windows against sums taken directly over each sample's
// window, the zero-sum rule, and building a window's byte traces.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "display/gain.h"
#include "display/raw_gain.h"

namespace {

using quv::encodeGained;

constexpr int kGssi = 0, kRamac = 2, kSegy = 4;

std::vector<float> noisyTrace(int n, float offset, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> u(-900.0f, 900.0f);
  std::vector<float> x(static_cast<size_t>(n));
  for (int j = 0; j < n; ++j) x[size_t(j)] = offset + u(rng) * std::exp(-j / 40.0f);
  return x;
}

std::vector<uint8_t> gained(const std::vector<float>& x, int gain, int format) {
  std::vector<uint8_t> out(x.size(), 0xAA);
  quv::rawGainTrace(x.data(), int(x.size()), gain, format, out.data());
  return out;
}

// The A. G. C. rule written out: the window of sample j is the first W
// samples while j < h1, the last W samples from n - h2 on, and samples
// j-h1+1 .. j+h2 in between; its absolute sum is taken afresh each time.
std::vector<uint8_t> agcByWindows(const std::vector<float>& x, int w, double b) {
  const int n = int(x.size()), h1 = (w + 1) / 2, h2 = w / 2;
  std::vector<uint8_t> out(x.size());
  for (int j = 0; j < n; ++j) {
    int from = j < h1 ? 0 : j >= n - h2 ? n - w : j - h1 + 1;
    double s = 0;
    for (int k = from; k < from + w; ++k) s += std::fabs(x[size_t(k)] - b);
    out[size_t(j)] = s != 0 ? encodeGained((x[size_t(j)] - b) * w * 127.0 / s) : 128;
  }
  return out;
}

// Encodings may differ by one where the running sum and the fresh sum round apart.
void expectNear(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t j = 0; j < a.size(); ++j) EXPECT_NEAR(int(a[j]), int(b[j]), 1) << "sample " << j;
}

TEST(RawGain, DcOffsetIsTheMeanOfTheLastQuarterForRamacOnly) {
  const std::vector<float> x = {9, 9, 9, 9, 9, 9, 9, 9, 4, 6};  // n/4 = 2: samples 8 and 9
  EXPECT_DOUBLE_EQ(quv::rawDcOffset(x.data(), 10, kRamac), 5.0);
  for (int format : {kGssi, 1, 3, kSegy}) EXPECT_EQ(quv::rawDcOffset(x.data(), 10, format), 0.0);
  // Seven samples: the last one only (7/4 = 1); below four no quarter at all.
  EXPECT_DOUBLE_EQ(quv::rawDcOffset(x.data() + 3, 7, kRamac), 6.0);
  EXPECT_EQ(quv::rawDcOffset(x.data(), 3, kRamac), 0.0);
  // A sample that is not a number counts as 0 rather than spoiling the mean.
  std::vector<float> y = {1, 1, 1, 1, 1, 1, 8, std::numeric_limits<float>::quiet_NaN()};
  EXPECT_DOUBLE_EQ(quv::rawDcOffset(y.data(), 8, kRamac), 4.0);
}

TEST(RawGain, TraceMaxDividesByTheLargestRawValueButRemovesTheRamacOffset) {
  // A RAMAC trace riding on a DC level of 1000: the offset comes off the
  // samples, the divisor stays the largest raw value (1127 here).
  std::vector<float> x(40, 1000.0f);
  x[3] = 1127.0f;
  x[4] = 873.0f;
  x[5] = 1063.5f;
  const std::vector<uint8_t> out = gained(x, quv::kRawGainTraceMax, kRamac);
  EXPECT_EQ(out[0], 128);
  EXPECT_EQ(out[3], encodeGained(127.0 * 127.0 / 1127.0));  // 142, not 255
  EXPECT_EQ(out[4], encodeGained(-127.0 * 127.0 / 1127.0));
  EXPECT_EQ(out[5], encodeGained(63.5 * 127.0 / 1127.0));
  // The same samples from another instrument keep their level.
  const std::vector<uint8_t> gssi = gained(x, quv::kRawGainTraceMax, kGssi);
  EXPECT_EQ(gssi[3], 255);
  EXPECT_EQ(gssi[0], encodeGained(1000.0 * 127.0 / 1127.0));
  // Zeros stay zero amplitude (no division by zero).
  EXPECT_EQ(gained(std::vector<float>(12, 0.0f), quv::kRawGainTraceMax, kRamac),
            std::vector<uint8_t>(12, 128));
}

TEST(RawGain, AgcFollowsItsWindowAcrossTheWholeTrace) {
  // 100 samples with A. G. C. 10 %: the window slides for j = 5 to 94.
  for (int format : {kGssi, kRamac}) {
    const float level = format == kRamac ? 2500.0f : 0.0f;
    const std::vector<float> x = noisyTrace(100, level, 7);
    const double b = quv::rawDcOffset(x.data(), 100, format);
    expectNear(gained(x, quv::kRawGainAgc10, format), agcByWindows(x, 10, b));
    expectNear(gained(x, quv::kRawGainAgc25, format), agcByWindows(x, 25, b));
    const std::vector<float> y = noisyTrace(10, level, 9);
    expectNear(gained(y, quv::kRawGainAgc25, format),
               agcByWindows(y, 2, quv::rawDcOffset(y.data(), 10, format)));
  }
  // The window at either end stays put: a spike in sample 0 is felt by the
  // first h1 samples and by no sample after them.
  std::vector<float> x(100, 1.0f);
  x[0] = 1000.0f;
  const std::vector<uint8_t> out = gained(x, quv::kRawGainAgc10, kGssi);
  EXPECT_EQ(out[4], encodeGained(1.0 * 10 * 127.0 / 1009.0));
  EXPECT_EQ(out[5], 255);  // window 1..10: all ones, gain 127
}

TEST(RawGain, AgcWindowThatSumsToZeroGivesZeroAmplitude) {
  // RAMAC samples equal to their offset: every window sums to 0.
  std::vector<float> x(40, 312.0f);
  EXPECT_EQ(gained(x, quv::kRawGainAgc25, kRamac), std::vector<uint8_t>(40, 128));
  // A quiet stretch inside a live trace: only its own windows are zero.
  std::vector<float> y(40, 0.0f);
  for (int j = 0; j < 10; ++j) y[size_t(j)] = j % 2 ? 50.0f : -50.0f;
  const std::vector<uint8_t> out = gained(y, quv::kRawGainAgc25, kGssi);  // W = 10
  EXPECT_EQ(out[1], 255);
  EXPECT_EQ(out[39], 128);
  // Too short for a tenth: W = 0, nothing to measure.
  EXPECT_EQ(gained(std::vector<float>(9, 5.0f), quv::kRawGainAgc10, kGssi),
            std::vector<uint8_t>(9, 128));
  // A sample that is not a number is zero amplitude and leaves the others alone.
  std::vector<float> z = noisyTrace(40, 0.0f, 3);
  const std::vector<uint8_t> clean = gained(z, quv::kRawGainAgc25, kGssi);
  z[20] = std::numeric_limits<float>::quiet_NaN();
  const std::vector<uint8_t> spoiled = gained(z, quv::kRawGainAgc25, kGssi);
  EXPECT_EQ(spoiled[20], 128);
  EXPECT_EQ(spoiled[0], clean[0]);
}

class RecordedProgress : public quv::GainProgress {
 public:
  void open(const char* title) override { events.push_back(std::string("open ") + title); }
  void update(const char* text, int percent) override {
    events.push_back(std::string(text) + " " + std::to_string(percent));
  }
  void close() override { events.push_back("close"); }
  std::vector<std::string> events;
};

TEST(RawGain, BuildingMakesOnlyMissingTracesWithProgressEveryTenth) {
  const int traces = 23, n = 16;
  std::vector<std::vector<float>> data;
  std::vector<const float*> samples;
  for (int i = 0; i < traces; ++i) {
    data.push_back(noisyTrace(n, 100.0f, unsigned(i)));
    samples.push_back(data.back().data());
  }
  samples[5] = nullptr;  // a trace that could not be had
  std::vector<std::unique_ptr<uint8_t[]>> bytes(traces);
  bytes[7].reset(new uint8_t[n]);
  bytes[7][0] = 9;  // already built: left alone

  RecordedProgress progress;
  quv::buildRawByteTraces(samples, n, quv::kRawGainTraceMax, kRamac, bytes, &progress);
  EXPECT_EQ(progress.events,
            (std::vector<std::string>{"open Applying gain and building image", "Trace 1 of 23 0",
                                      "Trace 11 of 23 43", "Trace 21 of 23 86", "close"}));
  EXPECT_EQ(bytes[7][0], 9);
  for (int j = 0; j < n; ++j) EXPECT_EQ(bytes[5][j], 128);
  const std::vector<uint8_t> expect = gained(data[12], quv::kRawGainTraceMax, kRamac);
  EXPECT_EQ(std::vector<uint8_t>(bytes[12].get(), bytes[12].get() + n), expect);

  // Nothing missing: no progress window at all.
  RecordedProgress again;
  quv::buildRawByteTraces(samples, n, quv::kRawGainAgc10, kRamac, bytes, &again);
  EXPECT_TRUE(again.events.empty());
}

}  // namespace
