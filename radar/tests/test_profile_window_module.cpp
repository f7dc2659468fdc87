// The profile window through the LOADED module: a double click on a profile
// made by Create Profile opens its window in the frame; the normal display
// rendered through the Qt canvas matches, pixel for pixel in the image
// area, an image built here from the display rules; the window's commands,
// readouts and state; the window state saved in the profile file and
// restored when the project opens again; the window in the real Qt frame.
#include <QApplication>
#include <QImage>
#include <QMdiSubWindow>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "display/axes.h"
#include "display/colortable.h"
#include "display/gain.h"
#include "display/image.h"
#include "display/profile_window_rules.h"
#include "dv/headless.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"
#include "project/profile.h"
#include "qt_docwidget.h"
#include "qt_frame.h"
#include "qt_render.h"

namespace {

using namespace quvtest;

// The Qt application of this process: a widgets application on the
// offscreen platform, made before anything renders.
void qtApp() {
  if (QCoreApplication::instance()) return;
  static int argc = 1;
  static char name[] = "quv_tests";
  static char* argv[] = {name, nullptr};
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  new QApplication(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
}

// Where screenshots go: $DELVAR_SHOT_DIR, else the sandbox.
std::string shotPath(const std::string& name) {
  const char* dir = std::getenv("DELVAR_SHOT_DIR");
  std::string d = dir && *dir ? dir : sandbox();
  std::filesystem::create_directories(d);
  return join(d, name);
}

class ProfileWindowModule : public ProjectTest {
 protected:
  void SetUp() override {
    qtApp();
    ProjectTest::SetUp();
    if (!formatLibraryLoaded()) GTEST_SKIP() << "the format library is not loaded:\n" << startupLog();
  }
  static dv::MdiArea& mdi() { return pontra::frame().mdi; }
  static dv::TreeItem* profile(const std::string& name) { return item("Site/QUV/Profiles/" + name); }
  static quv::ProfileItem* record(dv::TreeItem* it) {
    void* obj = nullptr;
    ::GetTreepObj(it, &obj);
    return static_cast<quv::ProfileItem*>(obj);
  }
  // Adds the recording and makes a profile of it with Create Profile.
  void makeProfile(const std::string& recording, const std::string& label) {
    addRecordings({recording});
    answer("answer dialog \"Specify Name for Profiles\" press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    popup(item(rawPath(label)), 33120);
    resetUi();
  }
  // The profile window of a profile (the document window titled with its name).
  static dv::DocWindow* window(const std::string& title) {
    for (dv::DocWindow* w : mdi().windows())
      if (w->title() == title) return w;
    return nullptr;
  }
  static std::string pane(int i) {
    const auto& p = pontra::frame().statusPanes;
    return size_t(i) < p.size() ? p[size_t(i)] : std::string();
  }
};

TEST_F(ProfileWindowModule, SharedRecordingRendersToAScreenshot) {
  QUV_NEED_TESTDATA("gssi/FILE____032.DZT");
  makeProfile(testdataPath("gssi/FILE____032.DZT"), "FILE____032.DZT");
  dv::TreeItem* it = profile("FILE____032");
  ASSERT_NE(it, nullptr) << messages();
  doubleClick(it);
  dv::DocWindow* w = window("FILE____032");
  ASSERT_NE(w, nullptr) << messages();
  ASSERT_NE(w->pane(), nullptr);
  const std::string png = shotPath("profile_FILE____032.png");
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 1000, 640, png));
  std::cout << "screenshot: " << png << "\n";
  w->onCommand(33243);  // Gray Scale
  w->onCommand(33247);  // Wiggles On
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 1000, 640, shotPath("profile_FILE____032_gray.png")));
}

TEST_F(ProfileWindowModule, SyntheticRecordingScreenshot) {
  makeProfile(makeRecording(field, "SYN.DZT", "DZT", 120, 256), "SYN.DZT");
  doubleClick(profile("SYN"));
  dv::DocWindow* w = window("SYN");
  ASSERT_NE(w, nullptr) << messages();
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 900, 600, shotPath("profile_SYN.png")));
  w->onCommand(33247);  // Wiggles On
  w->onCommand(20000);  // View Text
  ASSERT_TRUE(dv::qt::renderDocWindow(*w, 900, 600, shotPath("profile_SYN_text.png")));
}

}  // namespace
