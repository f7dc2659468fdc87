// The time axis of a recording from its header record: the time of the
// first sample and the sample interval, in nanoseconds. Sample i lies at
// firstNs + i * intervalNs. Header-only, so the modules reach it without
// linking the format library.
#pragma once

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "scrivel/gssi.h"
#include "scrivel/pekko.h"
#include "scrivel/ramac.h"
#include "scrivel/seg2.h"
#include "scrivel/segy.h"

namespace scrivel {

struct TimeAxis {
  double firstNs = 0.0;     // always finite
  double intervalNs = 1.0;  // always finite and above 0
};

namespace detail {

// A header that gives no usable interval gets 1 ns; a first time that is no
// number starts at 0.
inline TimeAxis usableTimeAxis(double firstNs, double intervalNs) {
  TimeAxis t;
  t.firstNs = std::isfinite(firstNs) ? firstNs : 0.0;
  t.intervalNs = intervalNs > 0 && std::isfinite(intervalNs) ? intervalNs : 1.0;
  return t;
}

// A SEG-2 keyword value (a blank, then the number) with the C decimal point
// whatever the locale; 0 when there is none.
inline double keywordNumber(const char* s) {
  if (!s) return 0.0;
  while (*s == ' ' || *s == '\t') ++s;
  if (*s == '+') ++s;
  double v = 0.0;
  auto r = std::from_chars(s, s + std::strlen(s), v);
  return r.ec == std::errc() ? v : 0.0;
}

}  // namespace detail

// GSSI: Position is the first time, Range the window over NSamp - 1 steps.
inline TimeAxis timeAxis(const GssiFHdr& h) {
  return detail::usableTimeAxis(h.Position, h.NSamp > 1 ? h.Range / (h.NSamp - 1.0) : 0.0);
}

// pulseEKKO: the window over points - 1 steps; time zero falls on sample
// timeZeroPoint (counted from 1), so the first sample lies before it.
inline TimeAxis timeAxis(const PekkoFHdr& h) {
  const double interval = h.points > 1 ? h.timeWindow / (h.points - 1.0) : 0.0;
  return detail::usableTimeAxis((1.0 - h.timeZeroPoint) * interval, interval);
}

// RAMAC: the sampling frequency in MHz; the first sample at 0.
inline TimeAxis timeAxis(const RamacFHdr& h) {
  return detail::usableTimeAxis(0.0, h.frequency != 0 ? 1000.0 / h.frequency : 0.0);
}

// SEG-2: DELAY and SAMPLE_INTERVAL (seconds) of trace 0's descriptor.
inline TimeAxis timeAxis(const Seg2TraceHdr& trace0) {
  return detail::usableTimeAxis(detail::keywordNumber(trace0.delay) * 1e9,
                                detail::keywordNumber(trace0.sampleInterval) * 1e9);
}

// SEG-Y: the interval in picoseconds; the first sample at 0.
inline TimeAxis timeAxis(const SegyFHdr& h) {
  return detail::usableTimeAxis(0.0, h.sampleInterval * 0.001);
}

}  // namespace scrivel
