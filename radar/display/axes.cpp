// Axis ticks, values, grid lines and titles of a profile display.
#include "display/axes.h"

#include <cmath>
#include <cstdio>

#include "display/image.h"
#include "project/units.h"

namespace quv {

int AxisScale::pixelOf(int item) const {
  const int wp = pixels();
  if (last == first) return wp / 2 + origin;
  return int(double(item - first) * wp / double(last - first) + origin + 0.5);
}

double AxisScale::coord(int item) const {
  if (indexAxis || !coords || item < 0 || size_t(item) >= coords->size()) return item + 1;
  return (*coords)[size_t(item)];
}

double AxisScale::secondCoord(int item) const {
  if (!second || item < 0 || size_t(item) >= second->size()) return 0;
  return (*second)[size_t(item)];
}

std::vector<int> minorTicks(const AxisScale& a) {
  std::vector<int> out;
  const int wp = a.pixels();
  const int m = std::max(a.minors, 1);
  double count = 0, shift = 0;
  switch (a.tickMode) {
    case kTickEveryNth: count = double(a.last - a.first) * m / std::max(a.everyNth, 1) + 1; break;
    case kTickIncrement: {
      const double c0 = a.coord(a.first), c1 = a.coord(a.last);
      const double d = std::fabs(double(a.increment));
      if (d == 0 || c0 == c1) return out;
      count = std::fabs(c1 - c0) * m / d + 1;
      const double step = d / m;
      const double start = c1 > c0 ? std::ceil(c0 / step) * step : std::floor(c0 / step) * step;
      shift = wp * (start - c0) / (c1 - c0);
      break;
    }
    default: count = double(std::max(a.fixedNumber, 2) - 1) * m + 1; break;
  }
  const int n = int(count);
  for (int k = 0; k < n; ++k) {
    const double at = count > 1 ? k * double(wp) / (count - 1) : 0.0;
    const int p = int(at + a.origin + shift + 0.5);
    if (p < a.end) out.push_back(p);
  }
  return out;
}

std::vector<AxisValue> majorValues(const AxisScale& a) {
  std::vector<AxisValue> out;
  const int wp = a.pixels();
  auto at = [&](int item, int pos) { out.push_back({pos, a.coord(item), a.secondCoord(item)}); };
  switch (a.tickMode) {
    case kTickEveryNth: {
      const int n = std::max(a.everyNth, 1);
      int item = a.first;
      for (; item <= a.last; item += n) at(item, a.pixelOf(item));
      // The last item is labelled at the far end (unless the steps ended on it).
      if (item - n != a.last) at(a.last, a.end - 1);
      break;
    }
    case kTickIncrement: {
      const double d = a.increment;
      if (a.last == a.first || d == 0) break;
      at(a.first, a.origin);
      for (int t = a.first; t < a.last; ++t) {
        const double c0 = a.coord(t), c1 = a.coord(t + 1);
        if (std::floor(c0 / d) == std::floor(c1 / d)) continue;
        const double c = std::fabs(c1) > std::fabs(c0) ? c1 : c0;
        const double v = std::trunc(c / d) * d;
        const double f = c1 != c0 ? (v - c0) / (c1 - c0) : 0.0;
        const int p0 = a.pixelOf(t), p1 = a.pixelOf(t + 1);
        const double s0 = a.secondCoord(t), s1 = a.secondCoord(t + 1);
        out.push_back({int(p0 + (p1 - p0) * f + 0.5), v, s0 + (s1 - s0) * f});
      }
      at(a.last, a.end - 1);
      break;
    }
    default: {
      const int n = std::max(a.fixedNumber, 2);
      for (int k = 0; k < n; ++k) {
        const int item = int(double(a.last - a.first) * k / (n - 1) + a.first + 0.5);
        at(item, int(double(k) * wp / (n - 1) + a.origin + 0.5));
      }
      break;
    }
  }
  return out;
}

const char* lengthUnit(float u) { return unitName(u); }

bool bothCoordinates(const DisplaySettings& s) {
  return (s.hAxisType == kAxisEasting && s.eastingWithNorthing) ||
         (s.hAxisType == kAxisNorthing && s.northingWithEasting);
}

std::string horizontalTitle(const DisplaySettings& s, float u) {
  char text[64];
  const bool both = bothCoordinates(s);
  if (s.hAxisType == kAxisEasting)
    std::snprintf(text, sizeof text, both ? "Easting / Northing (%s)" : "Easting (%s)", lengthUnit(u));
  else if (s.hAxisType == kAxisNorthing)
    std::snprintf(text, sizeof text, both ? "Northing / Easting (%s)" : "Northing (%s)", lengthUnit(u));
  else
    return "Trace #";
  return text;
}

std::string verticalTitle(const DisplaySettings& s, int kind, float u) {
  if (s.vAxisType == kAxisTime) return "Time (ns)";
  if (s.vAxisType != kAxisDepth) return "Sample #";
  char text[64];
  std::snprintf(text, sizeof text, kind == 2 ? "Elevation (%s)" : "Depth (%s)", lengthUnit(u));
  return text;
}

int axisFontPixels(float points) {
  const int px = int(double(points) * 96.0 / 72.0 + 0.5);
  return px < 1 ? 1 : px;
}

AxisScale horizontalScale(const AxesInput& in) {
  const DisplaySettings& s = *in.settings;
  AxisScale a;
  a.origin = in.image.left;
  a.end = in.image.right;
  a.first = in.firstTrace;
  a.last = in.lastTrace;
  a.tickMode = s.hTickMode;
  a.fixedNumber = s.hFixedNumber;
  a.everyNth = s.everyNthTrace;
  a.increment = s.hCoordIncrement;
  a.minors = s.hMinors;
  if (s.hAxisType == kAxisEasting) {
    a.indexAxis = !in.easting;
    a.coords = in.easting;
    a.second = in.northing;
  } else if (s.hAxisType == kAxisNorthing) {
    a.indexAxis = !in.northing;
    a.coords = in.northing;
    a.second = in.easting;
  }
  return a;
}

AxisScale verticalScale(const AxesInput& in) {
  const DisplaySettings& s = *in.settings;
  AxisScale a;
  a.origin = in.image.top;
  a.end = in.image.bottom;
  a.first = in.firstSample;
  a.last = in.lastSample;
  a.tickMode = s.vTickMode;
  a.fixedNumber = s.vFixedNumber;
  a.everyNth = s.everyNthSample;
  a.increment = s.vCoordIncrement;
  a.minors = s.vMinors;
  if (s.vAxisType != kAxisSample && in.vertical) {
    a.indexAxis = false;
    a.coords = in.vertical;
  }
  return a;
}

namespace {

std::string valueText(double v, bool index, int decimals) {
  char format[16], text[64];
  if (index) {
    std::snprintf(text, sizeof text, "%.0f", v);
  } else {
    std::snprintf(format, sizeof format, "%%.0%if", std::clamp(decimals, 0, 20));
    std::snprintf(text, sizeof text, format, v);
  }
  return text;
}

// The values left after the hide-first / hide-last flags.
std::vector<AxisValue> shownValues(std::vector<AxisValue> v, bool hideFirst, bool hideLast) {
  if (hideLast && !v.empty()) v.pop_back();
  if (hideFirst && !v.empty()) v.erase(v.begin());
  return v;
}

dv::FontDesc axisFont(const FontObject& object, const LogFont& fallback, int pixels) {
  dv::FontDesc f = fontDesc(object.created ? object.font : fallback);
  f.height = -pixels;
  f.width = 0;
  return f;
}

}  // namespace

void drawAxes(dv::Canvas& c, const AxesInput& in) {
  if (!in.settings) return;
  const DisplaySettings& s = *in.settings;
  const int L = in.image.left, T = in.image.top, R = in.image.right, B = in.image.bottom;
  const int fh = in.fh, fv = in.fv;
  const AxisScale h = horizontalScale(in), v = verticalScale(in);

  // 1. Vertex lines of a complex line, or 2. the horizontal minor ticks.
  c.setPen(0);
  const int nodes = in.nodeTraces ? int(in.nodeTraces->size()) : 0;
  if (nodes != 2) {
    if (!s.hideGeometryNodes)
      for (int k = 1; k + 1 < nodes; ++k) {
        const int t = (*in.nodeTraces)[size_t(k)];
        if (t < in.firstTrace || t > in.lastTrace) continue;
        const int x = h.pixelOf(t);
        c.line(x, T, x, B);
      }
  } else {
    for (int x : minorTicks(h)) {
      if (!s.hTopMinor) c.line(x, T - 2, x, T - fh / 4 - 2);
      if (!s.hBottomMinor) c.line(x, B + 1, x, B + fh / 4 + 1);
    }
  }
  // 3. Vertical minor ticks and the minor grid.
  for (int y : minorTicks(v)) {
    if (!s.vLeftMinor) c.line(L - 2, y, L - fv / 4 - 2, y);
    if (!s.vRightMinor) c.line(R + 1, y, R + fv / 4 + 1, y);
    if (!s.hideMinorGrid) c.line(L, y, R, y);
  }

  // 4. Titles in the horizontal font.
  c.setFont(axisFont(s.hFontObject, s.hFont, fh));
  c.setTextColor(s.hTextColour);
  if (in.titles) {
    const int base = T - 5 * fh / 2 - 2;
    c.setTextAlign(dv::kTextCenter | dv::kTextBottom);
    c.text(L + (R - L) / 2, base, horizontalTitle(s, in.unitsPerFoot));
    c.setTextAlign(dv::kTextRight | dv::kTextBottom);
    c.text(L - fv / 2 - 2, base, verticalTitle(s, in.versionKind, in.unitsPerFoot));
  }

  // 5. and 6. Horizontal values and major ticks.
  const bool both = bothCoordinates(s) && !h.indexAxis;
  for (const AxisValue& a : shownValues(majorValues(h), s.hHideFirst, s.hHideLast)) {
    const std::string first = valueText(a.value, h.indexAxis, s.hDecimals);
    const std::string second = valueText(a.second, false, s.hDecimals);
    if (!s.hTopValues) {
      c.setTextAlign(dv::kTextCenter | dv::kTextBottom);
      if (both) {
        c.text(a.pos, T - 3 * fh / 2 - 2, first);
        c.text(a.pos, T - fh / 2 - 2, second);
      } else {
        c.text(a.pos, T - fh / 2 - 2, first);
      }
    }
    if (!s.hBottomValues) {
      c.setTextAlign(dv::kTextCenter | dv::kTextTop);
      c.text(a.pos, B + fh / 2 + 1, first);
      if (both) c.text(a.pos, B + 3 * fh / 2 + 1, second);
    }
    if (!s.hTopMajor) c.line(a.pos, T - 2, a.pos, T - fh / 2 - 2);
    if (!s.hBottomMajor) c.line(a.pos, B + 1, a.pos, B + fh / 2 + 1);
  }

  // 7. Vertical values, major ticks and the major grid in the vertical font.
  c.setFont(axisFont(s.vFontObject, s.vFont, fv));
  c.setTextColor(s.vTextColour);
  for (const AxisValue& a : shownValues(majorValues(v), s.vHideFirst, s.vHideLast)) {
    const std::string text = valueText(a.value, v.indexAxis, s.vDecimals);
    if (!s.vLeftValues) {
      c.setTextAlign(dv::kTextRight | dv::kTextBottom);
      c.text(L - fv / 2 - 2, a.pos + fv / 2, text);
    }
    if (!s.vRightValues) {
      c.setTextAlign(dv::kTextLeft | dv::kTextBottom);
      c.text(R + fv / 2 + 1, a.pos + fv / 2, text);
    }
    if (!s.vLeftMajor) c.line(L - 2, a.pos, L - fv / 2 - 2, a.pos);
    if (!s.vRightMajor) c.line(R + 1, a.pos, R + fv / 2 + 1, a.pos);
    if (!s.hideMajorGrid) c.line(L, a.pos, R, a.pos);
  }
}

}  // namespace quv
