// delvar: the desktop workbench. Fills the start-up values, installs the Qt
// backend of the UI service and starts the framework, whose main frame the
// backend shows; then runs the event loop.
//
//   delvar [--demo DIR] [--open FILE.orx] [--screenshot FILE.png] [PATH...]
//
// --demo opens (or creates) the demo project in DIR; PATHs are a project
// file to open or recordings to look at in the scratch project (see
// open_paths.h); --screenshot saves an image of the main window once it
// has settled and quits (for checks without a person at the screen).
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "demo.h"
#include "dv/system.h"
#include "job.h"
#include "open_paths.h"
#include "pontra/pontra.h"
#include "qt_figure.h"
#include "qt_frame.h"
#include "qt_ui.h"
#include "startup.h"

namespace {

class DesktopUi : public dv::qt::QtUi {
 public:
  void quit() override {
    quitRequested_ = true;
    QApplication::quit();
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName("DELVAR");
  app.setOrganizationName("DELVAR");
  // Qt set the process locale from the environment: numbers in files and
  // messages keep the C decimal point.
  dv::useCNumericLocale();

  std::string demoDir, screenshot;
  std::vector<std::string> paths;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--demo" && i + 1 < argc) demoDir = argv[++i];
    else if (a == "--demo") demoDir = "demo";
    else if (a == "--open" && i + 1 < argc)
      paths.push_back(argv[++i]);
    else if (a == "--screenshot" && i + 1 < argc) screenshot = argv[++i];
    else if (a == "--")
      paths.insert(paths.end(), argv + i + 1, argv + argc), i = argc;
    else if (a.rfind("-", 0) != 0)
      paths.push_back(a);
    else {
      std::fprintf(
          stderr, "usage: delvar [--demo DIR] [--screenshot FILE.png] [FILE.orx | RECORDING...]\n");
      return 2;
    }
  }

  // The framework starts under the headless backend, so the demo's set-up
  // job can answer its own dialogs; then the window takes over.
  DesktopUi ui;
  dv::qt::installFigureBackend();
  if (host::start() != 0) {
    std::fprintf(stderr, "delvar: the framework did not start\n");
    return 1;
  }
  if (!demoDir.empty()) {
    std::string job = host::demoJob(demoDir);
    if (job.empty())
      std::fprintf(stderr, "delvar: cannot make the demo folder %s\n", demoDir.c_str());
    else
      cli::runJobText(job, "demo");
  } else if (!paths.empty()) {
    host::openPaths(paths);
  }
  dv::setUi(&ui);
  ui.showFrame(pontra::frame());
  if (!screenshot.empty()) {
    QTimer::singleShot(1500, [&] {
      if (auto* w = ui.frameWindow()) w->grab().save(QString::fromStdString(screenshot));
      QApplication::quit();
    });
  }
  int rc = app.exec();
  host::stop();
  dv::setUi(nullptr);
  return rc;
}
