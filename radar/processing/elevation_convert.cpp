// The elevation table's rules (distances, imports, interpolation, math,
// the ".elv" text, "Z_" values) and the shifting of one trace.
#include "processing/elevation_convert.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "processing/geometry.h"  // tableTokens
#include "project/display_settings_bytes.h"
#include "project/profile.h"  // kMaxSamplesPerTrace

namespace quv {

std::vector<double> traceDistances(const std::vector<float>& e, const std::vector<float>& n) {
  const size_t N = std::min(e.size(), n.size());
  std::vector<double> d(N, 0.0);
  for (size_t i = 1; i < N; ++i)
    d[i] = d[i - 1] + std::hypot(double(e[i]) - e[i - 1], double(n[i]) - n[i - 1]);
  return d;
}

namespace {

// The integer part of x when it names one of N traces, else -1.
int traceIndex(double x, int N) {
  const double t = std::trunc(x);
  return std::isfinite(t) && t >= 0 && t < N ? static_cast<int>(t) : -1;
}

int nearestTrace(const ElevationLine& line, double east, double north, double radius) {
  int best = -1;
  double bestDistance = 0;
  const size_t N = std::min(line.easting.size(), line.northing.size());
  for (size_t i = 0; i < N; ++i) {
    const double d = std::hypot(double(line.easting[i]) - east, double(line.northing[i]) - north);
    if (d <= radius && (best < 0 || d < bestDistance)) best = (int)i, bestDistance = d;
  }
  return best;
}

}  // namespace

int importElevations(const std::string& text, ElevationImport mode, const int columns[3],
                     const ElevationLine& line, double radius, std::vector<float>& elevations) {
  const int N = (int)elevations.size();
  const double L = line.distance.empty() ? 0.0 : line.distance.back();
  const int valueColumn = columns[mode == ElevationImport::Coordinates ? 2 : 1];
  int stored = 0;
  std::istringstream in(text);
  std::string row;
  while (std::getline(in, row)) {
    const std::vector<std::string> t = tableTokens(row);
    if (t.empty()) continue;
    auto token = [&](int column) -> const char* {
      return column >= 1 && column <= (int)t.size() ? t[(size_t)column - 1].c_str() : "";
    };
    int index = -1;
    switch (mode) {
      case ElevationImport::Trace:
        index = traceIndex(std::strtod(token(columns[0]), nullptr), N + 1) - 1;
        break;
      case ElevationImport::Distance:
        // A line of no length has no place along it for a distance.
        if (L > 0) index = traceIndex(double(N - 1) * std::atof(token(columns[0])) / L + 0.5, N);
        break;
      case ElevationImport::Coordinates:
        index = nearestTrace(line, std::atof(token(columns[0])), std::atof(token(columns[1])), radius);
        break;
    }
    if (index < 0 || index >= N) continue;
    elevations[(size_t)index] = static_cast<float>(std::atof(token(valueColumn)));
    ++stored;
  }
  return stored;
}

void interpolateLinear(std::vector<float>& e) {
  int p = -1;
  for (int k = 0; k < (int)e.size(); ++k) {
    if (isBlankCell(e[k])) continue;
    if (p >= 0 && k > p + 1)
      for (int j = p + 1; j < k; ++j)
        e[j] = e[p] + (e[k] - e[p]) * float(j - p) / float(k - p);
    p = k;
  }
}

void interpolateSpline(std::vector<float>& e) {
  std::vector<double> x, y;
  for (size_t i = 0; i < e.size(); ++i)
    if (!isBlankCell(e[i])) x.push_back(double(i)), y.push_back(e[i]);
  const size_t n = x.size();
  if (n < 2) return;
  // Second derivatives of the spline with the end slopes fixed at 0 (the
  // standard tridiagonal system).
  std::vector<double> y2(n), u(n);
  y2[0] = -0.5;
  u[0] = (3.0 / (x[1] - x[0])) * ((y[1] - y[0]) / (x[1] - x[0]));
  for (size_t i = 1; i + 1 < n; ++i) {
    const double sig = (x[i] - x[i - 1]) / (x[i + 1] - x[i - 1]);
    const double p = sig * y2[i - 1] + 2.0;
    y2[i] = (sig - 1.0) / p;
    u[i] = (y[i + 1] - y[i]) / (x[i + 1] - x[i]) - (y[i] - y[i - 1]) / (x[i] - x[i - 1]);
    u[i] = (6.0 * u[i] / (x[i + 1] - x[i - 1]) - sig * u[i - 1]) / p;
  }
  const double qn = 0.5;
  const double un = (3.0 / (x[n - 1] - x[n - 2])) * (0.0 - (y[n - 1] - y[n - 2]) / (x[n - 1] - x[n - 2]));
  y2[n - 1] = (un - qn * u[n - 2]) / (qn * y2[n - 2] + 1.0);
  for (size_t k = n - 1; k-- > 0;) y2[k] = y2[k] * y2[k + 1] + u[k];

  for (size_t i = (size_t)x.front(); i < (size_t)x.back(); ++i) {
    if (!isBlankCell(e[i])) continue;
    const double at = double(i);
    size_t lo = 0, hi = n - 1;
    while (hi - lo > 1) {
      const size_t k = (hi + lo) / 2;
      (x[k] > at ? hi : lo) = k;
    }
    const double h = x[hi] - x[lo];
    const double a = (x[hi] - at) / h, b = (at - x[lo]) / h;
    e[i] = static_cast<float>(a * y[lo] + b * y[hi] +
                              ((a * a * a - a) * y2[lo] + (b * b * b - b) * y2[hi]) * h * h / 6.0);
  }
}

void elevationMath(std::vector<float>& e, bool multiply, float value) {
  for (float& z : e)
    if (!isBlankCell(z)) z = multiply ? value * z : value + z;
}

std::string formatElevationFile(const std::vector<float>& e, const ElevationLine& line) {
  std::string out = "/ Trace# Distance Easting Northing Elevation\n";
  char buf[256];
  for (size_t i = 0; i < e.size(); ++i) {
    if (isBlankCell(e[i])) continue;
    auto at = [](const auto& v, size_t k) { return k < v.size() ? double(v[k]) : 0.0; };
    std::snprintf(buf, sizeof buf, "%i %f %f %f %f\n", int(i + 1), at(line.distance, i),
                  at(line.easting, i), at(line.northing, i), double(e[i]));
    out += buf;
  }
  return out;
}

bool readElevationValues(const std::string& bytes, int traces, std::vector<float>& e) {
  ByteReader r(bytes);
  int32_t stamp = 0;
  e.assign((size_t)std::max(traces, 0), kBlankCell);
  if (!r.i32(stamp)) return false;
  for (float& z : e)
    if (!r.f32(z)) {
      z = kBlankCell;
      break;
    }
  return true;
}

PlanFault planElevation(const std::vector<float>& feet, float dz, int M, ElevationPlan& plan) {
  if (!(dz > 0) || !std::isfinite(dz)) return PlanFault::Increment;
  if (feet.empty()) return PlanFault::Blank;
  for (float z : feet)
    if (isBlankCell(z) || !std::isfinite(z)) return PlanFault::Blank;
  plan.emin = *std::min_element(feet.begin(), feet.end());
  plan.emax = *std::max_element(feet.begin(), feet.end());
  const float samples = (plan.emax - plan.emin) / dz + float(M);
  if (!(samples <= float(kMaxSamplesPerTrace)))
    return PlanFault::TooManySamples;
  plan.samples = static_cast<int>(samples);
  plan.shifts.resize(feet.size());
  for (size_t i = 0; i < feet.size(); ++i)
    plan.shifts[i] = std::clamp(static_cast<int>((plan.emax - feet[i]) / dz), 0,
                                std::max(plan.samples - M, 0));
  return PlanFault::None;
}

void shiftTrace(const float* in, int M, int shift, float* out, int Mout) {
  std::fill(out, out + Mout, 0.0f);
  const int count = std::clamp(Mout - shift, 0, M);
  if (shift >= 0 && count > 0) std::memcpy(out + shift, in, sizeof(float) * size_t(count));
}

}  // namespace quv
