// Throughput of the processing steps on a synthetic version of 20,000
// traces x 1,024 samples, each against a plain baseline in the same run:
//  - dewow (quv::dewowTrace, a 101-sample window) and background removal
//    (quv::BackgroundMean over a moving window of 51 traces) against a
//    plain one-pass running-sum loop over the same samples;
//  - band-pass (quv::TraceFilter, order 4) and envelope (quv::envelopeTrace)
//    against a plain FFTW forward and inverse transform of every trace,
//    zero-padded to the same length (2,048) with one plan made beforehand;
//  - Stolt migration (quv::stoltMigrate) of 4,096 traces x 1,024 samples
//    against two plain FFTW 2-D real round trips (forward and inverse) of
//    4,096 x 1,024, planned beforehand.
// A summary at the end lists each step's time against its baseline's; the
// program fails (exit 2) when a step takes more than three times as long
// (for migration: three times the two round trips).
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstring>
#include <string>
#include <vector>

#include "format_library.h"
#include "processing/migration.h"
#include "processing/processing_steps.h"
#include "synth.h"

namespace {

constexpr int kTraces = 20000;
constexpr int kSamples = 1024;
constexpr float kDt = 0.1f;  // ns

struct Setup {
  std::vector<float> samples;
  Setup() : samples(size_t(kTraces) * kSamples) {
    synth::LineRecipe recipe;
    recipe.traces = kTraces;
    recipe.samples = kSamples;
    for (int i = 0; i < kTraces; ++i)
      for (int j = 0; j < kSamples; ++j) samples[size_t(i) * kSamples + j] = synth::amplitude(recipe, i, j);
  }
  const float* trace(int i) const { return &samples[size_t(i) * kSamples]; }
};

Setup& setup() {
  static Setup s;
  return s;
}

constexpr int64_t kBytes = int64_t(kTraces) * kSamples * 4;

template <typename Body>
void measure(benchmark::State& state, const std::string& name, const std::string& baseline, Body body) {
  bench::measure(state, name, baseline, kBytes, body);
}

// The plain loop: one running sum per trace, each sample less a scaled sum.
void BM_RunningSumBaseline(benchmark::State& state) {
  Setup& s = setup();
  std::vector<float> out(kSamples);
  measure(state, "sum.base", "", [&] {
    for (int i = 0; i < kTraces; ++i) {
      const float* a = s.trace(i);
      double sum = 0;
      for (int j = 0; j < kSamples; ++j) {
        sum += a[j];
        out[size_t(j)] = float(a[j] - sum * (1.0 / 101));
      }
      benchmark::DoNotOptimize(out.data());
    }
  });
}

void BM_Dewow(benchmark::State& state) {
  Setup& s = setup();
  std::vector<float> out(kSamples);
  const int window = quv::dewowWindowSamples(10.0f, kDt);
  measure(state, "dewow", "sum.base", [&] {
    for (int i = 0; i < kTraces; ++i) {
      quv::dewowTrace(s.trace(i), out.data(), kSamples, window);
      benchmark::DoNotOptimize(out.data());
    }
  });
}

void BM_Background(benchmark::State& state) {
  Setup& s = setup();
  std::vector<float> out(kSamples);
  auto at = [](const void* c, int k) { return static_cast<const Setup*>(c)->trace(k); };
  measure(state, "background", "sum.base", [&] {
    quv::BackgroundMean mean(kTraces, kSamples, 51, at, &s);
    for (int i = 0; i < kTraces; ++i) {
      mean.removeFrom(i, s.trace(i), out.data());
      benchmark::DoNotOptimize(out.data());
    }
  });
}

// The plain transforms: every trace zero-padded, forward and back.
void BM_FftBaseline(benchmark::State& state) {
  Setup& s = setup();
  const int L = quv::paddedLength(kSamples);
  float* real = fftwf_alloc_real(size_t(L));
  fftwf_complex* spectrum = fftwf_alloc_complex(size_t(L / 2 + 1));
  fftwf_plan forward = fftwf_plan_dft_r2c_1d(L, real, spectrum, FFTW_ESTIMATE);
  fftwf_plan inverse = fftwf_plan_dft_c2r_1d(L, spectrum, real, FFTW_ESTIMATE);
  std::vector<float> out(kSamples);
  measure(state, "fft.base", "", [&] {
    for (int i = 0; i < kTraces; ++i) {
      std::memcpy(real, s.trace(i), sizeof(float) * kSamples);
      std::memset(real + kSamples, 0, sizeof(float) * size_t(L - kSamples));
      fftwf_execute(forward);
      fftwf_execute(inverse);
      std::memcpy(out.data(), real, sizeof(float) * kSamples);
      benchmark::DoNotOptimize(out.data());
    }
  });
  fftwf_destroy_plan(forward);
  fftwf_destroy_plan(inverse);
  fftwf_free(real);
  fftwf_free(spectrum);
}

void BM_BandPass(benchmark::State& state) {
  Setup& s = setup();
  quv::ButterworthFilter f;
  f.lowMHz = 100, f.highMHz = 800, f.order = 4;
  std::vector<float> out(kSamples);
  measure(state, "band-pass", "fft.base", [&] {
    quv::TraceFilter filter(f, kSamples, kDt);
    for (int i = 0; i < kTraces; ++i) {
      filter.apply(s.trace(i), out.data());
      benchmark::DoNotOptimize(out.data());
    }
  });
}

void BM_Envelope(benchmark::State& state) {
  Setup& s = setup();
  std::vector<float> out(kSamples);
  measure(state, "envelope", "fft.base", [&] {
    for (int i = 0; i < kTraces; ++i) {
      quv::envelopeTrace(s.trace(i), out.data(), kSamples);
      benchmark::DoNotOptimize(out.data());
    }
  });
}

// --- migration ---------------------------------------------------------------------------

constexpr int kMigrationTraces = 4096;
constexpr int64_t kMigrationBytes = int64_t(kMigrationTraces) * kSamples * 4;

// The first 4,096 traces of the synthetic line (its diffractions at 0.1 m/ns,
// traces 0.05 m apart).
std::vector<float> migrationSection() {
  const Setup& s = setup();
  return std::vector<float>(s.samples.begin(), s.samples.begin() + size_t(kMigrationTraces) * kSamples);
}

// Two plain round trips: the section forward and back twice.
void BM_Fft2dBaseline(benchmark::State& state) {
  const std::vector<float> section = migrationSection();
  const int bins = kSamples / 2 + 1;
  float* a = fftwf_alloc_real(size_t(kMigrationTraces) * 2 * size_t(bins));
  auto* c = reinterpret_cast<fftwf_complex*>(a);
  fftwf_plan forward = fftwf_plan_dft_r2c_2d(kMigrationTraces, kSamples, a, c, FFTW_ESTIMATE);
  fftwf_plan inverse = fftwf_plan_dft_c2r_2d(kMigrationTraces, kSamples, c, a, FFTW_ESTIMATE);
  bench::measure(state, "fft2d.base", "", kMigrationBytes, [&] {
    for (int round = 0; round < 2; ++round) {
      for (int i = 0; i < kMigrationTraces; ++i)
        std::memcpy(a + size_t(i) * 2 * size_t(bins), &section[size_t(i) * kSamples], sizeof(float) * kSamples);
      fftwf_execute(forward);
      fftwf_execute(inverse);
      benchmark::DoNotOptimize(a);
    }
  });
  fftwf_destroy_plan(forward);
  fftwf_destroy_plan(inverse);
  fftwf_free(a);
}

void BM_Migration(benchmark::State& state) {
  const std::vector<float> section = migrationSection();
  std::vector<float> work;
  bench::measure(state, "migration", "fft2d.base", kMigrationBytes, [&] {
    work = section;
    quv::stoltMigrate(work.data(), kMigrationTraces, kSamples, 0.05f, kDt, 0.1f);
    benchmark::DoNotOptimize(work.data());
  });
}

}  // namespace

BENCHMARK(BM_RunningSumBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Dewow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Background)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FftBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BandPass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Envelope)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Fft2dBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Migration)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  return bench::runAndCompare(argc, argv, [] { setup(); },
                              {{"dewow", "sum.base"}, {"background", "sum.base"},
                               {"band-pass", "fft.base"}, {"envelope", "fft.base"},
                               {"migration", "fft2d.base"}},
                              3.0);
}
