// The progress line of long loops over traces: on every 10th trace,
// "Trace %i of %i" (counted from 1) and the percentage index x 100 / count.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>

#include "dv/ui.h"

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

// True once the user asked the step in the progress window to stop.
inline bool stepCancelled() { return dv::ui().progressCancelled(); }

// The progress line of a long step that also tells the time left: the
// traceProgress line of trace i and, once the step has run two seconds,
// " - about 3 min left" from the pace so far. reportUpTo(done, ...) gives
// the line of every 10th trace not yet shown below `done` (for loops that
// finish traces in blocks).
class TraceClock {
 public:
  TraceClock() : start_(std::chrono::steady_clock::now()) {}

  template <typename Report>
  void report(int i, int traces, Report&& report, const char* format = "Trace %i of %i") const {
    if (traces <= 0 || i % 10 != 0) return;
    char text[128];
    const int used = std::snprintf(text, sizeof text, format, i + 1, traces);
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    if (elapsed >= 2.0 && i > 0 && used > 0 && used < int(sizeof text)) {
      const double left = elapsed * double(traces - i) / double(i);
      if (left < 90)
        std::snprintf(text + used, sizeof text - size_t(used), " - about %.0f s left", left);
      else
        std::snprintf(text + used, sizeof text - size_t(used), " - about %.0f min left", left / 60);
    }
    report(static_cast<const char*>(text), static_cast<int>(int64_t(100) * i / traces));
  }

  template <typename Report>
  void reportUpTo(int done, int traces, Report&& r, const char* format = "Trace %i of %i") {
    for (; next_ < done && next_ < traces; next_ += 10) report(next_, traces, r, format);
  }

 private:
  std::chrono::steady_clock::time_point start_;
  int next_ = 0;
};

}  // namespace quv
