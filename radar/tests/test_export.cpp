// Printing and image export. Through the STATIC copy: the layout of a
// figure for its target, the bitmap file, the tiles and bands of a print,
// and the canvas over an 8-bit picture. Through the LOADED module: Export
// of a profile window to BMP, PNG and PDF (a failed or cancelled export
// leaves the file that stood there), Copy, Print into a PDF file, the raw
// item's Print and Print Selected.
#if DELVAR_HAVE_QT
#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "display/bmp_writer.h"
#include "display/export_image.h"
#include "display/print_job.h"
#include "dv/figure.h"
#include "dv/file.h"
#include "dv/headless.h"
#include "fixture.h"
#include "pontra/pontra.h"

namespace {

using namespace quvtest;

uint32_t le32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int k = 3; k >= 0; --k) v = (v << 8) | uint8_t(b[at + size_t(k)]);
  return v;
}

TEST(FigureLayout, PaperSizesGiveTheImageRectangleAndFontsOfTheRules) {
  const quv::FigureTarget letter = quv::exportTarget(11.0, 8.5, 100);
  EXPECT_EQ(letter.width, 1100);
  EXPECT_EQ(letter.height, 850);
  quv::FigureLayout l = quv::figureLayout(letter);
  EXPECT_EQ(l.image.left, 150);
  EXPECT_EQ(l.image.right, 1050);
  EXPECT_EQ(l.image.top, 75);
  EXPECT_EQ(l.image.bottom, 825);
  EXPECT_EQ(l.fontPoints, 14);
  EXPECT_EQ(l.fontPixels, 19);

  // Under 5 by 3 inches: fractions of the size, 8-point fonts.
  const quv::FigureTarget small = quv::exportTarget(4.0, 2.0, 100);
  EXPECT_EQ(small.width, 400);
  EXPECT_EQ(small.height, 200);
  l = quv::figureLayout(small);
  EXPECT_EQ(l.image.left, 80);
  EXPECT_EQ(l.image.right, 360);
  EXPECT_EQ(l.image.top, 40);
  EXPECT_EQ(l.image.bottom, 180);
  EXPECT_EQ(l.fontPoints, 8);
  EXPECT_EQ(l.fontPixels, 11);
  // Only one side under its limit is enough for the small fonts.
  EXPECT_EQ(quv::figureLayout(quv::exportTarget(11.0, 2.9, 100)).fontPoints, 8);
  EXPECT_EQ(quv::figureLayout(quv::exportTarget(11.0, 2.9, 100)).image.left, 150);
}

TEST(BitmapFile, HeaderStrideColoursAndBottomUpRows) {
  dv::IndexedBitmap b(101, 3);
  for (int i = 0; i < 256; ++i) b.colors()[size_t(i)] = dv::ColorRef(i | (i + 1) % 256 << 8 | 7 << 16);
  b.row(0)[0] = 10;  // top row
  b.row(2)[100] = 20;  // bottom row, last column
  const std::string path = join(freshDir("bmp"), "small.bmp");
  ASSERT_TRUE(quv::writeBmpFile(b, path));
  const std::string f = readFile(path);
  ASSERT_EQ(f.size(), size_t(104 * 3 + 1078));
  EXPECT_EQ(f.substr(0, 2), "BM");
  EXPECT_EQ(le32(f, 2), 104u * 3 + 1078);
  EXPECT_EQ(le32(f, 6), 0u);
  EXPECT_EQ(le32(f, 10), 1078u);
  EXPECT_EQ(le32(f, 14), 40u);
  EXPECT_EQ(le32(f, 18), 104u) << "the width is the row stride";
  EXPECT_EQ(le32(f, 22), 3u) << "positive height: rows bottom-up";
  EXPECT_EQ(le32(f, 26), 1u | 8u << 16);  // planes, bits per pixel
  for (size_t at = 30; at < 54; at += 4) EXPECT_EQ(le32(f, at), 0u) << at;
  // Entry 5: blue, green, red, 0.
  EXPECT_EQ(uint8_t(f[54 + 20]), 7);
  EXPECT_EQ(uint8_t(f[54 + 21]), 6);
  EXPECT_EQ(uint8_t(f[54 + 22]), 5);
  EXPECT_EQ(uint8_t(f[54 + 23]), 0);
  EXPECT_EQ(uint8_t(f[1078 + 100]), 20) << "the bottom row comes first";
  EXPECT_EQ(uint8_t(f[1078 + 2 * 104]), 10) << "the top row comes last";
  EXPECT_FALSE(exists(path + ".part"));
  // The packed bitmap of the clipboard is the file without its first 14 bytes.
  const std::vector<uint8_t> dib = quv::packedDib(b);
  EXPECT_EQ(std::string(dib.begin(), dib.end()), f.substr(14));
}

