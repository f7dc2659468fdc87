// The canvas over a QPainter: on a widget, a QImage or a printer. Pens are
// one-pixel cosmetic lines without anti-aliasing, so lines land on the same
// pixels on screen and in images; fonts named by stored logical fonts take
// their metric-compatible Liberation faces.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>

#include <span>

#include "dv/canvas.h"

namespace dv::qt {

// The metric-compatible faces that stand in for the face names stored
// logical fonts and page layouts use: one table for the canvas and for the
// application's own font substitutions.
struct FaceSubstitution {
  const char* from;
  const char* to;
};
std::span<const FaceSubstitution> faceSubstitutions();
// The face that stands in for a stored face name, any letter case ("Arial"
// -> "Liberation Sans", ...); other names are kept, an empty one is Liberation Sans.
QString substituteFace(const std::string& face);
// The font of the logical-font fields, sized in device pixels of `device`
// (the device decides how a cell height and a character width map).
QFont toQFont(const FontDesc& fs, QPaintDevice* device = nullptr);
// The bitmap as an 8-bit indexed image with its colour table (a copy).
QImage toQImage(const IndexedBitmap& bitmap);

class QtCanvas : public Canvas {
 public:
  // The painter stays the caller's; the canvas restores its state when it goes.
  explicit QtCanvas(QPainter& painter);
  ~QtCanvas() override;

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
  Size textExtent(const std::string& s) override;
  void setClip(const Rect& r) override;
  void clearClip() override;
  void drawBitmap(const IndexedBitmap& bitmap, const Rect& source, const Rect& target) override;
  void rubberBand(const Rect& r) override;

  QPainter& painter() { return painter_; }

 private:
  QPainter& painter_;
  QPen pen_;
  bool penNone_ = false;
  bool dotted_ = false;
  FontDesc fontDesc_;
  QFont font_;
  QColor textColour_{Qt::black};
  unsigned align_ = kTextLeft | kTextTop;
};

}  // namespace dv::qt
