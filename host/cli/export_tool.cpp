#include "export_tool.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "delvar/module.h"
#include "dv/file.h"
#include "dv/system.h"
#include "project_session.h"

namespace {

using ExportFn = int (*)(const char*, const char*, const char*, double, double, int, int, const char*, char*,
                         int);

int failed(const std::string& why) {
  std::fprintf(stderr, "delvar-cli export: %s\n", why.c_str());
  return 1;
}

bool number(const char* text, double& out) {
  char* end = nullptr;
  out = std::strtod(text, &end);
  return end && end != text && *end == 0;
}

std::string absolute(const std::string& p) { return p[0] == '/' ? p : dv::joinPath(dv::currentDir(), p); }

}  // namespace

int runExport(int argc, char** argv) {
  dv::useCNumericLocale();
  if (argc < 5) {
    std::fprintf(stderr, "usage: delvar-cli export PROJECT.orx PROFILE OUT.{png,pdf,svg,bmp} [--version T1|D1|E1]\n"
                         "                  [--width IN --height IN --dpi N] [--rgb] [--presentation] [--layout FILE.lay]\n");
    return 2;
  }
  const std::string orx = absolute(argv[2]), profile = argv[3], out = absolute(argv[4]);
  std::string version, layout;
  // No width or height given: the figure's own (11 x 8.5 inches, or the page's size).
  double width = 0, height = 0, dpi = 300;
  int flags = 0;
  for (int i = 5; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--version" && more) version = argv[++i];
    else if (a == "--width" && more && number(argv[i + 1], width)) ++i;
    else if (a == "--height" && more && number(argv[i + 1], height)) ++i;
    else if (a == "--dpi" && more && number(argv[i + 1], dpi)) ++i;
    else if (a == "--rgb") flags |= 2;
    else if (a == "--presentation") flags |= 1;
    else if (a == "--layout" && more) layout = absolute(argv[++i]);
    else return failed("cannot use the argument \"" + a + "\" (a number may be missing)");
  }
  std::string ext = dv::extension(out);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (ext != ".png" && ext != ".pdf" && ext != ".svg" && ext != ".bmp")
    return failed("the output file must end in .png, .pdf, .svg or .bmp: " + out);
  return withRadarExport(orx, "QuvExportFigure", [&](void* symbol) {
    auto fn = reinterpret_cast<ExportFn>(symbol);
    char error[512] = "";
    if (fn(profile.c_str(), version.c_str(), out.c_str(), width, height, int(dpi), flags, layout.c_str(),
           error, int(sizeof error)) != 0)
      return failed(error);
    std::printf("delvar-cli export: wrote %s\n", out.c_str());
    return 0;
  }, failed);
}
