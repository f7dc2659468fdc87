// GSSI .DZX: an XML marker file. The waypoints of its profile are
// <WayPt><scan>N</scan><localCoords>X, Y, Z</localCoords></WayPt>, scans
// counted from 0, X the distance along the line in the file's
// horizontalUnit. A plain scan for those elements is enough: nothing else of
// the file (binary macro blobs among it) is needed.
#include <cmath>
#include <cstdlib>

#include "sidecar_internal.h"

namespace scrivel::sidecar {

namespace {

// The text of the first <tag>...</tag> in [from, to), "" when there is none.
bool element(std::string_view text, std::string_view tag, std::string& out) {
  std::string open = "<" + std::string(tag) + ">", close = "</" + std::string(tag) + ">";
  size_t a = text.find(open);
  if (a == std::string_view::npos) return false;
  a += open.size();
  size_t b = text.find(close, a);
  if (b == std::string_view::npos) return false;
  out = trim(text.substr(a, b - a));
  return true;
}

}  // namespace

Summary readDzx(const std::string& bytes) {
  Summary out;
  out.kind = Kind::Dzx;
  std::string_view text(bytes);
  for (size_t at = text.find("<WayPt>"); at != std::string_view::npos; at = text.find("<WayPt>", at + 1)) {
    size_t end = text.find("</WayPt>", at);
    std::string_view one = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    std::string scan, coords;
    char* stop = nullptr;
    long s = element(one, "scan", scan) ? std::strtol(scan.c_str(), &stop, 10) : -1;
    if (s < 0 || s > 1000000000L || !stop || *stop != 0 || !element(one, "localCoords", coords)) {
      out.skips.push_back({0, kBadRecord});
      continue;
    }
    double x = std::strtod(coords.c_str(), &stop);
    if (stop == coords.c_str() || !std::isfinite(x)) {
      out.skips.push_back({int(s + 1), kBadRecord});
      continue;
    }
    Fix fix;
    fix.trace = int(s + 1);
    fix.hasDistance = true;
    fix.distance = x;
    out.fixes.push_back(fix);
  }
  return out;
}

}  // namespace scrivel::sidecar
