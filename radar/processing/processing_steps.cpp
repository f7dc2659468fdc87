// Dewow, background removal, zero-phase Butterworth filters and envelope
// over float traces.
#include "processing/processing_steps.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>

#include "processing/migration.h"

namespace quv {

// --- dewow ----------------------------------------------------------------------

int dewowWindowSamples(float windowNs, float dtNs) {
  if (!(dtNs > 0) || !(windowNs > 0) || !std::isfinite(windowNs / dtNs)) return 3;
  // Nearest odd count: 2k + 1 with k the nearest integer to (x - 1) / 2;
  // capped so that a huge window cannot overflow (it is cut to the trace anyway).
  const double x = std::min<double>(windowNs / dtNs, 1 << 24);
  const long k = std::lround((x - 1.0) / 2.0);
  return int(std::max(3L, 2 * k + 1));
}

void dewowTrace(const float* in, float* out, int M, int window) {
  if (M <= 0) return;
  const int half = std::max(window, 1) / 2;
  // Working in place, the samples behind the window are still needed.
  std::vector<float> copy;
  if (in == out) copy.assign(in, in + M), in = copy.data();
  // sum = in[lo..hi], the window cut at both trace ends; kept in double so
  // that long traces do not drift. Where the whole window fits, it slides
  // by one sample per output with a fixed divisor.
  double sum = 0;
  const int first = std::min(half, M - 1);
  for (int k = 0; k <= first; ++k) sum += in[k];
  int j = 0;
  for (; j < M && (j - half < 0 || j + half > M - 1); ++j) {
    // The head (and, on a trace shorter than the window, everything).
    const int lo = std::max(0, j - half), hi = std::min(M - 1, j + half);
    out[j] = float(in[j] - sum / double(hi - lo + 1));
    if (j + half + 1 <= M - 1) sum += in[j + half + 1];
    if (j - half >= 0) sum -= in[j - half];
  }
  const double inverse = 1.0 / double(2 * half + 1);
  for (; j + half < M - 1; ++j) {
    out[j] = float(in[j] - sum * inverse);
    sum += double(in[j + half + 1]) - double(in[j - half]);
  }
  for (; j < M; ++j) {
    // The tail: the window loses one sample at its front per output.
    const int lo = std::max(0, j - half);
    out[j] = float(in[j] - sum / double(M - lo));
    if (j - half >= 0) sum -= in[j - half];
  }
}

// --- background removal ----------------------------------------------------------

BackgroundMean::BackgroundMean(int traces, int samples, int window, TraceAt traceAt,
                               const void* context)
    : N_(std::max(traces, 0)),
      M_(std::max(samples, 0)),
      half_(window <= 0 || window >= 2 * std::max(traces, 1) ? -1 : window / 2),
      traceAt_(traceAt),
      context_(context),
      sum_(size_t(M_), 0.0),
      mean_(size_t(M_), 0.0f) {}

void BackgroundMean::add(int k, double sign) {
  const float* t = traceAt_(context_, k);
  if (!t) return;
  for (int j = 0; j < M_; ++j) sum_[size_t(j)] += sign * t[j];
}

const float* BackgroundMean::meanFor(int i) {
  int lo = 0, hi = N_ - 1;
  if (half_ >= 0) lo = std::max(0, i - half_), hi = std::min(N_ - 1, i + half_);
  if (ready_ && lo == lo_ && hi == hi_) return mean_.data();
  if (!ready_ || lo < lo_ || hi < hi_ || lo > hi_ + 1) {
    std::fill(sum_.begin(), sum_.end(), 0.0);
    lo_ = lo, hi_ = lo - 1;
  }
  while (hi_ < hi) add(++hi_, 1.0);
  while (lo_ < lo) add(lo_++, -1.0);
  ready_ = true;
  const double n = std::max(hi_ - lo_ + 1, 1);
  for (int j = 0; j < M_; ++j) mean_[size_t(j)] = float(sum_[size_t(j)] / n);
  return mean_.data();
}

void BackgroundMean::removeFrom(int i, const float* in, float* out) {
  // The common case of a moving window one trace further along: the sums
  // are moved and the mean subtracted in one pass over the samples.
  const int lo = std::max(0, i - half_), hi = std::min(N_ - 1, i + half_);
  if (half_ >= 0 && ready_ && lo == lo_ + 1 && hi == hi_ + 1) {
    const float* enter = traceAt_(context_, hi);
    const float* leave = traceAt_(context_, lo_);
    if (enter && leave) {
      const double inverse = 1.0 / double(hi - lo + 1);
      for (int j = 0; j < M_; ++j) {
        const double sum = sum_[size_t(j)] += double(enter[j]) - double(leave[j]);
        mean_[size_t(j)] = float(sum * inverse);
        out[j] = in[j] - mean_[size_t(j)];
      }
      lo_ = lo, hi_ = hi;
      return;
    }
  }
  const float* m = meanFor(i);
  for (int j = 0; j < M_; ++j) out[j] = in[j] - m[j];
}

// --- transforms --------------------------------------------------------------------

int paddedLength(int M) {
  const long want = std::max(2L * std::max(M, 1), 2L);
  for (long n = want;; ++n) {
    long r = n;
    for (long p : {2L, 3L, 5L})
      while (r % p == 0) r /= p;
    if (r == 1) return int(n);
  }
}

RealTransform::RealTransform(int length) : n_(std::max(length, 2)) {
  real_ = fftwf_alloc_real(size_t(n_));
  complex_ = reinterpret_cast<float*>(fftwf_alloc_complex(size_t(bins())));
  auto* c = reinterpret_cast<fftwf_complex*>(complex_);
  forward_ = fftwf_plan_dft_r2c_1d(n_, real_, c, FFTW_ESTIMATE);
  // The inverse of a complex-to-real transform overwrites its input; the
  // spectrum is made anew for every trace, so that costs nothing here.
  inverse_ = fftwf_plan_dft_c2r_1d(n_, c, real_, FFTW_ESTIMATE);
}

RealTransform::~RealTransform() {
  fftwf_destroy_plan(static_cast<fftwf_plan>(forward_));
  fftwf_destroy_plan(static_cast<fftwf_plan>(inverse_));
  fftwf_free(real_);
  fftwf_free(complex_);
}

void RealTransform::forward() { fftwf_execute(static_cast<fftwf_plan>(forward_)); }
void RealTransform::inverse() { fftwf_execute(static_cast<fftwf_plan>(inverse_)); }

namespace {
std::map<int, std::unique_ptr<RealTransform>>& transforms() {
  static std::map<int, std::unique_ptr<RealTransform>> plans;
  return plans;
}
}  // namespace

RealTransform& realTransform(int length) {
  auto& p = transforms()[length];
  if (!p) p = std::make_unique<RealTransform>(length);
  return *p;
}

void releaseTransformPlans() {
  transforms().clear();
  releaseMigrationPlans();
  fftwf_cleanup();
}

namespace {

// The trace into the transform's buffer, zeros after it.
void loadPadded(RealTransform& fft, const float* in, int M) {
  float* d = fft.data();
  const int n = std::min(M, fft.length());
  std::memcpy(d, in, sizeof(float) * size_t(std::max(n, 0)));
  std::fill(d + std::max(n, 0), d + fft.length(), 0.0f);
}

}  // namespace

// --- zero-phase Butterworth filters --------------------------------------------------

double ButterworthFilter::gain(double f) const {
  const double n2 = 2.0 * std::max(order, 1);
  auto lowPass = [&](double fc) { return fc > 0 ? 1.0 / (1.0 + std::pow(f / fc, n2)) : 0.0; };
  auto highPass = [&](double fc) {
    if (!(fc > 0)) return 1.0;
    return f > 0 ? 1.0 / (1.0 + std::pow(fc / f, n2)) : 0.0;
  };
  switch (band) {
    case FilterBand::LowPass: return lowPass(highMHz);
    case FilterBand::HighPass: return highPass(lowMHz);
    case FilterBand::BandPass: return highPass(lowMHz) * lowPass(highMHz);
  }
  return 1.0;
}

TraceFilter::TraceFilter(const ButterworthFilter& filter, int M, float dtNs)
    : M_(std::max(M, 0)), fft_(realTransform(paddedLength(M))) {
  const int L = fft_.length();
  gains_.resize(size_t(fft_.bins()));
  // Bin k lies at k / (L dt) GHz; the 1 / L of the unnormalised inverse
  // goes into the gains.
  const double binMHz = dtNs > 0 ? 1000.0 / (double(L) * dtNs) : 0.0;
  for (size_t k = 0; k < gains_.size(); ++k)
    gains_[k] = float(filter.gain(double(k) * binMHz) / double(L));
}

void TraceFilter::apply(const float* in, float* out) {
  loadPadded(fft_, in, M_);
  fft_.forward();
  float* s = fft_.spectrum();
  for (size_t k = 0; k < gains_.size(); ++k) {
    s[2 * k] *= gains_[k];
    s[2 * k + 1] *= gains_[k];
  }
  fft_.inverse();
  std::memcpy(out, fft_.data(), sizeof(float) * size_t(M_));
}

// --- envelope ------------------------------------------------------------------------

void envelopeTrace(const float* in, float* out, int M) {
  if (M <= 0) return;
  RealTransform& fft = realTransform(paddedLength(M));
  const int L = fft.length(), bins = fft.bins();
  loadPadded(fft, in, M);
  fft.forward();
  // The Hilbert transform multiplies positive frequencies by -i and
  // negative ones by +i; the DC and (even L) Nyquist bins go to zero.
  float* s = fft.spectrum();
  const float scale = 1.0f / float(L);
  for (int k = 0; k < bins; ++k) {
    const float re = s[2 * k], im = s[2 * k + 1];
    const bool edge = k == 0 || (L % 2 == 0 && k == bins - 1);
    s[2 * k] = edge ? 0.0f : im * scale;
    s[2 * k + 1] = edge ? 0.0f : -re * scale;
  }
  fft.inverse();
  // Sample by sample, so `in` may be `out`.
  const float* h = fft.data();
  for (int j = 0; j < M; ++j) out[j] = std::sqrt(in[j] * in[j] + h[j] * h[j]);
}

}  // namespace quv
