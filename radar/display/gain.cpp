// The gain kernels and the building of byte-trace tables.
#include "display/gain.h"

#include <algorithm>
#include <cstdio>

#include "dv/ui.h"
#include "project/profile.h"
#include "project/quv.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quv {

const char* gainTypeName(int type) {
  static const char* const names[kGainTypeCount] = {"Trace Max.", "File Max.", "Constant",
                                                    "A. G. C.", "Spherical/Exponential"};
  return type >= 0 && type < kGainTypeCount ? names[type] : "";
}

GainSettings gainSettings(const DisplaySettings& s, float fileScale) {
  GainSettings g;
  g.type = s.gainType;
  g.constant = s.constantGain;
  g.agcWindow = s.agcWindow;
  g.sphericalV = s.sphericalV;
  g.sphericalA = s.sphericalA;
  g.fileScale = fileScale;
  return g;
}

AgcWindow agcWindow(int samples, float percent) {
  AgcWindow w;
  const int n = std::max(samples, 0);
  const double length = double(n) * double(percent) / 100.0;
  // A window beyond the trace would sum samples that are not there, a
  // negative one would slide backwards out of it.
  w.length = length >= n ? n : length > 0 ? int(length) : 0;
  w.h1 = (w.length + 1) / 2;
  w.h2 = w.length / 2;
  return w;
}

namespace {

// g = x * k in single precision, then encoded; k per sample when `curve`
// is given, else the one factor k0.
template <bool PerSample>
void scaleEncode(const float* x, const float* curve, float k0, int n, uint8_t* out) {
  int j = 0;
#if defined(__SSE2__)
  const __m128 lo = _mm_set1_ps(-128.0f), hi = _mm_set1_ps(127.0f), k = _mm_set1_ps(k0);
  const __m128 bias = _mm_set1_ps(128.0f);
  auto four = [&](int at) {
    __m128 g = _mm_mul_ps(_mm_loadu_ps(x + at), PerSample ? _mm_loadu_ps(curve + at) : k);
    g = _mm_and_ps(g, _mm_cmpeq_ps(g, g));   // NaN: zero amplitude
    g = _mm_min_ps(_mm_max_ps(g, lo), hi);   // clipping keeps the encoded byte
    return _mm_cvttps_epi32(_mm_add_ps(g, bias));
  };
  for (; j + 16 <= n; j += 16) {
    const __m128i a = _mm_packs_epi32(four(j), four(j + 4));
    const __m128i b = _mm_packs_epi32(four(j + 8), four(j + 12));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_packus_epi16(a, b));
  }
#endif
  for (; j < n; ++j) {
    const float g = x[j] * (PerSample ? curve[j] : k0);
    out[j] = encodeGained(g);
  }
}

float largestAbsolute(const float* x, int n) {
  int j = 0;
  float m = 0.0f;
#if defined(__SSE2__)
  const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
  __m128 a = _mm_setzero_ps(), b = _mm_setzero_ps();
  for (; j + 8 <= n; j += 8) {
    // max(v, m) keeps m when v is NaN, like the scalar comparison below.
    a = _mm_max_ps(_mm_and_ps(_mm_loadu_ps(x + j), magnitude), a);
    b = _mm_max_ps(_mm_and_ps(_mm_loadu_ps(x + j + 4), magnitude), b);
  }
  alignas(16) float lanes[4];
  _mm_store_ps(lanes, _mm_max_ps(a, b));
  for (float v : lanes) m = std::max(m, v);
#endif
  for (; j < n; ++j) {
    const float v = std::fabs(x[j]);
    if (v > m) m = v;
  }
  return m;
}

}  // namespace

