// Command dispatch: the module's main-menu pop-up, folder pop-ups and
// commands, the raw object's pop-up and commands, the batch commands that
// have no other home (select all, deselect all, delete selected, print
// selected), and the project notifications.
#include "module/dispatch.h"

#include "dv/ui.h"
#include "module/callbacks.h"
#include "display/settings_pages.h"
#include "display/profile_window.h"
#include "display/raw_figure.h"
#include "processing/create_profile.h"
#include "processing/depth_convert.h"
#include "processing/elevation_convert.h"
#include "processing/positions.h"
#include "processing/file_header.h"
#include "processing/geometry.h"
#include "processing/join.h"
#include "processing/process_version.h"
#include "processing/rubber_sheet.h"
#include "processing/resample.h"
#include "processing/trace_order.h"
#include "project/defaults_file.h"
#include "project/messages.h"
#include "project/preferences.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/selection.h"
#include "project/tree_items.h"
#include "quv/ids.h"
#include "quv/slots.h"

namespace quv {

namespace {

void setAllSelected(DvHandle folder, int value) {
  auto set = fw<PfnSetTreeInt>(PONTRA_SetTreeSelected);
  if (!folder || !set) return;
  // Bad items stay unselected: the framework stores 0 for them.
  for (DvHandle it : childItems(folder)) set(it, value);
}

void deleteSelected(DvHandle folder, bool profiles) {
  if (!folder) return;
  if (dv::messageBox(kMsgDeleteTheSelectedItems, "Delete Items?",
                     dv::MB_YESNO | dv::MB_ICONQUESTION) != dv::IDYES)
    return;
  // The list is taken first: deleting an item must not end the walk.
  for (DvHandle it : childItems(folder)) {
    if (!treeSelected(it)) continue;
    void* obj = treeObject(it);
    if (profiles) {
      if (obj) deleteProfile(it, static_cast<ProfileItem*>(obj));
    } else {
      deleteRawItem(it, static_cast<RawObject*>(obj));
    }
  }
}

void printSelected() {
  if (batchSelectionCheck(SelectionMode::Raw, false, false) != 0) return;
  std::vector<RawObject*> items;
  for (DvHandle it : childItems(rawFolder()))
    if (treeSelected(it))
      if (auto* obj = static_cast<RawObject*>(treeObject(it))) items.push_back(obj);
  printRawItems(items);
}

void importBrennic() {
  // Reached through the module's own table, as the framework reaches it.
  if (auto f = dv::slot<PfnTypeImport>(startup().funcTables, kModuleId, QUV_ProfileImportFunc)) f();
}

}  // namespace

}  // namespace quv

using namespace quv;

DV_EXPORT int QuvFolderCmd(DvHandle folder, int command) {
  switch (command) {
    case ID_QUV_ADD_RAW:
    case ID_RAW_ADD:
      QuvRawAddFunc();
      break;
    case ID_QUV_IMPORT_BRENNIC:
      importBrennic();
      break;
    case ID_RAW_CREATE_PROFILES:
      createProfilesCommand(folder, nullptr);
      break;
    case ID_RAW_SELECT_ALL:
      setAllSelected(folder, 1);
      break;
    case ID_RAW_DESELECT_ALL:
      setAllSelected(folder, 0);
      break;
    case ID_RAW_SELECTION_SETS:
      runSelectionDialog(SelectionMode::Raw);
      break;
    case ID_RAW_DELETE_SELECTED:
      deleteSelected(folder, false);
      break;
    case ID_RAW_PRINT_SELECTED:
      printSelected();
      break;
    case ID_RAW_REORDER_SELECTED:
    case ID_RAW_CROP_SELECTED:
      reorderCommand(OrderMode::Reorder, nullptr);
      break;
    case ID_RAW_RESAMPLE_SELECTED:
      resampleCommand(nullptr);
      break;
    case ID_RAW_REVERSE_SELECTED:
      reorderCommand(OrderMode::Reverse, nullptr);
      break;
    case ID_RAW_RUBBER_SHEET_SELECTED:
      rubberSheetCommand(nullptr);
      break;
    case ID_PRF_SELECT_ALL:
      setAllSelected(folder, 1);
      break;
    case ID_PRF_DESELECT_ALL:
      setAllSelected(folder, 0);
      break;
    case ID_PRF_SELECTION_SETS:
      runSelectionDialog(SelectionMode::Profiles);
      break;
    case ID_PRF_DELETE_SELECTED:
      deleteSelected(folder, true);
      break;
    case ID_PRF_EDIT_GEOMETRIES:
      editSelectedGeometriesCommand();
      break;
    case ID_PRF_DEPTH_CONVERT_SELECTED:
      if (batchSelectionCheck(SelectionMode::Profiles, true, false) == 0)
        depthConvertCommand(nullptr, showAddedVersion);
      break;
    case ID_PRF_ELEVATION_CONVERT_SELECTED:
      if (batchSelectionCheck(SelectionMode::Profiles, false, true) == 0)
        elevationConvertCommand(nullptr, showAddedVersion);
      break;
    case ID_PRF_EXPORT_LINES:
      exportSelectedLinesCommand();
      break;
    case ID_PRF_PROCESS_SELECTED:
      if (batchSelectionCheck(SelectionMode::Profiles, false, false) == 0)
        processSelectedCommand(showAddedVersion);
      break;
    default:
      break;
  }
  return 0;
}

