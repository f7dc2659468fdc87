// Scroll-bar arithmetic and zoom of the raw data window.
#include "display/raw_window_zoom.h"

#include <algorithm>
#include <cstdint>

namespace quv {

namespace {

enum { kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4,
       kThumbTrack = 5, kTop = 6, kBottom = 7 };

// The room left for the span to move in: total - span - 1.
int travel(const ShownSpan& s) { return s.total - (s.last - s.first) - 1; }

}  // namespace

int scrollPage(const ShownSpan& s) {
  if (s.total <= 0) return 101;
  const int64_t p = int64_t(101) * (s.last - s.first + 1) / s.total;
  return int(std::clamp<int64_t>(p, 1, 101));
}

int scrollPosition(const ShownSpan& s) {
  const int room = travel(s);
  if (room <= 0) return 0;
  return int(int64_t(s.first) * (101 - scrollPage(s)) / room);
}

bool scrollSpan(ShownSpan& s, int action, int thumb) {
  const int span = s.last - s.first;
  const int room = travel(s);
  if (room <= 0 || span < 0) return false;
  const int before = s.first;
  const int page = scrollPage(s);
  const int thumbTravel = 101 - page;
  auto follow = [&](int position) {
    position = std::clamp(position, 0, thumbTravel);
    s.first = thumbTravel > 0 ? int(int64_t(room) * position / thumbTravel) : s.first;
  };
  switch (action) {
    case kLineUp:
      if (s.first > 0) --s.first;
      break;
    case kLineDown:
      if (s.last < s.total - 1) ++s.first;
      break;
    case kPageUp:
    case kPageDown: {
      // A tenth of the thumb's travel. The position is taken from the span,
      // so where the thumb has more steps than the span has room (a short
      // axis) the span could round back to where it was: a page then moves
      // at least one item, or the page keys would never move it.
      const int step = std::max(thumbTravel / 10, 1);
      follow(scrollPosition(s) + (action == kPageUp ? -step : step));
      if (s.first == before) s.first += action == kPageUp ? -1 : 1;
      break;
    }
    case kThumbPosition:
    case kThumbTrack: follow(thumb); break;
    case kTop: s.first = 0; break;
    case kBottom: s.first = room; break;
    default: return false;
  }
  s.first = std::clamp(s.first, 0, room);
  s.last = s.first + span;
  return s.first != before;
}

bool zoomSpan(ShownSpan& s, int from, int to) {
  if (from < 0 || to < 0) return false;
  if (from > to) std::swap(from, to);
  if (to - from + 1 <= 8) return false;
  s.first = std::clamp(from, 0, std::max(s.total - 1, 0));
  s.last = std::clamp(to, s.first, std::max(s.total - 1, 0));
  return true;
}

}  // namespace quv
