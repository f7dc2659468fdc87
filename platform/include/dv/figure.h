// Figures leaving the workbench: a display composed off screen at the size
// and resolution of its target (a printer page, an image file, a document)
// and handed over as a whole.
//
// BitmapCanvas draws into an 8-bit indexed bitmap, every colour taken as
// the nearest entry of the bitmap's colour table, so a print, a BMP file
// or the clipboard get the same indices as the screen image. Lines, fills,
// pixels, frames and blits are the platform's own; text is rasterised by
// the toolkit's figure backend (without one, text is left out and measured
// as the recording canvas measures it).
//
// The figure backend (installed by the Qt library) adds what needs the
// toolkit: text masks, PNG files, PDF and SVG documents painted through a
// canvas, and print jobs on the default printer or a PDF file.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dv/bitmap.h"
#include "dv/canvas.h"

namespace dv {

// Text as a mask of pixels: bits[y * width + x] is 1 where a glyph covers
// (left + x, top + y).
struct TextMask {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> bits;
};

// One printed document of one page.
class PrintJob {
 public:
  virtual ~PrintJob() = default;
  // The printable area in device pixels and the device's dots per inch.
  virtual int pageWidth() const = 0;
  virtual int pageHeight() const = 0;
  virtual int dpiX() const = 0;
  virtual int dpiY() const = 0;
  // Where the printable area begins on the physical page, device pixels.
  virtual int offsetX() const { return 0; }
  virtual int offsetY() const { return 0; }
  // The first `width` x `height` pixels of `tile` at (x, y) of the printable area.
  virtual void drawTile(const IndexedBitmap& tile, int width, int height, int x, int y) = 0;
  // Starts another page (of the same size).
  virtual bool newPage() = 0;
  // Ends the page and the document; false when nothing could be printed.
  virtual bool finish() = 0;
  // Where the page went: the printer's name or the PDF file.
  virtual std::string destination() const = 0;
};

enum class VectorKind { Pdf, Svg };

class FigureBackend {
 public:
  virtual ~FigureBackend() = default;
  // Width and cell height of the text in the font, unrotated.
  virtual Size textExtent(const FontDesc& font, const std::string& text) = 0;
  // The text placed as Canvas::text places it (reference point, alignment,
  // the font's escapement), without smoothing.
  virtual void textMask(const FontDesc& font, unsigned align, int x, int y, const std::string& text,
                        TextMask& out) = 0;
  // The bitmap as a PNG file: indexed with its colour table, or 24-bit.
  virtual bool writePng(const IndexedBitmap& bitmap, bool rgb, const std::string& path) = 0;
  // A one-page document of widthInches x heightInches at `dpi`, whose
  // canvas is widthPx x heightPx device pixels; `paint` draws the page.
  virtual bool writeVector(VectorKind kind, const std::string& path, double widthInches,
                           double heightInches, int dpi, int widthPx, int heightPx,
                           const std::function<void(Canvas&)>& paint) = 0;
  // A print job named `docName`: into the PDF file `pdfPath` (a US Letter
  // page in landscape at 300 dpi) when given, else on the default printer
  // with its defaults. nullptr when there is no printer or the file cannot
  // be started.
  virtual std::unique_ptr<PrintJob> startPrint(const std::string& docName,
                                               const std::string& pdfPath) = 0;
};

// The installed backend, or nullptr.
FigureBackend* figureBackend();
// Installs a backend (the caller keeps ownership); nullptr removes it.
void setFigureBackend(FigureBackend* backend);

class BitmapCanvas : public Canvas {
 public:
  // Draws into `target` with its colour table (which must be set first).
  explicit BitmapCanvas(IndexedBitmap& target);

  void setPen(ColorRef colour, int width = 1, PenStyle style = PenStyle::Solid) override;
  void line(int x0, int y0, int x1, int y1) override;
  using Canvas::polyline;
  void polyline(const Point* points, int count) override;
  void setPixel(int x, int y, ColorRef colour) override;
  void frameRect(const Rect& r) override;
  void fillRect(const Rect& r, ColorRef colour) override;
  void setFont(const FontDesc& font) override { font_ = font; }
  void setTextColor(ColorRef colour) override { textColour_ = colour; }
  void setTextAlign(unsigned align) override { align_ = align; }
  void text(int x, int y, const std::string& s) override;
  Size textExtent(const std::string& s) override;
  void setClip(const Rect& r) override;
  void clearClip() override;
  // Nearest-pixel stretch; the source's colours become the nearest entries
  // of the target's table.
  void drawBitmap(const IndexedBitmap& bitmap, const Rect& source, const Rect& target) override;
  // An indexed picture has no inverting pen: nothing is drawn.
  void rubberBand(const Rect& r) override {}

 private:
  uint8_t index(ColorRef c);
  void plot(int x, int y, uint8_t index);
  IndexedBitmap& b_;
  Rect clip_;
  uint8_t pen_ = 0;
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  FontDesc font_;
  ColorRef textColour_ = 0;
  unsigned align_ = 0;
  // Colours already looked up in the table.
  std::vector<std::pair<ColorRef, uint8_t>> cache_;
};

}  // namespace dv
