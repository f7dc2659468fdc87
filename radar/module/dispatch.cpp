// Command dispatch: the module's main-menu pop-up, folder pop-ups and
// commands, the raw object's pop-up and commands, the batch commands that
// have no other home (select all, deselect all, delete selected, print
// selected), and the project notifications.
#include "dv/ui.h"
#include "processing/create_profile.h"
#include "processing/geometry.h"
#include "module/callbacks.h"
#include "project/defaults_file.h"
#include "module/dispatch.h"
#include "project/tree_items.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/selection.h"

namespace quv {

namespace {

enum { kSlotProfileImport = 36 };

void setAllSelected(DvHandle folder, int value) {
  auto set = fw<PfnSetTreeInt>(PONTRA_SetTreeSelected);
  if (!folder || !set) return;
  // Bad items stay unselected: the framework stores 0 for them.
  for (DvHandle it : childItems(folder)) set(it, value);
}

void deleteSelected(DvHandle folder, bool profiles) {
  if (!folder) return;
  if (dv::messageBox("Delete the selected items?", "Delete Items?",
                     dv::MB_YESNO | dv::MB_ICONQUESTION) != dv::IDYES)
    return;
  // The list is taken first: deleting an item must not end the walk.
  for (DvHandle it : childItems(folder)) {
    if (!treeSelected(it)) continue;
    void* obj = nullptr;
    if (auto get = fw<PfnGetTreepObj>(PONTRA_GetTreepObj)) get(it, &obj);
    if (profiles) {
      if (obj) deleteProfile(it, static_cast<ProfileItem*>(obj));
    } else {
      deleteRawItem(it, static_cast<RawObject*>(obj));
    }
  }
}

// A batch command on selected raw items whose operation arrives later: the
// batch selection check runs first, as for every such batch.
void rawBatchLater(const char* command, const char* what) {
  if (batchSelectionCheck(SelectionMode::Raw, false, false) != 0) return;
  notYetAvailable(command, what);
}

void printSelected() {
  if (batchSelectionCheck(SelectionMode::Raw, false, false) != 0) return;
  notYetAvailable("Print Selected", "printing");
}

void importBrennic() {
  // Reached through the module's own table, as the framework reaches it.
  if (auto f = dv::slot<PfnTypeImport>(startup().funcTables, kModuleId, kSlotProfileImport)) f();
}

}  // namespace

}  // namespace quv

using namespace quv;

