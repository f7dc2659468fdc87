// Latitude and longitude (WGS 84) to a projected coordinate system and back,
// through PROJ: a UTM zone (EPSG 326zz north, 327zz south) or any projected
// EPSG code. Coordinates come out in metres; callers convert to their units.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace scrivel::sidecar {

// The EPSG code of the WGS 84 UTM zone that holds the point.
int utmZoneEpsg(double lat, double lon);

class Projection {
 public:
  // An unusable code leaves the projection invalid with the reason in error().
  explicit Projection(int epsg);
  ~Projection();
  Projection(const Projection&) = delete;
  Projection& operator=(const Projection&) = delete;

  bool valid() const { return forward_ != nullptr; }
  const std::string& error() const { return error_; }
  int epsg() const { return epsg_; }
  // Degrees to easting/northing in metres (false where PROJ cannot).
  bool forward(double lat, double lon, double& easting, double& northing) const;
  bool inverse(double easting, double northing, double& lat, double& lon) const;

 private:
  int epsg_ = 0;
  void* context_ = nullptr;
  void* forward_ = nullptr;
  std::string error_;
};

struct Summary;

// A fix with its projected position (metres).
struct PlacedFix {
  int trace = 0;
  double lat = 0, lon = 0;
  bool hasElevation = false;
  double elevation = 0;
  double easting = 0, northing = 0;
};
// The positioned fixes of a summary projected to epsg (0: the UTM zone of the
// first positioned fix); the code used in *usedEpsg. False with the reason
// when the code is unusable or a fix cannot be projected. Projected fixes
// (TOP, TOPO, XYZ) keep their coordinates: their system is the summary's
// code, else epsg (the user's word for it), else unknown (0, latitude and
// longitude left 0); a code other than the summary's is refused.
bool placeFixes(const Summary& s, int epsg, std::vector<PlacedFix>& out, int* usedEpsg, std::string& error);

}  // namespace scrivel::sidecar
