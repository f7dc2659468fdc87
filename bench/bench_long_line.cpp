// A long GSSI line (100,000 x 1,024 by default; DELVAR_LONG_TRACES=500000
// for the 1 GB recording of a day's survey) made into a profile, opened and
// painted, against plain buffered I/O of the same bytes in the same run:
//  - "line": Create Profile's conversion (every trace through the format
//    library into "T01_"), then the version opened for display and the
//    first paint of the window's normal view (which builds the byte traces
//    of its pixel columns from samples mapped from "T01_"); against "line.base",
//    the recording's samples read with fread, made floats and fwritten.
//  - "reopen": the version opened again from its file and painted, against
//    "reopen.base", the version file read with fread.
//  - "bytes.1" and "bytes.2": the normal byte traces built on one and on two
//    threads.
// Peak resident memory of "line" (VmHWM, reset before it) is printed as a
// multiple of the version's float bytes. The summary fails the run (exit
// code 2) when line > 1.5 x its baseline, reopen > 1.2 x, peak > 1.3 x, or
// two threads are less than 1.6 x as fast as one.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "display/gain.h"
#include "display/profile_window.h"
#include "format_library.h"
#include "processing/create_profile.h"
#include "project/parallel.h"
#include "project/profile.h"
#include "scrivel/gssi.h"
#include "synth.h"

namespace {

constexpr int kSamples = 1024;
constexpr int kWidth = 1600, kHeight = 1000;  // the view's image bitmap

int traceCount() {
  const char* t = std::getenv("DELVAR_LONG_TRACES");
  return t && std::atoi(t) > 0 ? std::atoi(t) : 100000;
}

struct Setup {
  bench::FormatLibrary library;
  bench::ScratchDir scratch{"long"};
  const std::string& dir = scratch.path;
  const int traces = traceCount();
  std::string dzt, t01;
  GssiFHdr* gssi = nullptr;
  Setup() {
    dzt = dir + "/LONG.DZT";
    t01 = dir + "/T01_LONG.QUV";
    synth::LineRecipe recipe;
    recipe.traces = traces;
    recipe.samples = kSamples;
    recipe.markEvery = 100;
    recipe.bits = 16;
    auto read = quv::scrivel<PfnReadGssiFHdr>(SCRIVEL_ReadGssiFHdr);
    if (synth::writeGssi(dzt, recipe) < 0 || read(dzt.c_str(), &gssi) < 0 || gssi->traceCount != traces) {
      std::fprintf(stderr, "could not write and read back the synthetic line in %s\n", dir.c_str());
      std::exit(1);
    }
    quv::installByteTraceBuilder();
  }
  int64_t versionBytes() const { return int64_t(traces) * kSamples * 4; }
};

Setup& setup() {
  static Setup s;
  return s;
}

using bench::measure;

// The profile of the converted line in memory, its version on "T01_".
struct OpenLine {
  quv::ProfileItem item;
  quv::ProfileVersion* v = nullptr;
  std::unique_ptr<quv::CProfileWnd> window;
  explicit OpenLine(const quv::AmplitudeRange& range) {
    Setup& s = setup();
    item.header = std::make_unique<quv::ProfileHeader>();
    item.header->traceCount = s.traces;
    item.header->easting.assign(size_t(s.traces), 0.0f);
    item.header->northing.assign(size_t(s.traces), 0.0f);
    for (int i = 0; i < s.traces; ++i) item.header->easting[size_t(i)] = 0.02f * float(i);
    item.header->nodeTrace = {0, s.traces - 1};
    item.fileName = "LONG.QUV";
    v = quv::addVersion(item, s.dir, quv::kTimeVersion, 1);
    v->samples = kSamples;
    v->timeIncrement = 0.1f;
    v->minimum = range.minimum, v->maximum = range.maximum;
    v->amplitudeScale = quv::amplitudeScaleFor(v->minimum, v->maximum);
    quv::setWholeProfile(v->normal, s.traces, kSamples);
    quv::setWholeProfile(v->presentation, s.traces, kSamples);
    quv::computeValueTables(*v);
    quv::rebuildVersionList(item);
  }
  // Opens the version for display and paints the normal view once.
  void openAndPaint() {
    if (!quv::openVersionForDisplay(*v)) std::abort();
    window = std::make_unique<quv::CProfileWnd>(item, *v);
    quv::NormalView& view = window->normalView();
    window->setSplitRatio(1.0f);
    window->pane()->resize(kWidth + view.scrollBarWidth, kHeight + view.scrollBarHeight + quv::kBandHeight);
    dv::RecordingCanvas canvas;
    view.onPaint(canvas);
    benchmark::DoNotOptimize(view.bitmap().bits());
  }
  ~OpenLine() {
    window.reset();
    if (v) quv::closeVersionForDisplay(*v);
  }
};

quv::AmplitudeRange g_range;

quv::AmplitudeRange convert() {
  Setup& s = setup();
  quv::RawTraceSource source;
  source.format = 0;
  source.header = s.gssi;
  source.samplesPath = s.dzt;
  source.traces = s.traces;
  source.samples = kSamples;
  quv::ConversionResult r = quv::convertTraces(source, s.t01, nullptr);
  if (!r.ok || r.readProblems) std::abort();
  return r.range;
}

void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }
int64_t peakBytes() {
  std::ifstream f("/proc/self/status");
  std::string key;
  int64_t kb = 0;
  while (f >> key)
    if (key == "VmHWM:") return (f >> kb) ? kb * 1024 : -1;
  return -1;
}
int64_t g_peak = -1;

