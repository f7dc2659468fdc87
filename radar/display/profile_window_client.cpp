// The profile window's client: the band with the "View Text" button, the
// "Pres." check box and the version tabs (drawn on the canvas), the
// separator with its drag, the trace panel; and the text and presentation views.
#include <algorithm>
#include <cstdio>

#include "display/axes.h"
#include "display/gain.h"
#include "display/image_wiggles.h"
#include "display/profile_window.h"
#include "project/quv.h"

namespace quv {

namespace {

constexpr dv::ColorRef kWhite = 0xFFFFFF;
constexpr dv::ColorRef kFace = 0xF0F0F0;       // button face
constexpr dv::ColorRef kLight = 0xFFFFFF;      // 3-D highlight
constexpr dv::ColorRef kShadow = 0xA0A0A0;     // 3-D shadow
constexpr dv::ColorRef kDarkShadow = 0x696969;
constexpr dv::ColorRef kRed = 0x0000FF;
constexpr dv::ColorRef kText = 0x000000;

dv::FontDesc bandFont() {
  dv::FontDesc f;
  f.height = -11;
  f.face = "Arial";
  return f;
}

bool inside(const dv::Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// A raised (or sunken) 3-D edge along the border of r.
void edge3d(dv::Canvas& c, const dv::Rect& r, bool raised) {
  c.setPen(raised ? kLight : kShadow);
  c.line(r.left, r.bottom - 1, r.left, r.top);
  c.line(r.left, r.top, r.right - 1, r.top);
  c.setPen(raised ? kDarkShadow : kLight);
  c.line(r.right - 1, r.top, r.right - 1, r.bottom - 1);
  c.line(r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1);
}

}  // namespace

ProfileClient::ProfileClient(CProfileWnd& w) : w_(w) {}

void ProfileClient::onSize(int, int) { relayout(); }

void ProfileClient::relayout() {
  layout_ = windowLayout(width(), height(), w_.splitRatio());
  // Only the views of the current mode are shown.
  const bool text = w_.textMode(), pres = w_.presentationMode();
  if (children().size() == 3) {
    Pane* normal = children()[0];
    Pane* presentation = children()[1];
    Pane* textView = children()[2];
    normal->place(layout_.normal);
    presentation->place(layout_.presentation);
    textView->place(layout_.text);
    normal->show(!text && !pres);
    presentation->show(!text && pres);
    textView->show(text);
  }
  repaint();
}

int ProfileClient::tabAt(int x, int y) const {
  for (size_t i = 0; i < tabRects_.size(); ++i)
    if (inside(tabRects_[i], x, y)) return int(i);
  return -1;
}

void ProfileClient::onPaint(dv::Canvas& c) {
  const int cw = width(), ch = height();
  // The band above y 25 in the button-face colour.
  c.fillRect({0, 0, cw, kBandHeight}, kFace);
  c.setFont(bandFont());
  c.setTextColor(kText);

  // 20000: the push button.
  const dv::Rect& b = layout_.button;
  edge3d(c, b, true);
  c.setTextAlign(dv::kTextCenter | dv::kTextBottom);
  const std::string caption = w_.textMode() ? "View Graphic" : "View Text";
  c.setClip(b);
  c.text(b.left + b.width() / 2, b.top + b.height() / 2 + 6, caption);
  c.clearClip();

  // 20001: the check box.
  const dv::Rect& k = layout_.check;
  const int box = 11, by = k.top + (k.height() - box) / 2;
  const dv::Rect boxRect{k.left + 1, by, k.left + 1 + box, by + box};
  c.fillRect(boxRect, kWhite);
  edge3d(c, boxRect, false);
  if (w_.presentationMode()) {
    c.setPen(kText);
    c.line(boxRect.left + 2, by + 5, boxRect.left + 4, by + 8);
    c.line(boxRect.left + 4, by + 8, boxRect.left + 9, by + 2);
  }
  c.setTextAlign(dv::kTextLeft | dv::kTextBottom);
  c.setClip(k);
  c.text(boxRect.right + 2, k.top + k.height() / 2 + 6, "Pres.");
  c.clearClip();

  // 20002: the tabs, one per version; the current one raised and joined to the views.
  tabRects_.clear();
  const auto& list = w_.item().versionList;
  int x = layout_.tabs.left;
  const int current = w_.currentIndex();
  c.setClip(layout_.tabs);
  c.setPen(kShadow);
  c.line(layout_.tabs.left, kBandHeight - 1, layout_.tabs.right, kBandHeight - 1);
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string label = tabLabel(*list[i]);
    const int tw = c.textExtent(label).cx + 12;
    const bool on = int(i) == current;
    dv::Rect r{x, layout_.tabs.top + (on ? 0 : 2), x + tw, kBandHeight};
    c.fillRect({r.left, r.top, r.right, r.bottom}, on ? kWhite : kFace);
    c.setPen(kLight);
    c.line(r.left, r.bottom - 1, r.left, r.top);
    c.line(r.left, r.top, r.right - 1, r.top);
    c.setPen(kDarkShadow);
    c.line(r.right - 1, r.top, r.right - 1, r.bottom);
    if (!on) {
      c.setPen(kShadow);
      c.line(r.left, r.bottom - 1, r.right, r.bottom - 1);
    }
    c.setTextAlign(dv::kTextCenter | dv::kTextBottom);
    c.text(r.left + tw / 2, r.bottom - 4, label);
    tabRects_.push_back({x, layout_.tabs.top, x + tw, kBandHeight});
    x += tw;
  }
  c.clearClip();