TraceGain::TraceGain(const GainSettings& s, int samples, const float* times)
    : type_(s.type >= 0 && s.type < kGainTypeCount ? s.type : kGainAgc),
      samples_(std::max(samples, 0)) {
  switch (type_) {
    case kGainFileMax:
      factor_ = s.fileScale;
      break;
    case kGainConstant:
      factor_ = s.constant * s.fileScale;
      break;
    case kGainSpherical:
      // The curve is the same for every trace: computed once per build.
      curve_.resize(size_t(samples_));
      for (int j = 0; j < samples_; ++j) {
        const double vt = double(s.sphericalV) * (times ? double(times[j]) : 0.0);
        curve_[size_t(j)] = float(double(s.fileScale) * vt * std::exp(double(s.sphericalA) * vt));
      }
      break;
    case kGainAgc:
      window_ = agcWindow(samples_, s.agcWindow);
      break;
    default:
      break;
  }
}

void TraceGain::apply(const float* x, uint8_t* out) const { apply(&x, &out, 1); }

void TraceGain::apply(const float* const* x, uint8_t* const* out, int count) const {
  const int n = samples_;
  switch (type_) {
    case kGainTraceMax:
      for (int c = 0; c < count; ++c) {
        const float m = largestAbsolute(x[c], n);
        if (m == 0.0f) std::fill_n(out[c], n, kZeroAmplitude);
        else scaleEncode<false>(x[c], nullptr, 127.0f / m, n, out[c]);
      }
      break;
    case kGainFileMax:
    case kGainConstant:
      for (int c = 0; c < count; ++c) scaleEncode<false>(x[c], nullptr, factor_, n, out[c]);
      break;
    case kGainSpherical:
      for (int c = 0; c < count; ++c) scaleEncode<true>(x[c], curve_.data(), 0.0f, n, out[c]);
      break;
    default:
      for (int first = 0; first < count; first += kBatch)
        applyAgc(x + first, out + first, std::min(kBatch, count - first));
      break;
  }
}

namespace {

// The running window sums of C traces side by side: sums[j * C + c] is the
// sum of trace c at sample j. Each trace's sum is updated exactly as alone,
// S = S + |x[j + h2]| - |x[j - h1]|; the traces only share the loop.
template <int C>
void windowSums(const float* const* x, int n, const AgcWindow& w, double* sums) {
  double s[C];
  for (int c = 0; c < C; ++c) {
    s[c] = 0.0;
    for (int k = 0; k < w.length; ++k) s[c] += double(std::fabs(x[c][k]));
  }
  const int slideFrom = w.h1, slideTo = n - w.h2;
  int j = 0;
  for (; j < slideFrom && j < n; ++j)
    for (int c = 0; c < C; ++c) sums[j * C + c] = s[c];
  for (; j < slideTo; ++j)
    for (int c = 0; c < C; ++c) {
      s[c] = s[c] + double(std::fabs(x[c][j + w.h2])) - double(std::fabs(x[c][j - w.h1]));
      sums[j * C + c] = s[c];
    }
  for (; j < n; ++j)
    for (int c = 0; c < C; ++c) sums[j * C + c] = s[c];
}

// g = x * W * 127 / S (x * 127 where S is 0), encoded. x * (W * 127) is
// exact in double, so this is the same value as the left-to-right product.
void agcEncode(const float* x, const double* sums, int stride, int n, double w127, uint8_t* out) {
  for (int j = 0; j < n; ++j) {
    const double s = sums[size_t(j) * size_t(stride)];
    const double g = s != 0.0 ? double(x[j]) * w127 / s : double(x[j]) * 127.0;
    out[j] = encodeGained(g);
  }
}

}  // namespace

void TraceGain::applyAgc(const float* const* x, uint8_t* const* out, int count) const {
  const int n = samples_;
  if (n == 0) return;
  const double w127 = double(window_.length) * 127.0;
  sums_.resize(size_t(n) * kBatch);
  if (count == kBatch) {
    windowSums<kBatch>(x, n, window_, sums_.data());
    for (int c = 0; c < count; ++c) agcEncode(x[c], sums_.data() + c, kBatch, n, w127, out[c]);
  } else {
    for (int c = 0; c < count; ++c) {
      windowSums<1>(x + c, n, window_, sums_.data());
      agcEncode(x[c], sums_.data(), 1, n, w127, out[c]);
    }
  }
}

// --- progress --------------------------------------------------------------------

