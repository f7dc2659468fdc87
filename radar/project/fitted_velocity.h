// The velocity last fitted to a diffraction hyperbola of a profile (the
// profile window's Fit Hyperbola mode), kept with the project: the default
// of migration, of an empty velocity table and of Use Fitted Velocity.
// Held as the user sees velocities: metres per ns for a metric profile,
// feet per ns otherwise.
#pragma once

namespace quv {

struct ProfileItem;

// A hyperbola fitted in the profile window: apex, velocity and what it
// takes to draw it.
struct HyperbolaPick {
  int trace = -1;          // the apex trace; -1: none
  float apexSample = 0;    // the apex's (fractional) sample in the version
  float velocity = 0;      // as shown: m/ns (metric) or ft/ns
  float semblance = 0;     // of the fit, 0..1
  double spacing = 0;      // distance between traces, the profile's units
  double unitsPerNs = 0;   // the velocity in the profile's units per ns
  bool valid() const { return trace >= 0 && unitsPerNs > 0 && spacing > 0; }
};

// 0 when none was fitted (or its file cannot be read).
float fittedVelocity(const ProfileItem& item);
// Keeps a velocity above 0 (others are left out); a file that cannot be
// written leaves the one before.
void setFittedVelocity(const ProfileItem& item, float velocity);

}  // namespace quv
