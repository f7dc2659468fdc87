// The gain kernels and the building of byte-trace tables.
#include "display/gain.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "dv/ui.h"
#include "project/parallel.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/trace_progress.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
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

// |x| as the window sums take it: a sample that is not finite counts as 0,
// so one damaged sample cannot spoil the sums of the rest of its trace.
inline double windowMagnitude(float x) {
  const float a = std::fabs(x);
  return a <= std::numeric_limits<float>::max() ? double(a) : 0.0;
}

// The running window sums of one trace, S = S + |x[j + h2]| - |x[j - h1]|
// in the middle, each rounded to float for the gain: sums[j].
void windowSums(const float* x, int n, const AgcWindow& w, float* sums) {
  double s = 0.0;
  for (int k = 0; k < w.length; ++k) s += windowMagnitude(x[k]);
  const int slideFrom = std::min(w.h1, n), slideTo = n - w.h2;
  int j = 0;
  for (; j < slideFrom; ++j) sums[j] = float(s);
  for (; j < slideTo; ++j) {
    s = s + windowMagnitude(x[j + w.h2]) - windowMagnitude(x[j - w.h1]);
    sums[j] = float(s);
  }
  for (; j < n; ++j) sums[j] = float(s);
}

#if defined(__SSE2__)
// The same for eight traces at once, two traces to a register: the
// magnitudes are first laid out sample by sample (mags[j * 8 + c]), then
// each lane adds and subtracts exactly as the single trace would, while
// the eight chains of additions overlap. The float sums come out sample by
// sample too (rows[j * 8 + c]) and are turned into one run per trace:
// sums[c * n + j].
void windowSums8(const float* const* x, int n, const AgcWindow& w, double* mags, float* rows,
                 float* sums) {
  const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7fffffff));
  const __m128 largest = _mm_set1_ps(std::numeric_limits<float>::max());
  auto finite = [&](__m128 v) {
    const __m128 a = _mm_and_ps(v, magnitude);
    return _mm_and_ps(a, _mm_cmple_ps(a, largest));  // not finite: 0
  };
  // Two traces at a time, so each store holds the pair of one sample.
  for (int c = 0; c < 8; c += 2) {
    const float* xa = x[c];
    const float* xb = x[c + 1];
    int j = 0;
    for (; j + 4 <= n; j += 4) {
      if ((j & 15) == 0 && c + 2 < 8) {
        // The next pair's samples are on their way while this pair is laid out.
        _mm_prefetch(reinterpret_cast<const char*>(x[c + 2] + j), _MM_HINT_T0);
        _mm_prefetch(reinterpret_cast<const char*>(x[c + 3] + j), _MM_HINT_T0);
      }
      const __m128 a = _mm_loadu_ps(xa + j), b = _mm_loadu_ps(xb + j);
      const __m128 ab01 = finite(_mm_unpacklo_ps(a, b)), ab23 = finite(_mm_unpackhi_ps(a, b));
      double* m = mags + size_t(j) * 8 + c;
      _mm_storeu_pd(m, _mm_cvtps_pd(ab01));
      _mm_storeu_pd(m + 8, _mm_cvtps_pd(_mm_movehl_ps(ab01, ab01)));
      _mm_storeu_pd(m + 16, _mm_cvtps_pd(ab23));
      _mm_storeu_pd(m + 24, _mm_cvtps_pd(_mm_movehl_ps(ab23, ab23)));
    }
    for (; j < n; ++j) {
      mags[size_t(j) * 8 + c] = windowMagnitude(xa[j]);
      mags[size_t(j) * 8 + c + 1] = windowMagnitude(xb[j]);
    }
  }
  __m128d s0 = _mm_setzero_pd(), s1 = s0, s2 = s0, s3 = s0;
  for (int k = 0; k < w.length; ++k) {
    const double* m = mags + size_t(k) * 8;
    s0 = _mm_add_pd(s0, _mm_loadu_pd(m));
    s1 = _mm_add_pd(s1, _mm_loadu_pd(m + 2));
    s2 = _mm_add_pd(s2, _mm_loadu_pd(m + 4));
    s3 = _mm_add_pd(s3, _mm_loadu_pd(m + 6));
  }
  auto store = [&](int j) {
    float* out = rows + size_t(j) * 8;
    _mm_storeu_ps(out, _mm_movelh_ps(_mm_cvtpd_ps(s0), _mm_cvtpd_ps(s1)));
    _mm_storeu_ps(out + 4, _mm_movelh_ps(_mm_cvtpd_ps(s2), _mm_cvtpd_ps(s3)));
  };
  const int slideFrom = std::min(w.h1, n), slideTo = n - w.h2;
  int j = 0;
  for (; j < slideFrom; ++j) store(j);
  for (; j < slideTo; ++j) {
    const double* in = mags + size_t(j + w.h2) * 8;
    const double* off = mags + size_t(j - w.h1) * 8;
    s0 = _mm_sub_pd(_mm_add_pd(s0, _mm_loadu_pd(in)), _mm_loadu_pd(off));
    s1 = _mm_sub_pd(_mm_add_pd(s1, _mm_loadu_pd(in + 2)), _mm_loadu_pd(off + 2));
    s2 = _mm_sub_pd(_mm_add_pd(s2, _mm_loadu_pd(in + 4)), _mm_loadu_pd(off + 4));
    s3 = _mm_sub_pd(_mm_add_pd(s3, _mm_loadu_pd(in + 6)), _mm_loadu_pd(off + 6));
    store(j);
  }
  for (; j < n; ++j) store(j);
  // Rows to runs, four samples of four traces at a time.
  j = 0;
  for (; j + 4 <= n; j += 4)
    for (int c = 0; c < 8; c += 4) {
      const float* r = rows + size_t(j) * 8 + c;
      __m128 r0 = _mm_loadu_ps(r), r1 = _mm_loadu_ps(r + 8), r2 = _mm_loadu_ps(r + 16),
             r3 = _mm_loadu_ps(r + 24);
      _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
      _mm_storeu_ps(sums + size_t(c) * n + j, r0);
      _mm_storeu_ps(sums + size_t(c + 1) * n + j, r1);
      _mm_storeu_ps(sums + size_t(c + 2) * n + j, r2);
      _mm_storeu_ps(sums + size_t(c + 3) * n + j, r3);
    }
  for (; j < n; ++j)
    for (int c = 0; c < 8; ++c) sums[size_t(c) * n + j] = rows[size_t(j) * 8 + c];
}
#endif

