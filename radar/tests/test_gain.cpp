// Gain: the byte encoding at its boundaries, the five gain types against a
// plain sample-by-sample transcription of their rules, the A. G. C. window
// against sums taken directly over the window's samples, and the building
// of byte-trace tables (only missing traces, progress every 10th trace,
// samples released while the display is open).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "display/gain.h"
#include "project/parallel.h"
#include "project/profile.h"
#include "project/resources.h"

namespace {

using quv::encodeGained;
using quv::GainSettings;
using quv::TraceGain;

// --- the rules, sample by sample --------------------------------------------

std::vector<uint8_t> ruleBytes(const GainSettings& s, const std::vector<float>& x,
                               const std::vector<float>& t) {
  const int n = int(x.size());
  std::vector<uint8_t> out(x.size());
  switch (s.type) {
    case quv::kGainTraceMax: {
      float m = 0;
      for (float v : x)
        if (std::fabs(v) > m) m = std::fabs(v);
      const float k = m != 0 ? 127.0f / m : 0.0f;
      for (int j = 0; j < n; ++j) out[j] = m != 0 ? encodeGained(x[j] * k) : 128;
      break;
    }
    case quv::kGainFileMax:
      for (int j = 0; j < n; ++j) out[j] = encodeGained(x[j] * s.fileScale);
      break;
    case quv::kGainConstant: {
      const float k = s.constant * s.fileScale;
      for (int j = 0; j < n; ++j) out[j] = encodeGained(x[j] * k);
      break;
    }
    case quv::kGainSpherical:
      for (int j = 0; j < n; ++j) {
        const double vt = double(s.sphericalV) * t[j];
        const float k = float(double(s.fileScale) * vt * std::exp(double(s.sphericalA) * vt));
        out[j] = encodeGained(x[j] * k);
      }
      break;
    default: {
      int w = int(double(n) * s.agcWindow / 100.0);
      w = std::clamp(w, 0, n);
      const int h1 = (w + 1) / 2, h2 = w / 2;
      // A sample that is not finite counts as 0 in the window sums.
      auto mag = [](float v) { return std::isfinite(v) ? double(std::fabs(v)) : 0.0; };
      double sum = 0;
      for (int k = 0; k < w; ++k) sum += mag(x[k]);
      for (int j = 0; j < n; ++j) {
        if (j >= h1 && j < n - h2) sum = sum + mag(x[j + h2]) - mag(x[j - h1]);
        const float s = float(sum);
        out[j] = encodeGained(s != 0 ? x[j] * float(w * 127) / s : x[j] * 127.0f);
      }
    }
  }
  return out;
}

std::vector<uint8_t> gained(const GainSettings& s, const std::vector<float>& x,
                            const std::vector<float>& t = {}) {
  TraceGain gain(s, int(x.size()), t.empty() ? nullptr : t.data());
  std::vector<uint8_t> out(x.size(), 0xAA);
  gain.apply(x.data(), out.data());
  return out;
}

GainSettings ofType(int type) {
  GainSettings s;
  s.type = type;
  s.fileScale = 0.05f;
  s.constant = 3.5f;
  s.agcWindow = 25.0f;
  s.sphericalV = 0.15f;
  s.sphericalA = 0.01f;
  return s;
}

// --- encoding -----------------------------------------------------------------

TEST(GainEncoding, BoundariesOfTheByteRange) {
  EXPECT_EQ(encodeGained(127.0f), 255);
  EXPECT_EQ(encodeGained(-127.9), 0);  // double: the A. G. C.'s precision
  EXPECT_EQ(encodeGained(-std::numeric_limits<float>::infinity()), 0);

  // The same through a whole-trace kernel (its wide loop and its tail),
  // File Max. with a scale of 1 passing the values through.
  const float values[] = {127.0f, 127.5f, -128.0f, -127.9f, 0.0f, -0.5f, 126.9f, -1e9f,
                          std::numeric_limits<float>::quiet_NaN()};
  const uint8_t bytes[] = {255, 255, 0, 0, 128, 127, 254, 0, 128};
  std::vector<float> x;
  for (int r = 0; r < 5; ++r) x.insert(x.end(), std::begin(values), std::end(values));
  GainSettings s = ofType(quv::kGainFileMax);
  s.fileScale = 1.0f;
  const std::vector<uint8_t> out = gained(s, x);
  for (size_t j = 0; j < x.size(); ++j) ASSERT_EQ(out[j], bytes[j % 9]) << "sample " << j;
}

// --- the gain types -------------------------------------------------------------

TEST(GainTypes, ATraceOfZerosIsZeroAmplitudeUnderEveryGain) {
  const std::vector<float> zeros(300, 0.0f);
  std::vector<float> t(300);
  for (int j = 0; j < 300; ++j) t[j] = j * 0.2f;
  for (int type = 0; type < quv::kGainTypeCount; ++type) {
    const std::vector<uint8_t> out = gained(ofType(type), zeros, t);
    for (int j = 0; j < 300; ++j) ASSERT_EQ(out[j], 128) << quv::gainTypeName(type) << " " << j;
  }
}

TEST(GainTypes, TraceMaxMapsTheLargestAbsoluteSampleToFullScale) {
  std::vector<float> x = {3.0f, -1.5f, 0.75f, 0.0f, -2.25f, 1.0f};
  std::vector<uint8_t> out = gained(ofType(quv::kGainTraceMax), x);
  EXPECT_EQ(out[0], 255);                    // 3 * 127 / 3
  EXPECT_EQ(out[1], 64);                     // -63.5 + 128
  EXPECT_EQ(out[3], 128);
  EXPECT_EQ(out[5], encodeGained(127.0f / 3.0f));
  // The peak gives 255 for any size of peak.
  for (float m : {1e-20f, 0.3f, 3.0f, 7.0f, 999.7f, 20000.0f, 3e30f}) {
    std::vector<float> peak(40, m / 3);
    peak[17] = m;
    EXPECT_EQ(gained(ofType(quv::kGainTraceMax), peak)[17], 255) << m;
  }
}

TEST(GainTypes, EveryTypeGivesTheBytesOfItsRuleOnRandomTraces) {
  std::mt19937 random(7);
  std::normal_distribution<float> amplitude(0.0f, 1500.0f);
  for (int n : {1, 2, 7, 16, 37, 100, 1024}) {
    std::vector<float> t(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j) t[j] = 1.5f + j * 0.37f;
    for (int trace = 0; trace < 6; ++trace) {
      std::vector<float> x(static_cast<size_t>(n));
      for (float& v : x) v = amplitude(random);
      if (trace == 3) x[0] = 1e38f;  // clips, and dominates the window sums
      if (trace == 4 && n > 3) x[n / 2] = std::numeric_limits<float>::quiet_NaN();
      for (int type = 0; type < quv::kGainTypeCount; ++type) {
        GainSettings s = ofType(type);
        if (trace == 5) s.agcWindow = 7.5f;
        const std::vector<uint8_t> expected = ruleBytes(s, x, t);
        const std::vector<uint8_t> actual = gained(s, x, t);
        for (int j = 0; j < n; ++j)
          ASSERT_EQ(actual[j], expected[j])
              << quv::gainTypeName(type) << ", " << n << " samples, trace " << trace << ", sample " << j;
      }
    }
  }
}

TEST(GainTypes, TracesGainedTogetherGiveTheBytesOfEachAlone) {
  std::mt19937 random(11);
  std::uniform_real_distribution<float> amplitude(-4000.0f, 4000.0f);
  const int n = 203;
  for (int count : {1, 3, 8, 9, 19}) {
    std::vector<std::vector<float>> traces(static_cast<size_t>(count), std::vector<float>(n));
    for (auto& tr : traces)
      for (float& v : tr) v = amplitude(random);
    // Samples that are not finite, in the wide loops and in the tails.
    traces[0][202] = -std::numeric_limits<float>::infinity();
    if (count > 2) {
      traces[1][50] = std::numeric_limits<float>::quiet_NaN();
      traces[2][7] = std::numeric_limits<float>::infinity();
    }
    for (int type = 0; type < quv::kGainTypeCount; ++type) {
      const GainSettings s = ofType(type);
      std::vector<float> t(n, 2.0f);
      TraceGain gain(s, n, t.data());
      std::vector<std::vector<uint8_t>> outs(static_cast<size_t>(count), std::vector<uint8_t>(n));
      std::vector<const float*> in;
      std::vector<uint8_t*> out;
      for (int c = 0; c < count; ++c) {
        in.push_back(traces[c].data());
        out.push_back(outs[c].data());
      }
      gain.apply(in.data(), out.data(), count);
      for (int c = 0; c < count; ++c) ASSERT_EQ(outs[c], gained(s, traces[c], t)) << type << " " << c;
    }
  }
}

// --- A. G. C. window -----------------------------------------------------------

// The bytes from the window's definition: the first W samples for the first
// h1 samples, samples j-h1+1 .. j+h2 in the middle, the last W at the end,
// summed directly (integer samples, so every sum is exact).
std::vector<uint8_t> agcFromWindows(const std::vector<float>& x, int w) {
  const int n = int(x.size()), h1 = (w + 1) / 2, h2 = w / 2;
  std::vector<uint8_t> out(x.size());
  for (int j = 0; j < n; ++j) {
    int from = 0;
    if (j >= h1 && j < n - h2) from = j - h1 + 1;
    else if (j >= n - h2) from = n - w;
    double sum = 0;
    for (int k = from; k < from + w; ++k) sum += std::fabs(x[k]);
    const float s = float(sum);
    out[j] = encodeGained(s != 0 ? x[j] * float(w * 127) / s : x[j] * 127.0f);
  }
  return out;
}

TEST(AgcWindow, ZeroPercentMultipliesEverySampleBy127) {
  const std::vector<float> x = {0.5f, -0.25f, 1.0f, 0.001f, -1.0f, 0.9f, -0.004f, 2.0f};
  GainSettings s = ofType(quv::kGainAgc);
  s.agcWindow = 0.0f;
  EXPECT_EQ(quv::agcWindow(8, 0.0f).length, 0);
  const std::vector<uint8_t> out = gained(s, x);
  for (size_t j = 0; j < x.size(); ++j) EXPECT_EQ(out[j], encodeGained(x[j] * 127.0f)) << j;
  EXPECT_EQ(out[0], 191);  // 63.5 + 128
  EXPECT_EQ(out[4], 1);
}

TEST(AgcWindow, TenSamplesAtTwentyFivePercentSlideFromOneToEight) {
  const quv::AgcWindow w = quv::agcWindow(10, 25.0f);
  EXPECT_EQ(w.length, 2);
  EXPECT_EQ(w.h1, 1);
  EXPECT_EQ(w.h2, 1);
  const std::vector<float> x = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  GainSettings s = ofType(quv::kGainAgc);
  s.agcWindow = 25.0f;
  const std::vector<uint8_t> out = gained(s, x);
  EXPECT_EQ(out, agcFromWindows(x, 2));
  EXPECT_EQ(out[0], encodeGained(1 * 254.0f / 3));   // first window: samples 0 and 1
  EXPECT_EQ(out[1], encodeGained(2 * 254.0f / 5));   // slid: samples 1 and 2
  EXPECT_EQ(out[8], encodeGained(9 * 254.0f / 19));  // last slide: samples 8 and 9
  EXPECT_EQ(out[9], 255);                               // stays on 8 and 9: 133.7
}

TEST(AgcWindow, HundredSamplesAtTenPercentSlideFromFiveToNinetyFour) {
  const quv::AgcWindow w = quv::agcWindow(100, 10.0f);
  EXPECT_EQ(w.length, 10);
  EXPECT_EQ(w.h1, 5);
  EXPECT_EQ(w.h2, 5);
  std::vector<float> x(100);
  for (int j = 0; j < 100; ++j) x[j] = float(((j * 7919) % 61) - 30);
  GainSettings s = ofType(quv::kGainAgc);
  s.agcWindow = 10.0f;
  EXPECT_EQ(gained(s, x), agcFromWindows(x, 10));
  // A window is the mean absolute amplitude mapped to 127: constant magnitude gives full scale.
  std::vector<float> square(100);
  for (int j = 0; j < 100; ++j) square[j] = j % 2 ? 40.0f : -40.0f;
  const std::vector<uint8_t> out = gained(s, square);
  for (int j = 0; j < 100; ++j) EXPECT_EQ(out[j], j % 2 ? 255 : 1) << j;
}

TEST(AgcWindow, WindowsBeyondTheTraceAreKeptInsideIt) {
  EXPECT_EQ(quv::agcWindow(50, 250.0f).length, 50);
  EXPECT_EQ(quv::agcWindow(50, -10.0f).length, 0);
  EXPECT_EQ(quv::agcWindow(0, 25.0f).length, 0);
  std::vector<float> x(50);
  for (int j = 0; j < 50; ++j) x[j] = float(j % 9) - 4.0f;
  GainSettings s = ofType(quv::kGainAgc);
  s.agcWindow = 250.0f;
  EXPECT_EQ(gained(s, x), agcFromWindows(x, 50));
  s.agcWindow = -10.0f;
  EXPECT_EQ(gained(s, x), agcFromWindows(x, 0));
}

TEST(AgcWindow, ADamagedSampleDoesNotSpoilTheRestOfItsTrace) {
  // A NaN or an infinity in the running sum would stay there for good; it
  // adds nothing instead, so the trace reads as if the sample were 0.
  std::vector<float> x(200);
  for (int j = 0; j < 200; ++j) x[j] = float(((j * 31) % 23) - 11);
  std::vector<float> zeroed = x;
  zeroed[60] = 0.0f;
  const std::vector<uint8_t> expected = gained(ofType(quv::kGainAgc), zeroed);
  for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    std::vector<float> damaged = x;
    damaged[60] = bad;
    const std::vector<uint8_t> out = gained(ofType(quv::kGainAgc), damaged);
    for (int j = 0; j < 200; ++j) {
      if (j == 60) continue;
      ASSERT_EQ(out[j], expected[j]) << j;
    }
    EXPECT_EQ(out[60], std::isnan(bad) ? 128 : 255);
  }
}

