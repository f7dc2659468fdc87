// Coordinate files other tools write beside a recording (TOP, TOPO, XYZ,
// FID: rows of numbers under an optional header naming the columns) and
// the workbench's own FIX file of fixes keyed by trace number.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "sidecar_internal.h"

namespace scrivel::sidecar {

namespace {

// The fields of a row: separated by commas, tabs or blanks.
std::vector<std::string> fieldsOf(std::string_view line) {
  std::vector<std::string> out;
  const char* seps = line.find(',') != std::string_view::npos ? "," : line.find('\t') != std::string_view::npos ? "\t" : " ";
  size_t start = 0;
  while (out.size() < 64) {
    const size_t end = line.find_first_of(seps, start);
    out.push_back(trim(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start)));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (std::string(seps) == " ")  // runs of blanks part one field from the next
    std::erase(out, std::string());
  return out;
}

bool number(const std::string& s, double& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtod(s.c_str(), &end);
  return *end == 0 && std::isfinite(v);
}

std::string upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

enum Column { kNone, kEast, kNorth, kZ, kTrace, kDistance };

Column columnNamed(const std::string& name) {
  const std::string n = upper(name);
  if (n == "E" || n == "X" || n == "EASTING" || n == "EAST") return kEast;
  if (n == "N" || n == "Y" || n == "NORTHING" || n == "NORTH") return kNorth;
  if (n == "Z" || n == "H" || n == "ELEVATION" || n == "ELEV") return kZ;
  if (n == "TRACE" || n == "TRACE#") return kTrace;
  if (n == "POSITION" || n == "DISTANCE") return kDistance;
  return kNone;
}

std::vector<Column> defaultColumns(Kind kind) {
  switch (kind) {
    case Kind::Top: return {kNorth, kEast, kZ};
    case Kind::Fid: return {kTrace, kDistance};
    default: return {kEast, kNorth, kZ};  // TOPO, XYZ
  }
}

bool allNumbers(const std::vector<std::string>& f) {
  double v = 0;
  for (const std::string& s : f)
    if (!number(s, v)) return false;
  return !f.empty();
}

std::string text(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);  // the shortest text that reads back the same
  return std::string(buf, r.ptr);
}

}  // namespace

Kind tableKindOf(const std::string& head) {
  const std::string first(head.substr(0, head.find_first_of("\r\n")));
  const std::vector<std::string> f = fieldsOf(first);
  if (f.size() >= 2 && upper(f[0]) == "TRACE" && upper(f[1]) == "POSITION") return Kind::Fid;
  if (f.size() < 3) return Kind::Unknown;
  const bool commas = first.find(',') != std::string::npos;
  if (commas && allNumbers({f[0], f[1], f[2]})) return Kind::Xyz;
  const std::string names = upper(f[0] + f[1] + f[2]);
  if (names == "NEZ" && commas) return Kind::Top;
  if (names == "ENZ") return Kind::Topo;
  if (names == "XYZ") return Kind::Xyz;
  return Kind::Unknown;
}

Summary readTable(Kind kind, const std::string& bytes, int traceCount) {
  Summary out;
  out.kind = kind;
  std::vector<std::string_view> lines = splitLines(bytes);
  std::vector<Column> cols = defaultColumns(kind);
  size_t first = 0;
  // A header names the columns (in any order).
  if (!lines.empty() && !allNumbers(fieldsOf(lines[0]))) {
    cols.clear();
    for (const std::string& name : fieldsOf(lines[0])) cols.push_back(columnNamed(name));
    first = 1;
  }
  auto has = [&](Column c) { return std::find(cols.begin(), cols.end(), c) != cols.end(); };
  const bool markers = kind == Kind::Fid;
  if (markers ? !has(kTrace) || !has(kDistance) : !has(kEast) || !has(kNorth)) {
    out.error = std::string("the first line of a ") + kindName(kind) + " file does not name its columns";
    return out;
  }
  const size_t rows = lines.size() - first;
  for (size_t r = 0; r < rows; ++r) {
    const std::vector<std::string> f = fieldsOf(lines[first + r]);
    Fix fix;
    // One row per trace, or for XYZ rows spread evenly along the traces.
    fix.trace = kind == Kind::Xyz && traceCount > 1 && rows > 1
                    ? 1 + int(std::lround(double(r) * (traceCount - 1) / double(rows - 1)))
                    : int(std::min<size_t>(r + 1, 1000000000));
    bool ok = true, east = false, north = false;
    for (size_t c = 0; c < cols.size() && ok; ++c) {
      if (cols[c] == kNone) continue;
      double v = 0;
      const bool read = c < f.size() && number(f[c], v);
      switch (cols[c]) {
        case kEast: ok = east = read, fix.easting = v; break;
        case kNorth: ok = north = read, fix.northing = v; break;
        case kZ: fix.hasElevation = read, fix.elevation = read ? v : 0; break;
        case kTrace: ok = read && v >= 1 && v <= 1e9 && v == std::floor(v), fix.trace = ok ? int(v) : 0; break;
        case kDistance: ok = fix.hasDistance = read, fix.distance = v; break;
        default: break;
      }
    }
    if (!ok) {
      out.skips.push_back({0, kBadRecord});
      continue;
    }
    fix.hasProjected = east && north;
    out.fixes.push_back(fix);
  }
  return out;
}

