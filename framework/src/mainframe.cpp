// CMainFrame: the main menu, toolbar, status bar, frame commands and the
// frame's small dialogs.
#include <map>

#include "dv/dialog.h"
#include "dv/file.h"
#include "dv/settings.h"
#include "dv/ui.h"
#include "state.h"

namespace pontra {

// Framework command ids.
enum {
  ID_FILE_OPEN_CREATE = 32800,
  ID_FILE_CLOSE = 32801,
  ID_FILE_ADD = 32802,
  ID_FILE_CREATE = 32803,
  ID_FILE_IMPORT = 32804,
  ID_EDIT_DELETE = 32805,
  ID_VIEW_TREEBAR = 32806,
  ID_VIEW_MSGBAR = 32807,
  ID_EDIT_DEFAULTS = 32809,
  ID_ROOT_CLOSE = 32810,
  ID_ROOT_ADD = 32811,
  ID_ROOT_CREATE = 32812,
  ID_ROOT_IMPORT = 32813,
  ID_FILE_EXPORT = 32769,
  ID_HELP_CONTENTS = 32770,
  ID_FILE_PRINT = 57607,
  ID_FILE_PRINT_SETUP = 57606,
  ID_APP_EXIT = 57665,
  ID_APP_ABOUT = 57664,
  ID_EDIT_COPY = 57634,
  ID_EDIT_CUT = 57635,
  ID_EDIT_PASTE = 57637,
  ID_WINDOW_ARRANGE = 57649,
  ID_WINDOW_CASCADE = 57650,
  ID_WINDOW_TILE_HORZ = 57651,
  ID_WINDOW_TILE_VERT = 57652,
  ID_VIEW_TOOLBAR = 59392,
  ID_VIEW_STATUS_BAR = 59393,
};

std::string frameString(int id) {
  static const std::map<int, std::string> kStrings = {
      {32769, "Exports data and images\nExport"},
      {32770, "Opens DELVAR help\nDELVAR Help"},
      {32800, "Opens or creates an DELVAR project\nOpen/Create Project"},
      {32801, "Closes an DELVAR project\nClose Project"},
      {32802, "Adds data to an DELVAR project\nAdd Data"},
      {32803, "Creates new data in an DELVAR project\nCreate Data"},
      {32804, "Imports data to an DELVAR project\nImport Data"},
      {32805, "Deletes the selection\nDelete"},
      {32806, "Shows or hides the tree bar\nToggle Tree Bar"},
      {32807, "Shows or hides the message bar\nToggle Message Bar"},
      {32809, "Edits the default project folder\nDefaults"},
      {57607, "Prints the active document\nPrint"},
      {57606, "Changes the printer and printing options\nPrint Setup"},
      {57665, "Quits the application\nExit"},
      {57664, "Displays program information, version number and copyright\nAbout"},
      {57634, "Copies the selection and puts it on the Clipboard\nCopy"},
      {57635, "Cuts the selection and puts it on the Clipboard\nCut"},
      {57637, "Inserts Clipboard contents\nPaste"},
      {57649, "Arranges icons at the bottom of the window\nArrange Icons"},
      {57650, "Arranges windows so they overlap\nCascade Windows"},
      {57651, "Arranges windows as non-overlapping tiles\nTile Horizontally"},
      {57652, "Arranges windows as non-overlapping tiles\nTile Vertically"},
      {59392, "Shows or hides the toolbar\nToggle ToolBar"},
      {59393, "Shows or hides the status bar\nToggle StatusBar"},
  };
  auto it = kStrings.find(id);
  return it == kStrings.end() ? "" : it->second;
}

namespace {

std::unique_ptr<dv::Menu> loadMenu100() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* file = bar->appendPopup("&File");
  file->append(dv::MF_STRING, ID_FILE_OPEN_CREATE, "&Open/Create Project");
  file->append(dv::MF_STRING, ID_FILE_CLOSE, "&Close Project");
  file->appendSeparator();
  file->append(dv::MF_STRING, ID_FILE_ADD, "&Add Data");
  file->append(dv::MF_STRING, ID_FILE_CREATE, "Create &Data");
  file->append(dv::MF_STRING, ID_FILE_IMPORT, "&Import Data");
  file->appendSeparator();
  file->append(dv::MF_STRING, ID_FILE_PRINT, "&Print\tCtrl+P");
  file->append(dv::MF_STRING, ID_FILE_PRINT_SETUP, "P&rint Setup");
  file->appendSeparator();
  file->append(dv::MF_STRING, ID_FILE_EXPORT, "&Export");
  file->appendSeparator();
  file->append(dv::MF_STRING, ID_APP_EXIT, "E&xit");
  dv::Menu* edit = bar->appendPopup("&Edit");
  edit->append(dv::MF_STRING, ID_EDIT_CUT, "Cu&t\tCtrl+X");
  edit->append(dv::MF_STRING, ID_EDIT_COPY, "&Copy\tCtrl+C");
  edit->append(dv::MF_STRING, ID_EDIT_PASTE, "&Paste\tCtrl+V");
  edit->append(dv::MF_STRING, ID_EDIT_DELETE, "&Delete");
  edit->appendSeparator();
  edit->append(dv::MF_STRING, ID_EDIT_DEFAULTS, "&Defaults");
  dv::Menu* view = bar->appendPopup("&View");
  view->append(dv::MF_STRING, ID_VIEW_TOOLBAR, "&Tool Bar");
  view->append(dv::MF_STRING, ID_VIEW_TREEBAR, "T&ree Bar");
  view->append(dv::MF_STRING, ID_VIEW_MSGBAR, "&Message Bar");
  view->append(dv::MF_STRING, ID_VIEW_STATUS_BAR, "&Status Bar");
  dv::Menu* win = bar->appendPopup("&Window");
  win->append(dv::MF_STRING, ID_WINDOW_CASCADE, "&Cascade");
  win->append(dv::MF_STRING, ID_WINDOW_TILE_HORZ, "Tile &Horizontally");
  win->append(dv::MF_STRING, ID_WINDOW_TILE_VERT, "&Tile Vertically");
  win->append(dv::MF_STRING, ID_WINDOW_ARRANGE, "&Arrange Icons");
  dv::Menu* help = bar->appendPopup("&Help");
  help->append(dv::MF_STRING, ID_HELP_CONTENTS, "&DELVAR Help");
  help->appendSeparator();
  help->append(dv::MF_STRING, ID_APP_ABOUT, "&About DELVAR");
  return bar;
}

void applyMenuState(dv::Menu& m) {
  bool open = st().projectOpen;
  m.enable(ID_FILE_OPEN_CREATE, !open);
  m.enable(ID_EDIT_DEFAULTS, !open);
  for (int id : {ID_FILE_CLOSE, ID_FILE_ADD, ID_FILE_CREATE, ID_FILE_IMPORT, ID_FILE_PRINT,
                 ID_FILE_EXPORT})
    m.enable(id, open);
  m.enable(ID_FILE_PRINT_SETUP, true);
  auto& f = st().frame;
  m.check(ID_VIEW_TOOLBAR, f.toolBarVisible);
  m.check(ID_VIEW_STATUS_BAR, f.statusBarVisible);
  m.check(ID_VIEW_TREEBAR, f.treeBarVisible);
  m.check(ID_VIEW_MSGBAR, f.messageBarVisible);
}

// A list dialog of the frame (105 "Select Data Type to Create", 107 "Select
// Data Type to Import").
class CTypeListDlg : public dv::Dialog {
 public:
  CTypeListDlg(int resource, const std::string& caption, int listId, int help)
      : Dialog(resource, caption, 186, 120), listId_(listId) {
    addList(listId, {7, 7, 125, 113});
    addButton(dv::IDOK, "OK", {134, 7, 179, 21}, true);
    addButton(dv::IDCANCEL, "Cancel", {134, 26, 179, 40});
    setHelpContext(help);
  }
  void onCommand(int id, int notify) override {
    if (id == listId_ && notify == dv::LBN_DBLCLK) {
      if (selection(listId_) >= 0) choose();
      return;
    }
    Dialog::onCommand(id, notify);
  }
  void onOK() override {
    if (selection(listId_) >= 0)
      choose();
    else
      endDialog(dv::IDOK);
  }
  std::string chosen;

