#include "fixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "dv/canvas.h"
#include "dv/file.h"
#include "dv/headless.h"
#include "dv/system.h"
#include "dv/ui.h"
#include "pontra/pontra.h"
#include "pontra/services.h"
#include "project/quv.h"
#include "startup.h"
#include "synth.h"
#if DELVAR_HAVE_QT
#include "qt_figure.h"
#endif

namespace fs = std::filesystem;

namespace quvtest {

namespace {

std::string g_sandbox;
std::string g_startupLog;
int g_freshCounter = 0;

// Starts the real framework once per test process, with libscrivel.so as
// module 1 and libquv.so as module 700 from the build's bin folder.
class QuvEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    char tmpl[] = "/tmp/quv_tests.XXXXXX";
    const char* dir = ::mkdtemp(tmpl);
    ASSERT_NE(dir, nullptr) << "cannot make a temporary folder";
    g_sandbox = dir;
    std::string data = join(g_sandbox, "xdg-data");
    fs::create_directories(data);
    ::setenv("HOME", g_sandbox.c_str(), 1);
    ::setenv("DELVAR_HOME", g_sandbox.c_str(), 1);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    ASSERT_EQ(::chdir(g_sandbox.c_str()), 0);
#if DELVAR_HAVE_QT
    // Figures (text in exported pictures, PNG, PDF, printing) through Qt.
    dv::qt::installFigureBackend();
#endif
    host::Options opt;
    opt.modulesDir = DELVAR_BIN_DIR;
    started_ = host::start(opt) == 0;
    g_startupLog = uiLogText();
    ASSERT_TRUE(started_) << "the framework did not start";
  }
  void TearDown() override {
    if (started_) host::stop();
    started_ = false;
    if (!std::getenv("QUV_KEEP_SANDBOX") && !g_sandbox.empty()) {
      std::error_code ec;
      (void)::chdir("/");
      fs::remove_all(g_sandbox, ec);
    }
  }

 private:
  bool started_ = false;
};

[[maybe_unused]] ::testing::Environment* const g_env =
    ::testing::AddGlobalTestEnvironment(new QuvEnvironment);

}  // namespace

const std::string& sandbox() { return g_sandbox; }
const std::string& startupLog() { return g_startupLog; }

bool formatLibraryLoaded() { return ::IsModuleLoaded(DV_MODULE_SCRIVEL) == 1; }

bool bindFormatLibraryHere() {
  static dv::ModuleFunctions bound;
  static DvFunc* tables[DV_MODULE_SLOTS] = {};
  static void* handles[DV_MODULE_SLOTS] = {};
  if (!tables[DV_MODULE_SCRIVEL]) {
    void* handle = dv::loadLibrary(join(DELVAR_BIN_DIR, "libscrivel.so"));
    if (!handle || !dv::bindModuleFunctions(handle, bound)) return false;
    tables[DV_MODULE_SCRIVEL] = bound.table.data();
    handles[DV_MODULE_SCRIVEL] = handle;
  }
  quv::startup().funcTables = tables;
  quv::startup().libHandles = handles;
  return true;
}

std::string testdataPath(const std::string& relative) {
  const char* env = std::getenv("DELVAR_TESTDATA");
  std::string root = env && *env ? env : DELVAR_TESTDATA;
  return relative.empty() ? root : join(root, relative);
}

bool haveTestdata(const std::string& relative) { return exists(testdataPath(relative)); }

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "";
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) {
  std::error_code ec;
  return fs::exists(path, ec);
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), (std::streamsize)bytes.size());
  ASSERT_TRUE(out.good()) << "cannot write " << path;
}

std::vector<std::string> listDir(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto& e : fs::directory_iterator(dir, ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string join(const std::string& dir, const std::string& name) { return dv::joinPath(dir, name); }

std::string freshDir(const std::string& hint) {
  std::string d = join(g_sandbox, hint + "-" + std::to_string(++g_freshCounter));
  fs::create_directories(d);
  return d;
}

std::string makeRecording(const std::string& dir, const std::string& fileName,
                          const std::string& format, int traces, int samples) {
  synth::LineRecipe recipe;
  recipe.traces = traces;
  recipe.samples = samples;
  recipe.markEvery = 10;
  std::string path = join(dir, fileName);
  int rc = -1;
  if (format == "DZT") rc = synth::writeGssi(path, recipe);
  else if (format == "HD") rc = synth::writePekko(path, recipe);
  else if (format == "RAD") rc = synth::writeRamac(path, recipe);
  else if (format == "SG2") rc = synth::writeSeg2(path, recipe);
  else if (format == "SGY") rc = synth::writeSegy(path, recipe);
  // 1: written, with samples clipped to the format's range.
  EXPECT_GE(rc, 0) << "synthetic " << format << " recording " << path;
  return path;
}

void answer(const std::string& line) {
  std::string err;
  EXPECT_TRUE(dv::headless().addAnswerLine(line, &err)) << line << ": " << err;
}

int pendingAnswers() { return (int)dv::headless().pendingAnswers(); }
int unscripted() { return dv::headless().unscripted(); }
std::vector<std::string> uiLog() { return dv::headless().log(); }

std::string uiLogText() {
  std::string s;
  for (auto& l : dv::headless().log()) s += l + "\n";
  return s;
}

void resetUi() {
  dv::headless().clearAnswers();
  dv::headless().resetLog();
}

void settle() { dv::ui().processPosted(); }

std::string messages() { return pontra::messageBarText(); }

int countOf(const std::string& text, const std::string& what) {
  if (what.empty()) return 0;
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + what.size()))
    ++n;
  return n;
}