std::string formatFixFile(const Summary& s) {
  std::string out = "DELVAR fixes 1\nkind " + std::string(kindName(s.kind)) + "\nepsg " + std::to_string(s.epsg) + "\n";
  for (const auto& [reason, count] : s.skipped()) out += "skipped " + std::to_string(count) + " " + reason + "\n";
  auto value = [](bool has, double v) { return has ? text(v) : std::string("-"); };
  for (const Fix& f : s.fixes)
    out += "fix " + std::to_string(f.trace) + " " + value(f.hasPosition, f.lat) + " " + value(f.hasPosition, f.lon) +
           " " + value(f.hasElevation, f.elevation) + " " + value(f.hasProjected, f.easting) + " " +
           value(f.hasProjected, f.northing) + " " + value(f.hasDistance, f.distance) + "\n";
  return out;
}

Summary readFixFile(const std::string& bytes) {
  Summary out;
  out.kind = Kind::Fixes;
  std::vector<std::string_view> lines = splitLines(bytes);
  if (lines.empty() || trim(lines[0]) != "DELVAR fixes 1") {
    out.error = "not a file of fixes (\"DELVAR fixes 1\")";
    return out;
  }
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string line = trim(lines[i]);
    const size_t gap = line.find(' ');
    const std::string key = line.substr(0, gap), rest = gap == std::string::npos ? "" : trim(line.substr(gap + 1));
    double v = 0;
    if (key == "kind") {
      for (Kind k : {Kind::Dzg, Kind::PekkoGps, Kind::RamacCor, Kind::Dzx, Kind::Top, Kind::Topo, Kind::Xyz, Kind::Fid})
        if (rest == kindName(k)) out.kind = k;
    } else if (key == "epsg" && number(rest, v) && v >= 0 && v < 1e9) {
      out.epsg = int(v);
    } else if (key == "skipped" && rest.find(' ') != std::string::npos &&
               number(rest.substr(0, rest.find(' ')), v) && v >= 0 && v < 1e9) {
      int& n = out.carried[rest.substr(rest.find(' ') + 1)];
      n = int(std::min(1e9, n + v));
    } else if (key == "fix") {
      const std::vector<std::string> f = fieldsOf(rest);
      double t = 0, lat = 0, lon = 0;
      Fix fix;
      auto take = [&](size_t k, bool& has, double& to) {
        has = f[k] != "-";
        return !has || number(f[k], to);
      };
      bool latOk = false, lonOk = false, east = false, north = false;
      if (f.size() != 7 || !number(f[0], t) || t < 1 || t > 1e9 || !take(1, latOk, lat) || !take(2, lonOk, lon) ||
          latOk != lonOk || std::fabs(lat) > 90 || std::fabs(lon) > 180 || !take(3, fix.hasElevation, fix.elevation) ||
          !take(4, east, fix.easting) || !take(5, north, fix.northing) || east != north ||
          !take(6, fix.hasDistance, fix.distance)) {
        out.skips.push_back({0, kBadRecord});
        continue;
      }
      fix.trace = int(t);
      fix.hasPosition = latOk, fix.lat = lat, fix.lon = lon;
      fix.hasProjected = east;
      out.fixes.push_back(fix);
    } else {
      out.skips.push_back({0, kBadRecord});
    }
  }
  return out;
}

}  // namespace scrivel::sidecar
