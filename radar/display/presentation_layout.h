// The geometry of a presentation page: which part of the page (in inches)
// a target of so many pixels shows, with equal horizontal and vertical
// scale; the elements' pixel rectangles; the traces box cut by the view and
// the traces and samples it still shows; the layout of the text elements
// (with or without maintain aspect, at 0, 90 and 270 degrees) and their
// fonts; and the text templates of the legend lines.
//
// Everything here works for any target: the screen view passes its client
// and visible region, a printer or an image export the whole page at its
// dots per inch (pageViewAtDpi), so one layout serves all of them.
#pragma once

#include <string>

#include "dv/canvas.h"
#include "project/display_settings.h"
#include "project/profile.h"

namespace quv {

// A region of the page (inches, y downwards) shown on width x height pixels.
struct PageView {
  float left = 0, top = 0, right = 11.0f, bottom = 8.5f;
  int width = 0, height = 0;

  double pixelsPerInchX() const { return right > left ? width / double(right - left) : 0.0; }
  double pixelsPerInchY() const { return bottom > top ? height / double(bottom - top) : 0.0; }
  // trunc((inches - region left) * width / (region right - region left)); likewise y.
  int x(double inches) const;
  int y(double inches) const;
  // A pixel back in inches on the page.
  double inchesX(int pixel) const;
  double inchesY(int pixel) const;
  // The rectangle of inches (left, top, right, bottom) in pixels.
  dv::Rect rect(double l, double t, double r, double b) const;
};

// The visible region of the record shown on a client of w x h pixels.
PageView recordView(const DisplaySettings& s, int w, int h);
// The whole page at `dpi` dots per inch: trunc(width * dpi + 0.5) by
// trunc(height * dpi + 0.5) pixels (printing and export).
PageView pageViewAtDpi(const DisplaySettings& s, double dpi);

// The presentation view's client without its scroll bars, at least 100 x 100.
constexpr int kMinPresentationClient = 100;
// The largest font drawn on a page, in pixels (a deep zoom stops there).
constexpr int kMaxFontPixels = 16384;

// Gives the visible region equal scale on a client of w x h pixels: when
// the horizontal inches per pixel are the smaller the right edge moves to
// left + w * vertical inches per pixel, otherwise the bottom to top + h *
// horizontal inches per pixel. Right and bottom both beyond the page: the
// region becomes the whole page and is adjusted once more; only one
// beyond: the region is shifted back by the excess (not below 0).
void equalScale(DisplaySettings& s, int w, int h);
// On a resize the region keeps its origin and is scaled by new over old size.
void resizeRegion(DisplaySettings& s, int oldW, int oldH, int newW, int newH);
// Zoom Out: the whole page, then equal scale.
void zoomOutRegion(DisplaySettings& s, int w, int h);
// A rectangle of client pixels becomes the visible region (then equal
// scale); false for a rectangle under 4 pixels or a twentieth of an inch either way.
bool zoomRegionTo(DisplaySettings& s, const dv::Rect& pixels, int w, int h);

// The traces box cut by the view: the image rectangle left inside the
// client and the traces and samples drawn there. For a box cut at the left
// first drawn = trunc(first + (last - first) * (region left - box left) /
// (box right - box left)), likewise at the other sides.
struct TracesBoxMapping {
  dv::Rect box;    // the whole box in pixels
  dv::Rect image;  // the part inside the client
  int firstTrace = 0, lastTrace = 0, firstSample = 0, lastSample = 0;
  bool visible() const { return image.right > image.left && image.bottom > image.top; }
};
TracesBoxMapping tracesBoxMapping(const PageElement& box, const PageView& view, int firstTrace,
                                  int lastTrace, int firstSample, int lastSample);

// --- text elements --------------------------------------------------------------------

// The shown texts follow the axes: the horizontal label shows the text of
// the horizontal axis type (trace number, easting, northing), the vertical
// label that of the vertical axis type and the version kind (sample, time,
// depth, elevation).
void followAxisTypes(DisplaySettings& s, int versionKind);
// The text an element draws: its shown text with "%d" replaced by the unit name.
std::string elementText(const PageElement& e, float unitsPerFoot);
// Escapement of an orientation: 0, 900 or 2700 (anything else 0).
int orientationEscapement(int orientation);

// The element's thickness (top to bottom at 0 degrees, left to right
// otherwise) and length along the text, in inches.
double elementThickness(const PageElement& e);
double elementLength(const PageElement& e);

// With maintain aspect on, the length follows the text: the text is
// measured in a font as high as the thickness in thousandths of an inch and
// the far end moved (0 degrees: right = left + extent / 1000; 90: top =
// bottom - extent / 1000; 270: bottom = top + extent / 1000). `measure`
// gives the extents (its font is changed). Without maintain aspect nothing moves.
void layoutTextElement(PageElement& e, const std::string& text, dv::Canvas& measure);
// The font the element draws with on a pixel rectangle: as high as the
// thickness in pixels; with maintain aspect of natural width, otherwise as
// wide as the length in pixels divided by the number of characters.
dv::FontDesc elementFont(const PageElement& e, const dv::Rect& pixels, const std::string& text);
// Where the text is anchored (left bottom alignment in the text's own
// direction): the left bottom pixel at 0 degrees, the right bottom at 90,
// the left top at 270.
dv::Point elementAnchor(const PageElement& e, const dv::Rect& pixels);

// --- text templates -----------------------------------------------------------------------

// What the legend's variables are taken from.
struct TemplateSource {
  std::string projectName;  // the root item of the project tree
  std::string profileName;  // the profile's tree name
  const ProfileVersion* version = nullptr;
  const ProfileHeader* header = nullptr;
  const DisplaySettings* settings = nullptr;  // the presentation record
};
// Replaces the first occurrence of each variable, in this order: %proj_name%,
// %prof_name%, %tab_name%, %gain_type%, %gain_value%, %h_scale%,
// %trace_value%, %d_scale%, %vel_value%, %sample_value%, %wiggle_inc%,
// %wiggle_def%, %trace_inc%, %d. A variable without a value (a gain without
// a parameter, the scales of a line that is not straight) is removed.
std::string expandTemplate(const std::string& text, const TemplateSource& src);

}  // namespace quv
