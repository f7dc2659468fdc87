// The presentation view of the profile window: the page painted over the
// visible region, scrolling over the page, edit layout mode (move and
// resize the elements by their trackers), zoom layout mode, Zoom Out, the
// right-button pop-up and the settings pages of the elements; and the
// window's presentation commands, Load Layout and Save Layout among them.
#include <algorithm>
#include <cmath>

#include "display/layout_file.h"
#include "display/profile_window.h"
#include "dv/dialog.h"
#include "dv/tree.h"
#include "dv/ui.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/tree_items.h"

namespace quv {

namespace {

constexpr dv::ColorRef kFace = 0xF0F0F0;
constexpr int kScrollRange = 101;  // scroll bars run from 0 to 100, the page included

// The settings page an element opens on a right click (its toolbar command).
int elementPageCommand(int element) {
  switch (element) {
    case kTracesBox: return ID_TB_PAGE_PROPS + 2;        // "Traces Properties"
    case kTitle: return ID_TB_PAGE_PROPS + 1;            // "Title Properties"
    case kHorizontalLabel: return ID_TB_PAGE_PROPS + 5;  // "Horizontal Label Properties"
    case kVerticalLabel: return ID_TB_PAGE_PROPS + 6;    // "Vertical Label Properties"
    case kLegend: return ID_TB_LEGEND_PROPS;             // "Legend Properties"
    default: return ID_P_PROPERTIES;                     // the logo: the sheet itself
  }
}

// One axis of the visible region over the page, as the scroll bar shows it.
struct RegionAxis {
  float& first;
  float& last;
  float page;
  float span() const { return last - first; }
  int thumb() const { return std::clamp(int(kScrollRange * span() / std::max(page, 0.01f)), 1, kScrollRange); }
  int position() const {
    const float room = page - span();
    return room > 0 && thumb() < kScrollRange ? int(first * (kScrollRange - thumb()) / room + 0.5f) : 0;
  }
  // Moves the region; false when it stayed.
  bool scroll(int action, int thumbAt) {
    const float room = page - span();
    if (room <= 0) return false;
    float to = first;
    switch (action) {
      case dv::kScrollLineUp: to -= span() / 20; break;
      case dv::kScrollLineDown: to += span() / 20; break;
      case dv::kScrollPageUp: to -= span() * 0.9f; break;
      case dv::kScrollPageDown: to += span() * 0.9f; break;
      case dv::kScrollTop: to = 0; break;
      case dv::kScrollBottom: to = room; break;
      case dv::kScrollThumbPosition:
      case dv::kScrollThumbTrack:
        to = kScrollRange > thumb() ? room * float(thumbAt) / float(kScrollRange - thumb()) : 0;
        break;
      default: return false;
    }
    to = std::clamp(to, 0.0f, room);
    if (to == first) return false;
    const float s = span();
    first = to;
    last = to + s;
    return true;
  }
};

dv::Rect band(dv::Point a, dv::Point b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

void frameChanged(dv::FrameModel::Part part) {
  if (dv::FrameModel* f = dv::FrameModel::current()) f->changed(part);
}

}  // namespace

PresentationView::PresentationView(CProfileWnd& w) : w_(w) {
  id = IDC_PRES_VIEW;
  hScroll.id = IDC_PRES_HSCROLL;
  vScroll.id = IDC_PRES_VSCROLL;
}

int PresentationView::clientWidth() const { return std::max(width() - scrollBarWidth, kMinPresentationClient); }
int PresentationView::clientHeight() const {
  return std::max(height() - scrollBarHeight, kMinPresentationClient);
}

void PresentationView::regionChanged() {
  ProfileVersion* v = w_.version();
  if (!v || width() == 0 || height() == 0) return;
  DisplaySettings& s = v->presentation;
  equalScale(s, clientWidth(), clientHeight());
  RegionAxis h{s.visibleLeft, s.visibleRight, s.pageWidth}, vert{s.visibleTop, s.visibleBottom, s.pageHeight};
  setScrollBars({IDC_PRES_HSCROLL, 0, 100, h.thumb(), h.position(), true},
                {IDC_PRES_VSCROLL, 0, 100, vert.thumb(), vert.position(), true});
  repaint();
}

void PresentationView::zoomOut() {
  if (ProfileVersion* v = w_.version()) zoomOutRegion(v->presentation, clientWidth(), clientHeight());
  regionChanged();
}

void PresentationView::onSize(int, int) {
  ProfileVersion* v = w_.version();
  if (!v || width() == 0 || height() == 0) return;
  // The region keeps its origin and grows or shrinks with the client.
  resizeRegion(v->presentation, oldWidth_, oldHeight_, clientWidth(), clientHeight());
  oldWidth_ = clientWidth();
  oldHeight_ = clientHeight();
  regionChanged();
}

void PresentationView::onPaint(dv::Canvas& c) {
  ProfileVersion* v = w_.version();
  const int cw = clientWidth(), ch = clientHeight();
  if (!v) {
    c.fillRect({0, 0, width(), height()}, kFace);
    return;
  }
  DisplaySettings& s = v->presentation;
  PagePaintOptions options;
  options.trackers = w_.layoutMode() == 0;
  layout_ = paintPresentationPage(c, bitmap_, s, w_.pageSource(), recordView(s, cw, ch), options);
  c.fillRect({cw, ch, width(), height()}, kFace);  // the corner between the scroll bars
  if (dragElement_ >= 0) {
    const dv::Rect& r = layout_.elements[dragElement_];
    c.rubberBand(trackRect(r, dragHit_, corner_.x - anchor_.x, corner_.y - anchor_.y));
  } else if (zooming_) {
    c.rubberBand(band(anchor_, corner_));
  }
}

int PresentationView::elementAt(int x, int y, bool trackers) const {
  for (int k = kPageElementCount - 1; k >= 0; --k) {
    const dv::Rect& r = layout_.elements[k];
    if (trackers ? trackerHit(r, x, y) >= 0 : (x >= r.left && x < r.right && y >= r.top && y < r.bottom))
      return k;
  }
  return -1;
}

void PresentationView::onMouseDown(const dv::MouseEvent& e) {
  if (!w_.version() || e.button != dv::kLeftButton) return;
  anchor_ = corner_ = {e.x, e.y};
  if (w_.layoutMode() == 1) {
    zooming_ = true;
  } else {
    dragElement_ = elementAt(e.x, e.y, true);
    if (dragElement_ < 0) return;
    dragHit_ = trackerHit(layout_.elements[dragElement_], e.x, e.y);
  }
  setCapture(true);
  repaint();
}

void PresentationView::onMouseMove(const dv::MouseEvent& e) {
  if (dragElement_ < 0 && !zooming_) {
    if (w_.layoutMode() == 0 && w_.version()) {
      const int k = elementAt(e.x, e.y, true);
      const int hit = k >= 0 ? trackerHit(layout_.elements[k], e.x, e.y) : -1;
      setCursor(hit == 8 ? dv::CursorShape::Hand
                : hit == 4 || hit == 6 ? dv::CursorShape::SizeVertical
                : hit >= 0 ? dv::CursorShape::SizeHorizontal
                           : dv::CursorShape::Arrow);
    } else {
      setCursor(w_.layoutMode() == 1 ? dv::CursorShape::Cross : dv::CursorShape::Arrow);
    }
    return;
  }
  corner_ = {e.x, e.y};
  repaint();
}

void PresentationView::onMouseUp(const dv::MouseEvent& e) {
  ProfileVersion* v = w_.version();
  if (!v) return;
  DisplaySettings& s = v->presentation;
  if (e.button == dv::kRightButton) {
    // On an element its settings page, elsewhere the pop-up.
    const int k = elementAt(e.x, e.y, false);
    if (k >= 0) w_.onCommand(elementPageCommand(k));
    else w_.popup("WPRFPWND", e.screenX, e.screenY);
    return;
  }
  if (e.button != dv::kLeftButton) return;
  setCapture(false);
  corner_ = {e.x, e.y};
  if (zooming_) {
    zooming_ = false;
    if (zoomRegionTo(s, band(anchor_, corner_), clientWidth(), clientHeight())) regionChanged();
    else repaint();
    return;
  }
  if (dragElement_ < 0) return;
  const int k = dragElement_;
  dragElement_ = -1;
  const int dx = corner_.x - anchor_.x, dy = corner_.y - anchor_.y;
  if (dx != 0 || dy != 0) {
    // The new pixel rectangle back in inches; texts are laid out again and
    // the traces box mapped anew when the page is painted.
    const dv::Rect r = trackRect(layout_.elements[k], dragHit_, dx, dy);
    const PageView view = recordView(s, clientWidth(), clientHeight());
    PageElement& el = s.elements[k];
    el.left = float(view.inchesX(r.left));
    el.top = float(view.inchesY(r.top));
    el.right = float(view.inchesX(r.right));
    el.bottom = float(view.inchesY(r.bottom));
  }
  repaint();
}

bool PresentationView::onWheel(const dv::WheelEvent& e) {
  const bool horizontal = e.horizontal || (e.modifiers & dv::kShiftKey);
  const int steps = std::max(1, std::abs(e.delta) / 120);
  for (int k = 0; k < steps; ++k)
    onScroll(!horizontal, e.delta > 0 ? dv::kScrollLineUp : dv::kScrollLineDown, 0);
  return true;
}

void PresentationView::onScroll(bool vertical, int action, int position) {
  ProfileVersion* v = w_.version();
  if (!v) return;
  DisplaySettings& s = v->presentation;
  RegionAxis a = vertical ? RegionAxis{s.visibleTop, s.visibleBottom, s.pageHeight}
                          : RegionAxis{s.visibleLeft, s.visibleRight, s.pageWidth};
  if (a.scroll(action, position)) regionChanged();
}

// --- the window's presentation commands ------------------------------------------------------

PageSource CProfileWnd::pageSource() {
  return {version_, &header(), projectName(), treeName(item_.tree)};
}

void CProfileWnd::setLayoutMode(int mode) {
  layoutMode_ = mode;
  updateToolBar();
  frameChanged(dv::FrameModel::ToolBar);
  presentation_.repaint();
}

namespace {

// The file of Save Layout or Load Layout, "" when the dialog is cancelled;
// both start in the installation's layout folder.
std::string layoutDialog(bool save) {
  dv::FileDialogRequest req;
  req.save = save;
  req.title = save ? "Save Page Layout..." : "Load Page Layout...";
  req.filters = {{"Page Layout (.lay)", "*.lay"}};
  req.defaultExt = "lay";
  req.overwritePrompt = save;
  req.fileMustExist = !save;
  if (const std::string orx = orxDir(); !orx.empty()) req.initialDir = layoutFolder(orx);
  const dv::FileDialogResult r = dv::ui().fileDialog(req);
  return r.ok && !r.paths.empty() ? r.paths[0] : std::string();
}

}  // namespace

void CProfileWnd::saveLayout() {
  const std::string path = layoutDialog(true);
  if (!path.empty() && !saveLayoutFile(path, version_->presentation))
    dv::messageBox(kMsgCouldNotCreateFile, "Error", dv::MB_OK | dv::MB_ICONERROR);
}

void CProfileWnd::loadLayout() {
  const std::string path = layoutDialog(false);
  if (path.empty()) return;
  if (!loadLayoutFile(path, version_->presentation)) {
    dv::messageBox(kMsgCouldNotOpenFileForReading, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  presentation_.zoomOut();
}

bool CProfileWnd::presentationCommand(int id) {
  DisplaySettings& p = version_->presentation;
  switch (id) {
    case ID_P_EDIT_LAYOUT:
    case ID_TB_EDIT_LAYOUT: setLayoutMode(0); return true;
    case ID_P_ZOOM_LAYOUT:
    case ID_TB_ZOOM_LAYOUT: setLayoutMode(1); return true;
    case ID_TB_PRES_ZOOM_OUT:
    case ID_PRES_ZOOM_OUT: presentation_.zoomOut(); return true;
    case ID_P_SAVE_LAYOUT: saveLayout(); return true;
    case ID_P_LOAD_LAYOUT: loadLayout(); return true;
    case ID_TB_PRES_WIGGLES: setWiggles(p, !(p.wiggleLines || p.fillLeft || p.fillRight)); return true;
    default: break;
  }
  if (id >= ID_TB_PRES_NO_COLOR && id <= ID_TB_PRES_USER) {
    setPalette(p, id - ID_TB_PRES_NO_COLOR);
    return true;
  }
  return false;
}

}  // namespace quv
