// Positions from GPS, the pure part: the position file, thinning, placing
// traces between fixes, smoothing, and the map files.
#include "processing/positions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>

namespace quv {

namespace {

// Numbers in files never follow the locale.
std::string num(double v, int decimals) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("0");
}

}  // namespace

std::string formatPositionFile(const PositionRecord& r) {
  std::string out = "DELVAR positions 1\nepsg " + std::to_string(r.epsg) + "\norigin " +
                    num(r.originEasting, 3) + " " + num(r.originNorthing, 3) + "\nelevations " +
                    std::to_string(r.elevation.size()) + "\n";
  for (float e : r.elevation) out += num(e, 3) + "\n";
  return out;
}

bool parsePositionFile(const std::string& text, int traces, PositionRecord& r) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  std::string a, b, c, d;
  long count = -1;
  PositionRecord got;
  if (!(in >> a >> b >> c) || a != "DELVAR" || b != "positions" || c != "1") return false;
  if (!(in >> a >> got.epsg) || a != "epsg" || got.epsg < 0) return false;
  if (!(in >> a >> got.originEasting >> got.originNorthing) || a != "origin") return false;
  if (!(in >> a >> count) || a != "elevations" || (count != 0 && count != traces)) return false;
  got.elevation.reserve(size_t(count));
  for (long i = 0; i < count; ++i) {
    float e = 0;
    if (!(in >> e)) return false;
    got.elevation.push_back(e);
  }
  if (!std::isfinite(got.originEasting) || !std::isfinite(got.originNorthing)) return false;
  r = std::move(got);
  return true;
}

namespace {

// Douglas-Peucker over n points by a point's distance `distance(a, b, i)`
// from the run between the kept points a and b; the first and last kept.
template <class Distance>
std::vector<size_t> keepBeyond(size_t n, double tolerance, Distance distance) {
  if (n <= 2) {
    std::vector<size_t> all;
    for (size_t i = 0; i < n; ++i) all.push_back(i);
    return all;
  }
  std::vector<bool> keep(n, false);
  keep[0] = keep[n - 1] = true;
  // An explicit stack of ranges: a long line does not recurse deeply.
  std::vector<std::pair<size_t, size_t>> ranges = {{0, n - 1}};
  while (!ranges.empty()) {
    auto [a, b] = ranges.back();
    ranges.pop_back();
    double worst = -1;
    size_t at = a;
    for (size_t i = a + 1; i < b; ++i) {
      const double d = distance(a, b, i);
      if (d > worst) worst = d, at = i;
    }
    if (worst > tolerance) {
      keep[at] = true;
      ranges.push_back({a, at});
      ranges.push_back({at, b});
    }
  }
  std::vector<size_t> out;
  for (size_t i = 0; i < n; ++i)
    if (keep[i]) out.push_back(i);
  return out;
}

}  // namespace

std::vector<size_t> douglasPeucker(const std::vector<double>& x, const std::vector<double>& y, double tolerance) {
  return keepBeyond(std::min(x.size(), y.size()), tolerance, [&](size_t a, size_t b, size_t i) {
    const double dx = x[b] - x[a], dy = y[b] - y[a], len = std::hypot(dx, dy);
    return len > 0 ? std::fabs(dy * (x[i] - x[a]) - dx * (y[i] - y[a])) / len : std::hypot(x[i] - x[a], y[i] - y[a]);
  });
}

std::vector<GeoNode> thinFixesByTrace(const std::vector<GeoNode>& fixes, double tolerance) {
  std::vector<GeoNode> out;
  for (size_t k : keepBeyond(fixes.size(), tolerance, [&](size_t a, size_t b, size_t i) {
         const GeoNode &p = fixes[a], &q = fixes[b], &m = fixes[i];
         const double f = q.trace != p.trace ? double(m.trace - p.trace) / (q.trace - p.trace) : 0;
         return std::hypot(p.easting + f * (q.easting - p.easting) - m.easting,
                           p.northing + f * (q.northing - p.northing) - m.northing);
       }))
    out.push_back(fixes[k]);
  return out;
}

bool gpsLine(const std::vector<scrivel::sidecar::PlacedFix>& fixes, int traces, double originEasting,
             double originNorthing, double unitsPerMetre, double tolerance, GpsLine& out) {
  if (fixes.empty() || traces < 1) return false;
  std::vector<double> t, x, y, z;
  std::vector<double> zt;  // traces of the fixes with an elevation
  GpsLine line;
  for (const auto& f : fixes) {
    const int trace = std::clamp(f.trace - 1, 0, traces - 1);
    if (!t.empty() && trace <= t.back()) continue;
    t.push_back(trace);
    x.push_back((f.easting - originEasting) * unitsPerMetre);
    y.push_back((f.northing - originNorthing) * unitsPerMetre);
    line.fixes.push_back({trace, x.back(), y.back()});
    if (f.hasElevation) zt.push_back(trace), z.push_back(f.elevation);
  }
  for (size_t i = 1; i < t.size(); ++i) line.fixPath += std::hypot(x[i] - x[i - 1], y[i] - y[i - 1]);
  // Each trace lies between the fixes around it by its place among the traces between them.
  auto at = [](const std::vector<double>& tt, const std::vector<double>& v, double j) {
    if (j <= tt.front()) return v.front();
    if (j >= tt.back()) return v.back();
    const size_t k = size_t(std::upper_bound(tt.begin(), tt.end(), j) - tt.begin());
    const double f = (j - tt[k - 1]) / (tt[k] - tt[k - 1]);
    return v[k - 1] + (v[k] - v[k - 1]) * f;
  };
  line.easting.resize(size_t(traces));
  line.northing.resize(size_t(traces));
  for (int j = 0; j < traces; ++j) {
    line.easting[size_t(j)] = at(t, x, j);
    line.northing[size_t(j)] = at(t, y, j);
    if (!z.empty()) line.elevation.push_back(float(at(zt, z, j)));
  }
  const double span = t.back() - t.front();
  line.defaultTolerance = span > 0 ? line.fixPath / span / 10 : 0;
  if (tolerance <= 0) tolerance = line.defaultTolerance;
  if (t.front() > 0) line.nodes.push_back({0, x.front(), y.front()});
  for (size_t k : douglasPeucker(x, y, tolerance)) line.nodes.push_back({int(t[k]), x[k], y[k]});
  if (t.back() < traces - 1) line.nodes.push_back({traces - 1, x.back(), y.back()});
  if (line.nodes.size() < 2) line.nodes.push_back({traces - 1, x.back(), y.back()});
  if (line.nodes.size() == 2 && line.nodes[0].trace == line.nodes[1].trace) line.nodes[1].trace = traces - 1;
  out = std::move(line);
  return true;
}

