// The presentation page as a figure.
#include "display/page_figure.h"

#include "display/colortable.h"
#include "display/gain.h"
#include "display/image_wiggles.h"
#include "display/presentation_page.h"

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

bool PageFigure::prepare(const FigureTarget& target) {
  ProfileVersion* v = src_.version;
  if (!v || !src_.header || v->samples <= 0 || src_.header->traceCount <= 0) return false;
  // The traces box as the paint lays it out (text measured apart; the paint
  // builds whatever a different measure would add, without progress).
  DisplaySettings s = settings_;
  dv::RecordingCanvas measure;
  const PageView view = target.screen ? recordView(s, target.width, target.height) : pageViewOfTarget(target);
  const TracesBoxMapping m = layoutPresentationPage(s, src_, view, measure).traces;
  if (s.elements[kTracesBox].hidden || !m.visible()) return true;
  PixelMaps maps;
  buildPixelMaps(view.width, view.height, m.image, m.firstTrace, m.lastTrace, m.firstSample, m.lastSample, maps);
  cancelled = !buildByteTraces(*v, true, tracesDrawn(maps.columns, {m.firstTrace, m.lastTrace, m.firstSample,
                                                                    m.lastSample}, wiggleStyle(s)), true);
  return !cancelled;
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