  if (w_.textMode() || w_.presentationMode()) {
    // The views cover the rest; the text view leaves a margin.
    if (w_.textMode()) {
      c.fillRect({0, kBandHeight, cw, ch}, kFace);
    }
    return;
  }
  // The separator: a 3-D frame 5 pixels wide at the split position.
  const dv::Rect sep{layout_.splitPos, kBandHeight, layout_.splitPos + kSeparatorWidth, ch};
  c.fillRect(sep, kFace);
  edge3d(c, sep, true);
  paintTracePanel(c);
}

void ProfileClient::paintTracePanel(dv::Canvas& c) {
  const dv::Rect& p = layout_.panel;
  if (p.right <= p.left || p.bottom <= p.top) return;
  c.fillRect(p, kWhite);
  ProfileVersion* v = w_.version();
  if (!v) return;
  const DisplaySettings& s = v->normal;
  NormalView& view = w_.normalView();
  // The panel's rows line up with the image rows of the normal view.
  const int top = p.top + view.image().top, bottom = p.top + view.image().bottom;
  const dv::Rect area{p.left, top, p.right, std::min(bottom, p.bottom)};
  if (area.bottom <= area.top || area.right - area.left < 8) return;

  // Time zero of a time version as a red line, when it lies among the shown samples.
  if (v->kind == kTimeVersion && v->timeIncrement != 0) {
    const double zero = -double(v->firstTime) / v->timeIncrement;
    const int s0 = int(zero + (zero < 0 ? -0.5 : 0.5));
    if (s0 >= s.firstSample && s0 <= s.lastSample) {
      AxisScale axis;
      axis.origin = view.image().top;
      axis.end = view.image().bottom;
      axis.first = s.firstSample;
      axis.last = s.lastSample;
      const int y = p.top + axis.pixelOf(s0);
      c.setPen(kRed);
      c.line(area.left, y, area.right, y);
    }
  }

  const int t = w_.panelTrace();
  buildByteTraces(*v, false, std::vector<int>{t}, false);
  const ByteTraceView bytes(v->normalBytes, v->samples);
  if (t < 0 || !bytes.trace(t)) return;
  // One trace: full scale is (panel width - 7) / 2 pixels about the middle.
  const int wp = area.right - area.left - 1;
  const int deflection = (area.right - area.left - 7) / 2;
  WiggleStyle style;
  style.lines = true;
  style.fillLeft = s.panelFillLeft != 0;
  style.fillRight = s.panelFillRight != 0;
  style.every = 1;
  style.deflection = float((deflection + 0.5) / std::max(wp, 1));
  style.colour = s.wiggleColour;
  // The view's row map, moved to the window's rows.
  std::vector<int> rows(size_t(area.bottom), -1);
  const auto& viewRows = view.maps().rows;
  for (int y = area.top; y < area.bottom; ++y) {
    const int vy = y - p.top;
    if (vy >= 0 && size_t(vy) < viewRows.size()) rows[size_t(y)] = viewRows[size_t(vy)];
  }
  drawWiggles(c, area, rows, bytes, {t, t, s.firstSample, s.lastSample}, style);
  // Which trace is shown.
  char label[32];
  std::snprintf(label, sizeof label, "%i", t + 1);
  c.setFont(bandFont());
  c.setTextColor(kText);
  c.setTextAlign(dv::kTextCenter | dv::kTextBottom);
  c.text(area.left + (area.right - area.left) / 2, area.top - 4, label);
}

void ProfileClient::onMouseDown(const dv::MouseEvent& e) {
  const WindowLayout& l = layout_;
  if (e.button == dv::kLeftButton) {
    if (inside(l.button, e.x, e.y)) return;  // acts on release
    const int tab = tabAt(e.x, e.y);
    if (tab >= 0) {
      w_.selectVersion(tab);
      return;
    }
    const bool graphic = !w_.textMode() && !w_.presentationMode();
    if (graphic && e.y >= kBandHeight && e.x >= l.splitPos && e.x < l.splitPos + kSeparatorWidth) {
      splitting_ = true;
      splitAt_ = l.splitPos;
      setCapture(true);
      return;
    }
    if (graphic && inside(l.panel, e.x, e.y) && w_.timeZeroArmed()) {
      w_.armTimeZero(false);
      const auto& rows = w_.normalView().maps().rows;
      const int vy = e.y - l.panel.top;
      if (vy >= 0 && size_t(vy) < rows.size() && rows[size_t(vy)] >= 0) w_.setTimeZero(rows[size_t(vy)]);
      return;
    }
    if (w_.timeZeroArmed()) w_.armTimeZero(false);
  }
}

void ProfileClient::onMouseMove(const dv::MouseEvent& e) {
  const WindowLayout& l = layout_;
  if (splitting_) {
    splitAt_ = clampSplit(e.x, width());
    w_.setSplitRatio(float(splitAt_) / float(std::max(width(), 1)));
    return;
  }
  const bool graphic = !w_.textMode() && !w_.presentationMode();
  const bool overSeparator =
      graphic && e.y >= kBandHeight && e.x >= l.splitPos && e.x < l.splitPos + kSeparatorWidth;
  if (!w_.timeZeroArmed()) setCursor(overSeparator ? dv::CursorShape::SizeHorizontal : dv::CursorShape::Arrow);
}

void ProfileClient::onMouseUp(const dv::MouseEvent& e) {
  const WindowLayout& l = layout_;
  if (splitting_ && e.button == dv::kLeftButton) {
    splitting_ = false;
    setCapture(false);
    // The split ratio follows the final position.
    splitAt_ = clampSplit(e.x, width());
    w_.setSplitRatio(float(splitAt_) / float(std::max(width(), 1)));
    return;
  }
  if (e.button == dv::kLeftButton) {
    if (inside(l.button, e.x, e.y)) w_.onCommand(IDC_VIEW_TEXT);
    else if (inside(l.check, e.x, e.y)) w_.onCommand(IDC_PRES);
    return;
  }
  if (e.button != dv::kRightButton) return;
  if (tabAt(e.x, e.y) >= 0) {
    w_.popup("WPRF3TAB", e.screenX, e.screenY);
  } else if (!w_.textMode() && !w_.presentationMode() && inside(l.panel, e.x, e.y)) {
    w_.popup("WPRFRWND", e.screenX, e.screenY);
  }
}

// --- the text view -------------------------------------------------------------------

std::vector<std::string> TextView::lines() const {
  std::vector<std::string> out;
  const ProfileVersion* v = w_.version();
  if (!v) return out;
  char line[160];
  auto add = [&](const char* f, double a) {
    std::snprintf(line, sizeof line, f, a);
    out.push_back(line);
  };
  out.push_back("Version: " + tabLabel(*v));
  add("Traces: %.0f", w_.header().traceCount);
  add("Samples per trace: %.0f", v->samples);
  add("Minimum: %g", v->minimum);
  add("Maximum: %g", v->maximum);
  add("Amplitude scale: %g", v->amplitudeScale);
  add("First time (ns): %.3f", v->firstTime);
  add("Time increment (ns): %.4f", v->timeIncrement);
  if (v->kind != kTimeVersion) {
    add("First depth: %.3f", v->firstDepth);
    add("Depth increment: %.4f", v->depthIncrement);
  }
  if (v->kind == kElevationVersion) {
    add("First elevation: %.3f", v->firstElevation);
    add("Elevation increment: %.4f", v->elevationIncrement);
  }
  out.push_back(std::string("Distance unit: ") + lengthUnit(w_.header().unitsPerFoot));
  add("Geometry nodes: %.0f", w_.header().nodeCount());
  return out;
}

void TextView::onPaint(dv::Canvas& c) {
  c.fillRect({0, 0, width(), height()}, kWhite);
  edge3d(c, {0, 0, width(), height()}, false);
  dv::FontDesc f;
  f.height = -12;
  c.setFont(f);
  c.setTextColor(kText);
  c.setTextAlign(dv::kTextLeft | dv::kTextTop);
  int y = 6;
  for (const std::string& l : lines()) {
    c.text(8, y, l);
    y += 16;
  }
}

void TextView::onMouseUp(const dv::MouseEvent& e) {
  if (e.button == dv::kRightButton) w_.popup("WPRFPTEXT", e.screenX, e.screenY);
}

}  // namespace quv
