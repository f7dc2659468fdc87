// delvar: the desktop workbench. Fills the start-up values, installs the Qt
// backend of the UI service and starts the framework, whose main frame the
// backend shows; then runs the event loop.
//
//   delvar [--demo DIR] [--open FILE.orx] [--screenshot FILE.png]
//
// --demo opens (or creates) the demo project in DIR; --screenshot saves an
// image of the main window once it has settled and quits (for checks
// without a person at the screen).
#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <string>

#include "demo.h"
#include "job.h"
#include "dv/system.h"
#include "pontra/pontra.h"
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

  std::string demoDir, openFile, screenshot;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--demo" && i + 1 < argc) demoDir = argv[++i];
    else if (a == "--demo") demoDir = "demo";
    else if (a == "--open" && i + 1 < argc) openFile = argv[++i];
    else if (a == "--screenshot" && i + 1 < argc) screenshot = argv[++i];
    else {
      std::fprintf(stderr, "usage: delvar [--demo DIR] [--open FILE.orx] [--screenshot FILE.png]\n");
      return 2;
    }
  }

  // The framework starts under the headless backend, so the demo's set-up
  // job can answer its own dialogs; then the window takes over.
  DesktopUi ui;
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
  } else if (!openFile.empty()) {
    pontra::openProjectPath(openFile);
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