 private:
  void choose() {
    chosen = selectedText(listId_);
    endDialog(dv::IDOK);
  }
  int listId_;
};

class CEditDefaultsDlg : public dv::Dialog {
 public:
  CEditDefaultsDlg() : Dialog(108, "Edit Defaults", 220, 60) {
    addStatic(-1, "Initial Project Directory:", {7, 7, 150, 17});
    addEdit(20005, {7, 19, 212, 33});
    addButton(dv::IDOK, "OK", {110, 40, 160, 54}, true);
    addButton(dv::IDCANCEL, "Cancel", {165, 40, 212, 54});
    setHelpContext(2);
  }
  bool onInitDialog() override {
    setText(20005, st().defProjDir);
    return true;
  }
  void onOK() override {
    auto& S = st();
    S.defProjDir = text(20005);
    std::string iniDir = dv::joinPath(S.orxDir, "INI");
    if (!dv::isDirectory(iniDir)) dv::makeDirectory(iniDir);
    dv::WritePrivateProfileString("DELVAR_defaults", "default_project_directory",
                                  S.defProjDir.c_str(),
                                  dv::joinPath(iniDir, "DELVAR.INI").c_str());
    endDialog(dv::IDOK);
  }
};

class CAboutDlg : public dv::Dialog {
 public:
  CAboutDlg() : Dialog(109, "About DELVAR", 200, 60) {
    add(dv::ControlKind::Icon, -1, "", {7, 7, 27, 27});
    addStatic(20006, "", {40, 10, 190, 22});
    addButton(dv::IDOK, "OK", {140, 38, 190, 52}, true);
    setHelpContext(15);
  }
  bool onInitDialog() override {
    auto& s = st().s;
    char buf[256];
    std::snprintf(buf, sizeof buf, "%s %i.%02i", moduleName(0).c_str(), s.majors ? s.majors[0] : 1,
                  s.minors ? s.minors[0] : 2);
    setText(20006, buf);
    return true;
  }
};

class CMainFrame : public dv::FrameHandler {
 public:
  void frameCommand(int id) override { command(id); }
  bool frameClose() override { return closeFrame(); }
  std::string framePrompt(int id) override {
    std::string s = frameString(id);
    return s.substr(0, s.find('\n'));
  }
  void frameHelp(int context) override { dv::ui().showHelp(context); }
};

CMainFrame g_mainFrame;

void runTypeList(bool create) {
  if (!st().projectOpen) return;
  CTypeListDlg dlg(create ? 105 : 107,
                   create ? "Select Data Type to Create" : "Select Data Type to Import",
                   create ? 20002 : 20004, create ? 14 : 10);
  std::vector<std::string> items;
  for (const auto& t : st().types) {
    if (create && t.createSlot != -1) items.push_back(t.createText);
    if (!create && t.importSlot != -1) items.push_back(t.importText);
  }
  dlg.setItems(create ? 20002 : 20004, items);
  if (dlg.doModal() != dv::IDOK || dlg.chosen.empty()) return;
  for (const auto& t : st().types) {
    int slot = create ? t.createSlot : t.importSlot;
    const std::string& text = create ? t.createText : t.importText;
    if (slot != -1 && text == dlg.chosen) {
      if (auto fn = moduleFn<PfnTypeCreate>(t.moduleId, slot)) fn();
      return;
    }
  }
}

}  // namespace