// A printer that keeps the tiles it gets.
struct TileRecorder : dv::PrintJob {
  struct Tile {
    int x, y, w, h;
    uint8_t first;
  };
  std::vector<Tile> tiles;
  int pageWidth() const override { return 0; }
  int pageHeight() const override { return 0; }
  int dpiX() const override { return 300; }
  int dpiY() const override { return 300; }
  void drawTile(const dv::IndexedBitmap& t, int w, int h, int x, int y) override {
    tiles.push_back({x, y, w, h, t.pixel(0, 0)});
  }
  bool newPage() override { return true; }
  bool finish() override { return true; }
  std::string destination() const override { return ""; }
};

TEST(PrintTiles, StripsOfAThousandRowsFromTheTopWithTheirBands) {
  dv::IndexedBitmap page(1500, 2500);
  page.setPixel(1000, 2000, 42);
  TileRecorder job;
  std::vector<std::pair<std::string, int>> bands;
  quv::sendInTiles(page, job, [&](const char* text, int percent) { bands.emplace_back(text, percent); });
  ASSERT_EQ(bands.size(), 3u);
  EXPECT_EQ(bands[0], std::make_pair(std::string("Band 1 of 3"), 33));
  EXPECT_EQ(bands[1], std::make_pair(std::string("Band 2 of 3"), 66));
  EXPECT_EQ(bands[2], std::make_pair(std::string("Band 3 of 3"), 100));
  ASSERT_EQ(job.tiles.size(), 6u);
  EXPECT_EQ(job.tiles[1].x, 1000);
  EXPECT_EQ(job.tiles[1].w, 500) << "the last tile of a strip is narrower";
  EXPECT_EQ(job.tiles[1].h, 1000);
  EXPECT_EQ(job.tiles[5].y, 2000);
  EXPECT_EQ(job.tiles[5].h, 500) << "the last strip is lower";
  EXPECT_EQ(job.tiles[5].first, 42);
}

TEST(BitmapCanvas, DrawsWithTheNearestColoursOfThePicture) {
  dv::IndexedBitmap b(60, 40);
  b.colors()[1] = 0xFFFFFF;
  b.colors()[7] = 0x0000FF;  // red
  b.fill(1);
  dv::BitmapCanvas c(b);
  c.setPen(0x0000F0);
  c.line(2, 2, 10, 2);
  EXPECT_EQ(b.pixel(2, 2), 7);
  EXPECT_EQ(b.pixel(9, 2), 7);
  EXPECT_EQ(b.pixel(10, 2), 1) << "the last point is left out";
  c.setClip({0, 0, 20, 20});
  c.fillRect({15, 15, 30, 30}, 0x000000);
  EXPECT_EQ(b.pixel(19, 19), 0);
  EXPECT_EQ(b.pixel(20, 20), 1) << "clipped";
  c.clearClip();
  if (dv::figureBackend()) {
    c.setFont({-16, 0, 0, 400, false, false, false, "Arial"});
    c.setTextColor(0x0000FF);
    c.text(30, 20, "W");
    int red = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 28; x < 60; ++x) red += b.pixel(x, y) == 7;
    EXPECT_GT(red, 10) << "the letter in the text colour";
    // Turned by 90 degrees the text runs upwards from its reference point.
    dv::IndexedBitmap tall(40, 120);
    tall.colors() = b.colors();
    tall.fill(1);
    dv::BitmapCanvas t(tall);
    t.setFont({-16, 0, 900, 400, false, false, false, "Arial"});
    t.setTextColor(0x0000FF);
    t.setTextAlign(dv::kTextLeft | dv::kTextBottom);
    t.text(30, 110, "WWWW");
    int top = 120, bottom = 0, left = 40, right = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 40; ++x)
        if (tall.pixel(x, y) == 7) top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x), right = std::max(right, x);
    EXPECT_GT(bottom - top, 2 * (right - left)) << "not turned";
    EXPECT_LE(bottom, 110);
    EXPECT_LT(right, 30);
  }
}

