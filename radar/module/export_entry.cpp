// The figure export without the desktop: an export of the module beyond
// its function list, looked up by name by the command-line host
// (delvar-cli export). It renders one version of a profile of the open
// project with the version's saved display settings, as the window's
// Export would, and writes the file whole or not at all.
#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "delvar/module.h"
#include "display/export_dialog.h"
#include "display/export_image.h"
#include "display/gain.h"
#include "display/layout_file.h"
#include "display/page_figure.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/tree_items.h"

namespace quv {

namespace {

int fail(char* error, int size, const std::string& text) {
  if (error && size > 0) std::snprintf(error, size_t(size), "%s", text.c_str());
  return -1;
}

// "T1", "d02", "E15": kind and number; false for anything else.
bool parseVersion(const std::string& text, int& kind, int& number) {
  if (text.size() < 2) return false;
  const char letter = char(std::toupper(static_cast<unsigned char>(text[0])));
  kind = letter == 'T' ? kTimeVersion : letter == 'D' ? kDepthVersion : letter == 'E' ? kElevationVersion : -1;
  char* end = nullptr;
  const long n = std::strtol(text.c_str() + 1, &end, 10);
  if (kind < 0 || !end || *end || !std::isdigit(static_cast<unsigned char>(text[1])) || n < 1 || n > 99)
    return false;
  number = int(n);
  return true;
}

}  // namespace

}  // namespace quv

using namespace quv;

// flags: 1 the presentation page, 2 PNG in 24-bit colour. `layoutPath`
// (may be empty): a page layout file applied to a copy of the version's
// presentation record first (the page is drawn then). A width or height of
// 0 is the figure's own (11 x 8.5 inches, or the page's size). 0 when
// written, -1 with the reason in `error` otherwise; the project and its
// files are left as they were.
DV_EXPORT int QuvExportFigure(const char* profile, const char* version, const char* outPath,
                              double widthInches, double heightInches, int dpi, int flags,
                              const char* layoutPath, char* error, int errorSize) {
  if (!profile || !outPath) return fail(error, errorSize, "no profile or output file given");
  const bool layout = layoutPath && *layoutPath;
  const bool page = (flags & 1) != 0 || layout;

  ProfileItem* item = nullptr;
  for (DvHandle it : childItems(profileFolder()))
    if (::strcasecmp(treeName(it).c_str(), profile) == 0) item = static_cast<ProfileItem*>(treeObject(it));
  if (!item || !item->header)
    return fail(error, errorSize, std::string("the project has no profile \"") + profile + "\"");
  rebuildVersionList(*item);
  ProfileVersion* v = nullptr;
  if (version && *version) {
    int kind = 0, number = 0;
    if (!parseVersion(version, kind, number))
      return fail(error, errorSize, std::string("\"") + version + "\" is not a version (T1, D1, E1, ...)");
    v = findVersion(*item, kind, number);
    if (!v)
      return fail(error, errorSize, "profile \"" + treeName(item->tree) + "\" has no version " +
                                        versionName(kind, number));
  } else {
    v = shownVersion(*item);
    if (!v) return fail(error, errorSize, "profile \"" + treeName(item->tree) + "\" has no version");
  }
  DisplaySettings presentation = v->presentation;
  if (layout && !loadLayoutFile(layoutPath, presentation))
    return fail(error, errorSize, std::string("cannot read the page layout ") + layoutPath);

  NormalFigure normal(*v, *item->header, treeName(item->tree));
  PageFigure pageFigure({v, item->header.get(), projectName(), treeName(item->tree)}, presentation);
  FigureSource& figure = page ? static_cast<FigureSource&>(pageFigure) : normal;
  ExportParameters p;
  p.width = widthInches > 0 ? widthInches : figure.defaultWidth();
  p.height = heightInches > 0 ? heightInches : figure.defaultHeight();
  p.dpi = dpi;
  char buffer[160];
  if (const char* problem = exportSizeProblem(p, buffer, sizeof buffer)) return fail(error, errorSize, problem);

  // As the window shows it: opened for display, then closed again.
  installByteTraceBuilder();
  const bool wasOpen = v->loaded;
  if (!wasOpen && !openVersionForDisplay(*v))
    return fail(error, errorSize, "not enough memory for the version's samples");
  const bool ok = writeFigure(figure, exportTarget(p.width, p.height, p.dpi), figureFormatOf(outPath),
                              (flags & 2) != 0, outPath);
  if (!wasOpen) closeVersionForDisplay(*v);
  if (!ok) return fail(error, errorSize, std::string("could not create file ") + outPath);
  return 0;
}
