// Cost of rubber sheeting and of a join of 20,000 x 1,024 raw recordings,
// against plain buffered I/O of the same bytes in the same run.
//
// The trace writers of Rubber Sheet (quv::writeRubberSheetTraces: each
// output trace mixed from the two raw traces around its place, read
// through the format library) and of Join (quv::writeJoinedTraces: two
// items one after the other, the second from a recording of half the
// samples, padded with zeros) run directly, with module 1's table loaded
// from libscrivel.so. The markers make an uneven line (5 cm per trace, then
// 6 cm), so most output traces fall between two raw traces. The baselines
// read the recordings' 16-bit samples trace by trace with fread, turn them
// into floats and fwrite them: the whole GSSI recording for rubber
// sheeting, both recordings for the join. The summary fails the run (exit
// code 2) when an operation takes more than 3 x its baseline.
#include <unistd.h>

#include "format_library.h"
#include "processing/create_profile.h"
#include "processing/join.h"
#include "processing/rubber_sheet.h"
#include "project/raw.h"
#include "synth.h"

namespace {

constexpr int kTraces = 20000;
constexpr int kSamples = 1024;

struct Setup {
  bench::FormatLibrary library;
  bench::ScratchDir scratch{"rubber"};
  const std::string& dir = scratch.path;
  std::string first, second;
  quv::RawData a, b;
  quv::RubberSheetPlan plan;
  std::vector<quv::JoinItem> items;
  quv::JoinPlan join;
  Setup() {
    first = dir + "/LINE1.DZT";
    second = dir + "/LINE2.DZT";
    synth::LineRecipe recipe;
    recipe.traces = kTraces;
    recipe.samples = kSamples;
    recipe.bits = 16;
    synth::LineRecipe half = recipe;
    half.samples = kSamples / 2;
    if (synth::writeGssi(first, recipe) < 0 || synth::writeGssi(second, half) < 0) {
      std::fprintf(stderr, "could not write the synthetic lines in %s\n", dir.c_str());
      std::exit(1);
    }
    for (auto [d, path] : {std::pair{&a, first}, {&b, second}}) {
      d->format = quv::kRawGssi;
      d->firstPath = path;
      quv::RecordingShape shape;
      if (!quv::readRecordingShape(quv::kRawGssi, path, shape) || !quv::readRecordingHeader(*d)) {
        std::fprintf(stderr, "%s does not read back\n", path.c_str());
        std::exit(1);
      }
      d->traces = shape.traces;
      d->samples = shape.samples;
    }
    plan = quv::planRubberSheet({{0, 0, 0}, {10000, 500, 0}, {kTraces - 1, 1099.94, 0}}, kTraces,
                                kSamples, "LINE1.DZT");
    for (const quv::RawData* d : {&a, &b}) {
      quv::JoinItem k;
      k.traces = d->traces, k.samples = d->samples;
      k.end = d->traces - 1;
      k.startEasting = d == &a ? 0 : 1000;
      k.endEasting = k.startEasting + 999.95;
      items.push_back(k);
    }
    join = quv::planJoin(items);
    if (!plan.refusal.empty() || !join.refusal.empty() || a.traces != kTraces) {
      std::fprintf(stderr, "%s%s\n", plan.refusal.c_str(), join.refusal.c_str());
      std::exit(1);
    }
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

constexpr int64_t kOneRecording = (int64_t)kTraces * kSamples * (2 + 4);
constexpr long kGssiHeader = 1024;

void BM_RubberBaseline(benchmark::State& state) {
  bench::measure(state, "rubber.base", "", kOneRecording, [] {
    bench::copyAsFloats(setup().first, kGssiHeader, true, kTraces, kSamples, setup().dir + "/base.bin");
  });
}
void BM_RubberSheet(benchmark::State& state) {
  bench::measure(state, "rubber.sheet", "rubber.base", kOneRecording, [] {
    quv::AmplitudeRange range;
    if (!quv::writeRubberSheetTraces(setup().a, setup().plan, quv::NewTraces::Interpolate,
                                     setup().dir + "/T01_RS.QUV", range))
      std::abort();
    benchmark::DoNotOptimize(range.maximum);
  });
  state.counters["traces"] = (double)setup().plan.traces.size();
}
void BM_JoinBaseline(benchmark::State& state) {
  bench::measure(state, "join.base", "", kOneRecording * 3 / 2, [] {
    bench::copyAsFloats(setup().first, kGssiHeader, true, kTraces, kSamples, setup().dir + "/base.bin");
    bench::copyAsFloats(setup().second, kGssiHeader, true, kTraces, kSamples / 2,
                        setup().dir + "/base2.bin");
  });
}
void BM_Join(benchmark::State& state) {
  bench::measure(state, "join.join", "join.base", kOneRecording * 3 / 2, [] {
    quv::AmplitudeRange range;
    if (!quv::writeJoinedTraces({&setup().a, &setup().b}, setup().items, setup().join,
                                setup().dir + "/T01_J.QUV", range))
      std::abort();
    benchmark::DoNotOptimize(range.maximum);
  });
  state.counters["traces"] = setup().join.total;
}

}  // namespace

// Each operation runs right after its baseline.
BENCHMARK(BM_RubberBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RubberSheet)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_JoinBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Join)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  return bench::runAndCompare(argc, argv, [] { setup(); },
                              {{"rubber.sheet", "rubber.base"}, {"join.join", "join.base"}}, 3.0);
}
