// The framework's own state: start-up values, the module table, the type
// registry, the tree records and the project.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/menu.h"
#include "dv/tree.h"
#include "dv/window.h"
#include "pontra/pontra.h"
#include "pontra/services.h"

namespace pontra {

struct TypeEntry {
  int moduleId = 0;
  int typeNumber = 0;
  std::string folder1, folder2, folder3;
  int addSlot = -1;
  std::string addText;
  int closeSlot = -1, commandSlot = -1, createSlot = -1;
  std::string createText;
  int dblClickSlot = -1, delSlot = -1, importSlot = -1;
  std::string importText;
  int openSlot = -1, rclickSlot = -1, renameSlot = -1;
};

// One per tree item (root, folders, objects).
struct TreeRecord {
  int isFolder = 0;
  int moduleId = 0;
  int typeNumber = -1;
  int selected = 0;
  int bad = 0;
  int typeIndex = -1;
  std::string name;
  std::string fileExt;
  void* object = nullptr;
};

// Tree images.
enum { IMG_ROOT = 0, IMG_FOLDER = 1, IMG_OBJECT = 2, IMG_SELECTED = 3, IMG_BAD = 4,
       IMG_NOT_LOADED = 5 };

struct Startup {
  void** libHandles = nullptr;
  int* hostArray = nullptr;
  char** libFileNames = nullptr;
  char** moduleNames = nullptr;
  int* majors = nullptr;
  int* minors = nullptr;
  DvFunc** funcTables = nullptr;
  void** resHandles = nullptr;
  char** resFileNames = nullptr;
  int hostA = 0, hostB = 0;
};

struct State {
  Startup s;
  std::vector<TypeEntry> types;
  std::map<dv::TreeItem*, std::unique_ptr<TreeRecord>> records;
  dv::FrameModel frame;
  std::unique_ptr<dv::Menu> menuBar;
  bool projectOpen = false;
  std::string projectFile, projectDir, defProjDir;
  std::string orxDir;
  std::string lockFile;  // the project's lock while this process holds it
  std::FILE* log = nullptr;
  bool loadingProject = false;
  std::vector<ObjToolBar> toolbars = std::vector<ObjToolBar>(DV_MODULE_SLOTS);
  std::vector<int> toolbarInUse = std::vector<int>(DV_MODULE_SLOTS, 0);
  bool progress = false;
};

State& st();

// Module helpers.
bool moduleLoaded(int id);
std::string moduleName(int id);
DvFunc moduleSlot(int id, int slot);
int tableSize(int id);  // slots in module id's table (name count + 1)
template <typename Fn>
Fn moduleFn(int id, int slot) {
  return reinterpret_cast<Fn>(moduleSlot(id, slot));
}
// True when the module registered at least one object type: only such a
// module owns tree folders and is asked for their menus and pop-ups.
bool ownsTypes(int moduleId);
TreeRecord* record(dv::TreeItem* item);
dv::TreeItem* rootItem();

// Tree and project (tree.cpp, project.cpp).
dv::TreeItem* findOrCreateFolderChain(int moduleId, int typeNumber, const std::string& f1,
                                      const std::string& f2, const std::string& f3);
void freeRecord(dv::TreeItem* item);
void deleteAllItems();
int saveProject();
void openCreateProjectCommand();
void closeProjectCommand(bool force);
void notifyProjectOpened();
void releaseProjectLock();

// Main frame (mainframe.cpp).
void createMainFrame();
void rebuildMainMenu();
void updateStatusPrompt(int id);
void addDataCommand();
void createDataCommand();
void importDataCommand();
std::string frameString(int id);

// Messages (messages.cpp).
void writeMessage(int kind, int moduleId, const std::string& text);
void openLog();
void closeLog();

// The tree handler routing user actions to type callbacks (routing.cpp).
dv::TreeHandler& treeRouter();

// Trims blanks and removes every double quote and comma.
std::string cleanName(const std::string& s);
std::string trimBlanks(const std::string& s);

}  // namespace pontra
