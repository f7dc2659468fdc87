// A profile in memory for the display benchmarks: a straight line 5 cm a
// trace in metres, one time version of 0.1 ns samples with its normal byte
// traces built from a fixed pattern (no files behind it).
#pragma once

#include <cstdint>
#include <memory>

#include "project/profile.h"

namespace bench {

inline quv::ProfileVersion* syntheticProfile(quv::ProfileItem& item, int traces, int samples) {
  item.header = std::make_unique<quv::ProfileHeader>();
  quv::ProfileHeader& h = *item.header;
  h.traceCount = traces;
  h.unitsPerFoot = 0.3048f;
  for (int i = 0; i < traces; ++i) {
    h.easting.push_back(0.05f * float(i));
    h.northing.push_back(1000.0f);
  }
  h.nodeTrace = {0, traces - 1};
  item.fileName = "BENCH.QUV";
  quv::ProfileVersion* v = quv::addVersion(item, "/nonexistent", quv::kTimeVersion, 1);
  v->samples = samples;
  v->timeIncrement = 0.1f;
  quv::setWholeProfile(v->normal, traces, samples);
  quv::computeValueTables(*v);
  for (int t = 0; t < traces; ++t) {
    v->normalBytes[size_t(t)].reset(new uint8_t[size_t(samples)]);
    for (int s = 0; s < samples; ++s) v->normalBytes[size_t(t)][size_t(s)] = uint8_t((t * 7 + s * 13) & 255);
  }
  return v;
}

}  // namespace bench
