// A complete little data module: two object types, every callback, a
// main-menu pop-up, a string table. It reaches the framework only through
// entry 0 of the function tables, as real modules do.
#include <string>

#include "dv/menu.h"
#include "dv/ui.h"
#include "testmod.h"

namespace {
const char* const kNames[] = {
    "GetVantrelModuleInfo", "GetModuleFunctions", "CleanupModule", "InitModule",
    "FolderCmd", "FolderRClick", "GetMenu", "MenuCmd", "ProjOpened", "ProjClose",
    "ItemAdd", "ItemClose", "ItemCommand", "ItemCreate", "ItemDblClick", "ItemDel",
    "ItemImport", "ItemOpen", "ItemRClick", "ItemRename", "SheetCreate", ""};
// Slots of the type callbacks (name index + 1).
enum { S_ADD = 11, S_CLOSE, S_COMMAND, S_CREATE, S_DBL, S_DEL, S_IMPORT, S_OPEN, S_RCLICK,
       S_RENAME, S_SHEET_CREATE };

int g_itemType = -1, g_sheetType = -1;
int g_nextObject = 1;

template <typename Fn>
Fn fw(int slot) {
  return dv::slot<Fn>(testmod::g_tables, 0, slot);
}

void insert(int type, const std::string& name, const std::string& ext, int selected) {
  DvHandle item = nullptr;
  fw<PfnInsertTreeObject>(PONTRA_InsertTreeObject)(type, name.c_str(), ext.c_str(), selected,
                                                   reinterpret_cast<void*>((intptr_t)g_nextObject++),
                                                   &item);
}
}  // namespace

TESTMOD_EXPORT int GetVantrelModuleInfo(int* id, int* major, int* minor, const char** name) {
  *id = 700;
  *major = 1;
  *minor = 2;
  *name = "Good";
  return 0;
}
TESTMOD_EXPORT int GetModuleFunctions(const char* const** list) {
  *list = kNames;
  return 0;
}
TESTMOD_EXPORT int InitModule(DV_STARTUP_PARAMS) {
  testmod::g_tables = funcTables;
  auto reg = fw<PfnRegisterType>(PONTRA_RegisterType);
  g_itemType = reg(700, 0, "GOOD", "Items", "", S_ADD, "Items", S_CLOSE, S_COMMAND, S_CREATE,
                   "New Item", S_DBL, S_DEL, S_IMPORT, "Item Table", S_OPEN, S_RCLICK, S_RENAME);
  // A second type offered for Create under the same text: the first wins.
  g_sheetType = reg(700, 1, "GOOD", "Sheets", "Deep", -1, "", S_CLOSE, S_COMMAND, S_SHEET_CREATE,
                    "New Item", S_DBL, S_DEL, -1, "", S_OPEN, S_RCLICK, S_RENAME);
  testmod::note("init types " + std::to_string(g_itemType) + "," + std::to_string(g_sheetType));
  return 0;
}
TESTMOD_EXPORT int CleanupModule() {
  testmod::note("cleanup");
  return 0;
}
TESTMOD_EXPORT int FolderCmd(DvHandle, int cmd) {
  testmod::note("folder " + std::to_string(cmd));
  return 0;
}
TESTMOD_EXPORT int FolderRClick(const char* text, int x, int y, DvHandle tree) {
  testmod::note(std::string("folderrclick ") + text);
  dv::Menu m;
  m.append(dv::MF_STRING, 33001, "&Select All");
  dv::trackPopupForTree(m, x, y, static_cast<dv::TreeModel*>(tree));
  return 0;
}
TESTMOD_EXPORT int GetMenu(DvHandle, DvHandle popup) {
  auto* m = static_cast<dv::Menu*>(popup);
  m->append(dv::MF_STRING, 35001, "&Do Something");
  return 0;
}
TESTMOD_EXPORT int MenuCmd(int cmd) {
  testmod::note("menu " + std::to_string(cmd));
  return 0;
}
TESTMOD_EXPORT int ProjOpened() {
  testmod::note("opened");
  return 0;
}
TESTMOD_EXPORT int ProjClose() {
  testmod::note("close?");
  return 0;
}
TESTMOD_EXPORT int ItemAdd() {
  testmod::note("add");
  insert(g_itemType, "Item" + std::to_string(g_nextObject), "ext", 0);
  return 0;
}
TESTMOD_EXPORT int ItemClose(DvHandle, void* obj) {
  testmod::note("close " + std::to_string((intptr_t)obj));
  return 0;
}
TESTMOD_EXPORT int ItemCommand(DvHandle, void* obj, int cmd) {
  testmod::note("command " + std::to_string(cmd));
  return 0;
}
TESTMOD_EXPORT int ItemCreate() {
  testmod::note("create item");
  return 0;
}
TESTMOD_EXPORT int SheetCreate() {
  testmod::note("create sheet");
  return 0;
}
TESTMOD_EXPORT int ItemDblClick(DvHandle, void*) {
  testmod::note("dblclick");
  return 0;
}
TESTMOD_EXPORT int ItemDel(DvHandle item, void*) {
  testmod::note("del");
  fw<PfnDeleteTreeObject>(PONTRA_DeleteTreeObject)(item);
  return 0;
}
TESTMOD_EXPORT int ItemImport() {
  testmod::note("import");
  return 0;
}
TESTMOD_EXPORT int ItemOpen(const char* name, const char* ext, int selected) {
  testmod::note(std::string("open ") + name);
  // Objects of the second type come back under their own folder chain.
  bool sheet = std::string(ext) == "sheet";
  insert(sheet ? g_sheetType : g_itemType, name, ext, selected);
  return 0;
}
TESTMOD_EXPORT int ItemRClick(DvHandle, void*, int x, int y, DvHandle tree) {
  testmod::note("rclick");
  dv::Menu m;
  m.append(dv::MF_STRING, 33100, "&Open");
  m.append(dv::MF_GRAYED, 33101, "&Greyed");
  dv::trackPopupForTree(m, x, y, static_cast<dv::TreeModel*>(tree));
  return 0;
}
TESTMOD_EXPORT int ItemRename(DvHandle item, void*, const char* name) {
  testmod::note(std::string("rename ") + name);
  fw<PfnSetTreeString>(PONTRA_SetTreeName)(item, name);
  return 0;
}
// The module's string table, found by IDMsgOut.
TESTMOD_EXPORT const char* DvLoadString(int id) {
  return id == 5001 ? "Good says %s %i" : nullptr;
}
// Lets the tests insert objects of either type directly.
TESTMOD_EXPORT void TestInsert(int which, const char* name, const char* ext, int selected) {
  insert(which ? g_sheetType : g_itemType, name, ext, selected);
}
