// RAMAC .cor: one record per marked trace, separated by tabs (or blanks):
// trace date time latitude N|S longitude E|W elevation M accuracy.
// Latitude and longitude are decimal degrees (DDMM.mmmm is taken too).
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "sidecar_internal.h"

namespace scrivel::sidecar {

Summary readRamacCor(const std::string& bytes) {
  Summary out;
  out.kind = Kind::RamacCor;
  for (std::string_view line : splitLines(bytes)) {
    std::istringstream in{std::string(line)};
    std::vector<std::string> w;
    for (std::string word; in >> word && w.size() < 12;) w.push_back(word);
    if (w.empty()) continue;
    char* end = nullptr;
    long trace = std::strtol(w[0].c_str(), &end, 10);
    Fix fix;
    if (w.size() < 7 || *end != 0 || trace < 1 || trace > 1000000000L ||
        !parseCoordinate(w[3], w[4], false, fix.lat) || !parseCoordinate(w[5], w[6], true, fix.lon)) {
      out.skips.push_back({0, kBadRecord});
      continue;
    }
    fix.trace = int(trace);
    fix.hasPosition = true;
    if (w.size() >= 8) {
      double e = std::strtod(w[7].c_str(), &end);
      fix.hasElevation = *end == 0 && std::isfinite(e);
      fix.elevation = fix.hasElevation ? e : 0;
    }
    out.fixes.push_back(fix);
  }
  return out;
}

}  // namespace scrivel::sidecar