// --- building tables ------------------------------------------------------------

class RecordingProgress : public quv::GainProgress {
 public:
  void open(const char* title) override { log += std::string("open ") + title + "\n"; }
  void update(const char* text, int percent) override {
    log += std::string(text) + " " + std::to_string(percent) + "\n";
  }
  void close() override { log += "close\n"; }
  std::string log;
};

quv::SampleBuffer samplesOf(const std::vector<float>& x) {
  auto* p = static_cast<float*>(std::malloc(std::max<size_t>(x.size(), 1) * sizeof(float)));
  std::copy(x.begin(), x.end(), p);
  return quv::SampleBuffer(p);
}

// A version in memory of `traces` traces of `samples` samples each.
void makeVersion(quv::ProfileVersion& v, int traces, int samples) {
  v.samples = samples;
  v.amplitudeScale = 0.02f;
  v.needed.assign(static_cast<size_t>(traces), 0);
  v.buffers.resize(static_cast<size_t>(traces));
  v.normalBytes.resize(static_cast<size_t>(traces));
  v.presentationBytes.resize(static_cast<size_t>(traces));
  for (int i = 0; i < traces; ++i) {
    std::vector<float> x(static_cast<size_t>(samples));
    for (int j = 0; j < samples; ++j) x[j] = float(std::sin(0.3 * j + i) * (100 + 40 * i));
    v.buffers[i] = samplesOf(x);
  }
  v.normal.gainType = quv::kGainTraceMax;
  v.presentation.gainType = quv::kGainFileMax;
}

