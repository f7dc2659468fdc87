// The Qt canvas rendering into images: blits of indexed bitmaps pixel for
// pixel (one to one and stretched), lines that leave out their last point,
// frames, fills, clipping, dotted pens, the inverting rubber band, and text
// placed by its alignment and rotation (compared with a tolerance, as text
// is anti-aliased).
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <functional>
#include <string>

#include "dv/bitmap.h"
#include "dv/canvas.h"
#include "qt_canvas.h"

namespace dv::qt {
namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

QImage blank(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(kWhite);
  return image;
}

void paint(QImage& image, const std::function<void(Canvas&)>& draw) {
  QPainter painter(&image);
  QtCanvas canvas(painter);
  draw(canvas);
}

// The pixels of `image` that are not white, as a string of rows ('#' set).
std::string picture(const QImage& image) {
  std::string out;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) out += image.pixel(x, y) == kWhite ? '.' : '#';
    out += '\n';
  }
  return out;
}

// On failure the actual and expected images are kept beside the test log.
void keepOnFailure(const QImage& actual, const QImage& expected, const char* name) {
  if (!::testing::Test::HasFailure()) return;
  actual.save(QStringLiteral("%1-actual.png").arg(QLatin1String(name)));
  expected.save(QStringLiteral("%1-expected.png").arg(QLatin1String(name)));
}

IndexedBitmap sampleBitmap() {
  IndexedBitmap b(7, 5);  // stride 8: the padding byte must never show
  for (int i = 0; i < 256; ++i) b.colors()[size_t(i)] = rgb(i, 255 - i, (i * 7) & 255);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) b.row(y)[x] = uint8_t(y * 40 + x * 3 + 1);
    b.row(y)[7] = 0;
  }
  return b;
}

TEST(QtCanvasBlit, OneToOneAndStretchedBlitsShowEveryIndexInItsColour) {
  const IndexedBitmap bitmap = sampleBitmap();
  QImage image = blank(30, 20);
  paint(image, [&](Canvas& c) {
    c.drawBitmap(bitmap, {0, 0, 7, 5}, {3, 2, 10, 7});
    c.drawBitmap(bitmap, {2, 1, 5, 4}, {12, 6, 18, 12});  // 3 x 3 source pixels, twice the size
  });
  QImage expected = blank(30, 20);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) expected.setPixel(3 + x, 2 + y, toRgb32(bitmap.color(bitmap.pixel(x, y))));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      expected.setPixel(12 + x, 6 + y, toRgb32(bitmap.color(bitmap.pixel(2 + x / 2, 1 + y / 2))));
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x)
      ASSERT_EQ(image.pixel(x, y), expected.pixel(x, y)) << "pixel " << x << "," << y;
  keepOnFailure(image, expected, "canvas-blit");

  // The indexed image made from a bitmap has the same pixels and colours.
  const QImage indexed = toQImage(bitmap);
  ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(indexed.pixel(x, y), toRgb32(bitmap.color(bitmap.pixel(x, y))));
}

TEST(QtCanvasLines, LinesLeaveOutTheirLastPointAndFramesCoverTheBorder) {
  QImage image = blank(12, 8);
  paint(image, [](Canvas& c) {
    c.line(1, 1, 6, 1);            // x 1..5
    c.line(9, 6, 9, 2);            // upwards, y 6..3
    const Point steps[] = {{1, 3}, {4, 3}, {4, 6}};
    c.polyline(steps, 3);          // the corner once, (4, 6) left out
    const Point up[] = {{11, 7}, {11, 5}, {7, 5}};
    c.polyline(up, 3);             // (7, 5) left out
    c.line(6, 7, 2, 5);            // diagonal: (2, 5) left out
  });
  EXPECT_EQ(picture(image),
            "............\n"
            ".#####......\n"
            "............\n"
            ".####....#..\n"
            "....#....#..\n"
            "...##...####\n"
            ".....#...#.#\n"
            "......#....#\n");

  QImage frame = blank(8, 6);
  paint(frame, [](Canvas& c) {
    c.setPen(rgb(255, 0, 0));
    c.frameRect({1, 1, 7, 5});
    c.fillRect({3, 2, 5, 4}, rgb(0, 0, 255));
    c.setPixel(0, 5, rgb(0, 255, 0));
  });
  EXPECT_EQ(picture(frame),
            "........\n"
            ".######.\n"
            ".#.##.#.\n"
            ".#.##.#.\n"
            ".######.\n"
            "#.......\n");
  EXPECT_EQ(frame.pixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(frame.pixel(3, 2), 0xFF0000FFu);
  EXPECT_EQ(frame.pixel(0, 5), 0xFF00FF00u);
}

TEST(QtCanvasLines, ClipLimitsDrawingUntilClearedAndDotsAlternate) {
  QImage image = blank(12, 4);
  paint(image, [](Canvas& c) {
    c.setClip({3, 0, 7, 4});
    c.line(0, 0, 12, 0);
    c.fillRect({0, 1, 12, 2}, 0);
    c.clearClip();
    c.setPen(0, 1, PenStyle::Dot);
    c.line(0, 3, 10, 3);
    c.setPen(0, 1, PenStyle::None);
    c.line(0, 2, 10, 2);
  });
  EXPECT_EQ(picture(image),
            "...####.....\n"
            "...####.....\n"
            "............\n"
            "#.#.#.#.#...\n");
}

TEST(QtCanvasRubberBand, DrawingABandTwiceRestoresThePicture) {
  QImage image = blank(10, 8);
  for (int x = 0; x < 10; ++x) image.setPixel(x, 4, 0xFF336699u);
  const QImage before = image;
  paint(image, [](Canvas& c) { c.rubberBand({2, 1, 8, 7}); });
  EXPECT_EQ(image.pixel(2, 1), kBlack);         // white inverted
  EXPECT_EQ(image.pixel(2, 4), 0xFFCC9966u);    // the colour inverted
  EXPECT_EQ(image.pixel(4, 4), 0xFF336699u);    // inside untouched
  EXPECT_EQ(image.pixel(8, 4), 0xFF336699u);    // right edge is right - 1
  paint(image, [](Canvas& c) { c.rubberBand({2, 1, 8, 7}); });
  EXPECT_EQ(image, before);
}

// Text is compared with the same text drawn by QPainter itself, placed
// from the font's own metrics; anti-aliasing leaves a few edge pixels off.
int differingPixels(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      if (std::abs(qGray(p) - qGray(q)) > 64) ++n;
    }
  return n;
}