namespace {

class FrameworkProgress : public GainProgress {
 public:
  void open(const char* title) override {
    dv::ui().setWaitCursor(true);
    if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress)) f(title, "");
  }
  void update(const char* text, int percent) override {
    if (auto f = fw<PfnSetProgress>(PONTRA_SetProgress)) f(text, percent);
  }
  void close() override {
    if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
    dv::ui().setWaitCursor(false);
  }
};

}  // namespace

GainProgress& frameworkProgress() {
  static FrameworkProgress progress;
  return progress;
}

// --- building ----------------------------------------------------------------------

void buildByteTraces(ProfileVersion& v, bool presentation, GainProgress* progress) {
  std::vector<ByteTrace>& table = presentation ? v.presentationBytes : v.normalBytes;
  const DisplaySettings& settings = presentation ? v.presentation : v.normal;
  const int traces = int(table.size());
  const int n = std::max(v.samples, 0);
  if (std::none_of(table.begin(), table.end(), [](const ByteTrace& b) { return !b; })) return;

  // 1. The samples of every trace still to build.
  const bool perTrace = v.needed.size() == table.size() && v.buffers.size() == table.size();
  // Flags set here (1) and samples loaded here (2), undone afterwards while
  // the display is open.
  std::vector<uint8_t> mine;
  if (perTrace) {
    mine.assign(table.size(), 0);
    for (size_t i = 0; i < table.size(); ++i)
      if (!table[i] && !v.needed[i]) {
        mine[i] = v.buffers[i] ? 1 : 2;
        v.needed[i] = 1;
      }
    loadSamples(v, progress != nullptr);
  }

  // The time of every sample for the spherical gain.
  std::vector<float> times;
  const float* t = nullptr;
  if (settings.gainType == kGainSpherical) {
    if (v.time.size() >= size_t(n)) {
      t = v.time.data();
    } else {
      times.resize(size_t(n));
      for (int j = 0; j < n; ++j) times[size_t(j)] = v.firstTime + float(j) * v.timeIncrement;
      t = times.data();
    }
  }
  const TraceGain gain(gainSettings(settings, v.amplitudeScale), n, t);
  // A trace without samples (none could be had) is zero amplitude.
  const std::vector<float> zeros(size_t(n), 0.0f);

  // 2. to 7.
  if (progress) progress->open(kGainProgressTitle);
  const float* in[TraceGain::kBatch];
  uint8_t* out[TraceGain::kBatch];
  for (int i = 0; i < traces;) {
    int count = 0;
    for (; i < traces && count < TraceGain::kBatch; ++i) {
      if (progress && i % 10 == 0) {
        char text[64];
        std::snprintf(text, sizeof text, "Trace %i of %i", i + 1, traces);
        progress->update(text, int(int64_t(i) * 100 / traces));
      }
      if (table[size_t(i)]) continue;
      table[size_t(i)].reset(new uint8_t[size_t(n)]);
      const bool haveSamples = i < int(v.buffers.size()) && v.buffers[size_t(i)];
      in[count] = haveSamples ? v.buffers[size_t(i)].get() : zeros.data();
      out[count] = table[size_t(i)].get();
      ++count;
    }
    gain.apply(in, out, count);
  }
  if (progress) progress->close();

  // While the display is open only the byte traces stay in memory.
  if (perTrace && v.loaded)
    for (size_t i = 0; i < mine.size(); ++i) {
      if (mine[i]) v.needed[i] = 0;
      if (mine[i] == 2) v.buffers[i].reset();
    }
}

void buildByteTraces(ProfileVersion& v, bool presentation, bool showProgress) {
  buildByteTraces(v, presentation, showProgress ? &frameworkProgress() : nullptr);
}

void discardByteTraces(ProfileVersion& v, bool presentation) {
  for (ByteTrace& b : presentation ? v.presentationBytes : v.normalBytes) b.reset();
}

void installByteTraceBuilder() {
  setByteTraceBuilder(static_cast<void (*)(ProfileVersion&, bool, bool)>(&buildByteTraces));
}

}  // namespace quv