std::vector<float> traceOf(const quv::ProfileVersion& v, int i) {
  return std::vector<float>(v.buffers[i].get(), v.buffers[i].get() + v.samples);
}

std::vector<uint8_t> bytesOf(const quv::ByteTrace& b, int n) { return std::vector<uint8_t>(b.get(), b.get() + n); }

TEST(ByteTraceBuilding, BuildsOnlyMissingTracesReportingEveryTenthTrace) {
  quv::ProfileVersion v;
  makeVersion(v, 25, 64);
  // Trace 4 is built already: it is kept as it is.
  v.normalBytes[4].reset(new uint8_t[64]());
  const uint8_t* kept = v.normalBytes[4].get();

  RecordingProgress progress;
  quv::buildByteTraces(v, false, &progress);
  // The progress counts the 24 traces built.
  EXPECT_EQ(progress.log,
            "open Applying gain and building image\n"
            "Trace 1 of 24 0\n"
            "Trace 11 of 24 41\n"
            "Trace 21 of 24 83\n"
            "close\n");
  EXPECT_EQ(v.normalBytes[4].get(), kept);
  EXPECT_EQ(kept[10], 0);
  GainSettings normal = quv::gainSettings(v.normal, v.amplitudeScale);
  for (int i = 0; i < 25; ++i) {
    ASSERT_TRUE(v.normalBytes[i]) << i;
    if (i != 4) {
      EXPECT_EQ(bytesOf(v.normalBytes[i], 64), ruleBytes(normal, traceOf(v, i), {})) << i;
    }
    EXPECT_FALSE(v.presentationBytes[i]);
  }

  // Everything built: a second build neither gains nor reports.
  progress.log.clear();
  quv::buildByteTraces(v, false, &progress);
  EXPECT_EQ(progress.log, "");

  // The presentation table takes the presentation record's gain.
  quv::buildByteTraces(v, true, nullptr);
  GainSettings pres = quv::gainSettings(v.presentation, v.amplitudeScale);
  EXPECT_EQ(bytesOf(v.presentationBytes[7], 64), ruleBytes(pres, traceOf(v, 7), {}));
  EXPECT_NE(bytesOf(v.presentationBytes[7], 64), bytesOf(v.normalBytes[7], 64));

  quv::discardByteTraces(v, false);
  for (int i = 0; i < 25; ++i) {
    EXPECT_FALSE(v.normalBytes[i]);
    EXPECT_TRUE(v.presentationBytes[i]);
  }
}

