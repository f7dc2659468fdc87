// The rules of the marker table: its file, sorting and trace limits,
// interpolation of blank markers, coordinates along a straight line, and
// what OK and Export refuse.
#include "processing/markers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "project/messages.h"

namespace quv {

std::string formatMarkerFile(const std::vector<Marker>& markers) {
  // The layout of the complex-geometry file, line for line.
  return formatCogFile(markers);
}

std::string formatMarkerFile(const std::vector<Marker>& markers, const MarkerReference& ref) {
  std::string text = formatCogFile(markers);
  if (ref.epsg <= 0) return text;
  const size_t heading = text.find('\n');
  char line[96];
  std::snprintf(line, sizeof line, "/ GPS EPSG:%d origin %.3f %.3f\n", ref.epsg, ref.originEasting,
                ref.originNorthing);
  return text.insert(heading == std::string::npos ? text.size() : heading + 1, line);
}

bool parseMarkerReference(const std::string& text, MarkerReference& ref) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    MarkerReference r;
    if (std::sscanf(line.c_str(), " / GPS EPSG:%d origin %lf %lf", &r.epsg, &r.originEasting, &r.originNorthing) ==
            3 &&
        r.epsg > 0 && std::isfinite(r.originEasting) && std::isfinite(r.originNorthing))
      return ref = r, true;
  }
  return false;
}

std::vector<Marker> parseMarkerFile(const std::string& text) {
  std::vector<Marker> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    const size_t b = line.find_first_not_of(" \t\r\n\v\f");
    if (b == std::string::npos || line[b] == '/') continue;
    int trace = 0;
    float e = 0, n = 0;
    if (std::sscanf(line.c_str() + b, "%d %f %f", &trace, &e, &n) != 3) continue;
    // A trace of INT_MIN would turn over when counted from 0.
    out.push_back({trace > INT32_MIN ? trace - 1 : trace, e, n});
  }
  return out;
}

void sortMarkers(std::vector<Marker>& markers) {
  std::stable_sort(markers.begin(), markers.end(),
                   [](const Marker& a, const Marker& b) { return a.trace < b.trace; });
}

int limitMarkerTrace(long long index, int traces, bool& limited) {
  const long long last = std::max(traces - 1, 0);
  limited = index < 0 || index > last;
  return static_cast<int>(std::clamp(index, 0LL, last));
}

void interpolateMarkers(std::vector<Marker>& markers) {
  const size_t n = markers.size();
  for (size_t k = 0; k < n; ++k) {
    if (!isBlankMarker(markers[k])) continue;
    size_t before = k, after = k;
    while (before > 0 && isBlankMarker(markers[before - 1])) --before;
    while (after + 1 < n && isBlankMarker(markers[after + 1])) ++after;
    if (before == 0 || after + 1 >= n) continue;
    const Marker& a = markers[before - 1];
    const Marker& b = markers[after + 1];
    const double span = double(b.trace) - a.trace;
    const double f = span != 0 ? (double(markers[k].trace) - a.trace) / span : 0.0;
    markers[k].easting = a.easting + f * (b.easting - a.easting);
    markers[k].northing = a.northing + f * (b.northing - a.northing);
  }
}

void populateMarkers(std::vector<Marker>& markers, double easting, double northing,
                     double increment, double angle) {
  if (markers.empty()) return;
  const double a = angle * 3.14159265358979323846 / 180.0;
  const int first = markers.front().trace;
  for (Marker& m : markers) {
    const double d = (double(m.trace) - first) * increment;
    m.easting = easting + d * std::sin(a);
    m.northing = northing + d * std::cos(a);
  }
}

static bool neighboursOnOneTrace(const std::vector<Marker>& markers) {
  for (size_t k = 0; k + 1 < markers.size(); ++k)
    if (markers[k].trace == markers[k + 1].trace) return true;
  return false;
}

std::string markerTableRefusal(const std::vector<Marker>& markers) {
  for (const Marker& m : markers)
    if (isBlankMarker(m)) return kMsgBlankValuesAreNotAllowed;
  if (neighboursOnOneTrace(markers)) return kMsgMarkersWithSameTraceValue;
  if (markers.size() < 3) return kMsgMustHaveAtLeast3Markers;
  return "";
}

std::string markerExportRefusal(const std::vector<Marker>& markers) {
  if (markers.size() < 3) return kMsgCannotExportLessThan3Markers;
  if (neighboursOnOneTrace(markers)) return kMsgMarkersWithSameTraceValue;
  return "";
}

}  // namespace quv
