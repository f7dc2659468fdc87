// Throughput of depth and elevation conversion on a synthetic version of
// 20,000 traces x 1,024 samples, each against a plain baseline in the same
// run:
//  - depth conversion (quv::depthConvertTrace with every trace's own row of
//    RMS velocities, as "VEL_" holds them) against a plain linear
//    interpolation of the same samples onto a uniform axis;
//  - elevation conversion (quv::shiftTrace into traces 64 samples longer,
//    each shifted by its own amount) against a plain copy of the same bytes.
// A summary at the end lists both ratios; the program fails (exit 2) when a
// conversion falls below one third of its baseline's throughput.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "processing/depth_convert.h"
#include "processing/elevation_convert.h"
#include "synth.h"

namespace {

constexpr int kTraces = 20000;
constexpr int kSamples = 1024;
constexpr int kExtra = 64;  // elevation: samples added by the relief

struct Setup {
  std::vector<float> samples, velocities, times;
  std::vector<int> shifts;
  quv::DepthAxis axis;
  Setup() : samples(size_t(kTraces) * kSamples), velocities(samples.size()), times(kSamples) {
    synth::LineRecipe recipe;
    recipe.traces = kTraces;
    recipe.samples = kSamples;
    for (int j = 0; j < kSamples; ++j) times[j] = 0.1f * j;
    const std::vector<quv::VelocityRow> rows = {{20, 0.1f}, {60, 0.12f}, {100, 0.15f}};
    std::vector<float> row(kSamples);
    quv::rmsVelocities(rows, times.data(), kSamples, row.data());
    for (int i = 0; i < kTraces; ++i) {
      std::memcpy(&velocities[size_t(i) * kSamples], row.data(), sizeof(float) * kSamples);
      for (int j = 0; j < kSamples; ++j) samples[size_t(i) * kSamples + j] = synth::amplitude(recipe, i, j);
      shifts.push_back(i % (kExtra + 1));
    }
    axis = quv::depthAxis(velocities.data(), kTraces, kSamples, times[0], times[kSamples - 1]);
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

std::map<std::string, double>& seconds() {
  static std::map<std::string, double> s;
  return s;
}

template <typename Body>
void measure(benchmark::State& state, const std::string& name, const std::string& baseline,
             Body body) {
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    body();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kTraces) * kSamples * 4);
  const double each = state.iterations() ? total / double(state.iterations()) : 0;
  seconds()[name] = each;
  if (!baseline.empty() && seconds().count(baseline) && each > 0)
    state.counters["vs_baseline"] = seconds()[baseline] / each;
}

// The plain loop: each output sample interpolated between the two input
// samples around a uniformly stepped position.
void BM_DepthBaseline(benchmark::State& state) {
  Setup& s = setup();
  std::vector<float> out(kSamples);
  const float step = 0.75f;
  measure(state, "depth.base", "", [&] {
    for (int i = 0; i < kTraces; ++i) {
      const float* a = &s.samples[size_t(i) * kSamples];
      for (int k = 0; k < kSamples; ++k) {
        const float pos = std::min(k * step, float(kSamples - 1) - 0.001f);
        const int c = int(pos);
        const float f = pos - float(c);
        out[k] = (1.0f - f) * a[c] + f * a[c + 1];
      }
      benchmark::DoNotOptimize(out.data());
    }
  });
}

void BM_Depth(benchmark::State& state) {
  Setup& s = setup();
  std::vector<float> out(kSamples), depths(kSamples);
  measure(state, "depth", "depth.base", [&] {
    for (int i = 0; i < kTraces; ++i) {
      quv::depthConvertTrace(&s.samples[size_t(i) * kSamples], &s.velocities[size_t(i) * kSamples],
                             s.times.data(), kSamples, s.axis, depths.data(), out.data());
      benchmark::DoNotOptimize(out.data());
    }
  });
}

void BM_ElevationBaseline(benchmark::State& state) {
  Setup& s = setup();
  std::vector<float> out(kSamples + kExtra);
  measure(state, "elevation.base", "", [&] {
    for (int i = 0; i < kTraces; ++i) {
      std::memcpy(out.data(), &s.samples[size_t(i) * kSamples], sizeof(float) * kSamples);
      benchmark::DoNotOptimize(out.data());
    }
  });
}

void BM_Elevation(benchmark::State& state) {
  Setup& s = setup();
  std::vector<float> out(kSamples + kExtra);
  measure(state, "elevation", "elevation.base", [&] {
    for (int i = 0; i < kTraces; ++i) {
      quv::shiftTrace(&s.samples[size_t(i) * kSamples], kSamples, s.shifts[size_t(i)], out.data(),
                      kSamples + kExtra);
      benchmark::DoNotOptimize(out.data());
    }
  });
}

}  // namespace

BENCHMARK(BM_DepthBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Depth)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ElevationBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Elevation)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  setup();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  auto& s = seconds();
  bool ok = true;
  std::printf("\n%-16s %10s %10s %12s\n", "", "ms", "baseline", "throughput");
  for (const char* name : {"depth", "elevation"}) {
    const std::string base = std::string(name) + ".base";
    if (!s.count(name) || !s.count(base) || s[name] <= 0) continue;
    const double ratio = s[base] / s[name];
    if (ratio < 1.0 / 3.0) ok = false;
    std::printf("%-16s %10.2f %10.2f %11.2fx%s\n", name, s[name] * 1e3, s[base] * 1e3, ratio,
                ratio < 1.0 / 3.0 ? "  below one third of the baseline" : "");
  }
  return ok ? 0 : 2;
}
