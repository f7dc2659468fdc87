// delvar-cli: headless jobs (--job FILE, --demo) and the file inspector
// (info, samples, stats, convert).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "job.h"

#ifdef DELVAR_CLI_RENDER
#include "qt_figure.h"
#include "qt_render.h"
#endif

#include "export_tool.h"
#include "positions_tool.h"
#include "process_tool.h"
#include "recording_tool.h"
#include "sidecar_tool.h"

static int usage() {
  std::fprintf(stderr,
               "usage: delvar-cli --job FILE     run a job script headless\n"
               "       delvar-cli --demo [DIR]   the demo job (default folder ./demo)\n"
               "       delvar-cli info FILE\n"
               "       delvar-cli samples FILE --trace N [--first K] [--count C]\n"
               "       delvar-cli stats FILE\n"
               "       delvar-cli convert IN OUT\n"
               "       delvar-cli export PROJECT.orx PROFILE OUT.{png,pdf,svg,bmp} [--version T1]\n"
               "                  [--width IN --height IN --dpi N] [--rgb] [--presentation] [--layout FILE.lay]\n"
               "       delvar-cli process PROJECT.orx PROFILE STEP [PARAM=VALUE ...] [--version T1]\n"
               "       delvar-cli sidecar FILE.{DZG,DZX,GPS,cor,top,xyz} [--epsg N]\n"
               "       delvar-cli positions PROJECT.orx [PROFILE...] OUT.{geojson,kml,csv} [--epsg N]\n"
  );
  return 2;
}

int main(int argc, char** argv) {
  if (argc < 2) return usage();
#ifdef DELVAR_CLI_RENDER
  // Windows are painted through the Qt canvas on the offscreen platform,
  // which wants a private runtime folder.
  if (!std::getenv("XDG_RUNTIME_DIR")) {
    std::string dir = "/tmp/delvar-runtime-" + std::to_string(::getuid());
    ::mkdir(dir.c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
  }
  cli::setRenderer([](dv::DocWindow& w, int width, int height, const std::string& png) {
    return dv::qt::renderDocWindow(w, width, height, png);
  });
  // Print, export and copy draw text, write PNG and PDF files and print through Qt.
  dv::qt::installFigureBackend();
#endif
  std::string verb = argv[1];
  if (verb == "--job" && argc == 3) return cli::runJobFile(argv[2]);
  if (verb == "--demo") return cli::runDemo(argc >= 3 ? argv[2] : "demo");
  if (verb == "export") return runExport(argc, argv);
  if (verb == "process") return runProcess(argc, argv);
  if (verb == "sidecar") return runSidecar(argc, argv);
  if (verb == "positions") return runPositions(argc, argv);
  if (verb == "info" || verb == "samples" || verb == "stats" || verb == "convert")
    return runInspector(argc, argv);
  return usage();
}
