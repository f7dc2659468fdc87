// Distance units of a profile. A profile keeps one units-per-foot factor,
// the number of its distance units in one foot: 30.48 "cm", 1.0 "ft",
// 12.0 "in", 0.3048 "m". Depth and elevation versions hold their vertical
// values in feet and velocities in feet per nanosecond; what is shown to
// the user converts with these constants.
#pragma once

namespace quv {

constexpr double kFeetPerMetre = 3.2808399;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kInchesPerMetre = 39.370079;
constexpr double kInchesPerFoot = 12.0;

// The units-per-foot factors of the four unit names.
constexpr float kUnitsPerFootCm = 30.48f;
constexpr float kUnitsPerFootFt = 1.0f;
constexpr float kUnitsPerFootIn = 12.0f;
constexpr float kUnitsPerFootM = 0.3048f;

// The factor Create Profile multiplies the default velocity of a metric
// profile's new version by. It is close to, but not, feet per metre: it is
// the factor profiles made elsewhere were made with, so a new profile shows
// the velocity those show.
constexpr float kCreateProfileVelocityFactor = 3.2425420f;

// A profile is metric (its velocities shown in metres per nanosecond) unless
// its distance unit is feet or inches.
inline bool isMetric(float unitsPerFoot) {
  return unitsPerFoot != kUnitsPerFootFt && unitsPerFoot != kUnitsPerFootIn;
}

// "ft", "in", "cm" (factors above 30.47) or "m".
inline const char* unitName(float unitsPerFoot) {
  if (unitsPerFoot == kUnitsPerFootFt) return "ft";
  if (unitsPerFoot == kUnitsPerFootIn) return "in";
  if (unitsPerFoot > 30.47f) return "cm";
  return "m";
}

}  // namespace quv
