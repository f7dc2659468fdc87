// The presentation page as a figure.
#include "display/page_figure.h"

#include "display/colortable.h"
#include "display/gain.h"

namespace quv {

PageView pageViewOfTarget(const FigureTarget& t) {
  PageView v;
  const double left = double(t.offsetX) / t.dpiX, top = double(t.offsetY) / t.dpiY;
  v.left = float(left);
  v.top = float(top);
  v.right = float(left + double(t.width) / t.dpiX);
  v.bottom = float(top + double(t.height) / t.dpiY);
  v.width = t.width;
  v.height = t.height;
  return v;
}

bool PageFigure::prepare() {
  ProfileVersion* v = src_.version;
  if (!v || !src_.header || v->samples <= 0 || src_.header->traceCount <= 0) return false;
  buildByteTraces(*v, true, true);
  return true;
}

dv::ColorTable PageFigure::colours() const {
  dv::ColorTable table{};
  buildColorTable(settings_.paletteType, settings_.numColours, table);
  return table;
}

void PageFigure::paint(dv::Canvas& c, const FigureTarget& t, dv::IndexedBitmap* picture) {
  DisplaySettings s = settings_;
  FigurePicture figure(picture, t, colours());
  PagePaintOptions options;
  options.paper = !t.screen;
  const PageView view = t.screen ? recordView(s, t.width, t.height) : pageViewOfTarget(t);
  paintPresentationPage(c, figure.get(), s, src_, view, options);
}

}  // namespace quv
