// The normal view of the profile window: the paint in its order (byte
// traces, image, wiggles, frame, blit, axes), the zoom rectangle, the
// scroll bars, Set Time Zero, the readouts and the right-button zones.
#include <algorithm>

#include "display/axes.h"
#include "display/colortable.h"
#include "display/export_image.h"
#include "display/gain.h"
#include "display/image_wiggles.h"
#include "display/profile_window.h"
#include "display/settings_pages.h"
#include "project/tree_items.h"

namespace quv {

namespace {

constexpr dv::ColorRef kWhite = 0xFFFFFF;

// The zoom window kept inside the profile; an empty or reversed range shows all.
void validateZoom(DisplaySettings& s, int traces, int samples) {
  auto fix = [](int32_t& first, int32_t& last, int count) {
    if (count <= 0) {
      first = last = 0;
      return;
    }
    first = std::clamp(first, 0, count - 1);
    last = std::clamp(last, 0, count - 1);
    if (last < first || (last == first && count > 1)) {
      first = 0;
      last = count - 1;
    }
  };
  fix(s.firstTrace, s.lastTrace, traces);
  fix(s.firstSample, s.lastSample, samples);
}

dv::Rect bandRect(dv::Point a, dv::Point b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool inside(const dv::Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

NormalView::NormalView(CProfileWnd& w) : w_(w) {
  id = IDC_NORMAL_VIEW;
  hScroll.id = IDC_HSCROLL;
  vScroll.id = IDC_VSCROLL;
}

void NormalView::zoomChanged() {
  ProfileVersion* v = w_.version();
  if (!v) return;
  DisplaySettings& s = v->normal;
  validateZoom(s, w_.header().traceCount, v->samples);
  image_ = normalImageRect(width(), height(), scrollBarWidth, scrollBarHeight);
  const int bw = std::max(width() - scrollBarWidth, 0), bh = std::max(height() - scrollBarHeight, 0);
  buildPixelMaps(bw, bh, image_, s.firstTrace, s.lastTrace, s.firstSample, s.lastSample, maps_);
  // Range 0 to 100, the page and position of each axis.
  const ScrollAxis h{s.firstTrace, s.lastTrace, w_.header().traceCount};
  const ScrollAxis vert{s.firstSample, s.lastSample, v->samples};
  dv::ScrollBarState hs{IDC_HSCROLL, 0, 100, scrollPage(h), scrollPosition(h), true};
  dv::ScrollBarState vs{IDC_VSCROLL, 0, 100, scrollPage(vert), scrollPosition(vert), true};
  setScrollBars(hs, vs);
  repaint();
}

void NormalView::onSize(int, int) { zoomChanged(); }

void NormalView::onPaint(dv::Canvas& c) {
  ProfileVersion* v = w_.version();
  const int cw = width(), ch = height();
  const int bw = std::max(cw - scrollBarWidth, 0), bh = std::max(ch - scrollBarHeight, 0);
  if (!v || bw == 0 || bh == 0) {
    c.fillRect({0, 0, cw, ch}, kWhite);
    return;
  }
  DisplaySettings& s = v->normal;
  if (bitmap_.width() != bw || bitmap_.height() != bh) {
    bitmap_.resize(bw, bh);
    if (int(maps_.columns.size()) != bw || int(maps_.rows.size()) != bh) zoomChanged();
  }
  // 2. The byte traces the view shows that are still missing, without
  // progress (kept, so scrolling back costs nothing).
  const WiggleStyle style = wiggleStyle(s);
  const WiggleWindow shown{s.firstTrace, s.lastTrace, s.firstSample, s.lastSample};
  buildByteTraces(*v, false, tracesDrawn(maps_.columns, shown, style), false);
  // 1. and 3. The colour table of the palette, the image through the pixel maps.
  buildColorTable(s.paletteType, s.numColours, bitmap_.colors());
  const ByteTraceView bytes(v->normalBytes, v->samples);
  if (s.paletteType != kNoColor) fillImage(bitmap_, image_, maps_, s.numColours, bytes);
  else bitmap_.fill(kWhiteIndex);
  // 4. Wiggles, 5. the frame.
  if (wigglesShown(style)) drawWiggles(bitmap_, image_, maps_.rows, bytes, shown, style);
  drawFrame(bitmap_, image_);
  // 6. The corner between the scroll bars, and the bitmap on the screen.
  c.fillRect({bw, bh, cw, ch}, kWhite);
  c.drawBitmap(bitmap_, {0, 0, bw, bh}, {0, 0, bw, bh});
  // 7. The axes.
  drawAxes(c, normalAxes(*v, w_.header(), s, image_, axisFontPixels(s.hFontSize),
                        axisFontPixels(s.vFontSize)));
  // 8. The fitted hyperbola (Fit Hyperbola mode), in a bright green over any palette.
  const std::vector<dv::Point> curve = hyperbolaPoints();
  if (curve.size() > 1) {
    c.setPen(0x00C800, 2);
    size_t from = 0;
    for (size_t k = 1; k <= curve.size(); ++k)
      if (k == curve.size() || curve[k].x != curve[k - 1].x + 1) {  // a gap where it leaves the image
        if (k - from > 1) c.polyline(&curve[from], int(k - from));
        from = k;
      }
  }
  if (dragging_) c.rubberBand(bandRect(anchor_, corner_));
}

void NormalView::showReadouts(int x, int y) {
  ProfileVersion* v = w_.version();
  if (!v) return;
  int t = -1, s = -1;
  if (inside(image_, x, y) && x < int(maps_.columns.size()) && y < int(maps_.rows.size())) {
    t = maps_.columns[size_t(x)];
    s = maps_.rows[size_t(y)];
  }
  if (t < 0 || s < 0) t = s = -1;
  const Readouts r = readouts(*v, w_.header(), t, s);
  for (int pane = 0; pane < 5; ++pane) w_.setStatus(pane, r.pane[pane]);
  w_.showHyperbolaStatus();
}

void NormalView::onMouseDown(const dv::MouseEvent& e) {
  if (!w_.version()) return;
  const bool in = inside(image_, e.x, e.y) && e.x < int(maps_.columns.size()) &&
                  e.y < int(maps_.rows.size());
  if (e.button == dv::kRightButton) {
    w_.setRightZone(e.y < image_.top ? 1 : e.x < image_.left ? 2 : 0);
    return;
  }
  if (e.button != dv::kLeftButton) return;
  if (w_.timeZeroArmed()) {
    // The armed click sets time zero inside the image; any left click disarms.
    w_.armTimeZero(false);
    if (in) w_.setTimeZero(maps_.rows[size_t(e.y)]);
    return;
  }
  if (!in) return;
  if (w_.fitMode()) {
    fitPress(e.x, e.y);
    return;
  }
  w_.setPanelTrace(maps_.columns[size_t(e.x)]);
  anchor_ = corner_ = clampToImage({e.x, e.y}, image_);
  dragging_ = true;
  setCapture(true);
  repaint();
}

void NormalView::onMouseMove(const dv::MouseEvent& e) {
  if (draggingHyperbola_) w_.dragHyperbolaTo(traceAtColumn(e.x), sampleAtRow(e.y));
  showReadouts(e.x, e.y);
  if (!dragging_) return;
  corner_ = clampToImage({e.x, e.y}, image_);
  repaint();
}

void NormalView::onMouseUp(const dv::MouseEvent& e) {
  ProfileVersion* v = w_.version();
  if (!v) return;
  if (e.button == dv::kLeftButton && draggingHyperbola_) {
    draggingHyperbola_ = false;
    setCapture(false);
    w_.dragHyperbolaTo(traceAtColumn(e.x), sampleAtRow(e.y));
    return;
  }
  if (e.button == dv::kLeftButton && dragging_) {
    dragging_ = false;
    setCapture(false);
    corner_ = clampToImage({e.x, e.y}, image_);
    if (zoomToRect(bandRect(anchor_, corner_), maps_.columns, maps_.rows, v->normal)) {
      zoomChanged();
      showReadouts(e.x, e.y);
    }
    repaint();
    return;
  }
  if (e.button != dv::kRightButton) return;
  const int zone = e.y < image_.top ? 1 : e.x < image_.left ? 2 : 0;
  const int down = w_.rightZone();
  w_.setRightZone(-1);
  if (zone != down) return;
  if (zone == 1 || zone == 2)
    editWindowSettings(w_, false, zone);  // the axis's page
  else
    w_.popup("WPRFLTRACES", e.screenX, e.screenY);
}

void NormalView::onMouseLeave() {
  if (!dragging_) showReadouts(-1, -1);
}

void NormalView::onScroll(bool vertical, int action, int position) {
  ProfileVersion* v = w_.version();
  if (!v) return;
  DisplaySettings& s = v->normal;
  ScrollAxis a = vertical ? ScrollAxis{s.firstSample, s.lastSample, v->samples}
                          : ScrollAxis{s.firstTrace, s.lastTrace, w_.header().traceCount};
  if (!scrollAxis(a, action, position)) return;
  if (vertical) {
    s.firstSample = a.first;
    s.lastSample = a.last;
  } else {
    s.firstTrace = a.first;
    s.lastTrace = a.last;
  }
  zoomChanged();
  showReadouts(-1, -1);
}

bool NormalView::onKey(const dv::KeyEvent& e) {
  switch (e.key) {
    case dv::kKeyLeft: onScroll(false, dv::kScrollLineUp, 0); return true;
    case dv::kKeyRight: onScroll(false, dv::kScrollLineDown, 0); return true;
    case dv::kKeyUp: onScroll(true, dv::kScrollLineUp, 0); return true;
    case dv::kKeyDown: onScroll(true, dv::kScrollLineDown, 0); return true;
    case dv::kKeyPageUp: onScroll(true, dv::kScrollPageUp, 0); return true;
    case dv::kKeyPageDown: onScroll(true, dv::kScrollPageDown, 0); return true;
    case dv::kKeyHome: onScroll(false, dv::kScrollTop, 0); return true;
    case dv::kKeyEnd: onScroll(false, dv::kScrollBottom, 0); return true;
    case dv::kKeyEscape:
      if (w_.timeZeroArmed()) w_.armTimeZero(false);
      if (w_.fitMode()) w_.setFitMode(false);
      return true;
    default: return false;
  }
}

bool NormalView::onWheel(const dv::WheelEvent& e) {
  const bool horizontal = e.horizontal || (e.modifiers & dv::kShiftKey);
  const int steps = std::max(1, std::abs(e.delta) / 120);
  for (int k = 0; k < steps; ++k)
    onScroll(!horizontal, e.delta > 0 ? dv::kScrollLineUp : dv::kScrollLineDown, 0);
  return true;
}

}  // namespace quv
