// The raw window's axes and marker lines.
#include "display/raw_window_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace quv {

double rawTimeStep(double halfRange) {
  static const double kSteps[] = {5e8, 1e8, 5e7, 1e7, 5e6, 1e6, 5e5, 1e5, 5e4, 1e4, 5000,
                                  1000, 500, 100, 50, 10, 5, 1, 0.5, 0.1, 0.05};
  for (double d : kSteps)
    if (d <= halfRange) return d;
  return 0.01;
}

std::vector<double> rawTimeValues(double tmin, double tmax) {
  std::vector<double> values{tmin};
  if (!(tmax > tmin) || !std::isfinite(tmax - tmin)) return values;
  const double d = rawTimeStep((tmax - tmin) / 2);
  const double slack = d * 1e-6;
  // Multiples are counted by an integer so that no sum drifts; the step is
  // at least a fifth of the half range, so there are never more than a dozen.
  for (double k = std::floor(tmin / d) + 1;; k += 1) {
    const double t = k * d;
    if (t >= tmax - slack) break;
    if (t > tmin + slack) values.push_back(t);
  }
  values.push_back(tmax);
  return values;
}

std::vector<int> rawTraceValues(int firstTrace, int lastTrace) {
  std::vector<int> values;
  for (int k = 0; k <= 4; ++k)
    values.push_back(int(double(lastTrace - firstTrace) * k / 4 + firstTrace + 0.5) + 1);
  return values;
}

void drawRawTraceAxis(dv::Canvas& canvas, const dv::Rect& r, int firstTrace, int lastTrace,
                      const RawAxisFonts& fonts, int visibleRight) {
  const int fh = fonts.traceHeight;
  canvas.setPen(dv::rgb(0, 0, 0));
  canvas.setFont(fonts.trace);
  canvas.setTextColor(fonts.traceColour);
  canvas.setTextAlign(dv::kTextCenter | dv::kTextBottom);
  canvas.text(r.left + (r.right - r.left) / 2, r.top - 5 * fh / 2 - 2, "Trace #");
  const std::vector<int> values = rawTraceValues(firstTrace, lastTrace);
  const int labelBottom = r.top - fh / 2 - 2;
  for (int k = 0; k < int(values.size()); ++k) {
    const int x = int(double(k) * (r.right - r.left - 1) / 4 + r.left + 0.5);
    canvas.line(x, r.top - 2, x, labelBottom);
    char text[32];
    std::snprintf(text, sizeof text, "%i", values[size_t(k)]);
    const int half = (canvas.textExtent(text).cx + 1) / 2;
    canvas.text(std::min(x, visibleRight - half), labelBottom, text);
  }
}

void drawRawTimeAxis(dv::Canvas& canvas, const dv::Rect& r, double tmin, double tmax,
                     const RawAxisFonts& fonts, int visibleBottom) {
  const int fh = fonts.traceHeight, fv = fonts.timeHeight;
  const int x = r.left - fv / 2 - 2;
  canvas.setPen(dv::rgb(0, 0, 0));
  canvas.setFont(fonts.time);
  canvas.setTextColor(fonts.timeColour);
  canvas.setTextAlign(dv::kTextRight | dv::kTextBottom);
  canvas.text(x, r.top - 5 * fh / 2 - 2, "Time (ns)");
  const double range = tmax - tmin;
  for (double t : rawTimeValues(tmin, tmax)) {
    const int y = range > 0 ? int((t - tmin) * (r.bottom - r.top - 1) / range + r.top + 0.5) : r.top;
    canvas.line(r.left - 2, y, x, y);
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", t);
    // Centred on the row: the text's bottom half a font height below it.
    canvas.text(x, std::min(y + fv / 2, visibleBottom), text);
  }
}

void drawRawMarkerLines(dv::Canvas& canvas, const dv::Rect& r, int firstTrace, int lastTrace,
                        const std::vector<uint8_t>& marked) {
  canvas.setPen(dv::rgb(0, 0, 0), 1, dv::PenStyle::Dot);
  const int64_t width = r.right - r.left - 1;
  const int span = lastTrace - firstTrace;
  for (int t = std::max(firstTrace, 0); t <= lastTrace && t < int(marked.size()); ++t) {
    if (!marked[size_t(t)]) continue;
    const int x = span > 0 ? int(width * (t - firstTrace) / span + r.left) : r.left;
    canvas.line(x, r.top, x, r.bottom);
  }
  canvas.setPen(dv::rgb(0, 0, 0));
}

}  // namespace quv
