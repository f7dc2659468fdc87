// The export command and its parameters dialog.
#include "display/export_dialog.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/system.h"
#include "dv/ui.h"
#include "project/messages.h"
#include "project/preferences_folders.h"
#include "project/quv.h"

namespace quv {

namespace {

std::string number(double v) {
  dv::CNumericScope c;
  char text[32];
  std::snprintf(text, sizeof text, "%g", v);
  return text;
}

bool parse(const std::string& text, double& out) {
  dv::CNumericScope c;
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  return end && end != text.c_str() && *end == 0 && std::isfinite(out);
}

class CExportParamsDlg : public dv::Dialog {
 public:
  explicit CExportParamsDlg(const ExportParameters& p) : dv::Dialog(0, kMsgExportParameters, 170, 104) {
    addStatic(0, "Width:", {7, 9, 60, 17});
    addEdit(IDC_EXPORT_WIDTH, {64, 7, 120, 19});
    addStatic(0, "in", {124, 9, 160, 17});
    addStatic(0, "Height:", {7, 27, 60, 35});
    addEdit(IDC_EXPORT_HEIGHT, {64, 25, 120, 37});
    addStatic(0, "in", {124, 27, 160, 35});
    addStatic(0, "D. P. I.:", {7, 45, 60, 53});
    addEdit(IDC_EXPORT_DPI, {64, 43, 120, 55});
    addCheck(IDC_EXPORT_RGB, "24-bit PNG", {7, 62, 120, 72});
    addButton(dv::IDOK, "OK", {20, 82, 70, 96}, true);
    addButton(dv::IDCANCEL, "Cancel", {95, 82, 145, 96});
    setText(IDC_EXPORT_WIDTH, number(p.width));
    setText(IDC_EXPORT_HEIGHT, number(p.height));
    setText(IDC_EXPORT_DPI, std::to_string(p.dpi));
    setCheck(IDC_EXPORT_RGB, p.rgb ? 1 : 0);
  }
  ExportParameters params;

  void onOK() override {
    double dpi = 0;
    const bool numbers = parse(text(IDC_EXPORT_WIDTH), params.width) &&
                         parse(text(IDC_EXPORT_HEIGHT), params.height) &&
                         parse(text(IDC_EXPORT_DPI), dpi) && dpi == std::floor(dpi);
    params.dpi = numbers && std::fabs(dpi) < 1e6 ? int(dpi) : 0;
    params.rgb = check(IDC_EXPORT_RGB) != 0;
    char buffer[160];
    const char* problem = numbers ? exportSizeProblem(params, buffer, sizeof buffer)
                                  : kMsgExportParametersInvalid;
    // The dialog stays up until the numbers can be exported.
    if (problem) {
      dv::messageBox(problem, "Error", dv::MB_OK | dv::MB_ICONERROR);
      return;
    }
    endDialog(dv::IDOK);
  }
};

// The last parameters of this session, proposed again.
ExportParameters& lastParameters() {
  static ExportParameters p;
  return p;
}

}  // namespace

const char* exportSizeProblem(const ExportParameters& p, char* buffer, size_t size) {
  if (!(p.width > 0) || !(p.height > 0) || p.width > 1000 || p.height > 1000 || p.dpi < 1 ||
      p.dpi > 2400)
    return kMsgExportParametersInvalid;
  const FigureTarget t = exportTarget(p.width, p.height, p.dpi);
  if (t.width < 1 || t.height < 1 || int64_t(t.width) * t.height > kMaxFigurePixels) {
    std::snprintf(buffer, size, kMsgExportTooLarge, p.width, p.height, p.dpi);
    return buffer;
  }
  return nullptr;
}

void exportFigureCommand(FigureSource& source) {
  ExportParameters p = lastParameters();
  p.width = source.defaultWidth();
  p.height = source.defaultHeight();
  CExportParamsDlg dlg(p);
  if (dlg.doModal() != dv::IDOK) return;
  p = dlg.params;
  lastParameters() = p;

  dv::FileDialogRequest req;
  req.save = true;
  req.title = kMsgExportImageTitle;
  req.filters = {{"BMP (.bmp)", "*.bmp"},
                 {"PNG (.png)", "*.png"},
                 {"PDF (.pdf)", "*.pdf"},
                 {"SVG (.svg)", "*.svg"}};
  req.defaultExt = "BMP";
  req.fileName = source.name();
  req.initialDir = defaultFolders().exportDir;
  req.overwritePrompt = true;
  const dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return;
  const std::string path = r.paths.front();
  defaultFolders().exportDir = dv::dirName(path);

  if (!writeFigure(source, exportTarget(p.width, p.height, p.dpi), figureFormatOf(path), p.rgb, path)) {
    if (source.cancelled) return;  // stopped in the progress window: nothing written, nothing to tell
    dv::messageBox(kMsgCouldNotCreateFile, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return;
  }
  msg(DV_MSG_PLAIN, kMsgExportWrittenTo, source.name().c_str(), path.c_str());
}

}  // namespace quv
