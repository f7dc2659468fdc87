// Wiggle curves and fills, and their drawing into a bitmap or a canvas.
#include "display/image_wiggles.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace quv {

WiggleStyle wiggleStyle(const DisplaySettings& s) {
  WiggleStyle w;
  w.lines = s.wiggleLines != 0;
  w.fillLeft = s.fillLeft != 0;
  w.fillRight = s.fillRight != 0;
  w.every = s.wiggleEvery;
  w.deflection = s.wiggleDeflection;
  w.colour = s.wiggleColour;
  return w;
}

bool wigglesShown(const WiggleStyle& w) { return w.lines || w.fillLeft || w.fillRight; }

namespace {

// The fill lines of one side between consecutive points of the curve.
void addFills(WiggleCurve& c, bool left) {
  const std::vector<dv::Point>& p = c.points;
  const int x0 = c.baseline;
  auto onSide = [&](const dv::Point& q) { return left ? q.x <= x0 : q.x >= x0; };
  for (size_t i = 0; i + 1 < p.size(); ++i) {
    const dv::Point a = p[i], b = p[i + 1];
    if (!onSide(a) && !onSide(b)) continue;
    // Each row once: up to the next point's row, which the next pair takes
    // (the last pair takes it too).
    const int lastRow = i + 2 == p.size() ? b.y : b.y - 1;
    for (int y = a.y; y <= lastRow; ++y) {
      const int xc = b.y != a.y ? a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y) : a.x;
      if (left && xc <= x0) c.spans.push_back({y, x0, xc - 1});
      if (!left && xc >= x0) c.spans.push_back({y, x0, xc + 1});
    }
  }
}

}  // namespace

std::vector<WiggleCurve> wiggleCurves(const dv::Rect& image, const std::vector<int>& rows,
                                      const ByteTraceView& bytes, const WiggleWindow& w,
                                      const WiggleStyle& style) {
  std::vector<WiggleCurve> curves;
  if (w.firstSample == w.lastSample || w.lastSample < w.firstSample || w.lastTrace < w.firstTrace)
    return curves;
  const int wp = image.right - image.left - 1;
  const int span = w.lastTrace - w.firstTrace;
  const int d = span > 0 ? int(double(wp) * style.deflection / span) : int(double(wp) * style.deflection);
  const int step = std::max(style.every, 1);
  const bool perRow = w.lastSample - w.firstSample + 1 >= image.bottom - image.top;
  const int samples = bytes.samples();

  for (int k = w.firstTrace; k <= w.lastTrace; k += step) {
    const uint8_t* b = bytes.trace(k);
    if (!b) continue;
    WiggleCurve c;
    c.trace = k;
    c.baseline = span > 0 ? int(int64_t(k - w.firstTrace) * wp / span) + image.left : wp / 2 + image.left;
    auto xAt = [&](int s) { return int((int(b[s]) - 128) * d / 128.0 + c.baseline + 0.5); };
    if (perRow) {
      for (int y = std::max(image.top, 0); y < image.bottom && y < int(rows.size()); ++y) {
        const int s = rows[size_t(y)];
        if (s >= 0 && s < samples) c.points.push_back({xAt(s), y});
      }
    } else {
      const int height = image.bottom - image.top - 1;
      for (int s = std::max(w.firstSample, 0); s <= w.lastSample && s < samples; ++s) {
        const int y = int(int64_t(s - w.firstSample) * height / (w.lastSample - w.firstSample)) + image.top;
        c.points.push_back({xAt(s), y});
      }
    }
    if (style.fillLeft) addFills(c, true);
    if (style.fillRight) addFills(c, false);
    curves.push_back(std::move(c));
  }
  return curves;
}

std::vector<int> tracesDrawn(const std::vector<int>& columns, const WiggleWindow& window,
                             const WiggleStyle& style) {
  std::vector<int> traces;
  for (int t : columns)
    if (t >= 0 && (traces.empty() || traces.back() != t)) traces.push_back(t);
  if (wigglesShown(style))
    for (int64_t k = window.firstTrace; k <= window.lastTrace; k += std::max(style.every, 1))
      traces.push_back(int(k));
  return traces;
}

void bitmapLine(dv::IndexedBitmap& bitmap, const dv::Rect& clip, int x0, int y0, int x1, int y1,
                uint8_t index) {
  const int left = std::max(clip.left, 0), right = std::min(clip.right, bitmap.width());
  const int top = std::max(clip.top, 0), bottom = std::min(clip.bottom, bitmap.height());
  if (y0 == y1) {
    // Horizontal: the pixels from x0 up to, not including, x1.
    if (y0 < top || y0 >= bottom || x0 == x1) return;
    int from = x0 < x1 ? x0 : x1 + 1, to = x0 < x1 ? x1 : x0 + 1;  // [from, to)
    from = std::max(from, left);
    to = std::min(to, right);
    if (from < to) std::memset(bitmap.row(y0) + from, index, size_t(to - from));
    return;
  }
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  while (x0 != x1 || y0 != y1) {
    if (x0 >= left && x0 < right && y0 >= top && y0 < bottom) bitmap.row(y0)[x0] = index;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void drawWiggles(dv::IndexedBitmap& bitmap, const dv::Rect& image, const std::vector<int>& rows,
                 const ByteTraceView& bytes, const WiggleWindow& window, const WiggleStyle& style) {
  const std::vector<WiggleCurve> curves = wiggleCurves(image, rows, bytes, window, style);
  if (curves.empty()) return;
  const uint8_t index = bitmap.nearestIndex(style.colour);
  for (const WiggleCurve& c : curves) {
    if (style.lines && !c.points.empty()) {
      for (size_t i = 0; i + 1 < c.points.size(); ++i)
        bitmapLine(bitmap, image, c.points[i].x, c.points[i].y, c.points[i + 1].x, c.points[i + 1].y,
                   index);
      const dv::Point last = c.points.back();
      if (last.x >= image.left && last.x < image.right && last.y >= image.top && last.y < image.bottom)
        bitmap.setPixel(last.x, last.y, index);
    }
    for (const WiggleSpan& s : c.spans) bitmapLine(bitmap, image, s.x0, s.y, s.end, s.y, index);
  }
}

void drawWiggles(dv::Canvas& canvas, const dv::Rect& image, const std::vector<int>& rows,
                 const ByteTraceView& bytes, const WiggleWindow& window, const WiggleStyle& style) {
  const std::vector<WiggleCurve> curves = wiggleCurves(image, rows, bytes, window, style);
  if (curves.empty()) return;
  canvas.setClip(image);
  canvas.setPen(style.colour, 1, dv::PenStyle::Solid);
  for (const WiggleCurve& c : curves) {
    if (style.lines && !c.points.empty()) {
      canvas.polyline(c.points);
      canvas.setPixel(c.points.back().x, c.points.back().y, style.colour);
    }
    for (const WiggleSpan& s : c.spans) canvas.line(s.x0, s.y, s.end, s.y);
  }
  canvas.clearClip();
}

}  // namespace quv
