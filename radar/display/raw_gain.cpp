// The raw gains and the building of a raw window's byte traces.
#include "display/raw_gain.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/gain.h"
#include "project/trace_progress.h"

namespace quv {

namespace {

constexpr int kRamac = 2;

inline double finite(float v) { return std::isfinite(v) ? double(v) : 0.0; }

}  // namespace

double rawDcOffset(const float* x, int n, int format) {
  if (format != kRamac || n <= 0) return 0.0;
  const int quarter = n / 4;
  if (quarter == 0) return 0.0;
  double sum = 0;
  for (int k = n - quarter; k < n; ++k) sum += finite(x[k]);
  return sum / quarter;
}

RawAgcWindow rawAgcWindow(int samples, int gain) {
  RawAgcWindow w;
  if (samples <= 0 || (gain != kRawGainAgc10 && gain != kRawGainAgc25)) return w;
  w.length = gain == kRawGainAgc10 ? samples / 10 : samples / 4;
  w.h1 = (w.length + 1) / 2;
  w.h2 = w.length / 2;
  return w;
}

void rawGainTrace(const float* x, int n, int gain, int format, uint8_t* out) {
  if (n <= 0) return;
  const double b = rawDcOffset(x, n, format);
  const RawAgcWindow w = rawAgcWindow(n, gain);
  if (gain != kRawGainAgc10 && gain != kRawGainAgc25) {
    double m = 0;
    for (int k = 0; k < n; ++k) m = std::max(m, std::fabs(finite(x[k])));
    for (int j = 0; j < n; ++j)
      out[j] = m != 0 ? encodeGained((double(x[j]) - b) * 127.0 / m) : kZeroAmplitude;
    return;
  }
  // A. G. C.: the window's absolute sum, sliding through the middle of the trace.
  auto mag = [&](int k) { return std::fabs(finite(x[k]) - b); };
  double s = 0;
  for (int k = 0; k < w.length; ++k) s += mag(k);
  const double scale = double(w.length) * 127.0;
  for (int j = 0; j < n; ++j) {
    if (j >= w.h1 && j < n - w.h2) s = s + mag(j + w.h2) - mag(j - w.h1);
    out[j] = s != 0 ? encodeGained((double(x[j]) - b) * scale / s) : kZeroAmplitude;
  }
}

void buildRawByteTraces(const std::vector<const float*>& samples, int n, int gain, int format,
                        std::vector<std::unique_ptr<uint8_t[]>>& bytes, GainProgress* progress) {
  const int traces = int(bytes.size());
  n = std::max(n, 0);
  if (std::none_of(bytes.begin(), bytes.end(), [](const auto& b) { return !b; })) return;
  const std::vector<float> zeros(size_t(n), 0.0f);
  if (progress) progress->open(kGainProgressTitle);
  for (int i = 0; i < traces; ++i) {
    if (progress)
      traceProgress(i, traces, [&](const char* text, int percent) { progress->update(text, percent); });
    auto& out = bytes[size_t(i)];
    if (out) continue;
    out.reset(new uint8_t[size_t(std::max(n, 1))]);
    const float* x = i < int(samples.size()) && samples[size_t(i)] ? samples[size_t(i)] : zeros.data();
    rawGainTrace(x, n, gain, format, out.get());
  }
  if (progress) progress->close();
}

}  // namespace quv
