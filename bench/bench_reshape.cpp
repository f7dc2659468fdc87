// Cost of Reverse/Reorder and Resample on a 20,000 x 1,024 raw recording of
// each format (SEG-2: 16,383 traces, the most its file header can point
// at), against reading and writing the same bytes with buffered I/O in the
// same run.
//
// The rewrite routines of the Quv module run directly (quv::reorderRecording
// with the order "N-1", quv::resampleRecording from 0 to 100 ns every 0.1 ns,
// 1,001 samples per trace, 1,024 for GSSI), with a function table that loads
// libscrivel.so from this program's folder: every trace is read through the
// format library, written by its writer into "<file>.part", read back and
// renamed over the recording. The baseline freads the recording's files in
// trace-sized pieces and fwrites them to a new file, right before each run of
// the operation. "vs_baseline" is the operation's fastest time over the
// baseline's fastest; the summary at the end fails the run (exit code 2)
// above 2.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <utility>
#include <string>
#include <vector>

#include "dv/file.h"
#include "format_library.h"
#include "processing/resample.h"
#include "processing/trace_order.h"
#include "project/raw.h"
#include "scrivel/seg2.h"
#include "synth.h"

namespace {

constexpr int kTraces = 20000;
constexpr int kSamples = 1024;
constexpr double kLimit = 2.0;

struct Format {
  const char* name;
  int kind;
  const char* ext;
  const char* dataExt;  // pulseEKKO and RAMAC data files, else null
  int (*write)(const std::string&, const synth::LineRecipe&);
  int64_t traceBytes;  // bytes per trace in the file, for the baseline's pieces
  int traces;
};

const Format kFormats[] = {
    {"gssi", quv::kRawGssi, "DZT", nullptr, synth::writeGssi, 2 * kSamples, kTraces},
    {"pekko", quv::kRawPekko, "HD", "DT1", synth::writePekko, 128 + 2 * kSamples, kTraces},
    {"ramac", quv::kRawRamac, "RAD", "RD3", synth::writeRamac, 2 * kSamples, kTraces},
    {"seg2", quv::kRawSeg2, "SG2", nullptr, synth::writeSeg2, 32 + 2 * kSamples + 64, SEG2_MAX_TRACES},
    {"segy", quv::kRawSegy, "SGY", nullptr, synth::writeSegy, 240 + 2 * kSamples, kTraces},
};

struct Setup {
  bench::FormatLibrary library;
  std::string dir;
  Setup() {
    dir = std::filesystem::temp_directory_path().string() + "/delvar_bench_reshape_" +
          std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    for (const Format& f : kFormats) {
      synth::LineRecipe recipe;
      recipe.traces = f.traces;
      recipe.samples = kSamples;
      recipe.markEvery = 100;
      // One copy for each operation: resampling changes the recording.
      for (const char* use : {"R", "S"})
        if (f.write(path(f, use, false), recipe) < 0) {
          std::fprintf(stderr, "could not write the synthetic %s line in %s\n", f.name, dir.c_str());
          std::exit(1);
        }
    }
  }
  ~Setup() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::string path(const Format& f, const char* use, bool data) const {
    return dir + "/" + use + "_" + f.name + "." + (data ? f.dataExt : f.ext);
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

// The raw data record of a recording as an item holds it.
struct Item {
  quv::RawData d;
  Item(const Format& f, const char* use) {
    d.format = f.kind;
    d.firstPath = setup().path(f, use, false);
    d.secondPath = f.dataExt ? setup().path(f, use, true) : d.firstPath;
    quv::RecordingShape shape;
    if (!quv::readRecordingShape(f.kind, d.firstPath, shape) || !quv::readRecordingHeader(d)) {
      std::fprintf(stderr, "%s does not read\n", d.firstPath.c_str());
      std::exit(1);
    }
    d.traces = shape.traces;
    d.samples = shape.samples;
    d.firstTime = float(shape.firstTime);
    d.interval = float(shape.interval);
  }
};

// Plain buffered I/O of the recording's bytes: fread in trace-sized pieces,
// fwrite each.
void copyBytes(const std::string& in, const std::string& out, int64_t piece) {
  std::FILE* f = std::fopen(in.c_str(), "rb");
  std::FILE* o = std::fopen(out.c_str(), "wb");
  if (!f || !o) std::abort();
  std::vector<char> buf(static_cast<size_t>(piece));
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0)
    if (std::fwrite(buf.data(), 1, n, o) != n) std::abort();
  std::fclose(f);
  if (std::fclose(o) != 0) std::abort();
}

void copyRecording(const Format& f, const quv::RawData& d) {
  copyBytes(d.firstPath, setup().dir + "/base.bin", f.traceBytes);
  if (f.dataExt) copyBytes(d.secondPath, setup().dir + "/base2.bin", f.traceBytes);
}

// Each iteration copies the recording's bytes (the baseline) and then runs
// the operation on it (the item made afresh, untimed, before each), so that
// both meet the same state of the machine; the fastest of each over the
// iterations is kept under `name` and its baseline.
template <typename Body>
void measure(benchmark::State& state, const Format& f, const std::string& op, Body body) {
  const std::string name = std::string(f.name) + "." + op;
  double best = 1e30, bestBase = 1e30;
  for (auto _ : state) {
    Item item(f, op == "resample" ? "S" : "R");
    auto t0 = std::chrono::steady_clock::now();
    copyRecording(f, item.d);
    auto t1 = std::chrono::steady_clock::now();
    body(item.d);
    auto t2 = std::chrono::steady_clock::now();
    bestBase = std::min(bestBase, std::chrono::duration<double>(t1 - t0).count());
    best = std::min(best, std::chrono::duration<double>(t2 - t1).count());
  }
  seconds()[name] = best;
  seconds()[name + ".base"] = bestBase;
  state.SetBytesProcessed(state.iterations() * int64_t(f.traces) * f.traceBytes * 2);
  if (bestBase > 0) state.counters["vs_baseline"] = best / bestBase;
}

void reverse(benchmark::State& state, const Format* f) {
  measure(state, *f, "reorder", [](const quv::RawData& d) {
    std::vector<int> order;
    if (!quv::ParseTraceOrder(quv::defaultTraceOrder(quv::OrderMode::Reverse, d.traces), d.traces,
                              order))
      std::abort();
    std::string why;
    if (!quv::reorderRecording(d, order, why)) {
      std::fprintf(stderr, "reorder failed: %s\n", why.c_str());
      std::abort();
    }
  });
}

void resample(benchmark::State& state, const Format* f) {
  measure(state, *f, "resample", [f](const quv::RawData& d) {
    int samples = quv::resampledSampleCount(0, 100, 0.1);
    if (f->kind == quv::kRawGssi) samples = quv::gssiSampleCount(samples);
    std::string why;
    if (!quv::resampleRecording(d, samples, 0, 0.1, why)) {
      std::fprintf(stderr, "resample failed: %s\n", why.c_str());
      std::abort();
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  setup();
  using Run = void (*)(benchmark::State&, const Format*);
  const std::pair<const char*, Run> runs[] = {{"reorder", reverse}, {"resample", resample}};
  for (const Format& f : kFormats) {
    for (const auto& [op, fn] : runs)
      benchmark::RegisterBenchmark((std::string(f.name) + "/" + op).c_str(), fn, &f)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime()
          ->Iterations(7);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\n%-16s %10s %10s %8s\n", "", "ms", "baseline", "ratio");
  bool ok = true;
  auto& s = seconds();
  for (const Format& f : kFormats)
    for (const char* op : {"reorder", "resample"}) {
      const std::string name = std::string(f.name) + "." + op, base = name + ".base";
      if (!s.count(name) || !s.count(base) || s[base] <= 0) continue;
      const double ratio = s[name] / s[base];
      if (ratio > kLimit) ok = false;
      std::printf("%-16s %10.1f %10.1f %8.2f%s\n", name.c_str(), s[name] * 1e3, s[base] * 1e3, ratio,
                  ratio > kLimit ? "  more than 2 x the baseline" : "");
    }
  return ok ? 0 : 2;
}
