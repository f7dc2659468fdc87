// The progress line of long loops over traces: on every 10th trace,
// "Trace %i of %i" (counted from 1) and the percentage index x 100 / count.
#pragma once

#include <cstdint>
#include <cstdio>

namespace quv {

// Calls report(text, percent) when trace i (from 0) of traces is one to
// show; `format` takes the trace counted from 1 and the count.
template <typename Report>
inline void traceProgress(const char* format, int i, int traces, Report&& report) {
  if (traces <= 0 || i % 10 != 0) return;
  char text[96];
  std::snprintf(text, sizeof text, format, i + 1, traces);
  report(static_cast<const char*>(text), static_cast<int>(int64_t(100) * i / traces));
}
template <typename Report>
inline void traceProgress(int i, int traces, Report&& report) {
  traceProgress("Trace %i of %i", i, traces, report);
}

}  // namespace quv