TEST(ByteTraceBuilding, MissingSamplesAreLoadedAndReleasedAgainWhileTheDisplayIsOpen) {
  quv::ProfileVersion v;
  makeVersion(v, 12, 32);
  v.loaded = true;  // open for display: only byte traces stay in memory
  v.buffers[3].reset();
  v.buffers[8].reset();
  v.normalBytes[0].reset(new uint8_t[32]());
  // Without a sample file the profile supplies zeros: zero amplitude.
  quv::buildByteTraces(v, false, static_cast<quv::GainProgress*>(nullptr));
  EXPECT_EQ(bytesOf(v.normalBytes[3], 32), std::vector<uint8_t>(32, 128));
  EXPECT_EQ(bytesOf(v.normalBytes[8], 32), std::vector<uint8_t>(32, 128));
  EXPECT_FALSE(v.buffers[3]);
  EXPECT_FALSE(v.buffers[8]);
  EXPECT_TRUE(v.buffers[5]);  // samples that were in memory stay
  for (uint8_t flag : v.needed) EXPECT_EQ(flag, 0);

  // While a version is being opened the flags and samples are the opener's.
  quv::ProfileVersion opening;
  makeVersion(opening, 4, 16);
  opening.buffers[2].reset();
  quv::buildByteTraces(opening, false, static_cast<quv::GainProgress*>(nullptr));
  EXPECT_TRUE(opening.buffers[2]);
  EXPECT_EQ(opening.needed[2], 1);
}

