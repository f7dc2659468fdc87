// The arithmetic of profile geometry and its two text files: segment values,
// azimuths, unit names, the coordinates of straight and complex lines, and
// the ".geo" and ".cog" layouts.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "processing/geometry.h"
#include "project/units.h"

namespace quv {

namespace {
constexpr double kDegrees = 180.0 / 3.14159265358979323846;
}

// --- segments -----------------------------------------------------------------------

SegmentValues segmentValues(const GeoNode& s, const GeoNode& e) {
  SegmentValues v;
  const double dE = e.easting - s.easting, dN = e.northing - s.northing;
  v.distance = std::sqrt(dE * dE + dN * dN);
  v.increment = e.trace != s.trace ? v.distance / (e.trace - s.trace) : 0.0;
  double a = dN != 0 ? std::atan(dE / dN) * kDegrees : (dE >= 0 ? 90.0 : -90.0);
  if (dN < 0) a += 180.0;
  if (a > 180.0) a -= 360.0;
  v.angle = a;
  return v;
}

double normalizeAngle(double a) {
  if (!std::isfinite(a)) return 0;
  // Whole turns first, so a huge value does not take a turn at a time.
  if (a > 180.0 || a <= -180.0) a = std::fmod(a, 360.0);
  while (a > 180.0) a -= 360.0;
  while (a <= -180.0) a += 360.0;
  return a;
}

bool typedNumber(const std::string& text, double& value) {
  const char* s = text.c_str();
  char* end = nullptr;
  const double v = std::strtod(s, &end);
  if (end == s) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end || !std::isfinite(v)) return false;
  value = v;
  return true;
}

std::string unitsName(float u) { return unitName(u); }

bool unitsFactor(const std::string& text, float& u) {
  if (text == "cm") u = kUnitsPerFootCm;
  else if (text == "ft") u = kUnitsPerFootFt;
  else if (text == "in") u = kUnitsPerFootIn;
  else if (text == "m") u = kUnitsPerFootM;
  else return false;
  return true;
}

// --- coordinates --------------------------------------------------------------------

namespace {

struct Slope {
  float east = 0, north = 0;
};

Slope slopeOf(const GeoNode& a, const GeoNode& b) {
  Slope s;
  if (b.trace == a.trace) return s;
  const float dt = static_cast<float>(b.trace - a.trace);
  s.east = (static_cast<float>(b.easting) - static_cast<float>(a.easting)) / dt;
  s.north = (static_cast<float>(b.northing) - static_cast<float>(a.northing)) / dt;
  return s;
}

// Fills traces [from, to) starting at (e, n) and adding the slope per trace;
// indexes outside 0..N-1 are never written.
void run(std::vector<float>& E, std::vector<float>& N, int from, int to, float e, float n,
         Slope s) {
  const int count = static_cast<int>(E.size());
  for (int i = from; i < to; ++i) {
    if (i >= 0 && i < count) E[(size_t)i] = e, N[(size_t)i] = n;
    e += s.east;
    n += s.north;
  }
}

}  // namespace

void straightLineXY(int traces, const GeoNode& s, const GeoNode& e, std::vector<float>& easting,
                    std::vector<float>& northing) {
  const int n = std::max(traces, 0);
  easting.assign((size_t)n, 0.0f);
  northing.assign((size_t)n, 0.0f);
  const Slope k = slopeOf(s, e);
  const float t = static_cast<float>(s.trace);
  run(easting, northing, 0, n, static_cast<float>(s.easting) - t * k.east,
      static_cast<float>(s.northing) - t * k.north, k);
}

std::vector<GeoNode> complexGeoNodes(int traces, const std::vector<GeoNode>& nodes) {
  std::vector<GeoNode> out;
  if (nodes.size() < 2) return nodes;
  const GeoNode& first = nodes.front();
  const GeoNode& last = nodes.back();
  if (first.trace != 0) {
    const Slope k = slopeOf(nodes[0], nodes[1]);
    const float t = static_cast<float>(first.trace);
    out.push_back({0, static_cast<float>(first.easting) - t * k.east,
                   static_cast<float>(first.northing) - t * k.north});
  }
  out.insert(out.end(), nodes.begin(), nodes.end());
  if (last.trace != traces - 1) {
    const Slope k = slopeOf(nodes[nodes.size() - 2], last);
    const float t = static_cast<float>(traces - 1 - last.trace);
    out.push_back({traces - 1, static_cast<float>(last.easting) + t * k.east,
                   static_cast<float>(last.northing) + t * k.north});
  }
  return out;
}

