// Figures: targets and their layout, composing, files, the clipboard, and
// the normal display as a figure.
#include "display/export_image.h"

#include <algorithm>
#include <cctype>

#include "display/bmp_writer.h"
#include "display/colortable.h"
#include "display/gain.h"
#include "display/image.h"
#include "display/image_wiggles.h"
#include "display/profile_window_rules.h"
#include "dv/figure.h"
#include "dv/file.h"
#include "dv/ui.h"

namespace quv {

namespace {

constexpr dv::ColorRef kWhite = 0xFFFFFF;

bool composable(const FigureTarget& t) {
  return t.width > 0 && t.height > 0 && int64_t(t.width) * t.height <= kMaxFigurePixels;
}

}  // namespace

FigureTarget exportTarget(double widthInches, double heightInches, int dpi) {
  FigureTarget t;
  t.width = int(widthInches * dpi);
  t.height = int(heightInches * dpi);
  t.dpiX = t.dpiY = dpi;
  t.widthInches = widthInches;
  t.heightInches = heightInches;
  return t;
}

FigureTarget printTarget(int width, int height, int dpiX, int dpiY) {
  FigureTarget t;
  t.width = width;
  t.height = height;
  t.dpiX = std::max(dpiX, 1);
  t.dpiY = std::max(dpiY, 1);
  t.widthInches = double(width) / t.dpiX;
  t.heightInches = double(height) / t.dpiY;
  return t;
}

FigureLayout figureLayout(const FigureTarget& t) {
  FigureLayout l;
  const int W = t.width, H = t.height;
  const bool narrow = t.widthInches < 5.0, low = t.heightInches < 3.0;
  if (narrow) {
    l.image.left = int(0.2 * W);
    l.image.right = int(0.9 * W);
  } else {
    l.image.left = int(1.5 * t.dpiX);
    l.image.right = W - int(0.5 * t.dpiX);
  }
  if (low) {
    l.image.top = int(0.2 * H);
    l.image.bottom = int(0.9 * H);
  } else {
    l.image.top = int(0.75 * t.dpiY);
    l.image.bottom = H - int(0.25 * t.dpiY);
  }
  l.fontPoints = narrow || low ? 8 : 14;
  l.fontPixels = l.fontPoints * t.dpiY / 72;
  return l;
}

FigurePicture::FigurePicture(dv::IndexedBitmap* canvasPicture, const FigureTarget& t,
                             const dv::ColorTable& colours)
    : picture_(canvasPicture) {
  if (picture_) return;
  own_.resize(t.width, t.height);
  own_.colors() = colours;
}

void FigurePicture::embed(dv::Canvas& canvas, const dv::Rect& area) {
  if (picture_) return;
  const dv::Rect r{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, own_.width()),
                   std::min(area.bottom, own_.height())};
  canvas.drawBitmap(own_, r, r);
}

bool composeFigure(FigureSource& source, const FigureTarget& target, dv::IndexedBitmap& picture) {
  picture.resize(0, 0);
  if (!composable(target)) return false;
  picture.resize(target.width, target.height);
  picture.colors() = source.colours();
  picture.fill(kWhiteIndex);
  dv::BitmapCanvas canvas(picture);
  source.paint(canvas, target, &picture);
  return true;
}

FigureFormat figureFormatOf(const std::string& path) {
  std::string ext = dv::extension(path);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".png") return FigureFormat::Png;
  if (ext == ".pdf") return FigureFormat::Pdf;
  if (ext == ".svg") return FigureFormat::Svg;
  return FigureFormat::Bmp;
}

bool writeFigure(FigureSource& source, const FigureTarget& target, FigureFormat format, bool rgb,
                 const std::string& path) {
  if (!composable(target) || !source.prepare(target)) return false;
  dv::FigureBackend* backend = dv::figureBackend();
  if (format == FigureFormat::Pdf || format == FigureFormat::Svg) {
    if (!backend) return false;
    const std::string part = path + ".part";
    const bool ok = backend->writeVector(
        format == FigureFormat::Pdf ? dv::VectorKind::Pdf : dv::VectorKind::Svg, part,
        target.widthInches, target.heightInches, target.dpiY, target.width, target.height,
        [&](dv::Canvas& c) {
          c.fillRect({0, 0, target.width, target.height}, kWhite);
          source.paint(c, target, nullptr);
        });
    if (ok && dv::renameFile(part, path)) return true;
    dv::removeFile(part);
    return false;
  }
  dv::IndexedBitmap picture;
  if (!composeFigure(source, target, picture)) return false;
  if (format == FigureFormat::Bmp) return writeBmpFile(picture, path);
  if (!backend) return false;
  const std::string part = path + ".part";
  if (backend->writePng(picture, rgb, part) && dv::renameFile(part, path)) return true;
  dv::removeFile(part);
  return false;
}

