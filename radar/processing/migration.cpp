// First-break pick, Stolt migration and hyperbola velocity over a section.
#include "processing/migration.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>

#include "processing/processing_steps.h"  // paddedLength

namespace quv {

// --- time zero from the first break -----------------------------------------------------

std::vector<float> meanAbsoluteTrace(int N, int M, SectionTrace trace, const void* context) {
  std::vector<double> sum(size_t(std::max(M, 0)), 0.0);
  for (int i = 0; i < N; ++i)
    if (const float* t = trace(context, i))
      for (int j = 0; j < M; ++j) sum[size_t(j)] += std::fabs(t[j]);
  std::vector<float> mean(sum.size());
  for (size_t j = 0; j < sum.size(); ++j) mean[j] = float(sum[j] / std::max(N, 1));
  return mean;
}

int firstBreakSample(const std::vector<float>& trace, float fraction) {
  float top = 0;
  for (float v : trace) top = std::max(top, v);
  if (!(top > 0)) return -1;
  const float level = fraction * top;
  for (size_t j = 0; j < trace.size(); ++j)
    if (trace[j] > level) return int(j);
  return -1;
}

// --- Stolt migration ----------------------------------------------------------------------

double evenTraceSpacing(const std::vector<int>& nodeTrace, const std::vector<float>& easting,
                        const std::vector<float>& northing, double* least, double* most) {
  const size_t n = std::min({nodeTrace.size(), easting.size(), northing.size()});
  double length = 0, lo = 0, hi = 0;
  long traces = 0;
  bool any = false;
  for (size_t k = 1; k < n; ++k) {
    const long d = long(nodeTrace[k]) - long(nodeTrace[k - 1]);
    if (d <= 0) continue;  // nodes on one trace add no spacing
    const double step = std::hypot(double(easting[k]) - easting[k - 1], double(northing[k]) - northing[k - 1]);
    const double per = step / double(d);
    lo = any ? std::min(lo, per) : per, hi = any ? std::max(hi, per) : per;
    any = true;
    length += step, traces += d;
  }
  if (least) *least = lo;
  if (most) *most = hi;
  if (!any || !(length > 0)) return 0;
  const double mean = length / double(traces);
  return hi - mean <= 0.01 * mean && mean - lo <= 0.01 * mean ? mean : -1;
}

namespace {

int fastLength(long want) {
  for (long n = std::max(want, 2L);; ++n) {
    long r = n;
    for (long p : {2L, 3L, 5L})
      while (r % p == 0) r /= p;
    if (r == 1) return int(n);
  }
}

// The in-place two-dimensional plans of one size, made once (FFTW_ESTIMATE
// does not touch the array) and run on each call's own array.
struct Plans2D {
  fftwf_plan forward = nullptr, inverse = nullptr;
};

std::map<std::pair<int, int>, Plans2D>& allPlans2D() {
  static std::map<std::pair<int, int>, Plans2D> plans;
  return plans;
}

Plans2D& plans2D(int rows, int cols) {
  Plans2D& p = allPlans2D()[{rows, cols}];
  if (!p.forward) {
    const size_t stride = 2 * size_t(cols / 2 + 1);
    float* a = fftwf_alloc_real(size_t(rows) * stride);
    auto* c = reinterpret_cast<fftwf_complex*>(a);
    p.forward = fftwf_plan_dft_r2c_2d(rows, cols, a, c, FFTW_ESTIMATE);
    p.inverse = fftwf_plan_dft_c2r_2d(rows, cols, c, a, FFTW_ESTIMATE);
    fftwf_free(a);
  }
  return p;
}

bool usable(int N, int M, float dx, float dt, float v) {
  return N >= 1 && M >= 1 && dx > 0 && dt > 0 && v > 0 && std::isfinite(dx) && std::isfinite(dt) &&
         std::isfinite(v) && std::isfinite(v * float(M) * dt / dx);
}

}  // namespace

void releaseMigrationPlans() {
  for (auto& [size, p] : allPlans2D()) {
    fftwf_destroy_plan(p.forward);
    fftwf_destroy_plan(p.inverse);
  }
  allPlans2D().clear();
}

int migrationPaddedTraces(int N, int M, float dx, float dt, float v) {
  if (!usable(N, M, dx, dt, v)) return fastLength(std::max(N, 1));
  // A point at two-way time t migrates onto a semicircle v t / 2 wide on
  // either side; four traces more for the interpolation's spread.
  const double reach = std::ceil(double(v) * double(M) * double(dt) / (2.0 * double(dx))) + 4.0;
  return fastLength(long(N) + long(std::min(reach, double(N))));
}

long long migrationWorkFloats(int N, int M, float dx, float dt, float v) {
  return (long long)migrationPaddedTraces(N, M, dx, dt, v) * 2LL * (paddedLength(M) / 2 + 1);
}

bool stoltMigrate(float* section, int N, int M, float dx, float dt, float v) {
  if (!usable(N, M, dx, dt, v)) return false;
  const int Nx = migrationPaddedTraces(N, M, dx, dt, v), Mt = paddedLength(M);
  const int bins = Mt / 2 + 1;
  const size_t stride = 2 * size_t(bins);
  float* a = fftwf_alloc_real(size_t(Nx) * stride);
  if (!a) return false;
  for (int i = 0; i < Nx; ++i) {
    float* row = a + size_t(i) * stride;
    const int n = i < N ? M : 0;
    if (n) std::memcpy(row, section + size_t(i) * size_t(M), sizeof(float) * size_t(M));
    std::fill(row + n, row + stride, 0.0f);
  }
  Plans2D& p = plans2D(Nx, Mt);
  auto* c = reinterpret_cast<fftwf_complex*>(a);
  fftwf_execute_dft_r2c(p.forward, a, c);

  // Row k holds wavenumber kx = 2 pi k' / (Nx dx) (k' = k, or k - Nx past
  // the middle), column j frequency w = 2 pi j / (Mt dt). In bin units the
  // mapping is f = sqrt(j^2 + A^2) with A = (v / 2) |kx| / dw. Since f >= j
  // the row is mapped in place in ascending j: bins at or beyond j are
  // still unmapped when read.
  const double dw = 2.0 * M_PI / (double(Mt) * double(dt));
  const double dk = 2.0 * M_PI / (double(Nx) * double(dx));
  const float scale = 1.0f / (float(Nx) * float(Mt));
  for (int k = 0; k < Nx; ++k) {
    const int kk = k <= Nx / 2 ? k : k - Nx;
    const double A = 0.5 * double(v) * std::fabs(double(kk) * dk) / dw;
    fftwf_complex* row = c + size_t(k) * size_t(bins);
    for (int j = 0; j < bins; ++j) {
      const double f = std::sqrt(double(j) * double(j) + A * A);
      const int i0 = int(f);
      if (i0 >= bins - 1 && !(i0 == bins - 1 && f == double(i0))) {
        row[j][0] = row[j][1] = 0.0f;  // from beyond the Nyquist frequency
        continue;
      }
      const float r = float(f - double(i0));
      const float jac = f > 0 ? float(double(j) / f) * scale : scale;
      const float* lo = row[i0];
      const float* hi = row[std::min(i0 + 1, bins - 1)];
      row[j][0] = jac * ((1.0f - r) * lo[0] + r * hi[0]);
      row[j][1] = jac * ((1.0f - r) * lo[1] + r * hi[1]);
    }
  }
  fftwf_execute_dft_c2r(p.inverse, c, a);
  for (int i = 0; i < N; ++i) std::memcpy(section + size_t(i) * size_t(M), a + size_t(i) * stride, sizeof(float) * size_t(M));
  fftwf_free(a);
  return true;
}

// --- velocity from a diffraction hyperbola -------------------------------------------------

double hyperbolaTime(double t0, double x, double v) { return std::sqrt(t0 * t0 + 4.0 * x * x / (v * v)); }

namespace {

// The semblance of the samples along the hyperbola through (apex, t0) at v.
double semblance(const float* s, int N, int M, float dx, float dt, int apex, double t0, double v,
                 int halfWidth, int window) {
  const int lo = std::max(0, apex - halfWidth), hi = std::min(N - 1, apex + halfWidth);
  const int w = std::max(window, 0) / 2;
  double num = 0, den = 0;
  int used = 0;
  std::vector<double> stack(size_t(2 * w + 1), 0.0);
  for (int i = lo; i <= hi; ++i) {
    const double at = hyperbolaTime(t0, double(i - apex) * dx, v) / dt;  // in samples
    if (at - w < 0 || at + w + 1 > M - 1) continue;
    const float* t = s + size_t(i) * size_t(M);
    for (int k = -w; k <= w; ++k) {
      const double y = at + k;
      const int j = int(y);
      const double r = y - j;
      const double a = (1 - r) * t[j] + r * t[j + 1];
      stack[size_t(k + w)] += a;
      den += a * a;
    }
    ++used;
  }
  for (double x : stack) num += x * x;
  return used >= 3 && den > 0 ? num / (double(used) * den) : 0.0;
}

}  // namespace

HyperbolaFit fitHyperbola(const float* s, int N, int M, float dx, float dt, int apexTrace, float apexTime,
                          float vMin, float vMax, int halfWidth, int windowSamples, int apexSearch) {
  HyperbolaFit fit;
  if (!s || N < 3 || M < 3 || !(dx > 0) || !(dt > 0) || !(vMin > 0) || !(vMax > vMin) || apexTrace < 0 ||
      apexTrace >= N)
    return fit;
  auto at = [&](double t0, double v) {
    return semblance(s, N, M, dx, dt, apexTrace, t0, v, halfWidth, windowSamples);
  };
  // The apex: the largest |amplitude| of the apex trace within the search
  // of the click, the phase the other traces' arrivals are followed on.
  const float* apex = s + size_t(apexTrace) * size_t(M);
  const int clicked = std::clamp(int(std::lround(apexTime / dt)), 0, M - 1);
  int peak = clicked;
  for (int j = std::max(0, clicked - std::max(apexSearch, 0)); j <= std::min(M - 1, clicked + std::max(apexSearch, 0)); ++j)
    if (std::fabs(apex[j]) > std::fabs(apex[peak])) peak = j;
  const double bestT = double(peak) * dt;
  // The scan: velocities 1 % apart.
  double bestS = -1, bestV = 0, stepBelow = vMin, stepAbove = vMax;
  for (double v = vMin; v <= vMax * 1.000001; v *= 1.01) {
    const double sv = at(bestT, v);
    if (sv > bestS)
      bestS = sv, bestV = v, stepBelow = std::max<double>(vMin, v / 1.01), stepAbove = std::min<double>(vMax, v * 1.01);
  }
  if (!(bestS > 0)) return fit;
  // Golden-section refinement between the neighbouring steps.
  const double g = 0.5 * (std::sqrt(5.0) - 1.0);
  double a = stepBelow, b = stepAbove;
  double c = b - g * (b - a), e = a + g * (b - a), sc = at(bestT, c), se = at(bestT, e);
  for (int it = 0; it < 30; ++it) {
    if (sc > se) b = e, e = c, se = sc, c = b - g * (b - a), sc = at(bestT, c);
    else a = c, c = e, sc = se, e = a + g * (b - a), se = at(bestT, e);
  }
  const double v = 0.5 * (a + b), sv = at(bestT, v);
  fit.velocity = float(sv >= bestS ? v : bestV);
  fit.semblance = float(std::max(sv, bestS));
  fit.apexTime = float(bestT);
  return fit;
}

}  // namespace quv