// --- through the loaded module ------------------------------------------------------

class ExportModule : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
    if (!dv::figureBackend()) GTEST_SKIP() << "this build has no Qt figure backend";
    out = freshDir("export");
  }
  dv::DocWindow* openProfile(const std::string& recording, const std::string& label,
                             const std::string& name) {
    addRecordings({recording});
    answer("answer dialog \"Specify Name for Profiles\" press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    popup(item(rawPath(label)), 33120);
    doubleClick(item("Site/QUV/Profiles/" + name));
    resetUi();
    for (dv::DocWindow* w : pontra::frame().mdi.windows())
      if (w->title() == name) return w;
    return nullptr;
  }
  void exportAs(dv::DocWindow& w, const std::string& size, const std::string& path,
                bool rgb = false) {
    answer("answer dialog \"Export Parameters\" " + size + (rgb ? " check \"24-bit PNG\" 1" : "") +
           " press OK");
    answer("answer file \"" + path + "\"");
    w.onCommand(32769);
  }
  std::string out;
};

bool havePdfToPpm() { return std::system("pdftoppm -v >/dev/null 2>&1") == 0; }

TEST_F(ExportModule, SharedRecordingExportsToBmpPngAndPdf) {
  QUV_NEED_TESTDATA("gssi/FILE____032.DZT");
  dv::DocWindow* w = openProfile(testdataPath("gssi/FILE____032.DZT"), "FILE____032.DZT", "FILE____032");
  ASSERT_NE(w, nullptr) << messages();

  const std::string bmp = join(out, "line.bmp");
  exportAs(*w, "set Width 11 set Height 8.5 set \"D. P. I.\" 100", bmp);
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  EXPECT_EQ(dv::fileSize(bmp), 1100 * 850 + 1078);
  EXPECT_EQ(countOf(messages(), "Export: FILE____032 - written to " + bmp), 1) << messages();
  // The folder of the file is where the next export starts.
  answer("answer dialog \"Export Parameters\" press Cancel");
  w->onCommand(32769);
  EXPECT_EQ(pendingAnswers(), 0);

  // The BMP and the 8-bit PNG hold the same picture.
  const std::string png = join(out, "line.png");
  exportAs(*w, "set Width 11 set Height 8.5 set \"D. P. I.\" 100", png);
  QImage fromBmp(QString::fromStdString(bmp)), fromPng(QString::fromStdString(png));
  ASSERT_FALSE(fromPng.isNull());
  EXPECT_EQ(fromPng.format(), QImage::Format_Indexed8);
  EXPECT_EQ(fromPng.size(), QSize(1100, 850));
  EXPECT_EQ(fromBmp.convertToFormat(QImage::Format_RGB32).copy(0, 0, 1100, 850),
            fromPng.convertToFormat(QImage::Format_RGB32));
  // Inside the image there is colour; left of it the axis values in black.
  EXPECT_NE(fromPng.pixel(600, 450), qRgb(255, 255, 255));
  int black = 0;
  for (int y = 75; y < 825; ++y)
    for (int x = 0; x < 140; ++x) black += fromPng.pixel(x, y) == qRgb(0, 0, 0);
  EXPECT_GT(black, 100) << "no vertical axis values";
  const std::string rgb = join(out, "line24.png");
  exportAs(*w, "set Width 4 set Height 2 set \"D. P. I.\" 100", rgb, true);
  EXPECT_EQ(QImage(QString::fromStdString(rgb)).size(), QSize(400, 200));
  EXPECT_NE(QImage(QString::fromStdString(rgb)).format(), QImage::Format_Indexed8);

  // PDF: one page of 11 x 8.5 inches; looked at as an image.
  const std::string pdf = join(out, "line.pdf");
  exportAs(*w, "set Width 11 set Height 8.5 set \"D. P. I.\" 150", pdf);
  const std::string doc = readFile(pdf);
  ASSERT_EQ(doc.substr(0, 5), "%PDF-") << messages() << uiLogText();
  EXPECT_NE(doc.find("/MediaBox [0 0 792.000000 612.000000]"), std::string::npos);
  if (havePdfToPpm()) {
    const std::string shot = join(out, "line-pdf");
    ASSERT_EQ(std::system(("pdftoppm -png -r 50 -singlefile \"" + pdf + "\" \"" + shot + "\"").c_str()), 0);
    QImage page(QString::fromStdString(shot + ".png"));
    EXPECT_EQ(page.size(), QSize(550, 425));
    EXPECT_NE(page.pixel(300, 212), qRgb(255, 255, 255)) << "the image is embedded";
  }
  const std::string svg = join(out, "line.svg");
  exportAs(*w, "set Width 11 set Height 8.5 set \"D. P. I.\" 100", svg);
  EXPECT_NE(readFile(svg).find("<svg"), std::string::npos);
  std::cout << "exports: " << out << "\n";
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

// The rows of a picture's column x that are dark (the traces box's frame),
// or coloured (the image).
int darkRows(const QImage& page, int x, int top, int bottom) {
  int n = 0;
  for (int y = top; y < bottom; ++y) n += qGray(page.pixel(x, y)) < 96;
  return n;
}
int colouredRows(const QImage& page, int x, int top, int bottom) {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    const QRgb p = page.pixel(x, y);
    n += std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) > 100;
  }
  return n;
}