TEST(ByteTraceBuilding, SphericalGainUsesTheVersionsTimeAxis) {
  quv::ProfileVersion v;
  makeVersion(v, 3, 40);
  v.normal.gainType = quv::kGainSpherical;
  v.time.assign(40, 0.0f);
  for (int j = 0; j < 40; ++j) v.time[j] = 100.0f + j;  // after Set Time Zero, say
  quv::buildByteTraces(v, false, static_cast<quv::GainProgress*>(nullptr));
  GainSettings s = quv::gainSettings(v.normal, v.amplitudeScale);
  EXPECT_EQ(bytesOf(v.normalBytes[1], 40), ruleBytes(s, traceOf(v, 1), v.time));
}

// Byte traces built in blocks over several threads are those of one thread,
// byte for byte, under every gain (A. G. C. keeps per-thread scratch).
TEST(ByteTraceBuilding, ThreadsGiveTheBytesOfOneThreadUnderEveryGain) {
  quv::ProfileVersion v;
  makeVersion(v, 1300, 48);  // blocks of 512: two whole and one part
  v.time.assign(48, 0.0f);
  for (int j = 0; j < 48; ++j) v.time[size_t(j)] = 2.0f * float(j);
  for (int type = 0; type < quv::kGainTypeCount; ++type) {
    v.normal.gainType = type;
    std::vector<std::vector<uint8_t>> alone;
    for (int threads : {1, 4}) {
      quv::setWorkerThreads(threads);
      quv::discardByteTraces(v, false);
      quv::buildByteTraces(v, false, static_cast<quv::GainProgress*>(nullptr));
      std::vector<std::vector<uint8_t>> built;
      for (const quv::ByteTrace& b : v.normalBytes) built.push_back(bytesOf(b, 48));
      if (threads == 1)
        alone = std::move(built);
      else
        EXPECT_TRUE(built == alone) << "gain type " << type;
    }
  }
  quv::setWorkerThreads(0);
}

