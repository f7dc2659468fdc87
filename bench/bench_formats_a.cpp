// Throughput of the GSSI (16- and 32-bit), pulseEKKO and RAMAC readers and writers on
// synthetic lines of 20,000 traces x 1,024 samples, each against a plain
// baseline in the same run: the same bytes read with one fread and
// converted to floats (or converted from floats and written with one
// fwrite). The "vs_baseline" counter is the library's bytes/s over the
// baseline's; a summary at the end lists every ratio.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dv/file.h"
#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "synth.h"

namespace {

constexpr int kTraces = 20000;
constexpr int kSamples = 1024;

// The same line with 32-bit signed samples, as newer systems record.
int writeGssi32(const std::string& path, synth::LineRecipe recipe) {
  recipe.bits = 32;
  return synth::writeGssi(path, recipe);
}

struct Setup {
  std::string dir;
  std::string dzt, dzt32, hd, dt1, rad, rd3;
  Setup() {
    dir = std::filesystem::temp_directory_path().string() + "/delvar_bench_a_" +
          std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    dzt = dir + "/LINE.DZT";
    dzt32 = dir + "/LINE32.DZT";
    hd = dir + "/LINE.HD";
    dt1 = dir + "/LINE.DT1";
    rad = dir + "/LINE.RAD";
    rd3 = dir + "/LINE.RD3";
    synth::LineRecipe recipe;
    recipe.traces = kTraces;
    recipe.samples = kSamples;
    recipe.markEvery = 100;
    recipe.bits = 16;
    if (synth::writeGssi(dzt, recipe) < 0 || synth::writePekko(hd, recipe) < 0 ||
        synth::writeRamac(rad, recipe) < 0 || writeGssi32(dzt32, recipe) < 0) {
      std::fprintf(stderr, "could not write the synthetic lines in %s\n", dir.c_str());
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

// Bytes per second of every benchmark, by name, for the ratios.
std::map<std::string, double>& rates() {
  static std::map<std::string, double> r;
  return r;
}

// Runs `body` once per iteration, records bytes/s under `name` and, when
// `baseline` has run, the ratio to it.
template <typename Body>
void measure(benchmark::State& state, const std::string& name, const std::string& baseline,
             int64_t bytesPerIteration, Body body) {
  double seconds = 0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    body();
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  state.SetBytesProcessed(state.iterations() * bytesPerIteration);
  double rate = seconds > 0 ? (double)state.iterations() * bytesPerIteration / seconds : 0;
  rates()[name] = rate;
  if (!baseline.empty() && rates().count(baseline) && rates()[baseline] > 0)
    state.counters["vs_baseline"] = rate / rates()[baseline];
}

// The baselines keep their buffers between iterations, so they measure
// reading and converting only.
void slurp(const std::string& path, int64_t offset, std::vector<uint8_t>& buf) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::fseek(f, 0, SEEK_END);
  long size = std::ftell(f) - (long)offset;
  std::fseek(f, (long)offset, SEEK_SET);
  buf.resize((size_t)size);
  if (std::fread(buf.data(), 1, buf.size(), f) != buf.size()) std::abort();
  std::fclose(f);
}

// Baseline read: the whole data area in one fread, every 16-bit sample to
// float (GSSI: unsigned minus the zero level). Trace headers of the DT1 are
// skipped over in memory.
void baselineRead(const std::string& path, int64_t offset, int headerBytes, bool unsignedZero) {
  static std::vector<uint8_t> raw;
  static std::vector<float> out((size_t)kTraces * kSamples);
  slurp(path, offset, raw);
  const size_t stride = (size_t)headerBytes + 2 * kSamples;
  for (size_t t = 0; t < (size_t)kTraces; ++t) {
    const uint8_t* p = raw.data() + t * stride + headerBytes;
    float* o = out.data() + t * kSamples;
    for (int i = 0; i < kSamples; ++i) {
      uint16_t u = uint16_t(p[2 * i] | (p[2 * i + 1] << 8));
      o[i] = unsignedZero ? (float)((long)u - 32768) : (float)(int16_t)u;
    }
  }
  benchmark::DoNotOptimize(out.data());
}

// Baseline read of 32-bit signed samples: one fread, every word to float.
void baselineRead32(const std::string& path, int64_t offset) {
  static std::vector<uint8_t> raw;
  static std::vector<float> out((size_t)kTraces * kSamples);
  slurp(path, offset, raw);
  for (size_t k = 0; k < out.size(); ++k) {
    const uint8_t* p = raw.data() + 4 * k;
    out[k] = (float)(int32_t)(p[0] | p[1] << 8 | p[2] << 16 | (uint32_t)p[3] << 24);
  }
  benchmark::DoNotOptimize(out.data());
}

// Baseline write: every float to 16 bits, one fwrite of the whole area.
void baselineWrite(const std::string& path, const std::vector<float>& in, int headerBytes) {
  const size_t stride = (size_t)headerBytes + 2 * kSamples;
  static std::vector<uint8_t> raw;
  raw.resize(stride * kTraces);
  for (size_t t = 0; t < (size_t)kTraces; ++t) {
    uint8_t* p = raw.data() + t * stride + headerBytes;
    const float* s = in.data() + t * kSamples;
    for (int i = 0; i < kSamples; ++i) {
      int16_t v = (int16_t)(s[i] + 0.5f);
      p[2 * i] = uint8_t(v);
      p[2 * i + 1] = uint8_t((uint16_t)v >> 8);
    }
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(raw.data(), 1, raw.size(), f);
  std::fclose(f);
}

const std::vector<float>& section() {
  static std::vector<float> s = [] {
    synth::LineRecipe recipe;
    recipe.traces = kTraces;
    recipe.samples = kSamples;
    std::vector<float> v((size_t)kTraces * kSamples);
    for (int t = 0; t < kTraces; ++t)
      for (int i = 0; i < kSamples; ++i) v[(size_t)t * kSamples + i] = synth::amplitude(recipe, t, i);
    return v;
  }();
  return s;
}

constexpr int64_t kGssiBytes = (int64_t)kTraces * kSamples * 2;
constexpr int64_t kPekkoBytes = (int64_t)kTraces * (128 + kSamples * 2);
constexpr int64_t kRamacBytes = (int64_t)kTraces * kSamples * 2;

// --- GSSI ----------------------------------------------------------------------

void BM_GssiBaselineRead(benchmark::State& state) {
  measure(state, "gssi.read.base", "", kGssiBytes, [] { baselineRead(setup().dzt, 1024, 0, true); });
}

void readGssi(benchmark::State& state, const std::string& path, const std::string& name, int64_t bytes) {
  measure(state, name, name + ".base", bytes, [&] {
    GssiFHdr* h = nullptr;
    if (ReadGssiFHdr(path.c_str(), &h) < 0) std::abort();
    dv::File f;
    OpenFileForRead(path.c_str(), &f);
    for (int i = 0; i < h->traceCount; ++i) {
      float* s = nullptr;
      int mark = 0;
      if (ReadGssiTrace(path.c_str(), &f, h, i, &mark, &s, 1) != 0) std::abort();
      benchmark::DoNotOptimize(s[0]);
      std::free(s);
    }
    CleanupGssiFHdr(h);
  });
}

void BM_GssiRead(benchmark::State& state) { readGssi(state, setup().dzt, "gssi.read", kGssiBytes); }

void BM_Gssi32BaselineRead(benchmark::State& state) {
  measure(state, "gssi32.read.base", "", 2 * kGssiBytes, [] { baselineRead32(setup().dzt32, 1024); });
}

void BM_Gssi32Read(benchmark::State& state) { readGssi(state, setup().dzt32, "gssi32.read", 2 * kGssiBytes); }

void BM_GssiBaselineWrite(benchmark::State& state) {
  const std::string out = setup().dir + "/base.DZT";
  measure(state, "gssi.write.base", "", kGssiBytes, [&] { baselineWrite(out, section(), 0); });
}

void BM_GssiWrite(benchmark::State& state) {
  const std::string out = setup().dir + "/out.DZT";
  const std::vector<float>& s = section();
  measure(state, "gssi.write", "gssi.write.base", kGssiBytes, [&] {
    GssiFHdr* h = nullptr;
    CreateGssiFHdr(&h);
    h->Bits = 16;
    h->NSamp = kSamples;
    h->NChan = 1;
    WriteGssiFHdr(out.c_str(), h);
    dv::File f;
    OpenFileForWrite(out.c_str(), &f);
    for (int i = 0; i < kTraces; ++i)
      WriteGssiTrace(out.c_str(), &f, h, i, 0, const_cast<float*>(&s[(size_t)i * kSamples]));
    f.close();
    CleanupGssiFHdr(h);
  });
}

// --- pulseEKKO -------------------------------------------------------------------

void BM_PekkoBaselineRead(benchmark::State& state) {
  measure(state, "pekko.read.base", "", kPekkoBytes, [] { baselineRead(setup().dt1, 0, 128, false); });
}

void BM_PekkoRead(benchmark::State& state) {
  const Setup& st = setup();
  measure(state, "pekko.read", "pekko.read.base", kPekkoBytes, [&] {
    PekkoFHdr* h = nullptr;
    if (ReadPekkoFHdr(st.hd.c_str(), &h) != 0) std::abort();
    dv::File f;
    OpenFileForRead(st.dt1.c_str(), &f);
    for (int i = 0; i < h->traces; ++i) {
      PekkoTraceHdr* th = nullptr;
      float* s = nullptr;
      if (ReadPekkoTrace(st.dt1.c_str(), &f, h, &th, i, &s, 1) != 0) std::abort();
      benchmark::DoNotOptimize(s[0]);
      std::free(s);
      delete th;
    }
    delete h;
  });
}

void BM_PekkoBaselineWrite(benchmark::State& state) {
  const std::string out = setup().dir + "/base.DT1";
  measure(state, "pekko.write.base", "", kPekkoBytes, [&] { baselineWrite(out, section(), 128); });
}

void BM_PekkoWrite(benchmark::State& state) {
  const std::string out = setup().dir + "/out.DT1";
  const std::vector<float>& s = section();
  measure(state, "pekko.write", "pekko.write.base", kPekkoBytes, [&] {
    dv::File f;
    CreateFileForWrite(out.c_str(), &f);
    PekkoTraceHdr th;
    th.points = kSamples;
    for (int i = 0; i < kTraces; ++i)
      WritePekkoTrace(out.c_str(), &f, &th, i, const_cast<float*>(&s[(size_t)i * kSamples]));
    f.close();
  });
}

// --- RAMAC ------------------------------------------------------------------------

void BM_RamacBaselineRead(benchmark::State& state) {
  measure(state, "ramac.read.base", "", kRamacBytes, [] { baselineRead(setup().rd3, 0, 0, false); });
}

void BM_RamacRead(benchmark::State& state) {
  const Setup& st = setup();
  measure(state, "ramac.read", "ramac.read.base", kRamacBytes, [&] {
    RamacFHdr* h = nullptr;
    if (ReadRamacFHdr(st.rad.c_str(), &h) != 0) std::abort();
    dv::File f;
    OpenFileForRead(st.rd3.c_str(), &f);
    for (int i = 0; i < h->lastTrace; ++i) {
      float* s = nullptr;
      if (ReadRamacTrace(st.rd3.c_str(), &f, h, i, &s, 1) != 0) std::abort();
      benchmark::DoNotOptimize(s[0]);
      std::free(s);
    }
    delete h;
  });
}

void BM_RamacBaselineWrite(benchmark::State& state) {
  const std::string out = setup().dir + "/base.RD3";
  measure(state, "ramac.write.base", "", kRamacBytes, [&] { baselineWrite(out, section(), 0); });
}

void BM_RamacWrite(benchmark::State& state) {
  const std::string out = setup().dir + "/out.RD3";
  const std::vector<float>& s = section();
  measure(state, "ramac.write", "ramac.write.base", kRamacBytes, [&] {
    RamacFHdr h;
    h.samples = kSamples;
    dv::File f;
    CreateFileForWrite(out.c_str(), &f);
    for (int i = 0; i < kTraces; ++i)
      WriteRamacTrace(out.c_str(), &f, &h, i, const_cast<float*>(&s[(size_t)i * kSamples]));
    f.close();
  });
}

}  // namespace

// Each library benchmark runs right after its baseline.
BENCHMARK(BM_GssiBaselineRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GssiRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Gssi32BaselineRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Gssi32Read)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GssiBaselineWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GssiWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PekkoBaselineRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PekkoRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PekkoBaselineWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PekkoWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RamacBaselineRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RamacRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RamacBaselineWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RamacWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  setup();
  section();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\n%-12s %12s %12s %8s\n", "", "MB/s", "baseline", "ratio");
  bool ok = true;
  for (const char* name : {"gssi.read", "gssi32.read", "pekko.read", "ramac.read", "gssi.write", "pekko.write",
                           "ramac.write"}) {
    auto& r = rates();
    std::string base = std::string(name) + ".base";
    if (!r.count(name) || !r.count(base) || r[base] <= 0) continue;
    double ratio = r[name] / r[base];
    bool reader = std::strstr(name, "read") != nullptr;
    if (reader && ratio < 1.0 / 3.0) ok = false;
    std::printf("%-12s %12.1f %12.1f %8.2f%s\n", name, r[name] / 1e6, r[base] / 1e6, ratio,
                reader && ratio < 1.0 / 3.0 ? "  below one third of the baseline" : "");
  }
  return ok ? 0 : 2;
}
