// CRawWnd: layout, painting, zoom, scrolling, readouts and commands.
#include "display/raw_window.h"

#include <algorithm>
#include <cstdio>

#include "display/colortable.h"
#include "display/gain.h"
#include "display/raw_gain.h"
#include "display/window_commands.h"
#include "display/window_output.h"
#include "dv/ui.h"
#include "project/tree_items.h"
#include "project/quv.h"

namespace quv {

namespace {

std::string format(const char* fmt, int a) {
  char text[64];
  std::snprintf(text, sizeof text, fmt, a);
  return text;
}
std::string format(const char* fmt, double a) {
  char text[64];
  std::snprintf(text, sizeof text, fmt, a);
  return text;
}

// 10-point Arial on a 96-dpi screen: 13 pixels high.
constexpr int kAxisFontPixels = 13;

dv::FontDesc axisFont() {
  dv::FontDesc f;
  f.height = -kAxisFontPixels;
  f.face = "Arial";
  return f;
}

// Keeps a stored zoom window inside the data (item files are not trusted).
void clampWindow(RawData& d) {
  const int lastTrace = std::max(d.traces - 1, 0), lastSample = std::max(d.samples - 1, 0);
  d.firstTrace = std::clamp(d.firstTrace, 0, lastTrace);
  d.lastTrace = std::clamp(d.lastTrace, d.firstTrace, lastTrace);
  d.firstSample = std::clamp(d.firstSample, 0, lastSample);
  d.lastSample = std::clamp(d.lastSample, d.firstSample, lastSample);
}

}  // namespace

dv::Rect rawImageRect(int width, int height, int sbWidth, int sbHeight) {
  dv::Rect r;
  r.left = kRawImageLeft;
  r.top = kRawImageTop;
  r.right = std::max(width - sbWidth, 100) - 1;
  r.bottom = std::max(height - sbHeight, 100) - 1;
  return r;
}

int rawShownPalette(int palette) { return palette == kRedWhiteBlue ? kRedWhiteBlue : kGrayScale; }

CRawWnd::CRawWnd(RawObject& object) : obj_(object) {
  RawData& d = data();
  clampWindow(d);
  bytes_.resize(size_t(std::max(d.traces, 0)));
  markers_.assign(size_t(std::max(d.traces, 0)), 0);
  fonts_.trace = fonts_.time = axisFont();
  fonts_.traceHeight = fonts_.timeHeight = kAxisFontPixels;
  hScroll.id = kRawHScrollId;
  vScroll.id = kRawVScrollId;
  hScroll.visible = vScroll.visible = true;
  setTitle(treeName(object.item));
  rebuildColours();
  updateScrollBars();
}

CRawWnd::~CRawWnd() = default;

RawData& CRawWnd::data() { return *obj_.data; }

ShownSpan CRawWnd::traceSpan() const {
  const RawData& d = *obj_.data;
  return {d.firstTrace, d.lastTrace, d.traces};
}

ShownSpan CRawWnd::sampleSpan() const {
  const RawData& d = *obj_.data;
  return {d.firstSample, d.lastSample, d.samples};
}

dv::Rect CRawWnd::zoomBand() const {
  if (!dragging_) return {};
  return {std::min(anchor_.x, corner_.x), std::min(anchor_.y, corner_.y),
          std::max(anchor_.x, corner_.x) + 1, std::max(anchor_.y, corner_.y) + 1};
}

void CRawWnd::status(int pane, const std::string& text) {
  if (statusSink) {
    statusSink(pane, text);
    return;
  }
  if (auto f = fw<PfnSetStatusBarText>(PONTRA_SetStatusBarText)) f(pane, text.c_str());
}

// --- building -----------------------------------------------------------------

void CRawWnd::rebuildColours() {
  RawData& d = data();
  buildColorTable(rawShownPalette(d.palette), validColourCount(d.colours), bitmap_.colors());
}

void CRawWnd::buildMissingBytes(GainProgress* progress) {
  RawData& d = data();
  std::vector<const float*> samples(bytes_.size(), nullptr);
  for (size_t i = 0; i < samples.size() && i < d.buffers.size(); ++i) samples[i] = d.buffers[i].get();
  buildRawByteTraces(samples, d.samples, d.gain, d.format, bytes_, progress);
}

// --- layout and paint -------------------------------------------------------------

void CRawWnd::onSize(int width, int height) {
  image_ = rawImageRect(width, height, scrollBarWidth, scrollBarHeight);
  bitmap_.resize(width, height);
  const RawData& d = *obj_.data;
  buildPixelMaps(width, height, image_, d.firstTrace, d.lastTrace, d.firstSample, d.lastSample,
                 maps_);
}

void CRawWnd::onPaint(dv::Canvas& canvas) {
  RawData& d = data();
  if (bitmap_.width() != width() || bitmap_.height() != height()) onSize(width(), height());
  if (bitmap_.empty()) return;
  buildMissingBytes(nullptr);
  fillImage(bitmap_, image_, maps_, validColourCount(d.colours), ByteTraceView(bytes_, d.samples));
  drawFrame(bitmap_, image_);
  const dv::Rect all{0, 0, bitmap_.width(), bitmap_.height()};
  canvas.drawBitmap(bitmap_, all, all);

  // Texts stay clear of the scroll bars, which lie over the client's edges.
  drawRawTraceAxis(canvas, image_, d.firstTrace, d.lastTrace, fonts_, width() - scrollBarWidth);
  if (d.samples > 0 && int(d.timeAxis.size()) >= d.samples)
    drawRawTimeAxis(canvas, image_, d.timeAxis[size_t(d.firstSample)],
                    d.timeAxis[size_t(d.lastSample)], fonts_, height() - scrollBarHeight);
  drawRawMarkerLines(canvas, image_, d.firstTrace, d.lastTrace, markers_);
  if (dragging_) canvas.rubberBand(zoomBand());
}

void CRawWnd::viewChanged() {
  const RawData& d = *obj_.data;
  buildPixelMaps(width(), height(), image_, d.firstTrace, d.lastTrace, d.firstSample,
                 d.lastSample, maps_);
  updateScrollBars();
  readouts(mouseIn_, mouseX_, mouseY_);
  repaint();
}

void CRawWnd::updateScrollBars() {
  dv::ScrollBarState h = hScroll, v = vScroll;
  const ShownSpan ts = traceSpan(), ss = sampleSpan();
  h.minimum = v.minimum = 0;
  h.maximum = v.maximum = 100;
  h.page = scrollPage(ts);
  h.position = scrollPosition(ts);
  v.page = scrollPage(ss);
  v.position = scrollPosition(ss);
  setScrollBars(h, v);
}

// --- readouts -----------------------------------------------------------------------

void CRawWnd::readouts(bool overImage, int x, int y) {
  const RawData& d = *obj_.data;
  std::string where;
  const bool inside = overImage && x >= image_.left && x < image_.right && y >= image_.top &&
                      y < image_.bottom && x < int(maps_.columns.size()) &&
                      y < int(maps_.rows.size());
  if (inside) {
    const int t = maps_.columns[size_t(x)], s = maps_.rows[size_t(y)];
    if (t >= 0 && s >= 0 && s < int(d.timeAxis.size())) {
      char text[96];
      std::snprintf(text, sizeof text, "Trace:%i Sample:%i Time:%.2f", t + 1, s + 1,
                    double(d.timeAxis[size_t(s)]));
      where = text;
    }
  }
  status(0, where);
  status(1, format("#Trc:%i", d.traces));
  status(2, format("#Smp:%i", d.samples));
  const bool times = d.samples > 0 && int(d.timeAxis.size()) >= d.samples;
  status(3, format("Tmin:%.2f", times ? double(d.timeAxis.front()) : 0.0));
  status(4, format("Tmax:%.2f", times ? double(d.timeAxis[size_t(d.samples - 1)]) : 0.0));
}

// --- mouse ----------------------------------------------------------------------------

void CRawWnd::onMouseDown(const dv::MouseEvent& e) {
  if (e.button == dv::kLeftButton) {
    if (e.x >= image_.left && e.x < image_.right && e.y >= image_.top && e.y < image_.bottom) {
      dragging_ = true;
      anchor_ = corner_ = {e.x, e.y};
      setCapture(true);
      repaint();
    }
  } else if (e.button == dv::kRightButton) {
    rightZone_ = e.y < image_.top ? 0 : e.x < image_.left ? 1 : 2;
  }
}

void CRawWnd::onMouseMove(const dv::MouseEvent& e) {
  mouseIn_ = true;
  mouseX_ = e.x;
  mouseY_ = e.y;
  if (dragging_) {
    // The band stays inside the image.
    corner_ = {std::clamp(e.x, image_.left, image_.right - 1),
               std::clamp(e.y, image_.top, image_.bottom - 1)};
    repaint();
  }
  readouts(true, e.x, e.y);
}

void CRawWnd::onMouseUp(const dv::MouseEvent& e) {
  if (e.button == dv::kLeftButton && dragging_) {
    corner_ = {std::clamp(e.x, image_.left, image_.right - 1),
               std::clamp(e.y, image_.top, image_.bottom - 1)};
    const dv::Rect band = zoomBand();
    dragging_ = false;
    setCapture(false);
    auto at = [](const std::vector<int>& map, int i) {
      return i >= 0 && i < int(map.size()) ? map[size_t(i)] : -1;
    };
    ShownSpan ts = traceSpan(), ss = sampleSpan();
    const bool traces = zoomSpan(ts, at(maps_.columns, band.left), at(maps_.columns, band.right - 1));
    const bool samples = zoomSpan(ss, at(maps_.rows, band.top), at(maps_.rows, band.bottom - 1));
    RawData& d = data();
    if (traces) {
      d.firstTrace = ts.first;
      d.lastTrace = ts.last;
    }
    if (samples) {
      d.firstSample = ss.first;
      d.lastSample = ss.last;
    }
    if (traces || samples) viewChanged();
    else repaint();
    return;
  }
  if (e.button == dv::kRightButton) {
    const int zone = e.y < image_.top ? 0 : e.x < image_.left ? 1 : 2;
    const bool popup = zone == rightZone_ && zone == 2;
    rightZone_ = -1;
    if (popup) {
      const RawData& d = *obj_.data;
      auto menu = rawWindowPopup(d.gain, rawShownPalette(d.palette));
      if (int id = dv::ui().trackPopupMenu(*menu, e.screenX, e.screenY)) onCommand(id);
    }
  }
}

void CRawWnd::onMouseLeave() {
  mouseIn_ = false;
  readouts(false, 0, 0);
}

void CRawWnd::onScroll(bool vertical, int action, int position) {
  ShownSpan s = vertical ? sampleSpan() : traceSpan();
  if (!scrollSpan(s, action, position)) {
    // The view's bar may have moved on its own: show where the data is.
    updateScrollBars();
    return;
  }
  RawData& d = data();
  if (vertical) {
    d.firstSample = s.first;
    d.lastSample = s.last;
  } else {
    d.firstTrace = s.first;
    d.lastTrace = s.last;
  }
  viewChanged();
}

// --- commands ---------------------------------------------------------------------------

void CRawWnd::zoomOut() {
  RawData& d = data();
  d.firstTrace = 0;
  d.lastTrace = std::max(d.traces - 1, 0);
  d.firstSample = 0;
  d.lastSample = std::max(d.samples - 1, 0);
  viewChanged();
}

void CRawWnd::setGain(int gain, GainProgress* progress) {
  data().gain = gain;
  for (auto& b : bytes_) b.reset();
  buildMissingBytes(progress);
  toolStateChanged();
  repaint();
}

void CRawWnd::setPalette(int palette) {
  RawData& d = data();
  d.palette = palette;
  d.colours = 64;
  rebuildColours();
  bitmap_.resize(width(), height());
  toolStateChanged();
  repaint();
}

bool CRawWnd::onCommand(int id) {
  if (id >= kRawToolZoomOut && id <= kRawToolRedWhiteBlue) id = kRawCmdZoomOut + (id - kRawToolZoomOut);
  switch (id) {
    case kRawCmdZoomOut: zoomOut(); return true;
    case kRawCmdGainTraceMax:
    case kRawCmdGainAgc10:
    case kRawCmdGainAgc25: setGain(id - kRawCmdGainTraceMax, &frameworkProgress()); return true;
    case kRawCmdGrayScale: setPalette(kGrayScale); return true;
    case kRawCmdRedWhiteBlue: setPalette(kRedWhiteBlue); return true;
    case kCmdFilePrint:
    case kCmdFileExport:
    case kCmdEditCopy: return rawWindowOutput(*this, id);
  }
  if (int command = rawObjectCommandOf(id)) {
    if (auto handle = windowCommands().rawObject) handle(obj_, command);
    return true;
  }
  return false;
}

int CRawWnd::commandState(int id) {
  if ((id >= kRawCmdZoomOut && id <= kRawCmdRedWhiteBlue) ||
      (id >= kRawToolZoomOut && id <= kRawToolRedWhiteBlue) || rawObjectCommandOf(id) ||
      id == kCmdFilePrint || id == kCmdFileExport || id == kCmdEditCopy)
    return 1;
  return -1;
}

dv::Menu* CRawWnd::menuBar() {
  // The frame's bar with "&Raw" after it, made again whenever the frame
  // has made a new bar (its entries' states may have changed).
  dv::FrameModel* frame = dv::FrameModel::current();
  const dv::Menu* base = frame ? frame->menuBar : nullptr;
  if (!bar_ || base != barBase_) {
    auto bar = std::make_unique<dv::Menu>();
    if (auto f = fw<PfnGetMainMenu>(PONTRA_GetMainMenu)) f(bar.get());
    bar->appendPopup("&Raw", rawMainMenuPopup());
    bar_ = std::move(bar);
    barBase_ = base;
  }
  return bar_.get();
}

const std::vector<dv::ToolButton>* CRawWnd::toolBar() {
  if (!active_) return nullptr;
  const RawData& d = *obj_.data;
  toolButtons_ = rawToolBar(d.gain, rawShownPalette(d.palette));
  return &toolButtons_;
}

void CRawWnd::toolStateChanged() {
  if (!active_) return;
  if (dv::FrameModel* frame = dv::FrameModel::current()) frame->changed(dv::FrameModel::ToolBar);
}

void CRawWnd::onActivate(bool active) {
  active_ = active;
  if (!active) return;
  // Other object toolbars go; the frame shows this window's.
  if (auto hide = fw<PfnHideAllObjToolBars>(PONTRA_HideAllObjToolBars)) hide();
  toolStateChanged();
}

}  // namespace quv
