// Latitude and longitude (WGS 84) to a projected coordinate system and back,
// through PROJ: a UTM zone (EPSG 326zz north, 327zz south) or any projected
// EPSG code. Coordinates come out in metres; callers convert to their units.
#pragma once

#include <memory>
#include <string>

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

}  // namespace scrivel::sidecar
