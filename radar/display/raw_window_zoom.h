// Zoom and scrolling of the raw data window along one axis (traces across,
// samples down): a shown span first..last of `total` items, the scroll bar
// over range 0 to 100 that shows it, and what the user's scrolling and the
// zoom rectangle make of it.
#pragma once

namespace quv {

// The shown part of one axis.
struct ShownSpan {
  int first = 0, last = 0;
  int total = 0;  // items on the axis (traces or samples)
};

// Scroll page size: 101 * (span + 1) / total, at least 1 (101 when all is shown).
int scrollPage(const ShownSpan& s);
// Thumb position: first * (101 - P) / (total - span - 1), 0 when all is shown.
int scrollPosition(const ShownSpan& s);

// Applies a scroll-bar action (the platform's codes: line up/left 0, line
// down/right 1, page up 2, page down 3, thumb position 4, thumb track 5,
// top 6, bottom 7; others do nothing), `thumb` being the thumb position of
// 4 and 5. A line moves the span by one item while it stays inside; a page
// moves the thumb by a tenth of its travel (at least one step) and the
// span follows the thumb: first = (total - span - 1) * position / (101 - P);
// a page that would leave the span where it was moves it by one item.
// Returns true when the span moved.
bool scrollSpan(ShownSpan& s, int action, int thumb);

// A zoom rectangle's edges mapped to items (`from` at its left or top
// edge, `to` at its right or bottom): when it covers more than 8 items the
// span becomes from..to. Returns true when it did.
bool zoomSpan(ShownSpan& s, int from, int to);

}  // namespace quv
