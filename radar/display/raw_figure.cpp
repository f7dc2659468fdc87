// The raw data window as a figure, and printing raw items.
#include "display/raw_figure.h"

#include <memory>

#include "display/colortable.h"
#include "display/gain.h"
#include "display/image.h"
#include "display/print_job.h"
#include "project/messages.h"
#include "project/quv.h"

namespace quv {

std::string RawFigure::name() const { return treeName(w_.object().item); }

bool RawFigure::prepare(const FigureTarget&) {
  const RawData& d = w_.data();
  if (d.traces <= 0 || d.samples <= 0) return false;
  w_.buildByteTraces(&frameworkProgress());
  return true;
}

void RawFigure::paint(dv::Canvas& c, const FigureTarget& t, dv::IndexedBitmap* picture) {
  const RawData& d = w_.data();
  dv::Rect image;
  RawAxisFonts fonts = w_.fonts();
  if (t.screen) {
    image = rawImageRect(t.width, t.height, 0, 0);
  } else {
    const FigureLayout l = figureLayout(t);
    image = l.image;
    fonts.trace.height = fonts.time.height = -l.fontPixels;
    fonts.traceHeight = fonts.timeHeight = l.fontPixels;
  }
  FigurePicture figure(picture, t, colours());
  dv::IndexedBitmap& pic = figure.get();
  PixelMaps maps;
  buildPixelMaps(t.width, t.height, image, d.firstTrace, d.lastTrace, d.firstSample, d.lastSample, maps);
  fillImage(pic, image, maps, validColourCount(d.colours), ByteTraceView(w_.byteTraces(), d.samples));
  drawFrame(pic, image);
  figure.embed(c, {image.left - 1, image.top - 1, image.right + 1, image.bottom + 1});
  drawRawTraceAxis(c, image, d.firstTrace, d.lastTrace, fonts, t.width);
  if (d.samples > 0 && int(d.timeAxis.size()) >= d.samples)
    drawRawTimeAxis(c, image, d.timeAxis[size_t(d.firstSample)], d.timeAxis[size_t(d.lastSample)],
                    fonts, t.height);
  drawRawMarkerLines(c, image, d.firstTrace, d.lastTrace, w_.markers());
}

namespace {

// The item's window, or one made for the print with the traces loaded
// (and let go when the print is done).
class PrintWindow {
 public:
  explicit PrintWindow(RawObject& obj) : obj_(obj) {
    if (obj.window) {
      w_ = static_cast<CRawWnd*>(obj.window);
      return;
    }
    std::vector<uint8_t> markers;
    if (!prepareRawDisplay(obj, markers)) return;
    own_ = std::make_unique<CRawWnd>(obj);
    own_->markers() = std::move(markers);
    w_ = own_.get();
  }
  ~PrintWindow() {
    if (own_ && obj_.data) {
      for (auto& b : obj_.data->buffers) b.reset();
      std::fill(obj_.data->needed.begin(), obj_.data->needed.end(), 0);
    }
  }
  CRawWnd* window() { return w_; }

 private:
  RawObject& obj_;
  CRawWnd* w_ = nullptr;
  std::unique_ptr<CRawWnd> own_;
};

}  // namespace

void printRawItem(RawObject& obj) {
  PrintWindow pw(obj);
  if (!pw.window()) return;
  RawFigure figure(*pw.window());
  printFigure(figure);
}

void printRawItems(const std::vector<RawObject*>& items) {
  // The printer is taken once for the whole batch.
  std::unique_ptr<dv::PrintJob> job = openPrintJob(kMsgPrintSelectedDocument);
  if (!job) return;
  msgBare(DV_MSG_PLAIN, "");
  msg(DV_MSG_TIMESTAMP, kMsgBatchStart);
  bool first = true;
  for (RawObject* obj : items) {
    PrintWindow pw(*obj);
    bool printed = false;
    if (pw.window()) {
      RawFigure figure(*pw.window());
      printed = printPage(*job, figure, first);
    }
    if (printed) first = false;
    msg(DV_MSG_PLAIN, printed ? kMsgPrintCompleted : kMsgPrintFailed, treeName(obj->item).c_str());
  }
  closePrintJob(std::move(job), kMsgPrintSelectedDocument, true);
  msg(DV_MSG_TIMESTAMP, kMsgBatchEnd);
  msgBare(DV_MSG_PLAIN, "");
}

}  // namespace quv
