// Cost of creating a profile from a 20,000 x 1,024 recording, against plain
// buffered I/O of the same bytes in the same run.
//
// The conversion routine of Create Profile (quv::convertTraces: every trace
// read through the format library, RAMAC DC removal, WriteProfileTrace into
// a temporary file renamed over "T01_") runs directly, with a function table
// that loads libscrivel.so from this program's folder, as the framework
// would hand it to the module. The baseline reads the recording's sample
// bytes trace by trace with fread, turns the 16-bit samples into floats and
// fwrites them. "vs_baseline" is the conversion's time over the baseline's;
// the summary at the end fails the run (exit code 2) above 3.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "format_library.h"
#include "processing/create_profile.h"
#include "project/quv.h"
#include "scrivel/gssi.h"
#include "scrivel/ramac.h"
#include "synth.h"

namespace {

constexpr int kTraces = 20000;
constexpr int kSamples = 1024;

struct Setup {
  bench::FormatLibrary library;
  std::string dir, dzt, rad, rd3;
  GssiFHdr* gssi = nullptr;
  RamacFHdr* ramac = nullptr;
  Setup() {
    dir = std::filesystem::temp_directory_path().string() + "/delvar_bench_create_" +
          std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    dzt = dir + "/LINE.DZT";
    rad = dir + "/LINE.RAD";
    rd3 = dir + "/LINE.RD3";
    synth::LineRecipe recipe;
    recipe.traces = kTraces;
    recipe.samples = kSamples;
    recipe.markEvery = 100;
    recipe.bits = 16;
    if (synth::writeGssi(dzt, recipe) < 0 || synth::writeRamac(rad, recipe) < 0) {
      std::fprintf(stderr, "could not write the synthetic lines in %s\n", dir.c_str());
      std::exit(1);
    }
    auto readGssi = quv::scrivel<PfnReadGssiFHdr>(SCRIVEL_ReadGssiFHdr);
    auto readRamac = quv::scrivel<PfnReadRamacFHdr>(SCRIVEL_ReadRamacFHdr);
    if (readGssi(dzt.c_str(), &gssi) < 0 || readRamac(rad.c_str(), &ramac) < 0 ||
        gssi->traceCount != kTraces || ramac->lastTrace != kTraces) {
      std::fprintf(stderr, "the synthetic lines do not read back\n");
      std::exit(1);
    }
  }
  ~Setup() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

std::map<std::string, double>& seconds() {
  static std::map<std::string, double> r;
  return r;
}

// Mean seconds per iteration under `name`, and the ratio to `baseline`.
template <typename Body>
void measure(benchmark::State& state, const std::string& name, const std::string& baseline,
             Body body) {
  double total = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    body();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  const double each = state.iterations() ? total / (double)state.iterations() : 0;
  seconds()[name] = each;
  // Bytes read plus bytes written.
  state.SetBytesProcessed(state.iterations() * (int64_t)kTraces * kSamples * (2 + 4));
  if (!baseline.empty() && seconds()[baseline] > 0)
    state.counters["vs_baseline"] = each / seconds()[baseline];
}

// Plain buffered I/O: per trace one fread of its 16-bit samples (after the
// header's `offset` bytes), the floats made, one fwrite.
void baseline(const std::string& in, long offset, bool unsignedSamples, const std::string& out) {
  std::FILE* f = std::fopen(in.c_str(), "rb");
  std::FILE* o = std::fopen(out.c_str(), "wb");
  if (!f || !o || std::fseek(f, offset, SEEK_SET) != 0) std::abort();
  std::vector<uint8_t> raw(2 * kSamples);
  std::vector<float> s(kSamples);
  for (int t = 0; t < kTraces; ++t) {
    if (std::fread(raw.data(), 1, raw.size(), f) != raw.size()) std::abort();
    for (int i = 0; i < kSamples; ++i) {
      const uint16_t u = uint16_t(raw[2 * i] | (raw[2 * i + 1] << 8));
      s[i] = unsignedSamples ? float(long(u) - 32768) : float(int16_t(u));
    }
    if (std::fwrite(s.data(), 4, s.size(), o) != s.size()) std::abort();
  }
  std::fclose(f);
  if (std::fclose(o) != 0) std::abort();
}

void convert(int format, void* header, const std::string& samples, const std::string& out) {
  quv::RawTraceSource source;
  source.format = format;
  source.header = header;
  source.samplesPath = samples;
  source.traces = kTraces;
  source.samples = kSamples;
  quv::ConversionResult r = quv::convertTraces(source, out, nullptr);
  if (!r.ok || r.readProblems) std::abort();
  benchmark::DoNotOptimize(r.range.maximum);
}

void BM_GssiBaseline(benchmark::State& state) {
  measure(state, "gssi.base", "", [] { baseline(setup().dzt, 1024, true, setup().dir + "/base.bin"); });
}
void BM_GssiCreateProfile(benchmark::State& state) {
  measure(state, "gssi.create", "gssi.base", [] {
    convert(0, setup().gssi, setup().dzt, setup().dir + "/T01_GSSI.QUV");
  });
}
void BM_RamacBaseline(benchmark::State& state) {
  measure(state, "ramac.base", "", [] { baseline(setup().rd3, 0, false, setup().dir + "/base.bin"); });
}
void BM_RamacCreateProfile(benchmark::State& state) {
  measure(state, "ramac.create", "ramac.base", [] {
    convert(2, setup().ramac, setup().rd3, setup().dir + "/T01_RAMAC.QUV");
  });
}

}  // namespace

// Each conversion runs right after its baseline.
BENCHMARK(BM_GssiBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GssiCreateProfile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RamacBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RamacCreateProfile)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  setup();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\n%-14s %10s %10s %8s\n", "", "ms", "baseline", "ratio");
  bool ok = true;
  for (const char* name : {"gssi", "ramac"}) {
    auto& s = seconds();
    const std::string create = std::string(name) + ".create", base = std::string(name) + ".base";
    if (!s.count(create) || !s.count(base) || s[base] <= 0) continue;
    const double ratio = s[create] / s[base];
    if (ratio > 3.0) ok = false;
    std::printf("%-14s %10.1f %10.1f %8.2f%s\n", create.c_str(), s[create] * 1e3, s[base] * 1e3,
                ratio, ratio > 3.0 ? "  more than 3 x the baseline" : "");
  }
  return ok ? 0 : 2;
}
