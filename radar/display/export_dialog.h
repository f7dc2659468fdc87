// Export of a figure: the "Export Parameters" dialog (Width and Height in
// inches, D. P. I., and whether a PNG file gets 24-bit colour), then the
// save dialog "Export Image..." whose file type chooses the format (BMP,
// PNG, PDF, SVG), then the figure composed and written whole.
#pragma once

#include <string>

#include "display/export_image.h"

namespace quv {

enum ExportParameterIds {
  IDC_EXPORT_WIDTH = 22900,
  IDC_EXPORT_HEIGHT = 22901,
  IDC_EXPORT_DPI = 22902,
  IDC_EXPORT_RGB = 22903,
};

struct ExportParameters {
  double width = 11.0, height = 8.5;  // inches
  int dpi = 300;
  bool rgb = false;  // PNG: 24-bit colour instead of the 8-bit colour table
};

// nullptr when the size can be exported, else the text that says why not
// (numbers out of range, or more pixels than a figure may have; the text
// of the latter is written into `buffer`).
const char* exportSizeProblem(const ExportParameters& p, char* buffer, size_t size);

// The whole command; cancelling either dialog ends it without effect. The
// chosen folder becomes the default export directory. A file that cannot
// be written: "Could not create file" titled "Error".
void exportFigureCommand(FigureSource& source);

}  // namespace quv