// The presentation page of a recording: exported at the page's size (PNG
// and PDF, which look the same at the same scale), printed and copied.
TEST_F(ExportModule, SharedRecordingPageExportsPrintsAndCopies) {
  QUV_NEED_TESTDATA("gssi/FILE____032.DZT");
  dv::DocWindow* w = openProfile(testdataPath("gssi/FILE____032.DZT"), "FILE____032.DZT", "FILE____032");
  ASSERT_NE(w, nullptr) << messages();
  w->onCommand(34160);  // View Presentation
  w->pane()->resize(900, 700);

  // The export proposes the page's size; the box (1.25 to 10.25 in across,
  // 1.5 to 8.0 in down) lands at its inches times the dpi.
  const std::string png = join(out, "page.png");
  exportAs(*w, "expect value Width 11 expect value Height 8.5 set \"D. P. I.\" 100", png);
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  QImage page(QString::fromStdString(png));
  ASSERT_EQ(page.size(), QSize(1100, 850)) << messages();
  EXPECT_EQ(darkRows(page, 124, 150, 800), 650) << "the box's left frame";
  EXPECT_EQ(darkRows(page, 1025, 150, 800), 650) << "the box's right frame";
  EXPECT_NE(page.pixel(575, 475), qRgb(255, 255, 255));
  EXPECT_EQ(darkRows(page, 30, 0, 850), 0) << "a margin rectangle on paper";
  EXPECT_EQ(page.pixel(0, 0), qRgb(255, 255, 255)) << "a page frame on paper";
  int title = 0;  // "Radar Profile" from 5.0 in, 17/36 to 0.75 in
  for (int y = 47; y < 76; ++y)
    for (int x = 500; x < 700; ++x) title += page.pixel(x, y) == qRgb(0, 0, 0);
  EXPECT_GT(title, 100) << "no title";

  const std::string pdf = join(out, "page.pdf");
  exportAs(*w, "set \"D. P. I.\" 150", pdf);
  ASSERT_NE(readFile(pdf).find("/MediaBox [0 0 792.000000 612.000000]"), std::string::npos) << messages();
  const std::string printed = join(out, "printed.pdf");
  answer("answer printer \"" + printed + "\"");
  w->onCommand(57607);
  EXPECT_EQ(countOf(messages(), "Print: FILE____032 - written to " + printed), 1) << messages();
  if (havePdfToPpm()) {
    for (const std::string& doc : {pdf, printed}) {
      const std::string shot = doc.substr(0, doc.size() - 4) + "-shot";
      ASSERT_EQ(std::system(("pdftoppm -png -r 100 -singlefile \"" + doc + "\" \"" + shot + "\"").c_str()), 0);
      QImage seen(QString::fromStdString(shot + ".png"));
      ASSERT_EQ(seen.size(), QSize(1100, 850)) << doc;
      // The image from 1.25 to 10.25 in, as in the PNG (a printer's frame is
      // thinner); its amplitudes near zero are white in Red-White-Blue.
      EXPECT_GT(colouredRows(seen, 127, 150, 800), 300) << doc;
      EXPECT_EQ(colouredRows(seen, 122, 150, 800), 0) << doc << ": the box is not at 1.25 in";
      EXPECT_GT(colouredRows(seen, 1022, 150, 800), 300) << doc;
      EXPECT_EQ(colouredRows(seen, 1028, 150, 800), 0) << doc << ": the box is not 9 in wide";
    }
  }

  // Copy: the page as the window shows it.
  w->onCommand(57634);
  const std::vector<uint8_t>& dib = dv::headless().clipboardBitmap();
  ASSERT_GT(dib.size(), 1064u);
  EXPECT_GT(le32(std::string(dib.begin(), dib.begin() + 40), 4), 600u);
  std::cout << "page exports: " << out << "\n";
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(ExportModule, AFailedOrCancelledExportLeavesTheFileThatStoodThere) {
  dv::DocWindow* w = openProfile(makeRecording(field, "KEEP.DZT", "DZT", 40, 64), "KEEP.DZT", "KEEP");
  ASSERT_NE(w, nullptr) << messages();
  const std::string bmp = join(out, "keep.bmp");
  writeFile(bmp, "a whole older picture");
  // Cancelled at the file dialog.
  answer("answer dialog \"Export Parameters\" press OK");
  answer("answer file cancel");
  w->onCommand(32769);
  EXPECT_EQ(readFile(bmp), "a whole older picture");
  // Bad numbers keep the dialog up with a message, and the file stays.
  answer("answer dialog \"Export Parameters\" set \"D. P. I.\" 0 press OK press Cancel");
  answer("answer message Error OK");
  w->onCommand(32769);
  EXPECT_NE(uiLogText().find("D. P. I. a whole number from 1 to 2400"), std::string::npos) << uiLogText();
  // A file that cannot be made: "Could not create file", nothing left behind.
  answer("answer message Error OK");
  exportAs(*w, "set \"D. P. I.\" 50", join(out, "gone/x.png"));
  EXPECT_NE(uiLogText().find("\"Error\": \"Could not create file\""), std::string::npos) << uiLogText();
  EXPECT_EQ(listDir(out), std::vector<std::string>{"keep.bmp"});
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
}

TEST_F(ExportModule, CopyPutsThePackedWindowImageOnTheClipboard) {
  dv::DocWindow* w = openProfile(makeRecording(field, "CLIP.DZT", "DZT", 40, 64), "CLIP.DZT", "CLIP");
  ASSERT_NE(w, nullptr) << messages();
  w->pane()->resize(700, 500);
  w->onCommand(57634);
  const std::vector<uint8_t>& dib = dv::headless().clipboardBitmap();
  ASSERT_GT(dib.size(), 1064u);
  const std::string head(dib.begin(), dib.begin() + 40);
  EXPECT_EQ(le32(head, 0), 40u);
  const uint32_t width = le32(head, 4), height = le32(head, 8);
  EXPECT_EQ(width % 4, 0u);
  EXPECT_GT(height, 100u);
  EXPECT_EQ(dib.size(), 1064u + size_t(width) * height);
}

TEST_F(ExportModule, PrintGoesInBandsIntoThePdfFileOfTheJob) {
  dv::DocWindow* w = openProfile(makeRecording(field, "PRN.DZT", "DZT", 40, 64), "PRN.DZT", "PRN");
  ASSERT_NE(w, nullptr) << messages();
  const std::string pdf = join(out, "printed.pdf");
  const int progress = dv::headless().progressWindowsCreated();
  answer("answer printer \"" + pdf + "\"");
  w->onCommand(57607);
  EXPECT_EQ(countOf(messages(), "Print: PRN - written to " + pdf), 1) << messages() << uiLogText();
  EXPECT_NE(readFile(pdf).find("/MediaBox [0 0 792.000000 612.000000]"), std::string::npos);
  // Letter in landscape at 300 dpi: 2,550 rows, three bands.
  EXPECT_GT(dv::headless().progressWindowsCreated(), progress);
  EXPECT_EQ(dv::headless().progressTitle(), "Sending Image");
  EXPECT_EQ(dv::headless().progressText(), "Band 3 of 3");
  EXPECT_EQ(dv::headless().progressPosition(), 100);
  // No printer and no PDF file chosen: the user hears that nothing was printed.
  answer("answer file cancel");
  answer("answer message Error OK");
  w->onCommand(57607);
  EXPECT_NE(uiLogText().find("Nothing could be printed: no printer is set up"), std::string::npos)
      << uiLogText();
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
}

TEST_F(ExportModule, PrintSelectedWritesOneCompletedLinePerItemInOneBatch) {
  addRecordings({makeRecording(field, "R1.DZT", "DZT", 30, 64), makeRecording(field, "R2.DZT", "DZT", 30, 64),
                 makeRecording(field, "R3.DZT", "DZT", 30, 64)});
  popup(item(rawPath("R1.DZT")), 33121);
  popup(item(rawPath("R3.DZT")), 33121);
  clearMessages();
  const std::string pdf = join(out, "batch.pdf");
  answer("answer printer \"" + pdf + "\"");
  popup(item("Site/QUV/Raw Data"), 33106);
  const std::string m = messages();
  const size_t start = m.find("Batch Start"), one = m.find("Print: R1.DZT - Completed"),
               three = m.find("Print: R3.DZT - Completed"), end = m.find("Batch End");
  ASSERT_NE(start, std::string::npos) << m;
  EXPECT_LT(start, one);
  EXPECT_LT(one, three);
  EXPECT_LT(three, end);
  EXPECT_EQ(countOf(m, "Print: R2.DZT"), 0);
  EXPECT_NE(end, std::string::npos) << m;
  // Two pages in the one document.
  EXPECT_EQ(countOf(readFile(pdf), "/MediaBox"), 2);
  // The item's own Print needs no window.
  const std::string single = join(out, "single.pdf");
  answer("answer printer \"" + single + "\"");
  popup(item(rawPath("R2.DZT")), 33124);
  EXPECT_EQ(countOf(messages(), "Print: R2.DZT - written to " + single), 1) << messages();
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

}  // namespace

#endif  // DELVAR_HAVE_QT
