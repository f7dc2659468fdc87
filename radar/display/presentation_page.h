// The presentation page of a profile version, painted for any target: the
// screen view paints its visible region on its client; a printer or an
// image export paints the whole page at its dots per inch
// (pageViewAtDpi(settings, dpi)) onto an image of that size, once, and
// sends or writes that image (in bands, if it must). The same call draws
// every one of them:
//
//   PageSource src{&version, &header, projectName, profileName};
//   dv::IndexedBitmap bitmap;   // kept by the caller between paints
//   PageLayout at = paintPresentationPage(canvas, bitmap, version.presentation, src,
//                                         pageViewAtDpi(version.presentation, 300));
//
// In order: the bitmap set white, the presentation byte traces the traces
// box shows (built when missing, without progress), the image filled into
// the traces box (only the part the view shows, with the traces and
// samples that fall there), wiggles and frame, the bitmap onto the canvas; the axis values of
// the presentation record without titles; the legend; the comments band;
// the title and the two axis labels; the page frame, the margin rectangle
// (unless hidden) and the area outside the page (not on paper); in edit
// layout mode a tracker around each of the six elements.
#pragma once

#include <string>

#include "display/presentation_layout.h"
#include "dv/bitmap.h"
#include "dv/canvas.h"
#include "project/profile.h"

namespace quv {

// The profile version the page shows and the names its legend uses.
struct PageSource {
  ProfileVersion* version = nullptr;
  const ProfileHeader* header = nullptr;
  std::string projectName;
  std::string profileName;
};

// Where the page went on the target, in its pixels.
struct PageLayout {
  PageView view;
  dv::Rect elements[kPageElementCount];  // each element's rectangle
  TracesBoxMapping traces;
  int fh = 0, fv = 0;    // axis font heights
  dv::Rect page, margins;
};

// Lays the page out for the view: the label texts follow the axis types,
// the text elements with maintain aspect take the length of their text
// (measured through `measure`), the pixel rectangles of the elements are
// worked out (and kept in the record's elements), the traces box mapped.
PageLayout layoutPresentationPage(DisplaySettings& s, const PageSource& src, const PageView& view,
                                  dv::Canvas& measure);

struct PagePaintOptions {
  bool trackers = false;  // edit layout mode
  // Print and export: the canvas is white paper already, so only the
  // traces box's part of the bitmap is drawn, and nothing of the screen's
  // aids (page frame, margin rectangle, the area beyond the page).
  bool paper = false;
};
// Paints the page of `s` (the presentation record of src.version) as `view`
// shows it; `bitmap` is resized to the view. Returns the layout drawn.
PageLayout paintPresentationPage(dv::Canvas& c, dv::IndexedBitmap& bitmap, DisplaySettings& s,
                                 const PageSource& src, const PageView& view,
                                 const PagePaintOptions& options = {});

// The eight handles of an element's tracker (corners, then edge middles:
// left top, right top, right bottom, left bottom, top, right, bottom, left).
constexpr int kTrackerHandle = 7;
void trackerHandles(const dv::Rect& r, dv::Rect out[8]);
// What a press at (x, y) grabs of an element rectangle: 0 to 7 a handle,
// 8 the inside (move), -1 nothing.
int trackerHit(const dv::Rect& r, int x, int y);
// The rectangle after dragging part `hit` by (dx, dy), kept normalised.
dv::Rect trackRect(const dv::Rect& r, int hit, int dx, int dy);

}  // namespace quv
