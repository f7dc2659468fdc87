// The axes of a profile display: minor and major ticks of the horizontal
// (trace) and vertical (sample) axis by their tick modes, the values written
// at the major ticks (one or both trace coordinates), grid lines across the
// image, the vertex lines of a complex line and the two axis titles. All
// drawing goes through a canvas, so a test can ask where a tick went.
//
// Pixels: with Wp = right - left - 1, trace t lies at
// trunc((t - first) * Wp / (last - first) + left + 0.5); samples likewise
// with Hp = bottom - top - 1 and top.
#pragma once

#include <string>
#include <vector>

#include "project/display_settings.h"
#include "dv/canvas.h"

namespace quv {

enum AxisTickMode { kTickFixedNumber = 0, kTickEveryNth = 1, kTickIncrement = 2 };
enum HAxisType { kAxisTrace = 0, kAxisEasting = 1, kAxisNorthing = 2 };
enum VAxisType { kAxisSample = 0, kAxisTime = 1, kAxisDepth = 2 };

// One axis as the tick rules see it: the pixels it spans, the items shown
// (traces or samples, first..last) and the coordinate of every item.
struct AxisScale {
  int origin = 0;  // left (horizontal) or top (vertical)
  int end = 0;     // right or bottom: ticks at or beyond it are not drawn
  int first = 0, last = 0;
  int tickMode = kTickFixedNumber;
  int fixedNumber = 5, everyNth = 100;
  float increment = 100.0f;
  int minors = 5;
  // The item number shown (index + 1) instead of a coordinate.
  bool indexAxis = true;
  const std::vector<float>* coords = nullptr;  // per item, for a coordinate axis
  const std::vector<float>* second = nullptr;  // the other coordinate (both shown)

  int pixels() const { return end - origin - 1; }  // Wp or Hp
  int pixelOf(int item) const;
  // The coordinate of an item: index + 1 on an index axis.
  double coord(int item) const;
  double secondCoord(int item) const;
};

// A major value: where it goes, the value and the other coordinate.
struct AxisValue {
  int pos = 0;
  double value = 0;
  double second = 0;
};

// Positions of the minor ticks (before the caller's side switches), those
// at or beyond `end` left out. Count M: fixed number (n - 1) * m + 1; every
// nth (last - first) * m / n + 1; increment |c(last) - c(first)| * m / d + 1
// starting at the first multiple of d / m at or beyond c(first) towards
// c(last). Tick k at trunc(k * pixels / (M - 1) + origin + shift + 0.5).
std::vector<int> minorTicks(const AxisScale& axis);
// The major values by the tick mode, before the hide-first/last flags.
std::vector<AxisValue> majorValues(const AxisScale& axis);

// What the axes of a display are drawn from.
struct AxesInput {
  dv::Rect image;  // left, top, right, bottom of the image rectangle
  const DisplaySettings* settings = nullptr;
  int firstTrace = 0, lastTrace = 0, firstSample = 0, lastSample = 0;
  int fh = 13, fv = 13;  // axis font heights in pixels
  bool titles = true;
  int versionKind = 0;  // 0 time, 1 depth, 2 elevation
  float unitsPerFoot = 1.0f;
  const std::vector<float>* easting = nullptr;   // per trace
  const std::vector<float>* northing = nullptr;  // per trace
  const std::vector<float>* vertical = nullptr;  // per sample: time, depth or elevation
  const std::vector<int32_t>* nodeTraces = nullptr;  // geometry nodes of the line
};

// "ft" for 1.0 units per foot, "in" for 12.0, "m" up to 30.47, "cm" above.
const char* lengthUnit(float unitsPerFoot);
// "Trace #", "Easting (m)", "Easting / Northing (m)", "Northing (ft)", ...
std::string horizontalTitle(const DisplaySettings& s, float unitsPerFoot);
// "Sample #", "Time (ns)", "Depth (m)" or, for an elevation version, "Elevation (m)".
std::string verticalTitle(const DisplaySettings& s, int versionKind, float unitsPerFoot);
// Both coordinates written on the horizontal axis (easting with northing,
// or northing with easting).
bool bothCoordinates(const DisplaySettings& s);
// The pixel height of an axis font of `points` on the screen (96 dots per inch).
int axisFontPixels(float points);

// The two scales of a display.
AxisScale horizontalScale(const AxesInput& in);
AxisScale verticalScale(const AxesInput& in);

// Draws the axes: vertex lines (complex line) or horizontal minor ticks,
// vertical minor ticks and minor grid, titles, horizontal values and major
// ticks, vertical values, major ticks and major grid; each part unless the
// record hides it.
void drawAxes(dv::Canvas& canvas, const AxesInput& in);

}  // namespace quv