void BM_LineBaseline(benchmark::State& state) {
  Setup& s = setup();
  measure(state, "line.base", "", s.versionBytes() * 3 / 2, [&] {
    bench::copyAsFloats(s.dzt, 1024, true, s.traces, kSamples, s.dir + "/base.bin");
  });
}
void BM_Line(benchmark::State& state) {
  Setup& s = setup();
  double converting = 0;
  measure(state, "line", "line.base", s.versionBytes() * 3 / 2, [&] {
    resetPeak();
    const auto t0 = std::chrono::steady_clock::now();
    g_range = convert();
    converting += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    OpenLine line(g_range);
    line.openAndPaint();
    g_peak = peakBytes();
  });
  // The conversion's part of it, in seconds per run.
  state.counters["convert_s"] = converting / double(std::max<int64_t>(state.iterations(), 1));
}
void BM_ReopenBaseline(benchmark::State& state) {
  Setup& s = setup();
  std::vector<char> buffer(size_t(1) << 20);
  measure(state, "reopen.base", "", s.versionBytes(), [&] {
    std::FILE* f = std::fopen(s.t01.c_str(), "rb");
    if (!f) std::abort();
    while (std::fread(buffer.data(), 1, buffer.size(), f) == buffer.size()) {
    }
    std::fclose(f);
    benchmark::DoNotOptimize(buffer.data());
  });
}
void BM_Reopen(benchmark::State& state) {
  Setup& s = setup();
  measure(state, "reopen", "reopen.base", s.versionBytes(), [&] {
    OpenLine line(g_range);
    line.openAndPaint();
  });
}
void bytesOn(benchmark::State& state, int threads, const char* name, const char* baseline) {
  Setup& s = setup();
  OpenLine line(g_range);
  std::fill(line.v->needed.begin(), line.v->needed.end(), 1);
  quv::loadSamples(*line.v, false);
  quv::setWorkerThreads(threads);
  measure(state, name, baseline, s.versionBytes(), [&] {
    quv::discardByteTraces(*line.v, false);
    quv::buildByteTraces(*line.v, false, static_cast<quv::GainProgress*>(nullptr));
  });
  quv::setWorkerThreads(0);
}
void BM_Bytes1(benchmark::State& state) { bytesOn(state, 1, "bytes.1", ""); }
void BM_Bytes2(benchmark::State& state) { bytesOn(state, 2, "bytes.2", "bytes.1"); }

}  // namespace

BENCHMARK(BM_LineBaseline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Line)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_ReopenBaseline)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Reopen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Bytes1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
BENCHMARK(BM_Bytes2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Setup& s = setup();
  std::printf("%d traces x %d samples, version %.2f GB, %d cores\n", s.traces, kSamples,
              double(s.versionBytes()) / 1e9, quv::workerThreads());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  auto& t = bench::seconds();
  bool ok = true;
  auto ratio = [&](const char* what, double value, double limit, bool atMost) {
    const bool met = atMost ? value <= limit : value >= limit;
    ok = ok && met;
    std::printf("%-34s %8.2f (%s %.2f)%s\n", what, value, atMost ? "at most" : "at least", limit,
                met ? "" : "  NOT MET");
  };
  if (t["line.base"] > 0) ratio("create+open+paint / plain I/O", t["line"] / t["line.base"], 1.5, true);
  if (t["reopen.base"] > 0) ratio("reopen+paint / read version", t["reopen"] / t["reopen.base"], 1.2, true);
  if (g_peak > 0) ratio("peak RSS / version bytes", double(g_peak) / double(s.versionBytes()), 1.3, true);
  if (t["bytes.2"] > 0) ratio("byte traces 1 thread / 2 threads", t["bytes.1"] / t["bytes.2"], 1.6, false);
  return ok ? 0 : 2;
}
