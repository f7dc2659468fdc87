// Geometry of the presentation page, its text elements and the legend's templates.
#include "display/presentation_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>

#include "display/gain.h"
#include "display/image.h"
#include "display/profile_window_rules.h"
#include "project/units.h"

namespace quv {

namespace {

constexpr double kEpsilon = 1e-6;
constexpr double kMinRegion = 0.05;  // inches: the deepest zoom
constexpr int kMaxMeasureHeight = 4000;  // text is measured at most this high and scaled
constexpr double kCentimetresPerInch = 0.3937;  // what a per-inch figure is multiplied by for a metric page

bool metricPage(const DisplaySettings& s) { return std::fabs(s.unitsFactor - 25.4f) < 0.01f; }

std::string format(const char* f, double a) {
  char text[64];
  std::snprintf(text, sizeof text, f, a);
  return text;
}

// --- the view --------------------------------------------------------------------------

// A pixel position kept where an int holds it (a damaged record or a deep
// zoom can put an element millions of pixels away).
int toPixel(double p) {
  if (!(p == p)) return 0;  // NaN
  return int(std::clamp(p, -1e8, 1e8));
}

}  // namespace

int PageView::x(double inches) const {
  const double span = right - left;
  return span > 0 ? toPixel((inches - left) * width / span) : 0;
}

int PageView::y(double inches) const {
  const double span = bottom - top;
  return span > 0 ? toPixel((inches - top) * height / span) : 0;
}

double PageView::inchesX(int pixel) const {
  return width > 0 ? left + double(pixel) * (right - left) / width : left;
}

double PageView::inchesY(int pixel) const {
  return height > 0 ? top + double(pixel) * (bottom - top) / height : top;
}

dv::Rect PageView::rect(double l, double t, double r, double b) const { return {x(l), y(t), x(r), y(b)}; }

PageView recordView(const DisplaySettings& s, int w, int h) {
  return {s.visibleLeft, s.visibleTop, s.visibleRight, s.visibleBottom, w, h};
}

PageView pageViewAtDpi(const DisplaySettings& s, double dpi) {
  return {0, 0, s.pageWidth, s.pageHeight, int(s.pageWidth * dpi + 0.5), int(s.pageHeight * dpi + 0.5)};
}

void equalScale(DisplaySettings& s, int w, int h) {
  w = std::max(w, 1);
  h = std::max(h, 1);
  // A page of no size (or not a number, from a damaged record) counts as a hundredth of an inch.
  const double pw = s.pageWidth > 0.01f ? s.pageWidth : 0.01, ph = s.pageHeight > 0.01f ? s.pageHeight : 0.01;
  double l = s.visibleLeft, t = s.visibleTop, r = s.visibleRight, b = s.visibleBottom;
  if (!(r > l) || !(b > t)) l = 0, t = 0, r = pw, b = ph;  // an empty region shows the page
  auto adjust = [&] {
    const double hip = (r - l) / w, vip = (b - t) / h;
    if (hip < vip) r = l + w * vip;
    else b = t + h * hip;
  };
  adjust();
  const bool wide = r > pw + kEpsilon, tall = b > ph + kEpsilon;
  if (wide && tall) {
    l = 0, t = 0, r = pw, b = ph;
    adjust();
  } else if (wide) {
    const double shift = std::min(r - pw, l);
    l -= shift, r -= shift;
  } else if (tall) {
    const double shift = std::min(b - ph, t);
    t -= shift, b -= shift;
  }
  s.visibleLeft = float(l), s.visibleTop = float(t), s.visibleRight = float(r), s.visibleBottom = float(b);
}

void resizeRegion(DisplaySettings& s, int oldW, int oldH, int newW, int newH) {
  if (oldW > 0 && oldH > 0 && newW > 0 && newH > 0) {
    s.visibleRight = s.visibleLeft + (s.visibleRight - s.visibleLeft) * float(newW) / float(oldW);
    s.visibleBottom = s.visibleTop + (s.visibleBottom - s.visibleTop) * float(newH) / float(oldH);
  }
  equalScale(s, newW, newH);
}

void zoomOutRegion(DisplaySettings& s, int w, int h) {
  s.visibleLeft = s.visibleTop = 0;
  s.visibleRight = s.pageWidth;
  s.visibleBottom = s.pageHeight;
  equalScale(s, w, h);
}

bool zoomRegionTo(DisplaySettings& s, const dv::Rect& p, int w, int h) {
  const int l = std::min(p.left, p.right), r = std::max(p.left, p.right);
  const int t = std::min(p.top, p.bottom), b = std::max(p.top, p.bottom);
  if (r - l < 4 || b - t < 4) return false;
  const PageView v = recordView(s, w, h);
  // No deeper than a twentieth of an inch across.
  if (v.inchesX(r) - v.inchesX(l) < kMinRegion || v.inchesY(b) - v.inchesY(t) < kMinRegion) return false;
  s.visibleLeft = float(std::max(v.inchesX(l), 0.0));
  s.visibleTop = float(std::max(v.inchesY(t), 0.0));
  s.visibleRight = float(v.inchesX(r));
  s.visibleBottom = float(v.inchesY(b));
  equalScale(s, w, h);
  return true;
}

TracesBoxMapping tracesBoxMapping(const PageElement& e, const PageView& view, int ft, int lt, int fs,
                                  int ls) {
  TracesBoxMapping m;
  m.box = view.rect(e.left, e.top, e.right, e.bottom);
  m.image = {std::max(m.box.left, 0), std::max(m.box.top, 0), std::min(m.box.right, view.width),
             std::min(m.box.bottom, view.height)};
  m.firstTrace = ft, m.lastTrace = lt, m.firstSample = fs, m.lastSample = ls;
  const double bw = e.right - e.left, bh = e.bottom - e.top;
  // A side cut by the view shows only the traces (samples) that fall inside.
  auto at = [](int first, int last, double fraction) {
    return std::clamp(int(first + (last - first) * fraction), std::min(first, last), std::max(first, last));
  };
  if (bw > 0) {
    if (m.box.left < 0) m.firstTrace = at(ft, lt, (view.left - e.left) / bw);
    if (m.box.right > view.width) m.lastTrace = at(ft, lt, (view.right - e.left) / bw);
  }
  if (bh > 0) {
    if (m.box.top < 0) m.firstSample = at(fs, ls, (view.top - e.top) / bh);
    if (m.box.bottom > view.height) m.lastSample = at(fs, ls, (view.bottom - e.top) / bh);
  }
  return m;
}

// --- text elements ---------------------------------------------------------------------

void followAxisTypes(DisplaySettings& s, int versionKind) {
  s.elements[kHorizontalLabel].shownText = std::clamp(s.hAxisType, 0, 2);
  int v = std::clamp(s.vAxisType, 0, 2);
  if (v == 2 && versionKind == kElevationVersion) v = 3;
  s.elements[kVerticalLabel].shownText = v;
}

std::string elementText(const PageElement& e, float unitsPerFoot) {
  std::string t = e.texts[std::clamp(e.shownText, 0, 3)];
  const size_t at = t.find("%d");
  if (at != std::string::npos) t.replace(at, 2, unitName(unitsPerFoot));
  return t;
}

int orientationEscapement(int orientation) { return orientation == 1 ? 900 : orientation == 2 ? 2700 : 0; }

double elementThickness(const PageElement& e) {
  return e.orientation == 0 ? e.bottom - e.top : e.right - e.left;
}

double elementLength(const PageElement& e) {
  return e.orientation == 0 ? e.right - e.left : e.bottom - e.top;
}

void layoutTextElement(PageElement& e, const std::string& text, dv::Canvas& measure) {
  if (!e.maintainAspect) return;
  const double thickness = elementThickness(e);
  if (!(thickness > 0) || text.empty()) return;
  // Measured a thousand units to the inch, so the length needs no device.
  dv::FontDesc f = fontDesc(e.fontObject.created ? e.fontObject.font : e.font);
  const double units = thickness * 1000;
  f.height = std::clamp(int(units + 0.5), 1, kMaxMeasureHeight);
  f.width = 0;
  f.escapement = 0;
  measure.setFont(f);
  const int extent = measure.textExtent(text).cx;
  if (extent <= 0) return;
  // A thicker text than the measuring font is measured there and scaled.
  const float length = float(extent / 1000.0 * (units > kMaxMeasureHeight ? units / kMaxMeasureHeight : 1.0));
  switch (e.orientation) {
    case 1: e.top = e.bottom - length; break;
    case 2: e.bottom = e.top + length; break;
    default: e.right = e.left + length; break;
  }
}

dv::FontDesc elementFont(const PageElement& e, const dv::Rect& p, const std::string& text) {
  const bool across = e.orientation != 0;
  const int thickness = across ? p.right - p.left : p.bottom - p.top;
  const int length = across ? p.bottom - p.top : p.right - p.left;
  dv::FontDesc f = fontDesc(e.fontObject.created ? e.fontObject.font : e.font);
  f.height = std::clamp(thickness, 1, kMaxFontPixels);
  f.width = e.maintainAspect || text.empty() ? 0 : std::clamp(length / int(text.size()), 1, kMaxFontPixels);
  f.escapement = orientationEscapement(e.orientation);
  return f;
}

dv::Point elementAnchor(const PageElement& e, const dv::Rect& p) {
  switch (e.orientation) {
    case 1: return {p.right, p.bottom};
    case 2: return {p.left, p.top};
    default: return {p.left, p.bottom};
  }
}

// --- templates -----------------------------------------------------------------------------

std::string expandTemplate(const std::string& text, const TemplateSource& src) {
  if (text.find('%') == std::string::npos) return text;
  static const DisplaySettings fallback;
  const DisplaySettings& s = src.settings ? *src.settings : fallback;
  const ProfileVersion* v = src.version;
  const ProfileHeader* h = src.header;
  const float u = h ? h->unitsPerFoot : 1.0f;
  const PageElement& box = s.elements[kTracesBox];
  const double boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
  const double perCm = metricPage(s) ? kCentimetresPerInch : 1.0;
  const bool straight = h && h->nodeCount() == 2 && h->nodeEasting.size() == 2 && h->nodeNorthing.size() == 2;

  auto groundDistance = [&]() -> std::string {
    if (!straight || !(boxWidth > 0) || u == 0) return "";
    const int n = int(std::min(h->easting.size(), h->northing.size()));
    if (n == 0) return "";
    const int a = std::clamp(s.firstTrace, 0, n - 1), b = std::clamp(s.lastTrace, 0, n - 1);
    const double de = h->easting[size_t(b)] - h->easting[size_t(a)];
    const double dn = h->northing[size_t(b)] - h->northing[size_t(a)];
    return format("%.2f", std::sqrt(de * de + dn * dn) * 12.0 / u / boxWidth);
  };
  auto depthScale = [&]() -> std::string {
    if (!v || !(boxHeight > 0)) return "";
    const double span = s.lastSample - s.firstSample;
    double per = 0;
    if (v->kind == kTimeVersion) per = span * s.velocity * v->timeIncrement * 6.0;
    else if (v->kind == kDepthVersion) per = span * v->depthIncrement * 12.0;
    else per = std::fabs(span * v->elevationIncrement * 12.0);  // elevations fall down the page
    return format("%.2f", per / boxHeight);
  };
  auto traceIncrement = [&]() -> std::string {
    if (!straight || h->traceCount < 2) return "";
    const double de = h->nodeEasting[1] - h->nodeEasting[0], dn = h->nodeNorthing[1] - h->nodeNorthing[0];
    return format("%.3f", std::sqrt(de * de + dn * dn) / (h->traceCount - 1));
  };
  auto gainValue = [&]() -> std::string {
    char t[64];
    switch (s.gainType) {
      case 2: return format("%.2f", s.constantGain);
      case 3: return format("%.2f", s.agcWindow);
      case 4: std::snprintf(t, sizeof t, "%.3f, %.3f", s.sphericalV, s.sphericalA); return t;
      default: return "";
    }
  };

  const std::pair<const char*, std::function<std::string()>> variables[] = {
      {"%proj_name%", [&] { return src.projectName; }},
      {"%prof_name%", [&] { return src.profileName; }},
      {"%tab_name%", [&] { return v ? tabLabel(*v) : std::string(); }},
      {"%gain_type%", [&] { return std::string(gainTypeName(s.gainType)); }},
      {"%gain_value%", gainValue},
      {"%h_scale%", groundDistance},
      {"%trace_value%",
       [&] { return boxWidth > 0 ? format("%.2f", (s.lastTrace - s.firstTrace) / boxWidth * perCm) : ""; }},
      {"%d_scale%", depthScale},
      {"%vel_value%",
       [&] { return format("%.3f", isMetric(u) ? s.velocity * kMetresPerFoot : s.velocity); }},
      {"%sample_value%",
       [&] { return boxHeight > 0 ? format("%.2f", (s.lastSample - s.firstSample) / boxHeight * perCm) : ""; }},
      {"%wiggle_inc%", [&] { return format("%.0f", s.wiggleEvery); }},
      {"%wiggle_def%", [&] { return format("%.2f", s.wiggleDeflection); }},
      {"%trace_inc%", traceIncrement},
      {"%d", [&] { return std::string(unitName(u)); }},
  };
  std::string out = text;
  for (const auto& [name, value] : variables) {
    const size_t at = out.find(name);
    if (at != std::string::npos) out.replace(at, std::strlen(name), value());
  }
  return out;
}

}  // namespace quv