DV_EXPORT int QuvFolderRClick(const char* text, int x, int y, DvHandle tree) {
  std::string t = text ? text : "";
  int id = t == "QUV"        ? kMenuQuvFolder
           : t == "Raw Data" ? kMenuRawData
           : t == "Profiles" ? kMenuProfiles
                             : 0;
  if (!id) return 0;
  auto menu = loadMenu(id);
  if (const dv::Menu* p = popupOf(*menu, 0))
    dv::trackPopupForTree(*p, x, y, static_cast<dv::TreeModel*>(tree));
  return 0;
}

DV_EXPORT int QuvGetMenu(DvHandle mainMenu, DvHandle popup) {
  auto* out = static_cast<dv::Menu*>(popup);
  if (!out) return 0;
  auto menu = loadMenu(kMenuMainBar);
  for (auto& it : menu->items()) out->items().push_back(std::move(it));
  return 0;
}

DV_EXPORT int QuvMenuCmd(int command) {
  MenuRoute route;
  if (routeMenuCommand(command, route)) {
    DvHandle folder = route.folder == FolderArg::RawData    ? rawFolder()
                      : route.folder == FolderArg::Profiles ? profileFolder()
                                                            : nullptr;
    return QuvFolderCmd(folder, route.folderCommand);
  }
  switch (command) {
    case ID_MAIN_PREF_FILE_LOCATIONS:
      fileLocationsCommand();
      break;
    case ID_MAIN_PREF_RAW_DISPLAY:
      rawDisplayDefaultsCommand();
      break;
    case ID_MAIN_PREF_NORMAL_DISPLAY: editNormalDefaults(); break;
    case ID_MAIN_PREF_PRESENTATION_DISPLAY: editPresentationDefaults(); break;
    case ID_MAIN_PREF_LOAD_DEFAULTS:
      loadDefaultsCommand();
      break;
    case ID_MAIN_HELP:
      if (!dv::ui().showHelp(1)) msg(DV_MSG_PLAIN, kMsgHelpIsNotInstalledOnThisSystem);
      break;
    default:
      break;
  }
  return 0;
}

DV_EXPORT int QuvProjOpened(void) {
  createDisplayDefaults();
  loadProjectDefaults(projectDir());
  return 0;
}

DV_EXPORT int QuvProjClose(void) {
  deleteDisplayDefaults();
  return 0;
}

DV_EXPORT int QuvRawRClickFunc(DvHandle item, void* object, int x, int y, DvHandle tree) {
  auto menu = loadMenu(kMenuRawData);
  const dv::Menu* p = popupOf(*menu, 1);
  if (!p) return 0;
  dv::Menu shown;
  for (const dv::MenuItem& it : p->items()) {
    unsigned flags = it.separator ? dv::MF_SEPARATOR : dv::MF_STRING;
    // A bad item can only be deleted.
    if (!it.separator && treeBad(item) && it.id != ID_RAWOBJ_DELETE) flags |= dv::MF_GRAYED;
    shown.append(flags, it.id, it.caption);
  }
  dv::trackPopupForTree(shown, x, y, static_cast<dv::TreeModel*>(tree));
  return 0;
}

DV_EXPORT int QuvRawCmdFunc(DvHandle item, void* object, int command) {
  auto set = fw<PfnSetTreeInt>(PONTRA_SetTreeSelected);
  switch (command) {
    case ID_RAWOBJ_CREATE_PROFILE:
      createProfilesCommand(nullptr, item);
      break;
    case ID_RAWOBJ_SELECT:
      if (set) set(item, 1);
      break;
    case ID_RAWOBJ_DESELECT:
      if (set) set(item, 0);
      break;
    case ID_RAWOBJ_DELETE:
      QuvRawDelFunc(item, object);
      break;
    case ID_RAWOBJ_PRINT:
      if (object) printRawItem(*static_cast<RawObject*>(object));
      break;
    case ID_RAWOBJ_REORDER:
    case ID_RAWOBJ_CROP:
      reorderCommand(OrderMode::Reorder, item);
      break;
    case ID_RAWOBJ_RESAMPLE:
      resampleCommand(item);
      break;
    case ID_RAWOBJ_REVERSE:
      reorderCommand(OrderMode::Reverse, item);
      break;
    case ID_RAWOBJ_JOIN:
      if (childItems(rawFolder()).size() <= 1)
        dv::messageBox(kMsgJoinWithOnly1RawDataItem, "Warning", dv::MB_OK | dv::MB_ICONWARNING);
      else
        joinCommand(item);
      break;
    case ID_RAWOBJ_RUBBER_SHEET:
      rubberSheetCommand(item);
      break;
    case ID_RAWOBJ_FILE_HEADER:
      viewFileHeaderCommand(item);
      break;
    default:
      break;
  }
  return 0;
}
