// The canvas over an indexed bitmap, and the slot of the figure backend.
#include "dv/figure.h"

#include <algorithm>
#include <cstdlib>

namespace dv {

namespace {
FigureBackend* g_figures = nullptr;
}

FigureBackend* figureBackend() { return g_figures; }
void setFigureBackend(FigureBackend* backend) { g_figures = backend; }

BitmapCanvas::BitmapCanvas(IndexedBitmap& target) : b_(target) { clearClip(); }

uint8_t BitmapCanvas::index(ColorRef c) {
  c &= 0xFFFFFF;
  for (const auto& [colour, i] : cache_)
    if (colour == c) return i;
  const uint8_t i = b_.nearestIndex(c);
  cache_.emplace_back(c, i);
  return i;
}

void BitmapCanvas::plot(int x, int y, uint8_t i) {
  if (x >= clip_.left && x < clip_.right && y >= clip_.top && y < clip_.bottom) b_.row(y)[x] = i;
}

void BitmapCanvas::setPen(ColorRef colour, int width, PenStyle style) {
  pen_ = index(colour);
  penWidth_ = std::max(width, 1);
  penStyle_ = style;
}

void BitmapCanvas::line(int x0, int y0, int x1, int y1) {
  if (penStyle_ == PenStyle::None) return;
  // Bresenham from the first point, the last one left out.
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  const int half = (penWidth_ - 1) / 2;
  int err = dx + dy, step = 0;
  while (x0 != x1 || y0 != y1) {
    if (penStyle_ != PenStyle::Dot || (step & 1) == 0) {
      if (penWidth_ == 1) {
        plot(x0, y0, pen_);
      } else {
        for (int y = y0 - half; y < y0 - half + penWidth_; ++y)
          for (int x = x0 - half; x < x0 - half + penWidth_; ++x) plot(x, y, pen_);
      }
    }
    ++step;
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

void BitmapCanvas::polyline(const Point* points, int count) {
  for (int i = 1; i < count; ++i) line(points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
}

void BitmapCanvas::setPixel(int x, int y, ColorRef colour) { plot(x, y, index(colour)); }

void BitmapCanvas::frameRect(const Rect& r) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  line(r.left, r.top, r.right - 1, r.top);
  line(r.right - 1, r.top, r.right - 1, r.bottom - 1);
  line(r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
  line(r.left, r.bottom - 1, r.left, r.top);
}

void BitmapCanvas::fillRect(const Rect& r, ColorRef colour) {
  const uint8_t i = index(colour);
  const int left = std::max(r.left, clip_.left), right = std::min(r.right, clip_.right);
  const int top = std::max(r.top, clip_.top), bottom = std::min(r.bottom, clip_.bottom);
  for (int y = top; y < bottom; ++y) std::fill(b_.row(y) + left, b_.row(y) + std::max(left, right), i);
}

void BitmapCanvas::text(int x, int y, const std::string& s) {
  FigureBackend* f = figureBackend();
  if (s.empty() || !f) return;
  TextMask m;
  f->textMask(font_, align_, x, y, s, m);
  const uint8_t i = index(textColour_);
  for (int my = 0; my < m.height; ++my)
    for (int mx = 0; mx < m.width; ++mx)
      if (m.bits[size_t(my) * size_t(m.width) + size_t(mx)]) plot(m.left + mx, m.top + my, i);
}

Size BitmapCanvas::textExtent(const std::string& s) {
  if (FigureBackend* f = figureBackend()) return f->textExtent(font_, s);
  const int h = font_.height ? std::abs(font_.height) : 16;
  const int w = font_.width ? font_.width : std::max(h / 2, 1);
  return {w * int(s.size()), h};
}

void BitmapCanvas::setClip(const Rect& r) {
  clip_ = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, b_.width()),
           std::min(r.bottom, b_.height())};
}

void BitmapCanvas::clearClip() { clip_ = {0, 0, b_.width(), b_.height()}; }

void BitmapCanvas::drawBitmap(const IndexedBitmap& bitmap, const Rect& source, const Rect& target) {
  const int sw = source.width(), sh = source.height(), tw = target.width(), th = target.height();
  if (bitmap.empty() || sw <= 0 || sh <= 0 || tw <= 0 || th <= 0) return;
  uint8_t remap[256];
  const bool same = bitmap.colors() == b_.colors();
  for (int i = 0; i < 256; ++i) remap[i] = same ? uint8_t(i) : index(bitmap.color(i));
  const int left = std::max(target.left, clip_.left), right = std::min(target.right, clip_.right);
  const int top = std::max(target.top, clip_.top), bottom = std::min(target.bottom, clip_.bottom);
  std::vector<int> columns(size_t(std::max(right - left, 0)));
  for (int x = left; x < right; ++x)
    columns[size_t(x - left)] = source.left + int(int64_t(x - target.left) * sw / tw);
  for (int y = top; y < bottom; ++y) {
    const int sy = source.top + int(int64_t(y - target.top) * sh / th);
    if (sy < 0 || sy >= bitmap.height()) continue;
    const uint8_t* in = bitmap.row(sy);
    uint8_t* out = b_.row(y);
    for (int x = left; x < right; ++x) {
      const int sx = columns[size_t(x - left)];
      if (sx >= 0 && sx < bitmap.width()) out[x] = remap[in[sx]];
    }
  }
}

}  // namespace dv
