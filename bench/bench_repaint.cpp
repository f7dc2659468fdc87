// The whole paint of the profile window's normal view, from built byte
// traces, on a view whose image bitmap is 1,600 x 1,000 pixels, against a
// plain copy of the same number of bytes through the same pixel maps:
//  - "window": the view's paint on a recording canvas: the byte-trace
//    check, colour table, image fill, frame, the blit call and the axes
//    with their ticks, grid lines and labels;
//  - "window.qt": the same paint through the Qt canvas onto a 32-bit
//    image, so the blit of the indexed bitmap to the screen is included.
// The program prints the ratios and fails (exit 2) when the window's paint
// takes more than three times the plain copy.
#include <benchmark/benchmark.h>

#include "synthetic_profile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "display/profile_window.h"
#include "qt_canvas.h"

namespace {

constexpr int kTraces = 5000;
constexpr int kSamples = 1024;
constexpr int kWidth = 1600;  // the image bitmap
constexpr int kHeight = 1000;

struct Setup {
  quv::ProfileItem item;
  quv::ProfileVersion* v = nullptr;
  std::unique_ptr<quv::CProfileWnd> window;
  Setup() {
    v = bench::syntheticProfile(item, kTraces, kSamples);
    v->loaded = true;
    quv::rebuildVersionList(item);
    window = std::make_unique<quv::CProfileWnd>(item, *v);
    // The view: the bitmap plus the scroll bars; the window 1 / 0.85 as wide.
    quv::NormalView& view = window->normalView();
    window->setSplitRatio(1.0f);
    window->pane()->resize(kWidth + view.scrollBarWidth, kHeight + view.scrollBarHeight + quv::kBandHeight);
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
void measure(benchmark::State& state, const std::string& name, const std::string& baseline, Body body) {
  double total = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    body();
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kWidth) * kHeight);
  const double each = state.iterations() ? total / double(state.iterations()) : 0;
  seconds()[name] = each;
  if (!baseline.empty() && seconds().count(baseline) && each > 0)
    state.counters["x_baseline_time"] = each / seconds()[baseline];
}

// The plain copy: one byte per pixel of the image looked up through the two maps.
void BM_CopyBaseline(benchmark::State& state) {
  Setup& s = setup();
  const quv::PixelMaps& maps = s.window->normalView().maps();
  const dv::Rect im = s.window->normalView().image();
  dv::IndexedBitmap out(kWidth, kHeight);
  measure(state, "copy", "", [&] {
    for (int y = im.top; y < kHeight; ++y) {
      const int sample = maps.rows[size_t(y)] < 0 ? 0 : maps.rows[size_t(y)];
      uint8_t* row = out.row(y);
      for (int x = 0; x < kWidth; ++x) {
        const int t = maps.columns[size_t(x)] < 0 ? 0 : maps.columns[size_t(x)];
        row[x] = s.v->normalBytes[size_t(t)][size_t(sample)];
      }
    }
    for (int y = 0; y < im.top; ++y) std::memset(out.row(y), 1, size_t(out.stride()));
    benchmark::DoNotOptimize(out.bits());
  });
}

void BM_WindowPaint(benchmark::State& state) {
  Setup& s = setup();
  dv::RecordingCanvas canvas;
  measure(state, "window", "copy", [&] {
    canvas.clear();
    s.window->normalView().onPaint(canvas);
    benchmark::DoNotOptimize(s.window->normalView().bitmap().bits());
  });
}

void BM_WindowPaintQt(benchmark::State& state) {
  Setup& s = setup();
  quv::NormalView& view = s.window->normalView();
  QImage screen(view.width(), view.height(), QImage::Format_RGB32);
  measure(state, "window.qt", "copy", [&] {
    QPainter painter(&screen);
    dv::qt::QtCanvas canvas(painter);
    view.onPaint(canvas);
  });
}

}  // namespace

BENCHMARK(BM_CopyBaseline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WindowPaint)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WindowPaintQt)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qargc = 1;
  char name[] = "bench_repaint";
  char* qargv[] = {name, nullptr};
  QGuiApplication app(qargc, qargv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Setup& s = setup();
  if (s.window->normalView().bitmap().width() == 0) {
    dv::RecordingCanvas warm;
    s.window->normalView().onPaint(warm);
  }
  std::printf("view %dx%d, image bitmap %dx%d\n", s.window->normalView().width(),
              s.window->normalView().height(), s.window->normalView().bitmap().width(),
              s.window->normalView().bitmap().height());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  auto& t = seconds();
  bool ok = true;
  std::printf("\n%-12s %10s %10s %10s\n", "", "ms", "copy ms", "x time");
  for (const char* key : {"window", "window.qt"}) {
    if (!t.count(key) || !t.count("copy") || t["copy"] <= 0) continue;
    const double times = t[key] / t["copy"];
    if (std::string(key) == "window" && times > 3.0) ok = false;
    std::printf("%-12s %10.2f %10.2f %10.2f%s\n", key, t[key] * 1e3, t["copy"] * 1e3, times,
                std::string(key) == "window" && times > 3.0 ? "  more than three times the copy" : "");
  }
  return ok ? 0 : 2;
}