QRect inkBox(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
  return box;
}

TEST(QtCanvasText, TextLandsByItsAlignmentAndTurnsWithTheEscapement) {
  FontDesc fs;
  fs.height = -20;
  fs.face = "Arial";
  const QFont font = toQFont(fs);
  ASSERT_EQ(font.pixelSize(), 20);
  const QFontMetrics m(font);
  const QString word = QStringLiteral("Trace 42");

  QImage image = blank(200, 120);
  paint(image, [&](Canvas& c) {
    c.setFont(fs);
    c.setTextColor(0);
    c.setTextAlign(kTextCenter | kTextBottom);
    c.text(100, 60, "Trace 42");
  });
  QImage expected = blank(200, 120);
  {
    QPainter p(&expected);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPointF(100 - m.horizontalAdvance(word) / 2, 60 - m.descent()), word);
  }
  EXPECT_LE(differingPixels(image, expected), 6);
  const QRect ink = inkBox(image);
  EXPECT_LT(ink.bottom(), 60);
  EXPECT_GT(ink.top(), 60 - m.height());
  EXPECT_LE(std::abs(ink.center().x() - 100), 2);
  keepOnFailure(image, expected, "canvas-text");

  // Right-aligned on the top: the ink ends at x and hangs below y.
  QImage right = blank(200, 120);
  paint(right, [&](Canvas& c) {
    c.setFont(fs);
    c.setTextAlign(kTextRight | kTextTop);
    c.text(150, 20, "Trace 42");
  });
  const QRect rightInk = inkBox(right);
  EXPECT_LE(rightInk.right(), 150);
  EXPECT_GE(rightInk.right(), 146);
  EXPECT_GE(rightInk.top(), 20);

  // An escapement of 900 runs the text upwards from the reference point.
  fs.escapement = 900;
  QImage turned = blank(120, 200);
  paint(turned, [&](Canvas& c) {
    c.setFont(fs);
    c.setTextAlign(kTextLeft | kTextBaseline);
    c.text(60, 180, "Trace 42");
  });
  const QRect turnedInk = inkBox(turned);
  EXPECT_GT(turnedInk.height(), 2 * turnedInk.width());
  EXPECT_LE(turnedInk.bottom(), 180);
  EXPECT_GE(turnedInk.bottom(), 176);
  EXPECT_LE(turnedInk.right(), 60);  // the glyphs stand left of an upward baseline
  EXPECT_NEAR(turnedInk.height(), m.horizontalAdvance(word), 4);
}

TEST(QtCanvasText, FontsComeFromTheLogicalFontFields) {
  if (!QFontDatabase::families().contains(QStringLiteral("Liberation Sans")))
    GTEST_SKIP() << "Liberation Sans is not installed (fonts-liberation2)";
  FontDesc fs;
  fs.face = "Arial";
  fs.height = -16;
  EXPECT_EQ(QFontInfo(toQFont(fs)).family(), QStringLiteral("Liberation Sans"));
  EXPECT_EQ(substituteFace("times new roman"), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(substituteFace("Courier New"), QStringLiteral("Liberation Mono"));
  EXPECT_EQ(substituteFace("DejaVu Sans"), QStringLiteral("DejaVu Sans"));

  // A positive height is the cell; a width is the average character width.
  fs.height = 30;
  EXPECT_NEAR(QFontMetricsF(toQFont(fs)).height(), 30.0, 1.0);
  fs.height = -20;
  fs.width = 14;
  EXPECT_NEAR(QFontMetricsF(toQFont(fs)).averageCharWidth(), 14.0, 1.5);
  fs.width = 0;
  fs.weight = 700;
  fs.italic = true;
  const QFont bold = toQFont(fs);
  EXPECT_EQ(bold.weight(), QFont::Bold);
  EXPECT_TRUE(bold.italic());

  // The extent is the advance and the cell height of the font.
  QImage image = blank(10, 10);
  QPainter painter(&image);
  QtCanvas canvas(painter);
  fs = FontDesc{};
  fs.height = -20;
  canvas.setFont(fs);
  const Size narrow = canvas.textExtent("ii"), wide = canvas.textExtent("WWWW");
  const QFontMetricsF m(toQFont(fs));
  EXPECT_NEAR(wide.cx, m.horizontalAdvance(QStringLiteral("WWWW")), 1.0);
  EXPECT_NEAR(wide.cy, m.height(), 1.0);
  EXPECT_LT(narrow.cx, wide.cx / 2);
}

}  // namespace
}  // namespace dv::qt