std::vector<float> smoothValues(const std::vector<float>& values, int traces) {
  const int n = int(values.size()), half = std::max(0, traces) / 2;
  std::vector<float> out = values;
  if (half == 0) return out;
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(values[size_t(i)])) continue;
    double sum = 0;
    int count = 0;
    for (int k = std::max(0, i - half); k <= std::min(n - 1, i + half); ++k)
      if (std::isfinite(values[size_t(k)])) sum += values[size_t(k)], ++count;
    out[size_t(i)] = float(sum / count);
  }
  return out;
}

namespace {

std::string jsonText(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') out += '\\', out += char(c);
    else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else out += char(c);
  }
  return out + "\"";
}

std::string xmlText(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

std::string lowerExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

std::string joined(const std::vector<std::string>& v, const std::string& sep,
                   std::string (*quote)(const std::string&)) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) out += (i ? sep : "") + quote(v[i]);
  return out;
}

std::string geoJson(const std::vector<MapLine>& lines) {
  std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
  for (size_t l = 0; l < lines.size(); ++l) {
    const MapLine& m = lines[l];
    out += l ? ",\n" : "\n";
    out += "{\"type\":\"Feature\",\"properties\":{\"name\":" + jsonText(m.name) +
           ",\"traces\":" + std::to_string(m.lat.size()) + ",\"length\":" + num(m.length, 3) +
           ",\"versions\":[" + joined(m.versions, ",", jsonText) + "],\"epsg\":" + std::to_string(m.epsg) +
           "},\"geometry\":{\"type\":\"LineString\",\"coordinates\":[";
    for (size_t i = 0; i < m.lat.size(); ++i) {
      out += (i ? "," : "") + std::string("[") + num(m.lon[i], 9) + "," + num(m.lat[i], 9);
      if (!m.elevation.empty()) out += "," + num(m.elevation[i], 3);
      out += "]";
    }
    out += "]}}";
  }
  return out + "\n]}\n";
}

std::string kml(const std::vector<MapLine>& lines) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n";
  for (const MapLine& m : lines) {
    out += "<Placemark>\n<name>" + xmlText(m.name) + "</name>\n<ExtendedData>\n";
    auto data = [&](const char* key, const std::string& value) {
      out += std::string("<Data name=\"") + key + "\"><value>" + xmlText(value) + "</value></Data>\n";
    };
    data("traces", std::to_string(m.lat.size()));
    data("length", num(m.length, 3));
    data("versions", joined(m.versions, " ", [](const std::string& s) { return s; }));
    data("epsg", std::to_string(m.epsg));
    out += "</ExtendedData>\n<LineString>\n<tessellate>1</tessellate>\n<coordinates>\n";
    for (size_t i = 0; i < m.lat.size(); ++i)
      out += num(m.lon[i], 9) + "," + num(m.lat[i], 9) + (m.elevation.empty() ? "" : "," + num(m.elevation[i], 3)) + "\n";
    out += "</coordinates>\n</LineString>\n</Placemark>\n";
  }
  return out + "</Document>\n</kml>\n";
}

std::string csv(const std::vector<MapLine>& lines) {
  std::string out = "profile,trace,easting,northing,elevation,latitude,longitude\n";
  for (const MapLine& m : lines) {
    // A name with commas or quotes goes in quotes.
    std::string name = m.name;
    if (name.find_first_of(",\"") != std::string::npos) {
      std::string q = "\"";
      for (char c : name) q += c == '"' ? std::string("\"\"") : std::string(1, c);
      name = q + "\"";
    }
    for (size_t i = 0; i < m.lat.size(); ++i)
      out += name + "," + std::to_string(i + 1) + "," + num(m.easting[i], 3) + "," + num(m.northing[i], 3) + "," +
             (m.elevation.empty() ? "" : num(m.elevation[i], 3)) + "," + num(m.lat[i], 9) + "," + num(m.lon[i], 9) +
             "\n";
  }
  return out;
}

}  // namespace

std::string formatMapFile(const std::string& path, const std::vector<MapLine>& lines) {
  const std::string ext = lowerExtension(path);
  if (ext == "geojson" || ext == "json") return geoJson(lines);
  if (ext == "kml") return kml(lines);
  if (ext == "csv") return csv(lines);
  return "";
}

}  // namespace quv