void createMainFrame() {
  auto& f = st().frame;
  f.handler = &g_mainFrame;
  f.title = moduleName(0).empty() ? "DELVAR" : moduleName(0);
  f.toolbar = {{ID_FILE_OPEN_CREATE, "document-open", "Open/Create Project"},
               {ID_FILE_CLOSE, "document-close", "Close Project"},
               {0, "", ""},
               {ID_FILE_ADD, "list-add", "Add Data"},
               {ID_FILE_CREATE, "document-new", "Create Data"},
               {ID_FILE_IMPORT, "document-import", "Import Data"},
               {0, "", ""},
               {ID_FILE_PRINT, "document-print", "Print"},
               {ID_FILE_EXPORT, "document-export", "Export"},
               {ID_HELP_CONTENTS, "help-contents", "Help"}};
  f.statusPanes.assign(5, "");
  f.statusWidths = {0, 75, 75, 75, 75};
  f.tree.setHandler(&treeRouter());
  rebuildMainMenu();
  dv::ui().showFrame(f);
}

// Menu 100 with its entries greyed for the project state, then one pop-up
// per module folder of the tree.
static void buildMenuBar(dv::Menu& out) {
  out.clear();
  auto bar = loadMenu100();
  for (auto& it : bar->items()) out.items().push_back(std::move(it));
  applyMenuState(out);
  dv::Menu* target = &out;
  int i = 0;
  if (dv::TreeItem* root = rootItem()) {
    for (auto& child : root->children) {
      TreeRecord* r = record(child.get());
      if (!r || !r->isFolder || !ownsTypes(r->moduleId)) continue;
      auto popup = std::make_unique<dv::Menu>();
      if (auto fn = moduleFn<PfnGetMenu>(r->moduleId, DV_SLOT_GET_MENU)) fn(target, popup.get());
      std::string caption = i <= 9 ? "&" + std::to_string(i) + "-" + moduleName(r->moduleId)
                                   : moduleName(r->moduleId);
      target->appendPopup(caption, std::move(popup));
      ++i;
    }
  }
}

