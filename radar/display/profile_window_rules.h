// The rules of the profile window that need no window: version tab labels,
// the layout of the window's controls and of the normal view's image,
// scrolling and zooming of the zoom window, and the readout texts of the
// status bar.
#pragma once

#include <string>
#include <vector>

#include "project/display_settings.h"
#include "dv/canvas.h"  // dv::Point, dv::Rect
#include "project/profile.h"

namespace quv {

// "T1", "D2(T1)", "D2(T1) migrated": letter and number, the parent version
// in brackets when the version was made from another, then its name.
std::string tabLabel(const ProfileVersion& v);

// --- layout -------------------------------------------------------------------

constexpr int kBandHeight = 25;       // the band with the button, check box and tabs
// The tabs begin right of the button and the check box, whose captions
// ("View Graphic", "Pres.") need 120 pixels.
constexpr int kTabsLeft = 126;
constexpr int kSeparatorWidth = 5;    // between the normal view and the trace panel
constexpr int kImageLeft = 80, kImageTop = 50;
constexpr int kMinImageSpan = 100;    // usable width and height never below

// Client rectangles of the window's parts for a client of w x h pixels.
struct WindowLayout {
  dv::Rect button;        // 20000 "View Text" / "View Graphic"
  dv::Rect check;         // 20001 "Pres."
  dv::Rect tabs;          // 20002
  dv::Rect normal;        // 20400
  dv::Rect presentation;  // 20300
  dv::Rect text;          // 20200
  int splitPos = 0;       // x of the separator
  dv::Rect panel;         // the trace panel right of the separator
};
WindowLayout windowLayout(int w, int h, float splitRatio);

// The image rectangle of a normal view of w x h pixels with scroll bars of
// sbw (vertical) and sbh (horizontal) pixels: left 80, top 50, right
// w - sbw - 1, bottom h - sbh - 1, the usable width and height at least 100.
dv::Rect normalImageRect(int w, int h, int sbw, int sbh);

// Where the separator may be dragged: between half the client width and 4
// pixels from the right edge.
int clampSplit(int x, int clientWidth);

// --- scrolling ------------------------------------------------------------------

// One axis of the zoom window: first..last of `total` items (traces or samples).
struct ScrollAxis {
  int first = 0, last = 0, total = 1;
  int span() const { return last - first; }
};
// Page size P = 101 * (span + 1) / total, at least 1 (101 when all is shown).
int scrollPage(const ScrollAxis& a);
// first * (101 - P) / (total - span - 1), or 0 when the whole axis is shown.
int scrollPosition(const ScrollAxis& a);
// The zoom window after a scroll-bar action (the SB_ codes of dv::ScrollAction)
// with the thumb at `thumb` for drags: line steps move one item while the
// window stays inside, page steps move the position by (101 - P) / 10 (at
// least 1) and the thumb sets first = (total - span - 1) * position / (101 - P);
// the span is kept. Returns false when nothing changed.
bool scrollAxis(ScrollAxis& a, int action, int thumb);

// --- zoom ---------------------------------------------------------------------

// A zoom rectangle released in the image: the corners normalised, the
// traces under its left and right edges (column map) and the samples under
// its top and bottom edges (row map). Only an axis that covers more than 8
// items changes. Returns false when neither did.
bool zoomToRect(const dv::Rect& band, const std::vector<int>& columns, const std::vector<int>& rows,
                DisplaySettings& s);
// A rubber-band corner kept inside the image rectangle.
dv::Point clampToImage(dv::Point p, const dv::Rect& image);

// --- readouts -------------------------------------------------------------------

// The texts of status panes 0 to 4 with the mouse over trace t, sample s
// (t or s below 0: outside the image, pane 0 empty).
struct Readouts {
  std::string pane[5];
};
Readouts readouts(const ProfileVersion& v, const ProfileHeader& h, int trace, int sample);

}  // namespace quv
