// Wiggle traces: every nth byte trace drawn as a curve about its baseline,
// with optional fills of the negative (left) and positive (right) lobes.
// The geometry is worked out once and drawn either straight into the
// indexed bitmap (the displays' paint) or through a canvas.
#pragma once

#include <vector>

#include "display/image.h"
#include "dv/bitmap.h"
#include "dv/canvas.h"

namespace quv {

struct WiggleStyle {
  bool lines = false, fillLeft = false, fillRight = false;
  int every = 5;              // step between wiggle traces (below 1 taken as 1)
  float deflection = 2.0f;    // full-scale deflection, in trace spacings
  dv::ColorRef colour = 0;
};
WiggleStyle wiggleStyle(const DisplaySettings& s);
// A display draws wiggles when any of lines, fill left, fill right is on.
bool wigglesShown(const WiggleStyle& w);

// What is shown: the traces and samples of the zoom window.
struct WiggleWindow {
  int firstTrace = 0, lastTrace = 0, firstSample = 0, lastSample = 0;
};

// One horizontal fill line: from x0 towards `end`, leaving `end` out.
struct WiggleSpan {
  int y = 0, x0 = 0, end = 0;
};

struct WiggleCurve {
  int trace = 0;
  int baseline = 0;                 // x0
  std::vector<dv::Point> points;    // top to bottom
  std::vector<WiggleSpan> spans;    // left fills, then right fills
};

// The curves of the image rectangle, for the style's fills (no curves when
// the first sample equals the last). With Wp = right - left - 1 pixels the
// deflection is D = trunc(Wp * deflection / (last - first trace)) pixels for
// full scale, the baseline of trace k is (k - first) * Wp / (last - first)
// + left (Wp / 2 + left for one trace); one point per pixel row while the
// samples shown are at least as many as the rows, else one per sample at
// row (s - first) * (bottom - top - 1) / (last - first sample) + top; a
// point lies at trunc((byte - 128) * D / 128 + x0 + 0.5). A fill takes every
// row from one point to the next, the curve's position xc there
// interpolated in integers; it draws from x0 to xc - 1 (left, when xc <= x0)
// or to xc + 1 (right, when xc >= x0) for pairs with a point on that side.
std::vector<WiggleCurve> wiggleCurves(const dv::Rect& image, const std::vector<int>& rows,
                                      const ByteTraceView& bytes, const WiggleWindow& window,
                                      const WiggleStyle& style);

// The traces a drawing reads: those of the pixel column map and, when the
// style shows wiggles, every `every`-th trace of the window (the byte
// traces to have built before drawing).
std::vector<int> tracesDrawn(const std::vector<int>& columns, const WiggleWindow& window,
                             const WiggleStyle& style);

// Draws the curves clipped to the image rectangle in the colour-table entry
// nearest to the wiggle colour: the polyline with its last point, then the fills.
void drawWiggles(dv::IndexedBitmap& bitmap, const dv::Rect& image, const std::vector<int>& rows,
                 const ByteTraceView& bytes, const WiggleWindow& window, const WiggleStyle& style);
// The same through a canvas: clipped to the image, a solid one-pixel pen of
// the wiggle colour; the clip is removed afterwards.
void drawWiggles(dv::Canvas& canvas, const dv::Rect& image, const std::vector<int>& rows,
                 const ByteTraceView& bytes, const WiggleWindow& window, const WiggleStyle& style);

// A line into the bitmap that leaves out its last point, inside `clip` only.
void bitmapLine(dv::IndexedBitmap& bitmap, const dv::Rect& clip, int x0, int y0, int x1, int y1,
                uint8_t index);

}  // namespace quv
