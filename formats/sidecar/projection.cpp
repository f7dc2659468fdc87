// PROJ transformations from EPSG:4326 in longitude-latitude order (so that
// callers need not care for the axis order each CRS declares).
#include "scrivel/projection.h"

#include <proj.h>

#include <algorithm>
#include <cmath>

#include "scrivel/sidecar.h"

namespace scrivel::sidecar {

int utmZoneEpsg(double lat, double lon) {
  double l = std::fmod(lon + 180.0, 360.0);
  if (l < 0) l += 360.0;
  int zone = std::min(60, int(l / 6.0) + 1);
  // Norway and Svalbard keep their own zone widths.
  if (lat >= 56 && lat < 64 && lon >= 3 && lon < 12) zone = 32;
  if (lat >= 72 && lat < 84) {
    if (lon >= 0 && lon < 9) zone = 31;
    else if (lon >= 9 && lon < 21) zone = 33;
    else if (lon >= 21 && lon < 33) zone = 35;
    else if (lon >= 33 && lon < 42) zone = 37;
  }
  return (lat >= 0 ? 32600 : 32700) + zone;
}

Projection::Projection(int epsg) : epsg_(epsg) {
  if (epsg <= 0 || epsg > 999999) {
    error_ = "EPSG code " + std::to_string(epsg) + " is not a code";
    return;
  }
  PJ_CONTEXT* ctx = proj_context_create();
  context_ = ctx;
  proj_log_level(ctx, PJ_LOG_NONE);
  std::string target = "EPSG:" + std::to_string(epsg);
  PJ* raw = proj_create_crs_to_crs(ctx, "EPSG:4326", target.c_str(), nullptr);
  PJ* norm = raw ? proj_normalize_for_visualization(ctx, raw) : nullptr;
  if (raw) proj_destroy(raw);
  if (!norm) {
    error_ = "EPSG code " + std::to_string(epsg) + " is not a coordinate system PROJ knows";
    return;
  }
  // Only projected systems give eastings and northings in metres.
  PJ* crs = proj_create(ctx, target.c_str());
  bool projected = crs && proj_get_type(crs) == PJ_TYPE_PROJECTED_CRS;
  if (crs) proj_destroy(crs);
  if (!projected) {
    proj_destroy(norm);
    error_ = "EPSG code " + std::to_string(epsg) + " is not a projected coordinate system";
    return;
  }
  forward_ = norm;
}

Projection::~Projection() {
  if (forward_) proj_destroy(static_cast<PJ*>(forward_));
  if (context_) proj_context_destroy(static_cast<PJ_CONTEXT*>(context_));
}

bool Projection::forward(double lat, double lon, double& easting, double& northing) const {
  if (!forward_) return false;
  PJ_COORD c = proj_trans(static_cast<PJ*>(forward_), PJ_FWD, proj_coord(lon, lat, 0, 0));
  if (!std::isfinite(c.xy.x) || !std::isfinite(c.xy.y) || c.xy.x == HUGE_VAL) return false;
  easting = c.xy.x;
  northing = c.xy.y;
  return true;
}

bool Projection::inverse(double easting, double northing, double& lat, double& lon) const {
  if (!forward_) return false;
  PJ_COORD c = proj_trans(static_cast<PJ*>(forward_), PJ_INV, proj_coord(easting, northing, 0, 0));
  if (!std::isfinite(c.lp.lam) || !std::isfinite(c.lp.phi) || c.lp.lam == HUGE_VAL) return false;
  lon = c.lp.lam;
  lat = c.lp.phi;
  return true;
}

bool placeFixes(const Summary& s, int epsg, std::vector<PlacedFix>& out, int* usedEpsg, std::string& error) {
  out.clear();
  const bool projected = std::any_of(s.fixes.begin(), s.fixes.end(), [](const Fix& f) { return f.hasProjected; });
  if (projected && s.epsg > 0 && epsg > 0 && epsg != s.epsg) {
    error = "its coordinates are in EPSG:" + std::to_string(s.epsg) + ", not EPSG:" + std::to_string(epsg);
    return false;
  }
  if (projected && s.epsg > 0) epsg = s.epsg;
  if (epsg == 0)
    for (const Fix& f : s.fixes)
      if (f.hasPosition) {
        epsg = utmZoneEpsg(f.lat, f.lon);
        break;
      }
  if (usedEpsg) *usedEpsg = epsg;
  // Projected coordinates of an unknown system are used as they are.
  std::unique_ptr<Projection> p;
  if (epsg > 0) {
    p = std::make_unique<Projection>(epsg);
    if (!p->valid()) {
      error = p->error();
      return false;
    }
  }
  for (const Fix& f : s.fixes) {
    PlacedFix pf{f.trace, f.lat, f.lon, f.hasElevation, f.elevation, f.easting, f.northing};
    bool ok = true;
    if (f.hasPosition && p) ok = p->forward(f.lat, f.lon, pf.easting, pf.northing);
    else if (f.hasProjected && p) ok = p->inverse(f.easting, f.northing, pf.lat, pf.lon);
    else if (!f.hasProjected) continue;
    if (!ok) {
      error = "trace " + std::to_string(f.trace) + " cannot be projected to EPSG:" + std::to_string(epsg);
      return false;
    }
    out.push_back(pf);
  }
  return true;
}

}  // namespace scrivel::sidecar
