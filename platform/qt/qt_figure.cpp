// The Qt figure backend.
#include "qt_figure.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgGenerator>

#include <cmath>

#include "qt_canvas.h"
#include "qt_render.h"
#include "qt_util.h"

namespace dv::qt {

namespace {

// A picture's pixels are device pixels: metrics are taken on an image.
QPaintDevice* pixelDevice() {
  static QImage device(1, 1, QImage::Format_RGB32);
  return &device;
}

// A print job into a PDF file: one US Letter page in landscape at 300 dpi,
// the whole page printable.
class PdfPrintJob : public PrintJob {
 public:
  PdfPrintJob(const std::string& docName, const std::string& path)
      : path_(path), writer_(toQ(path)) {
    writer_.setTitle(toQ(docName));
    writer_.setCreator(QStringLiteral("DELVAR"));
    writer_.setResolution(kDpi);
    writer_.setPageSize(QPageSize(QPageSize::Letter));
    writer_.setPageOrientation(QPageLayout::Landscape);
    writer_.setPageMargins(QMarginsF(0, 0, 0, 0));
    painter_.begin(&writer_);
  }
  bool started() const { return painter_.isActive(); }
  int pageWidth() const override { return writer_.width(); }
  int pageHeight() const override { return writer_.height(); }
  int dpiX() const override { return kDpi; }
  int dpiY() const override { return kDpi; }
  void drawTile(const IndexedBitmap& tile, int width, int height, int x, int y) override {
    painter_.drawImage(x, y, toQImage(tile), 0, 0, width, height);
    ++tiles_;
  }
  bool newPage() override { return writer_.newPage(); }
  bool finish() override { return painter_.end() && tiles_ > 0; }
  std::string destination() const override { return path_; }

 private:
  static constexpr int kDpi = 300;
  std::string path_;
  QPdfWriter writer_;
  QPainter painter_;
  int tiles_ = 0;
};

// A print job on the default printer with its defaults.
class PrinterJob : public PrintJob {
 public:
  PrinterJob(const std::string& docName, const QPrinterInfo& info)
      : printer_(info, QPrinter::HighResolution) {
    printer_.setDocName(toQ(docName));
    painter_.begin(&printer_);
  }
  bool started() const { return painter_.isActive(); }
  int pageWidth() const override { return int(printer_.pageRect(QPrinter::DevicePixel).width()); }
  int pageHeight() const override { return int(printer_.pageRect(QPrinter::DevicePixel).height()); }
  int offsetX() const override {
    return int(printer_.pageRect(QPrinter::DevicePixel).left() - printer_.paperRect(QPrinter::DevicePixel).left());
  }
  int offsetY() const override {
    return int(printer_.pageRect(QPrinter::DevicePixel).top() - printer_.paperRect(QPrinter::DevicePixel).top());
  }
  int dpiX() const override { return printer_.logicalDpiX(); }
  int dpiY() const override { return printer_.logicalDpiY(); }
  void drawTile(const IndexedBitmap& tile, int width, int height, int x, int y) override {
    painter_.drawImage(x, y, toQImage(tile), 0, 0, width, height);
    ++tiles_;
  }
  bool newPage() override { return printer_.newPage(); }
  bool finish() override { return painter_.end() && tiles_ > 0; }
  std::string destination() const override { return fromQ(printer_.printerName()); }

 private:
  QPrinter printer_;
  QPainter painter_;
  int tiles_ = 0;
};

}  // namespace

Size QtFigureBackend::textExtent(const FontDesc& font, const std::string& text) {
  const QFontMetricsF m(toQFont(font, pixelDevice()), pixelDevice());
  return {int(std::ceil(m.horizontalAdvance(toQ(text)))), int(std::ceil(m.height()))};
}

void QtFigureBackend::textMask(const FontDesc& font, unsigned align, int x, int y,
                               const std::string& text, TextMask& out) {
  // A box around the reference point that holds the text with any
  // alignment: the text's extent on either side of it, turned by the
  // escapement.
  const Size e = textExtent(font, text);
  const double turn = font.escapement / 10.0 * M_PI / 180.0;
  const double c = std::fabs(std::cos(turn)), s = std::fabs(std::sin(turn));
  const int ex = int(std::ceil(e.cx * c + e.cy * s)) + 2, ey = int(std::ceil(e.cx * s + e.cy * c)) + 2;
  out.left = x - ex;
  out.top = y - ey;
  out.width = 2 * ex + 1;
  out.height = 2 * ey + 1;
  QImage box(out.width, out.height, QImage::Format_ARGB32_Premultiplied);
  box.fill(Qt::transparent);
  {
    QPainter p(&box);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.translate(-out.left, -out.top);
    QtCanvas c(p);
    c.setFont(font);
    c.setTextColor(0);
    c.setTextAlign(align);
    c.text(x, y, text);
  }
  out.bits.assign(size_t(out.width) * size_t(out.height), 0);
  for (int row = 0; row < out.height; ++row) {
    const auto* line = reinterpret_cast<const QRgb*>(box.constScanLine(row));
    for (int col = 0; col < out.width; ++col)
      out.bits[size_t(row) * size_t(out.width) + size_t(col)] = qAlpha(line[col]) >= 128;
  }
}

bool QtFigureBackend::writePng(const IndexedBitmap& bitmap, bool rgb, const std::string& path) {
  if (bitmap.empty()) return false;
  QImage image = toQImage(bitmap);
  if (rgb) image = image.convertToFormat(QImage::Format_RGB888);
  return image.save(toQ(path), "PNG");
}

bool QtFigureBackend::writeVector(VectorKind kind, const std::string& path, double widthInches,
                                  double heightInches, int dpi, int widthPx, int heightPx,
                                  const std::function<void(Canvas&)>& paint) {
  ensureApplication();
  if (kind == VectorKind::Pdf) {
    QPdfWriter writer(toQ(path));
    writer.setCreator(QStringLiteral("DELVAR"));
    writer.setResolution(dpi);
    writer.setPageSize(QPageSize(QSizeF(widthInches, heightInches), QPageSize::Inch, QString(),
                                 QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    {
      QtCanvas c(painter);
      paint(c);
    }
    return painter.end();
  }
  QSvgGenerator svg;
  svg.setFileName(toQ(path));
  svg.setSize(QSize(widthPx, heightPx));
  svg.setViewBox(QRect(0, 0, widthPx, heightPx));
  svg.setResolution(dpi);
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  {
    QtCanvas c(painter);
    paint(c);
  }
  return painter.end();
}

std::unique_ptr<PrintJob> QtFigureBackend::startPrint(const std::string& docName,
                                                      const std::string& pdfPath) {
  ensureApplication();
  if (!pdfPath.empty()) {
    auto job = std::make_unique<PdfPrintJob>(docName, pdfPath);
    if (job->started()) return job;
    return nullptr;
  }
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull()) return nullptr;
  auto job = std::make_unique<PrinterJob>(docName, info);
  if (job->started()) return job;
  return nullptr;
}

void installFigureBackend() {
  ensureApplication();
  static QtFigureBackend backend;
  setFigureBackend(&backend);
}

}  // namespace dv::qt
