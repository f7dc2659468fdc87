// The figure backend of the Qt library: text masks through the Qt canvas
// without smoothing, PNG files, PDF documents (QPdfWriter) and SVG
// documents (QSvgGenerator) painted through the Qt canvas, and print jobs
// on the default printer (Qt print support) or into a PDF file.
#pragma once

#include "dv/figure.h"

namespace dv::qt {

class QtFigureBackend : public FigureBackend {
 public:
  Size textExtent(const FontDesc& font, const std::string& text) override;
  void textMask(const FontDesc& font, unsigned align, int x, int y, const std::string& text,
                TextMask& out) override;
  bool writePng(const IndexedBitmap& bitmap, bool rgb, const std::string& path) override;
  bool writeVector(VectorKind kind, const std::string& path, double widthInches,
                   double heightInches, int dpi, int widthPx, int heightPx,
                   const std::function<void(Canvas&)>& paint) override;
  std::unique_ptr<PrintJob> startPrint(const std::string& docName,
                                       const std::string& pdfPath) override;
};

// Installs the process's Qt figure backend (making the Qt application
// painting needs when there is none yet).
void installFigureBackend();

}  // namespace dv::qt