// g = x * (W * 127) / S in single precision, S the window sum rounded to
// float (g = x * 127 where that is 0), encoded like the other gains.
void agcEncode(const float* x, const float* sums, int n, float w127, uint8_t* out) {
  int j = 0;
#if defined(__SSE2__)
  const __m128 kw = _mm_set1_ps(w127), k127 = _mm_set1_ps(127.0f), zero = _mm_setzero_ps();
  const __m128 lo = _mm_set1_ps(-128.0f), hi = _mm_set1_ps(127.0f), bias = _mm_set1_ps(128.0f);
  auto four = [&](int at) {
    const __m128 v = _mm_loadu_ps(x + at), s = _mm_loadu_ps(sums + at);
    const __m128 none = _mm_cmpeq_ps(s, zero);
    __m128 g = _mm_div_ps(_mm_mul_ps(v, kw), s);
    g = _mm_or_ps(_mm_and_ps(none, _mm_mul_ps(v, k127)), _mm_andnot_ps(none, g));
    g = _mm_and_ps(g, _mm_cmpeq_ps(g, g));  // NaN: zero amplitude
    g = _mm_min_ps(_mm_max_ps(g, lo), hi);
    return _mm_cvttps_epi32(_mm_add_ps(g, bias));
  };
  for (; j + 16 <= n; j += 16) {
    const __m128i a = _mm_packs_epi32(four(j), four(j + 4));
    const __m128i b = _mm_packs_epi32(four(j + 8), four(j + 12));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + j), _mm_packus_epi16(a, b));
  }
#endif
  for (; j < n; ++j) {
    const float s = sums[j];
    out[j] = encodeGained(s != 0.0f ? x[j] * w127 / s : x[j] * 127.0f);
  }
}

}  // namespace

void TraceGain::applyAgc(const float* const* x, uint8_t* const* out, int count) const {
  const int n = samples_;
  if (n == 0) return;
  const float w127 = float(window_.length * 127);  // a whole number below 2^24, exact
#if defined(__SSE2__)
  static_assert(kBatch == 8, "the side-by-side sums take eight traces");
  if (count == kBatch) {
    mags_.resize(size_t(n) * 8);
    sums_.resize(size_t(n) * 16);
    float* rows = sums_.data() + size_t(n) * 8;
    windowSums8(x, n, window_, mags_.data(), rows, sums_.data());
    for (int c = 0; c < count; ++c) agcEncode(x[c], sums_.data() + size_t(c) * n, n, w127, out[c]);
    return;
  }
#endif
  sums_.resize(size_t(n));
  for (int c = 0; c < count; ++c) {
    windowSums(x[c], n, window_, sums_.data());
    agcEncode(x[c], sums_.data(), n, w127, out[c]);
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
  bool cancelled() override { return stepCancelled(); }
};

}  // namespace

GainProgress& frameworkProgress() {
  static FrameworkProgress progress;
  return progress;
}

// --- building ----------------------------------------------------------------------

namespace {

// Traces a worker builds at a time.
constexpr int64_t kByteTraceBlock = 512;

}  // namespace

