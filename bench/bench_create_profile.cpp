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
  bench::ScratchDir scratch{"create"};
  const std::string& dir = scratch.path;
  std::string dzt, rad, rd3;
  GssiFHdr* gssi = nullptr;
  RamacFHdr* ramac = nullptr;
  Setup() {
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
};

Setup& setup() {
  static Setup s;
  return s;
}

// Bytes read plus bytes written per run.
constexpr int64_t kBytes = (int64_t)kTraces * kSamples * (2 + 4);
using bench::measure;
using bench::seconds;

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
  measure(state, "gssi.base", "", kBytes, [] {
    bench::copyAsFloats(setup().dzt, 1024, true, kTraces, kSamples, setup().dir + "/base.bin");
  });
}
void BM_GssiCreateProfile(benchmark::State& state) {
  measure(state, "gssi.create", "gssi.base", kBytes, [] {
    convert(0, setup().gssi, setup().dzt, setup().dir + "/T01_GSSI.QUV");
  });
}
void BM_RamacBaseline(benchmark::State& state) {
  measure(state, "ramac.base", "", kBytes, [] {
    bench::copyAsFloats(setup().rd3, 0, false, kTraces, kSamples, setup().dir + "/base.bin");
  });
}
void BM_RamacCreateProfile(benchmark::State& state) {
  measure(state, "ramac.create", "ramac.base", kBytes, [] {
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
  return bench::runAndCompare(argc, argv, [] { setup(); },
                              {{"gssi.create", "gssi.base"}, {"ramac.create", "ramac.base"}}, 3.0);
}
