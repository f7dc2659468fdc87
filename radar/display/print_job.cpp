// Printing a figure in tiles.
#include "display/print_job.h"

#include <algorithm>
#include <cstdio>

#include "dv/file.h"
#include "dv/ui.h"
#include "project/messages.h"
#include "project/preferences_folders.h"
#include "project/quv.h"

namespace quv {

namespace {

void tellNothingPrinted(const char* why) {
  char text[256];
  std::snprintf(text, sizeof text, kMsgNothingCouldBePrinted, why);
  dv::messageBox(text, "Error", dv::MB_OK | dv::MB_ICONERROR);
}

// Where the system has no printer: a PDF file, if the user wants one.
std::string offerPdfFile(const std::string& docName) {
  dv::FileDialogRequest req;
  req.save = true;
  req.title = kMsgPrintToPdfTitle;
  req.filters = {{"PDF (.pdf)", "*.pdf"}};
  req.defaultExt = "pdf";
  req.fileName = docName + ".pdf";
  req.initialDir = defaultFolders().exportDir;
  const dv::FileDialogResult r = dv::ui().fileDialog(req);
  return r.ok && !r.paths.empty() ? r.paths.front() : std::string();
}

}  // namespace

void sendInTiles(const dv::IndexedBitmap& picture, dv::PrintJob& job,
                 const std::function<void(const char*, int)>& band) {
  const int W = picture.width(), H = picture.height();
  const int strips = (H + kPrintTile - 1) / kPrintTile;
  dv::IndexedBitmap tile(kPrintTile, kPrintTile);
  tile.colors() = picture.colors();
  for (int strip = 0; strip < strips; ++strip) {
    char text[64];
    std::snprintf(text, sizeof text, kMsgBandOf, strip + 1, strips);
    if (band) band(text, (strip + 1) * 100 / strips);
    const int y0 = strip * kPrintTile, rows = std::min(kPrintTile, H - y0);
    for (int x0 = 0; x0 < W; x0 += kPrintTile) {
      const int columns = std::min(kPrintTile, W - x0);
      for (int y = 0; y < rows; ++y) std::copy_n(picture.row(y0 + y) + x0, columns, tile.row(y));
      job.drawTile(tile, columns, rows, x0, y0);
    }
  }
}

std::unique_ptr<dv::PrintJob> openPrintJob(const std::string& docName) {
  dv::FigureBackend* backend = dv::figureBackend();
  if (!backend) {
    tellNothingPrinted(kMsgNoPrintingInThisBuild);
    return nullptr;
  }
  std::string pdf = dv::ui().printFile();
  std::unique_ptr<dv::PrintJob> job = backend->startPrint(docName, pdf);
  if (!job && pdf.empty()) {
    // No printer: a PDF file instead of nothing at all.
    pdf = offerPdfFile(docName);
    if (!pdf.empty()) job = backend->startPrint(docName, pdf);
  }
  if (!job) tellNothingPrinted(pdf.empty() ? kMsgNoPrinterNoPdf : kMsgPrinterTookNoPage);
  return job;
}

bool printPage(dv::PrintJob& job, FigureSource& source, bool first) {
  FigureTarget target = printTarget(job.pageWidth(), job.pageHeight(), job.dpiX(), job.dpiY());
  target.offsetX = job.offsetX();
  target.offsetY = job.offsetY();
  if (!source.prepare(target)) return false;
  dv::WaitCursor wait;
  if (!first) job.newPage();
  dv::IndexedBitmap picture;
  if (!composeFigure(source, target, picture)) return false;
  if (auto f = fw<PfnCreateProgress>(PONTRA_CreateProgress)) f(kMsgSendingImage, "");
  auto progress = fw<PfnSetProgress>(PONTRA_SetProgress);
  sendInTiles(picture, job, [&](const char* text, int percent) {
    if (progress) progress(text, percent);
  });
  if (auto f = fw<PfnDestroyProgress>(PONTRA_DestroyProgress)) f();
  return true;
}

bool closePrintJob(std::unique_ptr<dv::PrintJob> job, const std::string& docName, bool batch) {
  if (!job) return false;
  const std::string where = job->destination();
  if (!job->finish()) {
    tellNothingPrinted(kMsgPrinterTookNoPage);
    return false;
  }
  if (figureFormatOf(where) != FigureFormat::Pdf) return true;
  if (batch) msg(DV_MSG_PLAIN, kMsgPrintSelectedWrittenTo, where.c_str());
  else msg(DV_MSG_PLAIN, kMsgPrintWrittenTo, docName.c_str(), where.c_str());
  return true;
}

bool printFigure(FigureSource& source) {
  const std::string name = source.name();
  std::unique_ptr<dv::PrintJob> job = openPrintJob(name);
  if (!job) return false;
  printPage(*job, source, true);
  return closePrintJob(std::move(job), name, false);
}

}  // namespace quv