// What a drawing reads is built alone: the listed traces get the bytes of a
// build of every trace, under every gain, the others stay missing; traces
// built earlier are kept (a scroll back builds nothing).
TEST(ByteTraceBuilding, ListedTracesGetTheBytesOfAWholeBuildUnderEveryGain) {
  quv::ProfileVersion v;
  makeVersion(v, 1300, 48);
  v.time.assign(48, 0.0f);
  for (int j = 0; j < 48; ++j) v.time[size_t(j)] = 2.0f * float(j);
  const std::vector<int> shown = {1299, 7, 7, 8, -1, 600, 1300, 0};
  for (int type = 0; type < quv::kGainTypeCount; ++type) {
    v.normal.gainType = type;
    quv::discardByteTraces(v, false);
    quv::buildByteTraces(v, false, static_cast<quv::GainProgress*>(nullptr));
    std::vector<std::vector<uint8_t>> whole;
    for (const quv::ByteTrace& b : v.normalBytes) whole.push_back(bytesOf(b, 48));
    quv::discardByteTraces(v, false);
    EXPECT_TRUE(quv::buildByteTraces(v, false, shown, static_cast<quv::GainProgress*>(nullptr)));
    for (int i = 0; i < 1300; ++i) {
      const bool listed = i == 0 || i == 7 || i == 8 || i == 600 || i == 1299;
      ASSERT_EQ(bool(v.normalBytes[size_t(i)]), listed) << i;
      if (listed) {
        EXPECT_EQ(bytesOf(v.normalBytes[size_t(i)], 48), whole[size_t(i)]) << type << " " << i;
      }
    }
  }
  const uint8_t* kept = v.normalBytes[600].get();
  RecordingProgress progress;
  quv::buildByteTraces(v, false, std::vector<int>{600, 7}, &progress);
  EXPECT_EQ(progress.log, "");
  EXPECT_EQ(v.normalBytes[600].get(), kept);
}

