// Export of a 20,000 x 1,024 profile at 11 x 8.5 inches and 300 dpi
// (3,300 x 2,550 pixels), from built byte traces:
//  - "compose": the whole figure in the 8-bit picture (colour table, image
//    fill, frame, and the axes with their texts through the Qt figure
//    backend), against "copy", a plain pass of the same pixels through the
//    same pixel maps;
//  - "bmp": writing the composed picture as the bitmap file (beside its
//    target, renamed when whole), against "write", the same number of bytes
//    written to a file in one call.
// The program prints the ratios and fails (exit 2) when composing takes
// more than three times the copy or writing the file more than three times
// the plain write.
#include <benchmark/benchmark.h>

#include "synthetic_profile.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "display/bmp_writer.h"
#include "display/export_image.h"
#include "display/image.h"
#include "dv/file.h"
#include "qt_figure.h"

namespace {

constexpr int kTraces = 20000;
constexpr int kSamples = 1024;

struct Setup {
  quv::ProfileItem item;
  quv::ProfileVersion* v = nullptr;
  quv::FigureTarget target = quv::exportTarget(11.0, 8.5, 300);
  std::unique_ptr<quv::NormalFigure> figure;
  quv::PixelMaps maps;
  dv::IndexedBitmap picture;
  std::string dir;
  Setup() {
    v = bench::syntheticProfile(item, kTraces, kSamples);
    const quv::ProfileHeader& h = *item.header;
    figure = std::make_unique<quv::NormalFigure>(*v, h, "BENCH");
    const quv::FigureLayout l = quv::figureLayout(target);
    quv::buildPixelMaps(target.width, target.height, l.image, 0, kTraces - 1, 0, kSamples - 1, maps);
    char tmpl[] = "/tmp/bench_export.XXXXXX";
    dir = ::mkdtemp(tmpl);
  }
  ~Setup() {
    dv::removeFile(dv::joinPath(dir, "figure.bmp"));
    dv::removeFile(dv::joinPath(dir, "plain.bin"));
    ::rmdir(dir.c_str());
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
void measure(benchmark::State& state, const std::string& name, int64_t bytes, Body body) {
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    body();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  seconds()[name] = state.iterations() ? total / double(state.iterations()) : 0;
}

int64_t pixels() { return int64_t(setup().target.width) * setup().target.height; }

void BM_CopyBaseline(benchmark::State& state) {
  Setup& s = setup();
  dv::IndexedBitmap out(s.target.width, s.target.height);
  measure(state, "copy", pixels(), [&] {
    for (int y = 0; y < out.height(); ++y) {
      const int sample = s.maps.rows[size_t(y)] < 0 ? 0 : s.maps.rows[size_t(y)];
      uint8_t* row = out.row(y);
      for (int x = 0; x < out.width(); ++x) {
        const int t = s.maps.columns[size_t(x)] < 0 ? 0 : s.maps.columns[size_t(x)];
        row[x] = s.v->normalBytes[size_t(t)][size_t(sample)];
      }
    }
    benchmark::DoNotOptimize(out.bits());
  });
}

void BM_Compose(benchmark::State& state) {
  Setup& s = setup();
  measure(state, "compose", pixels(), [&] {
    quv::composeFigure(*s.figure, s.target, s.picture);
    benchmark::DoNotOptimize(s.picture.bits());
  });
}

void BM_WriteBaseline(benchmark::State& state) {
  Setup& s = setup();
  const size_t size = size_t(s.picture.stride()) * size_t(s.picture.height()) + quv::kBmpPixelOffset;
  std::string bytes(size, '\x01');
  const std::string path = dv::joinPath(s.dir, "plain.bin");
  measure(state, "write", int64_t(size), [&] {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  });
}

void BM_WriteBmp(benchmark::State& state) {
  Setup& s = setup();
  const std::string path = dv::joinPath(s.dir, "figure.bmp");
  measure(state, "bmp", int64_t(s.picture.stride()) * s.picture.height() + quv::kBmpPixelOffset,
          [&] { quv::writeBmpFile(s.picture, path); });
}

}  // namespace

BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Compose)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteBmp)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  dv::qt::installFigureBackend();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Setup& s = setup();
  quv::composeFigure(*s.figure, s.target, s.picture);
  std::printf("figure %dx%d of %d traces x %d samples\n", s.target.width, s.target.height, kTraces, kSamples);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  auto& t = seconds();
  bool ok = true;
  std::printf("\n%-10s %10s %12s %10s\n", "", "ms", "baseline ms", "x time");
  for (const auto& [key, base] : {std::pair<std::string, std::string>{"compose", "copy"}, {"bmp", "write"}}) {
    if (!t.count(key) || !t.count(base) || t[base] <= 0) continue;
    const double times = t[key] / t[base];
    const bool slow = times > 3.0;
    ok = ok && !slow;
    std::printf("%-10s %10.2f %12.2f %10.2f%s\n", key.c_str(), t[key] * 1e3, t[base] * 1e3, times,
                slow ? "  more than three times the baseline" : "");
  }
  return ok ? 0 : 2;
}
