// Fitted velocities by profile, kept with the project in "FIT_" + the
// profile's file name beside its other files (renamed and deleted with
// them): "DELVAR fitted velocity 1" and the velocity on the next line.
#include "project/fitted_velocity.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "dv/file.h"
#include "project/profile.h"
#include "project/quv.h"

namespace quv {
namespace {

constexpr const char kHeading[] = "DELVAR fitted velocity 1";

std::string fileOf(const ProfileItem& item) {
  return item.fileName.empty() ? "" : dv::joinPath(projectDir(), "FIT_" + item.fileName);
}

}  // namespace

float fittedVelocity(const ProfileItem& item) {
  const std::string path = fileOf(item);
  std::string text;
  // The file is two short lines; anything larger is not one.
  if (path.empty() || dv::fileSize(path) > 256 || !dv::readWholeFile(path, text)) return 0.0f;
  float v = 0;
  if (text.rfind(kHeading, 0) != 0 || std::sscanf(text.c_str() + sizeof kHeading - 1, "%f", &v) != 1) return 0.0f;
  return std::isfinite(v) && v > 0 ? v : 0.0f;
}

void setFittedVelocity(const ProfileItem& item, float velocity) {
  const std::string path = fileOf(item);
  if (!(velocity > 0) || !std::isfinite(velocity) || path.empty()) return;
  char text[64];
  std::snprintf(text, sizeof text, "%s\n%.6g\n", kHeading, double(velocity));
  dv::writeFileAtomic(path, text);
}

}  // namespace quv