bool copyFigure(FigureSource& source, int width, int height) {
  FigureTarget t = printTarget(width, height, 96, 96);
  t.screen = true;
  dv::IndexedBitmap picture;
  if (!source.prepare(t) || !composeFigure(source, t, picture)) return false;
  dv::ui().setClipboardBitmap(packedDib(picture));
  return true;
}

// --- the normal display -------------------------------------------------------------

AxesInput normalAxes(const ProfileVersion& v, const ProfileHeader& h, const DisplaySettings& s,
                     const dv::Rect& image, int fh, int fv) {
  AxesInput in;
  in.image = image;
  in.settings = &s;
  in.firstTrace = s.firstTrace;
  in.lastTrace = s.lastTrace;
  in.firstSample = s.firstSample;
  in.lastSample = s.lastSample;
  in.fh = fh;
  in.fv = fv;
  in.titles = true;
  in.versionKind = v.kind;
  in.unitsPerFoot = h.unitsPerFoot;
  in.easting = &h.easting;
  in.northing = &h.northing;
  in.vertical = s.vAxisType == kAxisTime          ? &v.time
                : v.kind == kElevationVersion ? &v.elevation
                                              : &v.depthNormal;
  in.nodeTraces = &h.nodeTrace;
  return in;
}

NormalFigure::Layout NormalFigure::layout(const FigureTarget& t) const {
  const DisplaySettings& s = v_.normal;
  Layout l;
  if (t.screen) {
    l.image = normalImageRect(t.width, t.height, 0, 0);
    l.fh = axisFontPixels(s.hFontSize);
    l.fv = axisFontPixels(s.vFontSize);
  } else {
    const FigureLayout f = figureLayout(t);
    l.image = f.image;
    l.fh = l.fv = f.fontPixels;
  }
  buildPixelMaps(t.width, t.height, l.image, s.firstTrace, s.lastTrace, s.firstSample, s.lastSample, l.maps);
  return l;
}

bool NormalFigure::buildShown(const Layout& l, bool showProgress) {
  const DisplaySettings& s = v_.normal;
  const std::vector<int> traces =
      tracesDrawn(l.maps.columns, {s.firstTrace, s.lastTrace, s.firstSample, s.lastSample}, wiggleStyle(s));
  return buildByteTraces(v_, false, traces, showProgress);
}

bool NormalFigure::prepare(const FigureTarget& target) {
  if (v_.samples <= 0 || h_.traceCount <= 0) return false;
  cancelled = !buildShown(layout(target), true);
  return !cancelled;
}

dv::ColorTable NormalFigure::colours() const {
  dv::ColorTable table{};
  buildColorTable(v_.normal.paletteType, v_.normal.numColours, table);
  return table;
}

void NormalFigure::paint(dv::Canvas& c, const FigureTarget& t, dv::IndexedBitmap* picture) {
  const DisplaySettings& s = v_.normal;
  const Layout l = layout(t);
  const dv::Rect& image = l.image;
  const PixelMaps& maps = l.maps;
  buildShown(l, false);  // what prepare() built already, or a paint without it
  // The image, wiggles and frame, then the axes over them.
  FigurePicture figure(picture, t, colours());
  dv::IndexedBitmap& pic = figure.get();
  const ByteTraceView bytes(v_.normalBytes, v_.samples);
  if (s.paletteType != kNoColor) fillImage(pic, image, maps, s.numColours, bytes);
  else pic.fill(kWhiteIndex);
  const WiggleStyle style = wiggleStyle(s);
  if (wigglesShown(style))
    drawWiggles(pic, image, maps.rows, bytes, {s.firstTrace, s.lastTrace, s.firstSample, s.lastSample},
                style);
  drawFrame(pic, image);
  figure.embed(c, {image.left - 1, image.top - 1, image.right + 1, image.bottom + 1});
  drawAxes(c, normalAxes(v_, h_, s, image, l.fh, l.fv));
}

}  // namespace quv