extern "C" {

__attribute__((visibility("default"))) int QuvFolderCmd(DvHandle folder, int command) {
  switch (command) {
    case 33000:
    case 33100: QuvRawAddFunc(); break;
    case 33001: importBrennic(); break;
    case 33101: createProfilesCommand(folder, nullptr); break;
    case 33102: setAllSelected(folder, 1); break;
    case 33103: setAllSelected(folder, 0); break;
    case 33104: runSelectionDialog(SelectionMode::Raw); break;
    case 33105: deleteSelected(folder, false); break;
    case 33106: printSelected(); break;
    case 33107:
    case 33110: rawBatchLater("Reorder and Crop Selected", "the trace order and crop dialog"); break;
    case 33108: rawBatchLater("Resample Selected", "resampling"); break;
    case 33109:
      rawBatchLater("Reverse Selected", "the trace order and crop dialog in reverse mode");
      break;
    case 33111: rawBatchLater("Rubber Sheet Selected", "rubber sheeting"); break;
    case 33200: setAllSelected(folder, 1); break;
    case 33201: setAllSelected(folder, 0); break;
    case 33202: runSelectionDialog(SelectionMode::Profiles); break;
    case 33203: deleteSelected(folder, true); break;
    case 33204: editSelectedGeometriesCommand(); break;
    case 33205:
      if (batchSelectionCheck(SelectionMode::Profiles, true, false) == 0)
        notYetAvailable("Depth Convert Selected", "depth conversion");
      break;
    case 33206:
      if (batchSelectionCheck(SelectionMode::Profiles, false, true) == 0)
        notYetAvailable("Elevation Convert Selected", "elevation conversion");
      break;
    default: break;
  }
  return 0;
}

__attribute__((visibility("default"))) int QuvFolderRClick(const char* text, int x, int y,
                                                          DvHandle tree) {
  std::string t = text ? text : "";
  int id = t == "QUV" ? 201 : t == "Raw Data" ? 203 : t == "Profiles" ? 209 : 0;
  if (!id) return 0;
  auto menu = loadMenu(id);
  if (const dv::Menu* p = popupOf(*menu, 0))
    dv::trackPopupForTree(*p, x, y, static_cast<dv::TreeModel*>(tree));
  return 0;
}

__attribute__((visibility("default"))) int QuvGetMenu(DvHandle mainMenu, DvHandle popup) {
  auto* out = static_cast<dv::Menu*>(popup);
  if (!out) return 0;
  auto menu = loadMenu(200);
  for (auto& it : menu->items()) out->items().push_back(std::move(it));
  return 0;
}

__attribute__((visibility("default"))) int QuvMenuCmd(int command) {
  MenuRoute route;
  if (routeMenuCommand(command, route)) {
    DvHandle folder = route.folder == FolderArg::RawData    ? rawFolder()
                      : route.folder == FolderArg::Profiles ? profileFolder()
                                                            : nullptr;
    return QuvFolderCmd(folder, route.folderCommand);
  }
  switch (command) {
    case 35040:
      notYetAvailable("File Locations", "the \"Specify Default File Locations\" dialog");
      break;
    case 35041:
      notYetAvailable("Raw Data Display", "the \"Set Raw Data Display Defaults\" dialog");
      break;
    case 35042:
      notYetAvailable("Normal Data Display",
                      "the \"Set Normal Data Display Defaults\" property sheet");
      break;
    case 35043:
      notYetAvailable("Presentation Data Display",
                      "the \"Set Presentation Data Display Defaults\" property sheet");
      break;
    case 35044:
      notYetAvailable("Load Defaults", "loading external data display defaults");
      break;
    case 35099:
      if (!dv::ui().showHelp(1)) msg(DV_MSG_PLAIN, "Help is not installed on this system");
      break;
    default: break;
  }
  return 0;
}

__attribute__((visibility("default"))) int QuvProjOpened(void) {
  createDisplayDefaults();
  loadProjectDefaults(projectDir());
  return 0;
}

__attribute__((visibility("default"))) int QuvProjClose(void) {
  deleteDisplayDefaults();
  return 0;
}

__attribute__((visibility("default"))) int QuvRawRClickFunc(DvHandle item, void* object, int x,
                                                           int y, DvHandle tree) {
  auto menu = loadMenu(203);
  const dv::Menu* p = popupOf(*menu, 1);
  if (!p) return 0;
  dv::Menu shown;
  for (const dv::MenuItem& it : p->items()) {
    unsigned flags = it.separator ? dv::MF_SEPARATOR : dv::MF_STRING;
    // A bad item can only be deleted.
    if (!it.separator && treeBad(item) && it.id != 33123) flags |= dv::MF_GRAYED;
    shown.append(flags, it.id, it.caption);
  }
  dv::trackPopupForTree(shown, x, y, static_cast<dv::TreeModel*>(tree));
  return 0;
}

__attribute__((visibility("default"))) int QuvRawCmdFunc(DvHandle item, void* object, int command) {
  auto set = fw<PfnSetTreeInt>(PONTRA_SetTreeSelected);
  switch (command) {
    case 33120: createProfilesCommand(nullptr, item); break;
    case 33121:
      if (set) set(item, 1);
      break;
    case 33122:
      if (set) set(item, 0);
      break;
    case 33123: QuvRawDelFunc(item, object); break;
    case 33124: notYetAvailable("Print", "printing"); break;
    case 33125:
    case 33128: notYetAvailable("Reorder and Crop", "the trace order and crop dialog"); break;
    case 33126: notYetAvailable("Resample", "resampling"); break;
    case 33127: notYetAvailable("Reverse", "the trace order and crop dialog in reverse mode"); break;
    case 33129:
      if (childItems(rawFolder()).size() <= 1)
        dv::messageBox("Join with only 1 raw data item not allowed", "Warning",
                       dv::MB_OK | dv::MB_ICONWARNING);
      else
        notYetAvailable("Join", "joining raw data");
      break;
    case 33130: notYetAvailable("Rubber Sheet", "rubber sheeting"); break;
    case 33131: notYetAvailable("View File Header", "the file header view"); break;
    default: break;
  }
  return 0;
}

}  // extern "C"
