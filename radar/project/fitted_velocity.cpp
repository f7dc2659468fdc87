// Fitted velocities by profile: keyed by the profile's "GEO_" path, which
// names one profile of one project (an item's address could be reused by
// a profile opened later).
#include "project/fitted_velocity.h"

#include <map>
#include <string>

#include "project/profile.h"

namespace quv {
namespace {

std::map<std::string, float>& fitted() {
  static std::map<std::string, float> velocities;
  return velocities;
}

std::string keyOf(const ProfileItem& item) { return item.header ? item.header->geoPath : item.fileName; }

}  // namespace

float fittedVelocity(const ProfileItem& item) {
  auto at = fitted().find(keyOf(item));
  return at == fitted().end() ? 0.0f : at->second;
}

void setFittedVelocity(const ProfileItem& item, float velocity) {
  if (velocity > 0) fitted()[keyOf(item)] = velocity;
}

}  // namespace quv
