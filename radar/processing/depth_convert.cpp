// The velocity table's rules, the RMS velocities, the "VEL_" file and the
// conversion of one trace from time to depth.
#include "processing/depth_convert.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "processing/geometry.h"  // tableTokens
#include "project/display_settings_bytes.h"
#include "project/messages.h"
#include "project/units.h"

namespace quv {

void sortVelocityRows(std::vector<VelocityRow>& rows) {
  // Blank times are 2e38 and so sort last; only a strictly greater time
  // moves a row down, so rows of equal time keep their order.
  const size_t n = rows.size();
  for (size_t pass = 0; pass + 1 < n; ++pass) {
    bool swapped = false;
    for (size_t k = 0; k + 1 < n - pass; ++k)
      if (rows[k].time > rows[k + 1].time) {
        std::swap(rows[k], rows[k + 1]);
        swapped = true;
      }
    if (!swapped) break;
  }
}

const char* velocityRowsFault(const std::vector<VelocityRow>& rows) {
  for (const VelocityRow& r : rows) {
    if (isBlankCell(r.time) || isBlankCell(r.velocity)) return kMsgBlankValuesAreNotAllowed;
    if (r.time < 0) return kMsgNegativeTimeValuesAreNotAllowed;
    if (!(r.velocity > 0)) return kMsgOnlyPositiveVelocityValuesAreAllowed;
  }
  return nullptr;
}

std::string formatVelocityTable(const std::vector<VelocityRow>& rows) {
  std::string out = "/ Time Velocity\n";
  char line[96];
  for (const VelocityRow& r : rows) {
    if (isBlankCell(r.time) || isBlankCell(r.velocity)) continue;
    std::snprintf(line, sizeof line, "%.2f %.3f\n", r.time, r.velocity);
    out += line;
  }
  return out;
}

std::vector<VelocityRow> parseVelocityTable(const std::string& text) {
  std::vector<VelocityRow> rows;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] == '/' || line[i] == '\r') continue;
    VelocityRow r;
    std::sscanf(line.c_str() + i, "%f %f", &r.time, &r.velocity);
    rows.push_back(r);
  }
  return rows;
}

std::vector<VelocityRow> importVelocityTable(const std::string& text, int timeColumn,
                                             int velocityColumn) {
  std::vector<VelocityRow> rows;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const std::vector<std::string> t = tableTokens(line);
    if (t.empty()) continue;
    auto at = [&](int column) {
      return column >= 1 && column <= (int)t.size() ? std::atof(t[(size_t)column - 1].c_str()) : 0.0;
    };
    const double time = at(timeColumn), velocity = at(velocityColumn);
    // Time 0 is a layer of no thickness: an import leaves it out.
    if (!(time > 0) || !(velocity > 0)) continue;
    rows.push_back({static_cast<float>(time), static_cast<float>(velocity)});
  }
  return rows;
}

void rmsVelocities(const std::vector<VelocityRow>& rows, const float* times, int M, float* out) {
  const size_t R = rows.size();
  if (R == 0) {
    std::fill(out, out + std::max(M, 0), 0.0f);
    return;
  }
  // S: the sum of V_r^2 x thickness of the layers above the current one,
  // P: the current layer's top; r only grows along the ascending times.
  double S = 0, P = 0;
  size_t r = 0;
  for (int j = 0; j < M; ++j) {
    const double t = times[j];
    while (t > rows[r].time && r + 1 < R) {
      const double V = rows[r].velocity;
      S += V * V * (rows[r].time - P);
      P = rows[r].time;
      ++r;
    }
    const double V = rows[r].velocity;
    out[j] = t == 0 ? static_cast<float>(V) : static_cast<float>(std::sqrt((S + V * V * (t - P)) / t));
  }
}

std::string encodeVelFile(const std::vector<float>& row, int traces, int stamp) {
  ByteWriter head, one;
  head.i32(stamp);
  for (float v : row) one.f32(v);
  std::string out = head.bytes();
  out.reserve(out.size() + one.bytes().size() * size_t(std::max(traces, 0)));
  for (int i = 0; i < traces; ++i) out += one.bytes();
  return out;
}

bool decodeVelFile(const std::string& bytes, int traces, int samples, std::vector<float>& out) {
  if (traces < 0 || samples < 0) return false;
  const uint64_t values = uint64_t(traces) * uint64_t(samples);
  if (bytes.size() < 4 || (bytes.size() - 4) != values * 4) return false;
  ByteReader r(bytes);
  int32_t stamp = 0;
  r.i32(stamp);
  std::vector<float> v(static_cast<size_t>(values));
  for (float& x : v)
    if (!r.f32(x)) return false;
  out = std::move(v);
  return true;
}

void velocitiesInFeet(std::vector<float>& velocities, float unitsPerFoot) {
  if (!isMetric(unitsPerFoot)) return;
  for (float& v : velocities) v = static_cast<float>(v * kFeetPerMetre);
}

DepthAxis depthAxis(const float* v, int traces, int M, float firstTime, float lastTime) {
  DepthAxis axis;
  if (traces <= 0 || M < 2) return axis;
  float vmin = v[0], vmax = v[M - 1];
  for (int i = 1; i < traces; ++i) {
    vmin = std::min(vmin, v[size_t(i) * M]);
    vmax = std::max(vmax, v[size_t(i) * M + M - 1]);
  }
  axis.z0 = firstTime > 0 ? vmin * firstTime * 0.5f : 0.0f;
  axis.dz = (vmax * lastTime * 0.5f - axis.z0) / float(M - 1);
  return axis;
}

void depthConvertTrace(const float* a, const float* v, const float* t, int M, DepthAxis axis,
                       float* d, float* out) {
  if (M <= 0) return;
  for (int j = 0; j < M; ++j) d[j] = v[j] * t[j] * 0.5f;
  const float last = d[M - 1];
  int c = -1;  // the input sample at or above the output depth; only grows
  float z = axis.z0;
  for (int k = 0; k < M; ++k, z += axis.dz) {
    while (c < M - 2 && d[c + 1] <= z) ++c;
    if (c >= 0 && z <= last) {
      const float span = d[c + 1] - d[c];
      // Only the last input depth repeated gives no span: z lies on it.
      const float f = span > 0 ? (z - d[c]) / span : 1.0f;
      out[k] = (1.0f - f) * a[c] + f * a[c + 1];
    } else {
      out[k] = 0.0f;
    }
  }
}

}  // namespace quv
