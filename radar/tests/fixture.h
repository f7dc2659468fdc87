// Test support for the Quv module.
//
// Two copies of the module's code live in a quv_tests process:
//   * the LOADED copy: libquv.so, loaded by the real framework (started once
//     per process by the environment below) exactly as the hosts load it.
//     It has the module state (type indexes, default folders, open items).
//     Behaviour is tested through it: the project tree, the files in the
//     project folder, the message bar, and the headless UI (dv::headless()
//     is shared, because libdelvar-platform is one shared library).
//   * the STATIC copy: quv_static, linked into the test program. Its module
//     state is never initialised (its function tables are null), so only
//     pure functions are tested through it: encodings, decodings, name rules.
// Never call a module callback (QuvRaw...Func, ...) of the static copy
// expecting it to see the project: it would act on an empty state.
//
// The environment makes a fresh temporary folder and sets it as HOME,
// DELVAR_HOME (the installation folder), XDG_DATA_HOME and the current
// folder before the framework starts, so nothing touches real settings.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/menu.h"
#include "dv/tree.h"
#include "dv/window.h"

namespace quvtest {

// The temporary folder of this process ("" before the environment ran).
const std::string& sandbox();
// What the UI was asked while the framework started (a module that failed
// to load says so here).
const std::string& startupLog();
// True when the format library (module 1) is loaded.
bool formatLibraryLoaded();
// For tests that read recordings: fails with the reason when module 1 is
// not loaded (every header read goes through its function table).
#define QUV_NEED_FORMAT_LIBRARY()                                                   \
  ASSERT_TRUE(quvtest::formatLibraryLoaded())                                       \
      << "the format library libscrivel.so is not loaded, so no recording can be " \
         "read; at start-up:\n"                                                    \
      << quvtest::startupLog()
// Hands module 1's function table to this program's own copy of the radar
// module's code (tests that call its rewrite routines directly); false when
// libscrivel.so does not bind.
bool bindFormatLibraryHere();
// The shared recordings folder and a path inside it.
std::string testdataPath(const std::string& relative);
bool haveTestdata(const std::string& relative);

// Skips the current test with a clear reason when a shared recording is absent.
#define QUV_NEED_TESTDATA(relative)                                                     \
  do {                                                                                  \
    if (!quvtest::haveTestdata(relative))                                               \
      GTEST_SKIP() << "shared recording " << (relative) << " is absent from "          \
                   << quvtest::testdataPath("") << " (set DELVAR_TESTDATA to run this)"; \
  } while (0)

// --- files ------------------------------------------------------------------
std::string readFile(const std::string& path);  // "" when missing
bool exists(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::vector<std::string> listDir(const std::string& dir);  // sorted names
std::string join(const std::string& dir, const std::string& name);
// A fresh empty folder under the sandbox.
std::string freshDir(const std::string& hint);

// Synthetic recordings (formats/synth), small enough to be quick:
// "DZT", "HD" (+ .DT1), "RAD" (+ .RD3), "SG2", "SGY". Returns the path.
std::string makeRecording(const std::string& dir, const std::string& fileName,
                          const std::string& format, int traces = 24, int samples = 64);

// --- the headless UI ----------------------------------------------------------
// Queues a scripted answer ("answer message \"Delete Items?\" Yes", ...);
// a line that does not parse fails the test.
void answer(const std::string& line);
int pendingAnswers();
int unscripted();                      // questions asked without an answer so far
std::vector<std::string> uiLog();      // one line per question, with its answer
std::string uiLogText();
void resetUi();                        // clears queued answers and the log
// Runs what the UI posted (commands chosen in pop-up menus of the tree).
void settle();

// --- the framework and the tree ----------------------------------------------
// The message bar's text and a count of a text in it.
std::string messages();
int countOf(const std::string& text, const std::string& what);
void clearMessages();

// Creates a project through the Open/Create dialog and the "Create
// Project?" question, as a user does: choosing DIR/NAME.orx makes the
// folder DIR/NAME holding NAME.orx. Returns the project folder.
std::string createProject(const std::string& orxPath);
// Opens an existing project through the dialog.
void openProject(const std::string& orxPath);
void closeProject();
bool projectOpen();

// Tree items by label path from the root ("Site/QUV/Raw Data/LINE01.DZT").
dv::TreeItem* item(const std::string& path);
std::vector<std::string> childLabels(const std::string& path);
int isSelected(dv::TreeItem* it);
int isBad(dv::TreeItem* it);
int image(dv::TreeItem* it);
std::string recordName(dv::TreeItem* it);     // GetTreeName
std::string recordFileExt(dv::TreeItem* it);  // GetTreeFileExt
// The object record of a tree item (GetTreepObj): the loaded copy's record,
// read with this program's layout of it; nullptr when there is no such item.
void* treeRecord(const std::string& path);

// User actions on the tree, routed by the framework as the views do.
void rightClick(dv::TreeItem* it);
// Right click and choose a pop-up entry by id; the command runs before this returns.
void popup(dv::TreeItem* it, int commandId);
void doubleClick(dv::TreeItem* it);
void deleteKey(dv::TreeItem* it);
// Edits the label; true when the framework accepted the text.
bool rename(dv::TreeItem* it, const std::string& text);
// A main-menu command (ids of the frame or of the module's pop-ups).
void command(int id);
// The main menu bar's entry with this id, or nullptr.
const dv::MenuItem* menuEntry(int id);
// The document window of the frame titled `title`, or nullptr.
dv::DocWindow* docWindow(const std::string& title);
// Paints a document window as a screen shows it at width x height: its
// pane, then every visible child pane, each onto a recording canvas.
void paintWindow(dv::DocWindow& w, int width, int height);

// A test with a project of its own: SetUp makes a fresh folder holding the
// project "Site" (work/Site/Site.orx) and a "field" folder for recordings;
// TearDown closes the project.
class ProjectTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string work;      // the test's folder
  std::string field;     // recordings to add live here (not the project folder)
  std::string projDir;   // work/Site
  std::string orx;       // work/Site/Site.orx
  std::string rawPath(const std::string& label) const { return "Site/QUV/Raw Data/" + label; }
  std::string inProject(const std::string& name) const { return join(projDir, name); }

  // Adds recordings through File > Add Data: the list dialog gets each path
  // through "Add File(s)" and then OK.
  void addRecordings(const std::vector<std::string>& paths);
};

}  // namespace quvtest
