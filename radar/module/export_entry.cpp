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

// flags: 1 the presentation page, 2 PNG in 24-bit colour. 0 when written,
// -1 with the reason in `error` otherwise.
DV_EXPORT int QuvExportFigure(const char* profile, const char* version, const char* outPath,
                              double widthInches, double heightInches, int dpi, int flags,
                              char* error, int errorSize) {
  if (!profile || !outPath) return fail(error, errorSize, "no profile or output file given");
  if (flags & 1)
    return fail(error, errorSize, "the presentation page arrives with the presentation display");
  ExportParameters p;
  p.width = widthInches;
  p.height = heightInches;
  p.dpi = dpi;
  char buffer[160];
  if (const char* problem = exportSizeProblem(p, buffer, sizeof buffer)) return fail(error, errorSize, problem);

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
  // As the window shows it: opened for display, then closed again.
  installByteTraceBuilder();
  const bool wasOpen = v->loaded;
  if (!wasOpen) openVersionForDisplay(*v);
  NormalFigure figure(*v, *item->header, treeName(item->tree));
  const bool ok = writeFigure(figure, exportTarget(p.width, p.height, p.dpi), figureFormatOf(outPath),
                              (flags & 2) != 0, outPath);
  if (!wasOpen) closeVersionForDisplay(*v);
  if (!ok) return fail(error, errorSize, std::string("could not create file ") + outPath);
  return 0;
}
