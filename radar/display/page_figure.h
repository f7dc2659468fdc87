// The presentation page as a figure (print, export, copy). On paper and in
// files the whole page is laid out at the target's dots per inch, so an
// inch of the page is an inch of the print: the target's pixel (0, 0) is
// the page's top left corner, or for a printer the place on the page where
// its printable area begins. The export proposes the page's own size. The
// clipboard gets the page as the window shows it.
#pragma once

#include <string>

#include "display/export_image.h"
#include "display/presentation_page.h"

namespace quv {

// The part of the page a target shows, at the target's resolution in each
// direction: from its offsets (over its dpi) over its width and height.
PageView pageViewOfTarget(const FigureTarget& t);

class PageFigure : public FigureSource {
 public:
  // `settings` is the page to draw (a copy of the version's presentation
  // record, perhaps with a layout file applied): painting lays out its copy.
  PageFigure(const PageSource& source, const DisplaySettings& settings)
      : src_(source), settings_(settings) {}
  std::string name() const override { return src_.profileName; }
  double defaultWidth() const override { return settings_.pageWidth; }
  double defaultHeight() const override { return settings_.pageHeight; }
  bool prepare(const FigureTarget& target) override;
  dv::ColorTable colours() const override;
  void paint(dv::Canvas& canvas, const FigureTarget& target, dv::IndexedBitmap* picture) override;

 private:
  PageSource src_;
  DisplaySettings settings_;
};

}  // namespace quv
