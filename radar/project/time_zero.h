// The Set Time Zero rule, shared by the window's armed click and the
// time-zero processing step: time zero at sample s of a time version makes
// its first sample's time t0 = -s * dt, so every time t[j] = j * dt + t0;
// both depth axes follow from the new times (computeValueTables).
#pragma once

#include "project/profile.h"

namespace quv {

// False (nothing changed) for a version other than time or a sample before the first.
inline bool setTimeZeroAt(ProfileVersion& v, int sample) {
  if (v.kind != kTimeVersion || sample < 0) return false;
  v.firstTime = -float(sample) * v.timeIncrement;
  computeValueTables(v);
  return true;
}

}  // namespace quv