namespace {

// The runs of consecutive trace numbers in list[begin, end) (sorted).
template <typename Run>
void forEachRun(const std::vector<int>& list, int64_t begin, int64_t end, Run&& run) {
  for (int64_t k = begin; k < end;) {
    int64_t e = k + 1;
    while (e < end && list[size_t(e)] == list[size_t(e - 1)] + 1) ++e;
    run(list[size_t(k)], list[size_t(e - 1)] + 1);
    k = e;
  }
}

// The traces of `wanted` (nullptr: every trace) whose byte trace is
// missing, ascending, each once.
std::vector<int> missingTraces(const std::vector<ByteTrace>& table, const std::vector<int>* wanted) {
  std::vector<int> todo;
  const int traces = int(table.size());
  if (!wanted) {
    for (int i = 0; i < traces; ++i)
      if (!table[size_t(i)]) todo.push_back(i);
    return todo;
  }
  for (int i : *wanted)
    if (i >= 0 && i < traces && !table[size_t(i)]) todo.push_back(i);
  std::sort(todo.begin(), todo.end());
  todo.erase(std::unique(todo.begin(), todo.end()), todo.end());
  return todo;
}

bool buildListed(ProfileVersion& v, bool presentation, const std::vector<int>& todo, GainProgress* progress) {
  std::vector<ByteTrace>& table = presentation ? v.presentationBytes : v.normalBytes;
  const DisplaySettings& settings = presentation ? v.presentation : v.normal;
  const int n = std::max(v.samples, 0);
  const int count = int(todo.size());
  if (count == 0) return true;

  // 1. The samples of every trace to build. Flags set here and samples
  // loaded here (the second list) are undone afterwards while the display is open.
  const bool perTrace = v.needed.size() == table.size() && v.buffers.size() == table.size();
  std::vector<int> flagged, loaded;
  if (perTrace) {
    for (int i : todo)
      if (!v.needed[size_t(i)]) {
        v.needed[size_t(i)] = 1;
        flagged.push_back(i);
        if (!v.buffers[size_t(i)]) loaded.push_back(i);
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

  // 2. to 7., in blocks of the list over the cores: every worker has its
  // own copy of the gain (which keeps scratch arrays), and a block's mapped
  // samples give their memory back once its byte traces are made. A block
  // is built whole or, once cancelled, not at all.
  if (progress) progress->open(kGainProgressTitle);
  std::vector<TraceGain> gains(size_t(workerThreads()), gain);
  auto build = [&](int worker, int64_t begin, int64_t end) {
    const TraceGain& g = gains[size_t(worker)];
    const float* in[TraceGain::kBatch];
    uint8_t* out[TraceGain::kBatch];
    for (int64_t k = begin; k < end;) {
      int batch = 0;
      for (; k < end && batch < TraceGain::kBatch; ++k) {
        const size_t i = size_t(todo[size_t(k)]);
        table[i].reset(new uint8_t[size_t(n)]);
        const bool haveSamples = i < v.buffers.size() && v.buffers[i];
        in[batch] = haveSamples ? v.buffers[i].get() : zeros.data();
        out[batch] = table[i].get();
        ++batch;
      }
      g.apply(in, out, batch);
    }
    forEachRun(todo, begin, end, [&](int first, int last) { releaseMappedPages(v, first, last); });
  };
  TraceClock clock;
  const bool whole = parallelBlocks(count, kByteTraceBlock, build, [&](int64_t done) {
    if (progress)
      clock.reportUpTo(int(done), count, [&](const char* text, int percent) { progress->update(text, percent); });
    return !(progress && progress->cancelled());
  });
  if (progress) progress->close();

  // While the display is open only the byte traces stay in memory.
  if (perTrace && v.loaded) {
    for (int i : flagged) v.needed[size_t(i)] = 0;
    for (int i : loaded) v.buffers[size_t(i)].reset();
    dropUnusedMapping(v);
  }
  return whole;
}

}  // namespace

bool buildByteTraces(ProfileVersion& v, bool presentation, GainProgress* progress) {
  return buildListed(v, presentation, missingTraces(presentation ? v.presentationBytes : v.normalBytes, nullptr),
                     progress);
}

bool buildByteTraces(ProfileVersion& v, bool presentation, const std::vector<int>& traces, GainProgress* progress) {
  return buildListed(v, presentation, missingTraces(presentation ? v.presentationBytes : v.normalBytes, &traces),
                     progress);
}

bool largeByteTraceBuild(int64_t traces, int samples) {
  return traces > kProgressTraces || traces * int64_t(std::max(samples, 0)) > kProgressSamples;
}

bool buildByteTraces(ProfileVersion& v, bool presentation, const std::vector<int>& traces, bool showProgress) {
  const std::vector<int> todo = missingTraces(presentation ? v.presentationBytes : v.normalBytes, &traces);
  const bool large = showProgress && largeByteTraceBuild(int64_t(todo.size()), v.samples);
  return buildListed(v, presentation, todo, large ? &frameworkProgress() : nullptr);
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