void clearMessages() { ::ClearMsgBar(); }

std::string createProject(const std::string& orxPath) {
  answer("answer file \"" + orxPath + "\"");
  answer("answer message \"Create Project?\" Yes");
  command(32800);
  EXPECT_TRUE(pontra::projectOpen()) << uiLogText();
  return pontra::projectDir();
}

void openProject(const std::string& orxPath) {
  answer("answer file \"" + orxPath + "\"");
  command(32800);
  EXPECT_TRUE(pontra::projectOpen()) << uiLogText();
}

void closeProject() { command(32801); }
bool projectOpen() { return pontra::projectOpen(); }

dv::TreeItem* item(const std::string& path) { return pontra::frame().tree.findPath(path); }

void* treeRecord(const std::string& path) {
  void* obj = nullptr;
  if (dv::TreeItem* it = item(path)) ::GetTreepObj(it, &obj);
  return obj;
}

std::vector<std::string> childLabels(const std::string& path) {
  std::vector<std::string> out;
  if (dv::TreeItem* it = item(path))
    for (auto& c : it->children) out.push_back(c->text);
  return out;
}

int isSelected(dv::TreeItem* it) {
  int v = -1;
  ::GetTreeSelected(it, &v);
  return v;
}

int isBad(dv::TreeItem* it) {
  int v = -1;
  ::GetTreeBad(it, &v);
  return v;
}

int image(dv::TreeItem* it) { return it ? it->image : -1; }

std::string recordName(dv::TreeItem* it) {
  char buf[1024] = {0};
  ::GetTreeName(it, buf, sizeof buf);
  return buf;
}

std::string recordFileExt(dv::TreeItem* it) {
  char buf[1024] = {0};
  ::GetTreeFileExt(it, buf, sizeof buf);
  return buf;
}

static dv::TreeHandler* handler() { return pontra::frame().tree.handler(); }

void rightClick(dv::TreeItem* it) {
  ASSERT_NE(it, nullptr);
  handler()->treeRightClick(it, 10, 10);
  settle();
}

void popup(dv::TreeItem* it, int commandId) {
  ASSERT_NE(it, nullptr);
  answer("answer popup " + std::to_string(commandId));
  rightClick(it);
}

void doubleClick(dv::TreeItem* it) {
  ASSERT_NE(it, nullptr);
  handler()->treeDoubleClick(it);
  settle();
}

void deleteKey(dv::TreeItem* it) {
  ASSERT_NE(it, nullptr);
  pontra::frame().tree.select(it);
  handler()->treeDeleteKey(it);
  settle();
}

bool rename(dv::TreeItem* it, const std::string& text) {
  if (!it || !handler()->treeBeginLabelEdit(it)) return false;
  bool ok = handler()->treeEndLabelEdit(it, text);
  settle();
  return ok;
}

void command(int id) {
  pontra::command(id);
  settle();
}

const dv::MenuItem* menuEntry(int id) {
  dv::Menu* bar = pontra::currentMenuBar();
  return bar ? bar->find(id) : nullptr;
}

dv::DocWindow* docWindow(const std::string& title) {
  for (dv::DocWindow* w : pontra::frame().mdi.windows())
    if (w->title() == title) return w;
  return nullptr;
}

namespace {
void paintPane(dv::Pane& pane) {
  dv::RecordingCanvas canvas;
  pane.onPaint(canvas);
  for (dv::Pane* child : pane.children())
    if (child && child->visible()) paintPane(*child);
}
}  // namespace

void paintWindow(dv::DocWindow& w, int width, int height) {
  dv::Pane* pane = w.pane();
  if (!pane) return;
  pane->resize(width, height);
  paintPane(*pane);
}

void ProjectTest::SetUp() {
  ASSERT_FALSE(g_sandbox.empty()) << "the test environment did not run";
  ASSERT_EQ(::IsModuleLoaded(DV_MODULE_QUV), 1)
      << "libquv.so is not loaded from " << DELVAR_BIN_DIR << "\n" << uiLogText();
  ASSERT_FALSE(pontra::projectOpen()) << "a previous test left its project open";
  resetUi();
  work = freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
  field = join(work, "field");
  fs::create_directories(field);
  // Choosing work/Site.orx creates the folder work/Site holding Site.orx.
  projDir = createProject(join(work, "Site.orx"));
  ASSERT_EQ(projDir, join(work, "Site"));
  orx = join(projDir, "Site.orx");
  clearMessages();
  resetUi();
}

void ProjectTest::TearDown() {
  if (pontra::projectOpen()) closeProject();
  resetUi();
}

void ProjectTest::addRecordings(const std::vector<std::string>& paths) {
  std::string files = "answer file";
  for (auto& p : paths) files += " \"" + p + "\"";
  answer(files);
  answer("answer dialog #303 press 20501 press OK");
  command(32802);
}

}  // namespace quvtest