void rebuildMainMenu() {
  auto bar = std::make_unique<dv::Menu>();
  buildMenuBar(*bar);
  st().menuBar = std::move(bar);
  st().frame.menuBar = st().menuBar.get();
  st().frame.changed(dv::FrameModel::MenuBar);
}

void addDataCommand() {
  if (!st().projectOpen || st().types.empty()) return;
  const TypeEntry& t = st().types[0];
  if (t.addSlot == -1) return;
  if (auto fn = moduleFn<PfnTypeAdd>(t.moduleId, t.addSlot)) fn();
}

void createDataCommand() { runTypeList(true); }
void importDataCommand() { runTypeList(false); }

dv::Menu* currentMenuBar() {
  if (dv::DocWindow* w = st().frame.mdi.active())
    if (dv::Menu* m = w->menuBar()) return m;
  return st().menuBar.get();
}

dv::FrameModel& frame() { return st().frame; }

void command(int id) {
  auto& S = st();
  auto& f = S.frame;
  // The active document window sees the command first.
  if (dv::DocWindow* w = f.mdi.active())
    if (w->onCommand(id)) return;
  if (id >= DV_MENU_FIRST_MODULE_CMD && id <= DV_MENU_LAST_MODULE_CMD) {
    int module = DV_FIRST_DATA_MODULE + (id - DV_MENU_FIRST_MODULE_CMD) / 100;
    if (moduleLoaded(module))
      if (auto fn = moduleFn<PfnMenuCommand>(module, DV_SLOT_MENU_COMMAND)) fn(id);
    return;
  }
  switch (id) {
    case ID_FILE_OPEN_CREATE: openCreateProjectCommand(); break;
    case ID_FILE_CLOSE: closeProjectCommand(false); break;
    case ID_FILE_ADD: addDataCommand(); break;
    case ID_FILE_CREATE: createDataCommand(); break;
    case ID_FILE_IMPORT: importDataCommand(); break;
    case ID_FILE_PRINT:
      if (S.projectOpen)
        dv::messageBox("Can not print without a window open!", "WARNING",
                       dv::MB_OK | dv::MB_ICONWARNING);
      break;
    case ID_FILE_EXPORT:
      if (S.projectOpen)
        dv::messageBox("Can not export without a window open!", "WARNING",
                       dv::MB_OK | dv::MB_ICONWARNING);
      break;
    case ID_FILE_PRINT_SETUP:
      writeMessage(0, 0, "Print Setup: printing uses the default printer, or a PDF file where none is set up");
      break;
    case ID_VIEW_TREEBAR:
      f.treeBarVisible = !f.treeBarVisible;
      f.changed(dv::FrameModel::Bars);
      rebuildMainMenu();
      break;
    case ID_VIEW_MSGBAR:
      f.messageBarVisible = !f.messageBarVisible;
      f.changed(dv::FrameModel::Bars);
      rebuildMainMenu();
      break;
    case ID_VIEW_TOOLBAR:
      f.toolBarVisible = !f.toolBarVisible;
      f.changed(dv::FrameModel::Bars);
      rebuildMainMenu();
      break;
    case ID_VIEW_STATUS_BAR:
      f.statusBarVisible = !f.statusBarVisible;
      f.changed(dv::FrameModel::Bars);
      rebuildMainMenu();
      break;
    case ID_EDIT_DEFAULTS: {
      CEditDefaultsDlg dlg;
      dlg.doModal();
      break;
    }
    case ID_APP_ABOUT: {
      CAboutDlg dlg;
      dlg.doModal();
      break;
    }
    case ID_HELP_CONTENTS:
      if (!dv::ui().showHelp(1)) writeMessage(0, 0, "Help is not installed on this system");
      break;
    case ID_WINDOW_CASCADE: f.mdi.arrange(dv::MdiArea::Cascade); break;
    case ID_WINDOW_TILE_HORZ: f.mdi.arrange(dv::MdiArea::TileHorizontal); break;
    case ID_WINDOW_TILE_VERT: f.mdi.arrange(dv::MdiArea::TileVertical); break;
    case ID_WINDOW_ARRANGE: f.mdi.arrange(dv::MdiArea::ArrangeIcons); break;
    case ID_APP_EXIT:
      if (closeFrame()) dv::ui().quit();
      break;
    default: break;
  }
}

bool closeFrame() {
  closeProjectCommand(true);
  return true;
}

}  // namespace pontra

using namespace pontra;

DV_EXPORT int GetMainMenu(DvHandle menu) {
  // Builds the menu bar into the given menu (a document window's own bar
  // starts from it); without one, the frame's own bar is rebuilt.
  if (auto* m = static_cast<dv::Menu*>(menu)) {
    buildMenuBar(*m);
    return 0;
  }
  rebuildMainMenu();
  return 0;
}

DV_EXPORT int GetObjToolBar(int moduleId, DvHandle* toolbar, int** inUse) {
  if (moduleId < 0 || moduleId >= DV_MODULE_SLOTS) return -1;
  if (toolbar) *toolbar = &st().toolbars[(size_t)moduleId];
  if (inUse) *inUse = &st().toolbarInUse[(size_t)moduleId];
  return 0;
}

DV_EXPORT int HideAllObjToolBars(void) {
  // Every module id is walked: a module's toolbar hides whatever the number
  // of registered types.
  for (int id = 0; id < DV_MODULE_SLOTS; ++id)
    if (st().toolbarInUse[(size_t)id]) st().toolbars[(size_t)id].visible = false;
  st().frame.changed(dv::FrameModel::ToolBar);
  return 0;
}
