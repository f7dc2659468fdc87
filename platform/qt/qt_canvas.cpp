// The Qt canvas: the drawing calls of dv::Canvas on a QPainter.
#include "qt_canvas.h"

#include <QFontMetricsF>
#include <QPaintEngine>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "qt_util.h"

namespace dv::qt {

namespace {

QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

// The default size of a font whose height is 0, in pixels of character height.
constexpr int kDefaultPixelSize = 12;

}  // namespace

std::span<const FaceSubstitution> faceSubstitutions() {
  static const FaceSubstitution faces[] = {
      {"Arial", "Liberation Sans"},
      {"Helvetica", "Liberation Sans"},
      {"MS Sans Serif", "Liberation Sans"},
      {"MS Shell Dlg", "Liberation Sans"},
      {"MS Shell Dlg 2", "Liberation Sans"},
      {"Arial Narrow", "Liberation Sans Narrow"},
      {"Times New Roman", "Liberation Serif"},
      {"Times", "Liberation Serif"},
      {"Courier New", "Liberation Mono"},
      {"Courier", "Liberation Mono"},
  };
  return faces;
}

QString substituteFace(const std::string& face) {
  const QString q = toQ(face);
  for (const FaceSubstitution& s : faceSubstitutions())
    if (q.compare(QLatin1String(s.from), Qt::CaseInsensitive) == 0)
      return QString::fromLatin1(s.to);
  return q.isEmpty() ? QStringLiteral("Liberation Sans") : q;
}

QFont toQFont(const FontDesc& fs, QPaintDevice* device) {
  QFont font(substituteFace(fs.face));
  font.setStyleStrategy(QFont::PreferMatch);
  const int weight = fs.weight > 0 ? std::clamp(fs.weight, 1, 1000) : 400;
  font.setWeight(QFont::Weight(weight));
  font.setItalic(fs.italic);
  font.setUnderline(fs.underline);
  font.setStrikeOut(fs.strikeOut);
  if (fs.height < 0) {
    font.setPixelSize(-fs.height);
  } else if (fs.height > 0) {
    // A positive height is the whole cell (ascent + descent): scale a
    // reference size by the face's own cell-to-em ratio.
    const int reference = 100;
    font.setPixelSize(reference);
    const qreal cell = QFontMetricsF(font, device).height();
    font.setPixelSize(std::max(1, int(std::lround(fs.height * reference / std::max(cell, 1.0)))));
  } else {
    font.setPixelSize(kDefaultPixelSize);
  }
  if (fs.width > 0) {
    const qreal average = QFontMetricsF(font, device).averageCharWidth();
    if (average > 0)
      font.setStretch(std::clamp(int(std::lround(100.0 * fs.width / average)), 1, 4000));
  }
  return font;
}

QImage toQImage(const IndexedBitmap& bitmap) {
  QImage image(std::max(bitmap.width(), 1), std::max(bitmap.height(), 1), QImage::Format_Indexed8);
  QList<QRgb> table(256);
  for (int i = 0; i < 256; ++i) table[i] = toRgb32(bitmap.color(i));
  image.setColorTable(table);
  if (bitmap.empty()) {
    image.fill(0);
    return image;
  }
  for (int y = 0; y < bitmap.height(); ++y)
    std::copy_n(bitmap.row(y), bitmap.width(), image.scanLine(y));
  return image;
}

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
  painter_.save();
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_.setBrush(Qt::NoBrush);
  setPen(0, 1, PenStyle::Solid);
  setFont(FontDesc{});
}

QtCanvas::~QtCanvas() { painter_.restore(); }

void QtCanvas::setPen(ColorRef colour, int width, PenStyle style) {
  pen_ = QPen(toQColor(colour));
  pen_.setCosmetic(true);
  pen_.setWidth(std::max(width, 1));
  // Solid lines are drawn to their last pixel inclusive (the canvas works
  // out which one that is); dots keep the painter's flat ends.
  dotted_ = style == PenStyle::Dot;
  pen_.setCapStyle(dotted_ ? Qt::FlatCap : Qt::SquareCap);
  pen_.setJoinStyle(Qt::MiterJoin);
  if (dotted_) pen_.setDashPattern({1, 1});
  penNone_ = style == PenStyle::None;
  painter_.setPen(penNone_ ? QPen(Qt::NoPen) : pen_);
}

void QtCanvas::line(int x0, int y0, int x1, int y1) {
  if (penNone_ || (x0 == x1 && y0 == y1)) return;
  if (dotted_) {
    painter_.drawLine(x0, y0, x1, y1);
    return;
  }
  // The painter's own line caps leave out whichever end it draws last; the
  // canvas leaves out (x1, y1): draw to the pixel before it, both ends included.
  const int dx = x1 - x0, dy = y1 - y0;
  int xq = x1, yq = y1;
  if (std::abs(dx) >= std::abs(dy)) {
    xq = x1 - (dx > 0 ? 1 : -1);
    yq = y0 + int(std::lround(double(xq - x0) * dy / dx));
  } else {
    yq = y1 - (dy > 0 ? 1 : -1);
    xq = x0 + int(std::lround(double(yq - y0) * dx / dy));
  }
  if (xq == x0 && yq == y0) painter_.drawPoint(x0, y0);
  else painter_.drawLine(x0, y0, xq, yq);
}