// A cancelled build stops between blocks of traces: every trace it built is
// whole, the rest missing, the samples it loaded are released again while
// the display is open, and the next build finishes the table.
TEST(ByteTraceBuilding, ACancelledBuildKeepsWholeTracesAndGivesBackItsSamples) {
  quv::ProfileVersion v;
  makeVersion(v, 3000, 32);
  quv::buildByteTraces(v, false, static_cast<quv::GainProgress*>(nullptr));
  std::vector<std::vector<uint8_t>> whole;
  for (const quv::ByteTrace& b : v.normalBytes) whole.push_back(bytesOf(b, 32));
  quv::discardByteTraces(v, false);
  std::vector<quv::SampleBuffer> samples;  // the "file": handed back before each build
  for (auto& b : v.buffers) samples.push_back(samplesOf(std::vector<float>(b.get(), b.get() + 32)));
  v.loaded = true;
  for (size_t i = 0; i < v.buffers.size(); ++i) v.buffers[i].reset();

  struct CancelLater : RecordingProgress {
    int updates = 0;
    void update(const char* text, int percent) override {
      ++updates;
      RecordingProgress::update(text, percent);
    }
    bool cancelled() override { return updates >= 1; }
  } cancel;
  quv::setWorkerThreads(1);
  // Samples are missing from memory: the build "loads" them from the version's file, here zeros
  // unless given, so the samples are put back where the loader would look first.
  for (size_t i = 0; i < v.buffers.size(); ++i) v.buffers[i] = std::move(samples[i]);
  for (size_t i = 0; i < v.needed.size(); ++i) v.needed[i] = 0;
  EXPECT_FALSE(quv::buildByteTraces(v, false, &cancel));
  quv::setWorkerThreads(0);
  int built = 0;
  for (size_t i = 0; i < v.normalBytes.size(); ++i)
    if (v.normalBytes[i]) {
      ++built;
      EXPECT_EQ(bytesOf(v.normalBytes[i], 32), whole[i]) << i;
    }
  EXPECT_GT(built, 0);
  EXPECT_LT(built, 3000);
  for (uint8_t flag : v.needed) EXPECT_EQ(flag, 0);
  EXPECT_TRUE(quv::buildByteTraces(v, false, static_cast<quv::GainProgress*>(nullptr)));
  for (size_t i = 0; i < v.normalBytes.size(); ++i) ASSERT_EQ(bytesOf(v.normalBytes[i], 32), whole[i]) << i;
}

// Opening a version whose byte traces memory cannot hold is refused before
// anything is built; with the memory there it opens.
TEST(ByteTraceBuilding, OpeningIsRefusedWhenMemoryCannotHoldTheByteTraces) {
  quv::ProfileVersion v;
  makeVersion(v, 100, 64);  // no trace file: the samples are in memory already
  quv::installByteTraceBuilder();
  quv::setReportedResources(quv::displayMemoryBytes(v) - 1, -1);
  EXPECT_FALSE(quv::openVersionForDisplay(v));
  EXPECT_FALSE(v.loaded);
  for (const quv::ByteTrace& b : v.normalBytes) EXPECT_FALSE(b);
  quv::setReportedResources(quv::displayMemoryBytes(v), -1);
  EXPECT_TRUE(quv::openVersionForDisplay(v));
  EXPECT_TRUE(v.loaded);
  EXPECT_FALSE(v.normalBytes[99]) << "built when first drawn";
  EXPECT_FALSE(v.presentationBytes[0]) << "built when the presentation is first drawn";
  quv::setReportedResources(-1, -1);
  quv::setByteTraceBuilder(nullptr);
}

}  // namespace
