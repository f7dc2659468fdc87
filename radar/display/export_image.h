// Figures of the displays for print, export and the clipboard. A figure is
// composed once at the size and resolution of its target: into an 8-bit
// picture built exactly like the screen image (same colour table, same
// indices) for a printer, a BMP or PNG file and the clipboard, or through
// a document canvas (vector text and axes, the image embedded at the
// target's resolution) for PDF and SVG.
//
// What is drawn comes from a figure source: the normal display of a
// profile version, the raw data window, and any other display that can
// paint itself at a target size (the presentation page).
#pragma once

#include <string>

#include "display/axes.h"
#include "display/image.h"
#include "dv/bitmap.h"
#include "dv/canvas.h"
#include "project/profile.h"

namespace quv {

// What a figure is composed for: its size in pixels, the resolution in
// each direction, and its size in inches (export: as typed; print: the
// printable area over the device's resolution).
struct FigureTarget {
  int width = 0, height = 0;
  int dpiX = 96, dpiY = 96;
  double widthInches = 0, heightInches = 0;
  // Print: where the target's pixel (0, 0) lies on the physical page, in
  // device pixels (the printer's physical offsets), so that a page laid
  // out in inches lands at the same place on paper.
  int offsetX = 0, offsetY = 0;
  // The window's own layout at window size (Copy) instead of the rules
  // for paper and files.
  bool screen = false;
};
// trunc(width * dpi) x trunc(height * dpi).
FigureTarget exportTarget(double widthInches, double heightInches, int dpi);
// A printable area of width x height device pixels at dpiX x dpiY.
FigureTarget printTarget(int width, int height, int dpiX, int dpiY);

// The normal display laid out for a target: the image rectangle
//  horizontally, under 5 inches wide from trunc(0.2 W) to trunc(0.9 W),
//    else from trunc(1.5 dpi) to W - trunc(0.5 dpi);
//  vertically, under 3 inches high from trunc(0.2 H) to trunc(0.9 H),
//    else from trunc(0.75 dpi) to H - trunc(0.25 dpi);
// and the axis fonts: 14 points, or 8 when either side is under its
// limit, trunc(points * dpi / 72) pixels high.
struct FigureLayout {
  dv::Rect image;
  int fontPoints = 14;
  int fontPixels = 0;
};
FigureLayout figureLayout(const FigureTarget& t);

// The most pixels a composed figure may have (a 20 by 20 inch page at 1,000 dpi).
constexpr int64_t kMaxFigurePixels = int64_t(20000) * 20000;

class FigureSource {
 public:
  virtual ~FigureSource() = default;
  // The document name of a print and the proposed file name: the tree name.
  virtual std::string name() const = 0;
  // The export size the parameters dialog proposes, in inches.
  virtual double defaultWidth() const { return 11.0; }
  virtual double defaultHeight() const { return 8.5; }
  // Gets ready to paint at the target (the missing byte traces it shows
  // built, with progress when that is a large build); false when there is
  // nothing to draw or the user cancelled (then `cancelled` is set).
  virtual bool prepare(const FigureTarget&) { return true; }
  bool cancelled = false;
  // The colour table of the figure's 8-bit picture.
  virtual dv::ColorTable colours() const = 0;
  // Paints the whole figure at the target, onto a white canvas of the
  // target's size. `picture` is the canvas's own 8-bit picture when the
  // canvas draws into one (the image can be filled straight into it), and
  // nullptr for a document canvas.
  virtual void paint(dv::Canvas& canvas, const FigureTarget& target, dv::IndexedBitmap* picture) = 0;
};

// Where a source fills its image: the canvas's own 8-bit picture, or for a
// document canvas a picture of the target's size that is embedded in the
// document afterwards (only the part `area`, where the image lies).
class FigurePicture {
 public:
  FigurePicture(dv::IndexedBitmap* canvasPicture, const FigureTarget& t, const dv::ColorTable& colours);
  dv::IndexedBitmap& get() { return picture_ ? *picture_ : own_; }
  void embed(dv::Canvas& canvas, const dv::Rect& area);

 private:
  dv::IndexedBitmap* picture_;
  dv::IndexedBitmap own_;
};

// The figure in an 8-bit picture of the target's size: the source's colour
// table, white (index 1), then its paint. False (and the picture empty)
// when the target is empty or larger than kMaxFigurePixels.
bool composeFigure(FigureSource& source, const FigureTarget& target, dv::IndexedBitmap& picture);

// File types of an export, by the file's extension (any letter case):
// ".png", ".pdf", ".svg"; everything else is the bitmap file.
enum class FigureFormat { Bmp, Png, Pdf, Svg };
FigureFormat figureFormatOf(const std::string& path);

// Composes the figure and writes it as `format` (PNG 24-bit when `rgb`,
// else with the 8-bit colour table). The file is written beside the
// target as "<path>.part" and renamed over it only when whole, so a failed
// export never leaves a truncated image where a whole one stood. False
// when the figure could not be composed or the file not written.
bool writeFigure(FigureSource& source, const FigureTarget& target, FigureFormat format, bool rgb,
                 const std::string& path);

// The figure composed at width x height window pixels in the window's own
// layout, placed on the clipboard as a packed device-independent bitmap.
bool copyFigure(FigureSource& source, int width, int height);

// --- the normal display as a figure -------------------------------------------------

// The axes of a normal display of the version around `image`, with font
// heights fh and fv and the titles drawn.
AxesInput normalAxes(const ProfileVersion& v, const ProfileHeader& h, const DisplaySettings& s,
                     const dv::Rect& image, int fh, int fv);

// The normal display of a profile version: byte traces, image, wiggles,
// frame and axes with their titles, as the screen paints them.
class NormalFigure : public FigureSource {
 public:
  NormalFigure(ProfileVersion& v, const ProfileHeader& h, std::string name)
      : v_(v), h_(h), name_(std::move(name)) {}
  std::string name() const override { return name_; }
  bool prepare(const FigureTarget& target) override;
  dv::ColorTable colours() const override;
  void paint(dv::Canvas& canvas, const FigureTarget& target, dv::IndexedBitmap* picture) override;

 private:
  // The image rectangle, axis font heights and pixel maps at the target.
  struct Layout {
    dv::Rect image;
    int fh = 0, fv = 0;
    PixelMaps maps;
  };
  Layout layout(const FigureTarget& t) const;
  // The byte traces the figure shows (with progress when large); false when cancelled.
  bool buildShown(const Layout& l, bool showProgress);

  ProfileVersion& v_;
  const ProfileHeader& h_;
  std::string name_;
};

}  // namespace quv