void QtCanvas::polyline(const Point* points, int count) {
  if (penNone_ || !points) return;
  for (int i = 0; i + 1 < count; ++i) line(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
}

void QtCanvas::setPixel(int x, int y, ColorRef colour) {
  painter_.fillRect(QRect(x, y, 1, 1), toQColor(colour));
}

void QtCanvas::frameRect(const Rect& r) {
  if (penNone_ || r.right <= r.left || r.bottom <= r.top) return;
  if (r.right - r.left == 1 || r.bottom - r.top == 1) {
    // A frame one pixel thin is the whole rectangle.
    painter_.fillRect(toQRect(r), pen_.color());
    return;
  }
  const Point corners[5] = {{r.left, r.top},
                            {r.right - 1, r.top},
                            {r.right - 1, r.bottom - 1},
                            {r.left, r.bottom - 1},
                            {r.left, r.top}};
  polyline(corners, 5);
}

void QtCanvas::fillRect(const Rect& r, ColorRef colour) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  painter_.fillRect(toQRect(r), toQColor(colour));
}

void QtCanvas::setFont(const FontDesc& font) {
  fontDesc_ = font;
  font_ = toQFont(font, painter_.device());
}

void QtCanvas::setTextColor(ColorRef colour) { textColour_ = toQColor(colour); }

void QtCanvas::setTextAlign(unsigned align) { align_ = align; }

void QtCanvas::text(int x, int y, const std::string& s) {
  if (s.empty()) return;
  const QString q = toQ(s);
  const QFontMetricsF metrics(font_, painter_.device());
  const qreal width = metrics.horizontalAdvance(q);
  qreal dx = 0;
  switch (align_ & kTextHorizontalMask) {
    case kTextCenter: dx = -std::floor(width / 2); break;
    case kTextRight: dx = -width; break;
    default: break;
  }
  qreal baseline = 0;
  switch (align_ & kTextVerticalMask) {
    case kTextBottom: baseline = -metrics.descent(); break;
    case kTextBaseline: break;
    default: baseline = metrics.ascent(); break;
  }
  painter_.save();
  painter_.setFont(font_);
  painter_.setPen(textColour_);
  painter_.translate(x, y);
  // The escapement turns anticlockwise on the screen, where y grows downwards.
  if (fontDesc_.escapement % 3600 != 0) painter_.rotate(-fontDesc_.escapement / 10.0);
  painter_.drawText(QPointF(dx, baseline), q);
  painter_.restore();
}

Size QtCanvas::textExtent(const std::string& s) {
  const QFontMetricsF metrics(font_, painter_.device());
  return {int(std::ceil(metrics.horizontalAdvance(toQ(s)))), int(std::ceil(metrics.height()))};
}

void QtCanvas::setClip(const Rect& r) { painter_.setClipRect(toQRect(r)); }

void QtCanvas::clearClip() { painter_.setClipping(false); }

void QtCanvas::drawBitmap(const IndexedBitmap& bitmap, const Rect& source, const Rect& target) {
  if (bitmap.empty() || target.right <= target.left || target.bottom <= target.top) return;
  // The source rows are turned into 32-bit pixels through the colour table
  // in one pass into a kept buffer, so the painter only copies (or scales)
  // pixels of its own format: much cheaper than handing it an indexed
  // image, which it converts generically on every paint.
  QRect src = toQRect(source).intersected(QRect(0, 0, bitmap.width(), bitmap.height()));
  if (src.isEmpty()) return;
  QRgb table[256];
  for (int i = 0; i < 256; ++i) table[i] = toRgb32(bitmap.color(i));
  static thread_local QImage buffer;
  if (buffer.width() < src.width() || buffer.height() < src.height())
    buffer = QImage(std::max(buffer.width(), src.width()), std::max(buffer.height(), src.height()),
                    QImage::Format_RGB32);
  for (int y = 0; y < src.height(); ++y) {
    const uint8_t* in = bitmap.bits() + (size_t)(src.top() + y) * bitmap.stride() + src.left();
    auto* out = reinterpret_cast<QRgb*>(buffer.scanLine(y));
    for (int x = 0; x < src.width(); ++x) out[x] = table[in[x]];
  }
  // The part of the target that the clipped source covers.
  const QRect full = toQRect(source), dst = toQRect(target);
  const double sx = double(dst.width()) / full.width(), sy = double(dst.height()) / full.height();
  QRectF to(dst.left() + (src.left() - full.left()) * sx, dst.top() + (src.top() - full.top()) * sy,
            src.width() * sx, src.height() * sy);
  painter_.drawImage(to, buffer, QRectF(0, 0, src.width(), src.height()));
}

void QtCanvas::rubberBand(const Rect& r) {
  QPaintEngine* engine = painter_.paintEngine();
  if (!engine || !engine->hasFeature(QPaintEngine::RasterOpModes)) return;
  const QPen pen = pen_;
  const bool none = penNone_, dotted = dotted_;
  painter_.save();
  painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  setPen(0);
  frameRect(r);
  painter_.restore();
  pen_ = pen;
  penNone_ = none;
  dotted_ = dotted;
  painter_.setPen(penNone_ ? QPen(Qt::NoPen) : pen_);
}

}  // namespace dv::qt