void complexLineXY(int traces, const std::vector<GeoNode>& nodes, std::vector<float>& easting,
                   std::vector<float>& northing) {
  const int n = std::max(traces, 0);
  easting.assign((size_t)n, 0.0f);
  northing.assign((size_t)n, 0.0f);
  if (nodes.empty()) return;
  if (nodes.size() == 1) {
    run(easting, northing, 0, n, (float)nodes[0].easting, (float)nodes[0].northing, {});
    return;
  }
  const GeoNode& first = nodes.front();
  const Slope k0 = slopeOf(nodes[0], nodes[1]);
  const float t0 = static_cast<float>(first.trace);
  run(easting, northing, 0, std::min(first.trace, n), (float)first.easting - t0 * k0.east,
      (float)first.northing - t0 * k0.north, k0);
  for (size_t k = 0; k + 1 < nodes.size(); ++k)
    run(easting, northing, nodes[k].trace, nodes[k + 1].trace, (float)nodes[k].easting,
        (float)nodes[k].northing, slopeOf(nodes[k], nodes[k + 1]));
  const GeoNode& last = nodes.back();
  run(easting, northing, last.trace, n, (float)last.easting, (float)last.northing,
      slopeOf(nodes[nodes.size() - 2], last));
}

GeometryLine geometryLine(std::string name, int traces, float unitsPerFoot,
                          const std::vector<int>& nodeTrace, const std::vector<float>& nodeEasting,
                          const std::vector<float>& nodeNorthing) {
  GeometryLine l;
  l.name = std::move(name);
  l.traces = traces;
  l.unitsPerFoot = unitsPerFoot;
  const size_t k = std::min({nodeTrace.size(), nodeEasting.size(), nodeNorthing.size()});
  for (size_t i = 0; i < k; ++i) l.nodes.push_back({nodeTrace[i], nodeEasting[i], nodeNorthing[i]});
  const int last = std::max(traces - 1, 0);
  if (l.nodes.empty()) l.nodes.push_back({0, 0, 0});
  if (l.nodes.size() == 1) l.nodes.push_back({last, l.nodes[0].easting, l.nodes[0].northing});
  return l;
}

// --- text files -----------------------------------------------------------------------

std::string formatGeoFile(const std::vector<GeoFileLine>& lines) {
  std::string out = "/ Profile,Start_Easting,Start_Northing,End_Easting,End_Northing\n";
  for (const GeoFileLine& l : lines) {
    std::vector<char> buf(l.name.size() + 256);
    std::snprintf(buf.data(), buf.size(), "\"%s\",%.2f,%.2f,%.2f,%.2f\n", l.name.c_str(),
                  l.startEasting, l.startNorthing, l.endEasting, l.endNorthing);
    out += buf.data();
  }
  return out;
}

static std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

bool parseGeoLine(const std::string& line, GeoFileLine& out) {
  if (line.empty()) return false;
  std::vector<char> name(line.size() + 1, 0);
  float v[4];
  char format[48];
  std::snprintf(format, sizeof format, "%%%zu[^,],%%f,%%f,%%f,%%f", line.size());
  if (std::sscanf(line.c_str(), format, name.data(), &v[0], &v[1], &v[2], &v[3]) != 5) return false;
  // The export puts the name in double quotes; profile names never hold one.
  std::string n = trimmed(name.data());
  n.erase(std::remove(n.begin(), n.end(), '"'), n.end());
  out.name = trimmed(n);
  out.startEasting = v[0], out.startNorthing = v[1], out.endEasting = v[2], out.endNorthing = v[3];
  return true;
}

std::string formatCogFile(const std::vector<GeoNode>& nodes) {
  std::string out = "/ Trace# Easting Northing\n";
  for (const GeoNode& n : nodes) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "%i %.2f %.2f\n", n.trace + 1, n.easting, n.northing);
    out += buf;
  }
  return out;
}

std::vector<std::string> tableTokens(const std::string& line) {
  std::vector<std::string> tokens;
  size_t i = line.find_first_not_of(" \t");
  if (i == std::string::npos || line[i] == '/' || line[i] == '\r' || line[i] == '\n') return tokens;
  while (tokens.size() < 10) {
    i = line.find_first_not_of(" \t\r\n\v\f", i);
    if (i == std::string::npos) break;
    size_t e = line.find_first_of(" \t\r\n\v\f", i);
    if (e == std::string::npos) e = line.size();
    tokens.push_back(line.substr(i, std::min<size_t>(e - i, 31)));
    i = e;
  }
  return tokens;
}

static bool number(const std::string& token, double& out) {
  char* end = nullptr;
  out = std::strtod(token.c_str(), &end);
  return end != token.c_str() && std::isfinite(out);
}

std::vector<GeoNode> parseCogText(const std::string& text, int traceColumn, int eastingColumn,
                                  int northingColumn) {
  std::vector<GeoNode> nodes;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> t = tableTokens(line);
    if (t.empty()) continue;
    double trace, east, north;
    auto at = [&](int column, double& v) {
      return column >= 1 && column <= (int)t.size() && number(t[(size_t)column - 1], v);
    };
    if (!at(traceColumn, trace) || !at(eastingColumn, east) || !at(northingColumn, north)) continue;
    const double index = std::clamp(trace, -1e9, 1e9) - 1;
    nodes.push_back({static_cast<int>(index), east, north});
  }
  return nodes;
}

}  // namespace quv
