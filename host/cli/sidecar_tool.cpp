#include "sidecar_tool.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <nlohmann/json.hpp>

#include "dv/system.h"
#include "scrivel/projection.h"
#include "scrivel/sidecar.h"

namespace sc = scrivel::sidecar;

namespace {

int failed(const std::string& why) {
  std::fprintf(stderr, "delvar-cli sidecar: %s\n", why.c_str());
  return 1;
}

}  // namespace

int runSidecar(int argc, char** argv) {
  dv::useCNumericLocale();
  if (argc < 3) {
    std::fprintf(stderr, "usage: delvar-cli sidecar FILE.{DZG,DZX,GPS,cor,top,xyz} [--epsg N]\n");
    return 2;
  }
  const std::string path = argv[2];
  int epsg = 0;
  for (int i = 3; i < argc; ++i) {
    const std::string a = argv[i];
    char* end = nullptr;
    if (a == "--epsg" && i + 1 < argc && (epsg = int(std::strtol(argv[i + 1], &end, 10)), *end == 0) && epsg > 0)
      ++i;
    else return failed("cannot use the argument \"" + a + "\" (--epsg takes a positive code)");
  }
  sc::Summary s = sc::readSidecarFile(path);
  if (!s.error.empty()) return failed(s.error);
  std::vector<sc::PlacedFix> placed;
  std::string error;
  int used = 0;
  if (!sc::placeFixes(s, epsg, placed, &used, error)) return failed(error);

  using Json = nlohmann::ordered_json;
  Json out;
  out["kind"] = sc::kindName(s.kind);
  Json fixes = Json::array();
  size_t next = 0;
  for (const sc::Fix& f : s.fixes) {
    Json j;
    j["trace"] = f.trace;
    const sc::PlacedFix* p = (f.hasPosition || f.hasProjected) && next < placed.size() ? &placed[next++] : nullptr;
    // Projected coordinates of an unknown system have no latitude and longitude.
    const bool located = p && (f.hasPosition || used > 0);
    j["lat"] = located ? Json(p->lat) : Json(nullptr);
    j["lon"] = located ? Json(p->lon) : Json(nullptr);
    j["elevation"] = f.hasElevation ? Json(f.elevation) : Json(nullptr);
    j["easting"] = p ? Json(p->easting) : Json(nullptr);
    j["northing"] = p ? Json(p->northing) : Json(nullptr);
    j["epsg"] = p && used > 0 ? Json(used) : Json(nullptr);
    // Markers place traces along the line, not on the map.
    if (f.hasDistance) j["distance"] = f.distance;
    fixes.push_back(std::move(j));
  }
  out["fixes"] = std::move(fixes);
  Json skipped = Json::object();
  for (const auto& [reason, count] : s.skipped()) skipped[reason] = count;
  out["skipped"] = std::move(skipped);
  std::printf("%s\n", out.dump(2).c_str());
  return 0;
}
