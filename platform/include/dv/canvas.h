// The canvas every display, print and export draws through: a pen for lines,
// polylines and frames, single pixels, filled rectangles, text with
// alignment and rotation in a font described by the logical-font fields,
// text extents, a clip rectangle, stretched blits of indexed bitmaps and
// the inverting rubber band of zoom rectangles. Coordinates are device
// pixels, x to the right and y downwards. The Qt canvas draws on a widget,
// an image or a printer; the recording canvas keeps every call for tests.
#pragma once

#include <string>
#include <vector>

#include "dv/bitmap.h"
#include "dv/dialog.h"  // dv::Rect
#include "dv/grid.h"    // dv::ColorRef

namespace dv {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int cx = 0, cy = 0;
};

enum class PenStyle { Solid, Dot, None };

// Text alignment: one horizontal and one vertical flag or'ed together. The
// reference point of `text` is the left, centre or right end of the text and
// its top, bottom or baseline, along the text's own direction.
enum TextAlign : unsigned {
  kTextLeft = 0,
  kTextRight = 2,
  kTextCenter = 6,
  kTextHorizontalMask = 6,
  kTextTop = 0,
  kTextBottom = 8,
  kTextBaseline = 24,
  kTextVerticalMask = 24,
};

// A font by the fields of the stored logical font.
struct FontDesc {
  int height = 0;      // < 0: character height in pixels; > 0: cell height; 0: the default size
  int width = 0;       // average character width in pixels; 0: the face's own proportions
  int escapement = 0;  // direction of the text, tenths of a degree anticlockwise from the x axis
  int weight = 400;    // 100 (thin) to 900 (black); 0 means 400
  bool italic = false, underline = false, strikeOut = false;
  std::string face = "Arial";
  bool operator==(const FontDesc&) const = default;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Pen of lines, polylines and frames (width in pixels, at least 1).
  virtual void setPen(ColorRef colour, int width = 1, PenStyle style = PenStyle::Solid) = 0;
  // A line leaves out its last point, so joined lines draw every pixel once.
  virtual void line(int x0, int y0, int x1, int y1) = 0;
  // Joined lines through the points; the last point is left out.
  virtual void polyline(const Point* points, int count) = 0;
  void polyline(const std::vector<Point>& points) { polyline(points.data(), int(points.size())); }
  virtual void setPixel(int x, int y, ColorRef colour) = 0;
  // The pen along the border pixels of [left, right) x [top, bottom).
  virtual void frameRect(const Rect& r) = 0;
  // [left, right) x [top, bottom) in one colour.
  virtual void fillRect(const Rect& r, ColorRef colour) = 0;

  virtual void setFont(const FontDesc& font) = 0;
  virtual void setTextColor(ColorRef colour) = 0;
  virtual void setTextAlign(unsigned align) = 0;
  // Text on a transparent background, placed by the alignment and turned by
  // the font's escapement about the reference point.
  virtual void text(int x, int y, const std::string& s) = 0;
  // Width and cell height of the text in the current font, unrotated.
  virtual Size textExtent(const std::string& s) = 0;

  // Drawing is limited to [left, right) x [top, bottom) until cleared.
  virtual void setClip(const Rect& r) = 0;
  virtual void clearClip() = 0;

  // The source rectangle of the bitmap stretched onto the target rectangle
  // (nearest pixel, no smoothing).
  virtual void drawBitmap(const IndexedBitmap& bitmap, const Rect& source, const Rect& target) = 0;
  // The border of r inverted (not-XOR with a black pen): drawing the same
  // band twice restores the picture.
  virtual void rubberBand(const Rect& r) = 0;
};

// Every call with the state it was made in, so a test can ask where a tick,
// a label or a blit went.
struct CanvasCall {
  enum Kind { Pen, Line, Polyline, Pixel, Frame, Fill, Font, TextColor, Align, Text, Clip,
              ClipOff, Bitmap, RubberBand };
  Kind kind = Pen;
  std::vector<Point> points;  // Line: 2, Polyline: all, Pixel and Text: 1
  Rect rect;                  // Frame, Fill, Clip, RubberBand; Bitmap: the target
  Rect source;                // Bitmap
  int bitmapWidth = 0, bitmapHeight = 0;
  std::string text;
  ColorRef colour = 0;  // Pixel, Fill, TextColor; the text colour of Text; the pen colour otherwise
  // State in force for this call.
  ColorRef penColour = 0;
  int penWidth = 1;
  PenStyle penStyle = PenStyle::Solid;
  FontDesc font;
  unsigned align = 0;
  bool clipped = false;
  Rect clip;
};

class RecordingCanvas : public Canvas {
 public:
  void setPen(ColorRef colour, int width = 1, PenStyle style = PenStyle::Solid) override;
  void line(int x0, int y0, int x1, int y1) override;
  using Canvas::polyline;
  void polyline(const Point* points, int count) override;
  void setPixel(int x, int y, ColorRef colour) override;
  void frameRect(const Rect& r) override;
  void fillRect(const Rect& r, ColorRef colour) override;
  void setFont(const FontDesc& font) override;
  void setTextColor(ColorRef colour) override;
  void setTextAlign(unsigned align) override;
  void text(int x, int y, const std::string& s) override;
  // Deterministic: each character is the font's width wide (half the
  // height when 0) and the cell is the absolute height high (16 when 0).
  Size textExtent(const std::string& s) override;
  void setClip(const Rect& r) override;
  void clearClip() override;
  void drawBitmap(const IndexedBitmap& bitmap, const Rect& source, const Rect& target) override;
  void rubberBand(const Rect& r) override;

  const std::vector<CanvasCall>& calls() const { return calls_; }
  std::vector<CanvasCall> calls(CanvasCall::Kind kind) const;
  int count(CanvasCall::Kind kind) const;
  void clear() { calls_.clear(); }

 private:
  CanvasCall& record(CanvasCall::Kind kind);
  std::vector<CanvasCall> calls_;
  CanvasCall state_;
  ColorRef textColour_ = 0;
};

}  // namespace dv
