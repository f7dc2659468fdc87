// The raw data window as a figure (print, export, copy), and the printing
// of raw items from the tree, which loads an item's traces for the print
// when it has no window open and lets them go again afterwards.
#pragma once

#include <string>
#include <vector>

#include "display/export_image.h"
#include "display/raw_window.h"

namespace quv {

// Image, frame, trace-number and time axes and the marker lines of the
// window, laid out for the target as the normal display is.
class RawFigure : public FigureSource {
 public:
  explicit RawFigure(CRawWnd& w) : w_(w) {}
  std::string name() const override;
  bool prepare(const FigureTarget& target) override;
  dv::ColorTable colours() const override { return w_.bitmap().colors(); }
  void paint(dv::Canvas& canvas, const FigureTarget& target, dv::IndexedBitmap* picture) override;

 private:
  CRawWnd& w_;
};

// Print (33124): the item on the default printer.
void printRawItem(RawObject& obj);
// Print Selected (33106): one print job, one page per item, each followed
// by "Print: %s - Completed", between "Batch Start" and "Batch End".
void printRawItems(const std::vector<RawObject*>& items);

}  // namespace quv
