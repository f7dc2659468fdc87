// Tab labels, layout, scrolling, zooming and readouts of the profile window.
#include "display/profile_window_rules.h"

#include <algorithm>
#include <cstdio>

#include "display/axes.h"
#include "project/units.h"

namespace quv {

std::string tabLabel(const ProfileVersion& v) {
  std::string label = versionLetter(v.kind) + std::to_string(v.number);
  if (v.sourceKind >= 0 && v.sourceKind < kVersionKinds)
    label += "(" + std::string(1, versionLetter(v.sourceKind)) + std::to_string(v.sourceNumber) + ")";
  if (!v.name.empty()) label += " " + v.name;
  return label;
}

WindowLayout windowLayout(int w, int h, float splitRatio) {
  WindowLayout l;
  l.button = {2, 2, 76, 23};
  l.check = {80, 2, kTabsLeft - 2, 23};
  l.tabs = {kTabsLeft, 5, kTabsLeft + std::max(w - kTabsLeft, 100), kBandHeight};
  const float ratio = std::clamp(splitRatio, 0.0f, 1.0f);
  l.splitPos = int(float(w) * ratio);
  l.normal = {0, kBandHeight, l.splitPos, std::max(h, kBandHeight)};
  l.presentation = {0, kBandHeight, w, std::max(h, kBandHeight)};
  l.text = {10, 35, 10 + std::max(w - 20, 100), 35 + std::max(h - 45, 100)};
  l.panel = {l.splitPos + kSeparatorWidth, kBandHeight, std::max(w, l.splitPos + kSeparatorWidth),
             std::max(h, kBandHeight)};
  return l;
}

dv::Rect normalImageRect(int w, int h, int sbw, int sbh) {
  dv::Rect r;
  r.left = kImageLeft;
  r.top = kImageTop;
  r.right = std::max(w - sbw - 1, kImageLeft + kMinImageSpan);
  r.bottom = std::max(h - sbh - 1, kImageTop + kMinImageSpan);
  return r;
}

int clampSplit(int x, int clientWidth) {
  return std::clamp(x, clientWidth / 2, std::max(clientWidth / 2, clientWidth - 4));
}

int scrollPage(const ScrollAxis& a) {
  if (a.total <= 0) return 101;
  return std::clamp(101 * (a.span() + 1) / a.total, 1, 101);
}

int scrollPosition(const ScrollAxis& a) {
  const int rest = a.total - a.span() - 1;
  if (rest <= 0) return 0;
  return int(int64_t(a.first) * (101 - scrollPage(a)) / rest);
}

bool scrollAxis(ScrollAxis& a, int action, int thumb) {
  const int span = a.span();
  const int rest = a.total - span - 1;  // the largest first item
  const int range = 101 - scrollPage(a);
  const int before = a.first;
  int first = a.first;
  auto fromPosition = [&](int position) {
    position = std::clamp(position, 0, range);
    return range > 0 ? int(int64_t(rest) * position / range) : 0;
  };
  switch (action) {
    case 0:  // line up / left
      if (first > 0) --first;
      break;
    case 1:  // line down / right
      if (a.last < a.total - 1) ++first;
      break;
    case 2:  // page up / left
    case 3: {
      const int step = std::max(1, range / 10);
      first = fromPosition(scrollPosition(a) + (action == 2 ? -step : step));
      break;
    }
    case 4:  // thumb released
    case 5:  // thumb dragged
      first = fromPosition(thumb);
      break;
    case 6: first = 0; break;
    case 7: first = std::max(rest, 0); break;
    default: return false;
  }
  if (rest <= 0) first = 0;
  first = std::clamp(first, 0, std::max(rest, 0));
  a.first = first;
  a.last = first + span;
  return first != before;
}

dv::Point clampToImage(dv::Point p, const dv::Rect& image) {
  p.x = std::clamp(p.x, image.left, std::max(image.left, image.right - 1));
  p.y = std::clamp(p.y, image.top, std::max(image.top, image.bottom - 1));
  return p;
}

bool zoomToRect(const dv::Rect& band, const std::vector<int>& columns, const std::vector<int>& rows,
                DisplaySettings& s) {
  const int left = std::min(band.left, band.right), right = std::max(band.left, band.right);
  const int top = std::min(band.top, band.bottom), bottom = std::max(band.top, band.bottom);
  auto at = [](const std::vector<int>& map, int i) {
    return i >= 0 && size_t(i) < map.size() ? map[size_t(i)] : -1;
  };
  bool changed = false;
  const int t0 = at(columns, left), t1 = at(columns, right);
  if (t0 >= 0 && t1 >= 0 && t1 - t0 + 1 > 8) {
    s.firstTrace = t0;
    s.lastTrace = t1;
    changed = true;
  }
  const int s0 = at(rows, top), s1 = at(rows, bottom);
  if (s0 >= 0 && s1 >= 0 && s1 - s0 + 1 > 8) {
    s.firstSample = s0;
    s.lastSample = s1;
    changed = true;
  }
  return changed;
}

namespace {

float valueAt(const std::vector<float>& table, int i) {
  return i >= 0 && size_t(i) < table.size() ? table[size_t(i)] : 0.0f;
}

std::string format(const char* f, double a) {
  char text[96];
  std::snprintf(text, sizeof text, f, a);
  return text;
}

std::string format(const char* f, double a, double b) {
  char text[128];
  std::snprintf(text, sizeof text, f, a, b);
  return text;
}

}  // namespace

Readouts readouts(const ProfileVersion& v, const ProfileHeader& h, int trace, int sample) {
  Readouts r;
  const DisplaySettings& s = v.normal;
  const int n = v.samples;
  if (trace >= 0 && sample >= 0) {
    const double e = valueAt(h.easting, trace), no = valueAt(h.northing, trace);
    std::string where;
    if (s.hAxisType == kAxisEasting)
      where = s.eastingWithNorthing ? format("Easting:%.2f Northing:%.2f", e, no)
                                    : format("Easting:%.2f", e);
    else if (s.hAxisType == kAxisNorthing)
      where = s.northingWithEasting ? format("Northing:%.2f Easting:%.2f", no, e)
                                    : format("Northing:%.2f", no);
    else
      where = "Trace:" + std::to_string(trace + 1);
    std::string depth;
    if (s.vAxisType == kAxisTime) {
      depth = format("Time:%.2f", valueAt(v.time, sample));
    } else if (s.vAxisType == kAxisDepth) {
      if (v.kind == kElevationVersion) {
        depth = format("Elevation:%.2f", valueAt(v.elevation, sample));
      } else if (v.kind == kDepthVersion) {
        depth = format("Depth:%.2f", valueAt(v.depthNormal, sample));
      } else {
        // Velocities are held in feet per nanosecond; shown in metres per
        // nanosecond unless the profile's unit is feet or inches.
        const double velocity =
            isMetric(h.unitsPerFoot) ? s.velocity * kMetresPerFoot : s.velocity;
        depth = format("Depth:%.2f w/ Velocity:%.3f", valueAt(v.depthNormal, sample), velocity);
      }
    } else {
      depth = "Sample:" + std::to_string(sample + 1);
    }
    r.pane[0] = where + " " + depth;
  }
  r.pane[1] = "#Trc:" + std::to_string(h.traceCount);
  if (s.vAxisType == kAxisTime) {
    r.pane[3] = format("Tmin:%.2f", valueAt(v.time, 0));
    r.pane[4] = format("Tmax:%.2f", valueAt(v.time, n - 1));
  } else if (s.vAxisType == kAxisDepth) {
    if (v.kind == kElevationVersion) {
      r.pane[3] = format("Emin:%.2f", valueAt(v.elevation, n - 1));
      r.pane[4] = format("Emax:%.2f", valueAt(v.elevation, 0));
    } else {
      r.pane[3] = format("Dmin:%.2f", valueAt(v.depthNormal, 0));
      r.pane[4] = format("Dmax:%.2f", valueAt(v.depthNormal, n - 1));
    }
  } else {
    r.pane[3] = "#Smp:" + std::to_string(n);
  }
  return r;
}

}  // namespace quv
