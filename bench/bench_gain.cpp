// Throughput of building byte traces and of repainting the image, on a
// synthetic profile of 20,000 traces x 1,024 samples, each against a plain
// baseline in the same run:
//  - every gain type building the whole byte-trace table against a plain
//    loop that scales, clips and encodes the same samples into bytes;
//  - a full repaint of a 1,600 x 1,000 image (fill through the pixel maps
//    and the frame) against a plain copy of the same number of bytes
//    through the same maps.
// A summary at the end lists every ratio; the program fails (exit 2) when a
// gain falls below one third of its baseline's throughput or a repaint
// takes more than three times its baseline.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "display/colortable.h"
#include "display/gain.h"
#include "display/image.h"
#include "project/profile.h"
#include "synth.h"

namespace {

constexpr int kTraces = 20000;
constexpr int kSamples = 1024;
constexpr int kWidth = 1600;
constexpr int kHeight = 1000;

struct Setup {
  quv::ProfileVersion v;
  Setup() {
    synth::LineRecipe recipe;
    recipe.traces = kTraces;
    recipe.samples = kSamples;
    v.samples = kSamples;
    v.amplitudeScale = 127.0f / 20000.0f;
    v.needed.assign(kTraces, 0);
    v.buffers.resize(kTraces);
    v.normalBytes.resize(kTraces);
    v.presentationBytes.resize(kTraces);
    v.time.resize(kSamples);
    for (int j = 0; j < kSamples; ++j) v.time[j] = j * (100.0f / (kSamples - 1));
    for (int i = 0; i < kTraces; ++i) {
      auto* x = static_cast<float*>(std::malloc(kSamples * sizeof(float)));
      for (int j = 0; j < kSamples; ++j) x[j] = synth::amplitude(recipe, i, j);
      v.buffers[i].reset(x);
    }
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

// Seconds per iteration of every benchmark, by name, for the ratios.
std::map<std::string, double>& seconds() {
  static std::map<std::string, double> s;
  return s;
}

// Times `body` per iteration (`prepare` untimed before each), records the
// mean under `name` and, when `baseline` has run, the time ratio to it.
template <typename Prepare, typename Body>
void measure(benchmark::State& state, const std::string& name, const std::string& baseline,
             int64_t bytes, Prepare prepare, Body body) {
  double total = 0;
  for (auto _ : state) {
    prepare();
    const auto t0 = std::chrono::steady_clock::now();
    body();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  const double each = state.iterations() ? total / double(state.iterations()) : 0;
  seconds()[name] = each;
  if (!baseline.empty() && seconds().count(baseline) && each > 0)
    state.counters["vs_baseline"] = seconds()[baseline] / each;
}

// --- gain -------------------------------------------------------------------------

// The plain loop: one scale for every sample, clipped and offset into bytes.
void BM_GainBaseline(benchmark::State& state) {
  Setup& s = setup();
  static std::vector<uint8_t> out(size_t(kTraces) * kSamples);
  const float scale = s.v.amplitudeScale;
  measure(state, "gain.base", "", int64_t(kTraces) * kSamples * 4, [] {}, [&] {
    for (int i = 0; i < kTraces; ++i) {
      const float* x = s.v.buffers[i].get();
      uint8_t* b = out.data() + size_t(i) * kSamples;
      for (int j = 0; j < kSamples; ++j) {
        const float g = x[j] * scale;
        b[j] = g > 127.0f ? 255 : g < -128.0f ? 0 : uint8_t(int(g + 128.0f));
      }
    }
    benchmark::DoNotOptimize(out.data());
  });
}

const char* const kGainKeys[] = {"gain.tracemax", "gain.filemax", "gain.constant", "gain.agc",
                                 "gain.spherical"};

void BM_Gain(benchmark::State& state) {
  Setup& s = setup();
  const int type = int(state.range(0));
  s.v.normal.gainType = type;
  state.SetLabel(quv::gainTypeName(type));
  measure(state, kGainKeys[type], "gain.base", int64_t(kTraces) * kSamples * 4,
          [&] { quv::discardByteTraces(s.v, false); },
          [&] { quv::buildByteTraces(s.v, false, static_cast<quv::GainProgress*>(nullptr)); });
}

// --- repaint --------------------------------------------------------------------------

struct Image {
  dv::IndexedBitmap bitmap{kWidth, kHeight};
  dv::Rect rect{0, 0, kWidth, kHeight};
  quv::PixelMaps maps;
  Image() {
    quv::buildColorTable(quv::kRedWhiteBlue, 64, bitmap.colors());
    quv::buildPixelMaps(kWidth, kHeight, rect, 0, kTraces - 1, 0, kSamples - 1, maps);
  }
};

void builtTraces() {
  Setup& s = setup();
  s.v.normal.gainType = quv::kGainAgc;
  quv::buildByteTraces(s.v, false, static_cast<quv::GainProgress*>(nullptr));
}

// The plain copy: one byte per pixel looked up through the two maps.
void BM_RepaintBaseline(benchmark::State& state) {
  builtTraces();
  Setup& s = setup();
  static Image image;
  measure(state, "repaint.base", "", int64_t(kWidth) * kHeight, [] {}, [&] {
    for (int y = 0; y < kHeight; ++y) {
      const int sample = image.maps.rows[y];
      uint8_t* out = image.bitmap.row(y);
      for (int x = 0; x < kWidth; ++x) out[x] = s.v.normalBytes[image.maps.columns[x]][sample];
    }
    benchmark::DoNotOptimize(image.bitmap.bits());
  });
}

void BM_Repaint(benchmark::State& state) {
  builtTraces();
  Setup& s = setup();
  static Image image;
  const quv::ByteTraceView bytes(s.v.normalBytes, kSamples);
  measure(state, "repaint", "repaint.base", int64_t(kWidth) * kHeight, [] {}, [&] {
    // The paint builds what is missing (nothing), fills and frames.
    quv::buildByteTraces(s.v, false, static_cast<quv::GainProgress*>(nullptr));
    quv::fillImage(image.bitmap, image.rect, image.maps, 64, bytes);
    quv::drawFrame(image.bitmap, image.rect);
    benchmark::DoNotOptimize(image.bitmap.bits());
  });
}

}  // namespace

BENCHMARK(BM_GainBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Gain)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RepaintBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Repaint)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  // The heap keeps what a discard frees, as a session's warm heap does, so a
  // rebuild measures the gain rather than the kernel handing out fresh pages.
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  mallopt(M_MMAP_THRESHOLD, 64 << 20);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  setup();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  auto& s = seconds();
  bool ok = true;
  std::printf("\n%-16s %10s %10s %12s\n", "", "ms", "baseline", "throughput");
  for (const char* name : kGainKeys) {
    if (!s.count(name) || !s.count("gain.base") || s[name] <= 0) continue;
    const double ratio = s["gain.base"] / s[name];
    if (ratio < 1.0 / 3.0) ok = false;
    std::printf("%-16s %10.2f %10.2f %11.2fx%s\n", name, s[name] * 1e3, s["gain.base"] * 1e3, ratio,
                ratio < 1.0 / 3.0 ? "  below one third of the baseline" : "");
  }
  if (s.count("repaint") && s.count("repaint.base") && s["repaint.base"] > 0) {
    const double times = s["repaint"] / s["repaint.base"];
    if (times > 3.0) ok = false;
    std::printf("%-16s %10.2f %10.2f %10.2f x the time%s\n", "repaint", s["repaint"] * 1e3,
                s["repaint.base"] * 1e3, times, times > 3.0 ? "  more than three times the baseline" : "");
  }
  return ok ? 0 : 2;
}
