// The module's menus and the main-menu mapping table.
#include "module/dispatch.h"
#include "quv/ids.h"

namespace quv {

namespace {

void item(dv::Menu& m, int id, const char* caption) {
  m.append(dv::MF_STRING, id, caption);
}

std::unique_ptr<dv::Menu> mainMenuBar() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* raw = bar->appendPopup("&Raw Batch");
  item(*raw, ID_MAIN_RAW_ADD, "&Add Raw Data");
  item(*raw, ID_MAIN_RAW_CREATE_PROFILES, "&Create Profiles");
  raw->appendSeparator();
  item(*raw, ID_MAIN_RAW_SELECT_ALL, "&Select All");
  item(*raw, ID_MAIN_RAW_DESELECT_ALL, "&Deselect All");
  item(*raw, ID_MAIN_RAW_SELECTION_SETS, "Edit Selection Se&ts");
  item(*raw, ID_MAIN_RAW_DELETE_SELECTED, "De&lete Selected");
  raw->appendSeparator();
  item(*raw, ID_MAIN_RAW_PRINT_SELECTED, "&Print Selected");
  item(*raw, ID_MAIN_RAW_RUBBER_SHEET_SELECTED, "Ru&bber Sheet Selected");
  item(*raw, ID_MAIN_RAW_REVERSE_SELECTED, "Re&verse Selected");
  item(*raw, ID_MAIN_RAW_REORDER_SELECTED, "Re&order Selected");
  item(*raw, ID_MAIN_RAW_CROP_SELECTED, "Cro&p Selected");
  item(*raw, ID_MAIN_RAW_RESAMPLE_SELECTED, "&Resample Selected");
  dv::Menu* prf = bar->appendPopup("&Profile Batch");
  item(*prf, ID_MAIN_PRF_SELECT_ALL, "&Select All");
  item(*prf, ID_MAIN_PRF_DESELECT_ALL, "&Deselect All");
  item(*prf, ID_MAIN_PRF_SELECTION_SETS, "Edit Selection Se&ts");
  item(*prf, ID_MAIN_PRF_DELETE_SELECTED, "De&lete Selected");
  prf->appendSeparator();
  item(*prf, ID_MAIN_PRF_DEPTH_CONVERT_SELECTED, "Depth &Convert Selected");
  item(*prf, ID_MAIN_PRF_ELEVATION_CONVERT_SELECTED, "&Elevation Convert Selected");
  item(*prf, ID_MAIN_PRF_PROCESS_SELECTED, "&Process Selected");
  dv::Menu* pref = bar->appendPopup("&QUV Preferences");
  item(*pref, ID_MAIN_PREF_FILE_LOCATIONS, "&File Locations");
  item(*pref, ID_MAIN_PREF_RAW_DISPLAY, "&Raw Data Display");
  item(*pref, ID_MAIN_PREF_NORMAL_DISPLAY, "&Normal Data Display");
  item(*pref, ID_MAIN_PREF_PRESENTATION_DISPLAY, "&Presentation Data Display");
  item(*pref, ID_MAIN_PREF_LOAD_DEFAULTS, "&Load Defaults");
  return bar;
}

std::unique_ptr<dv::Menu> quvFolderMenu() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* p = bar->appendPopup("QUV");
  item(*p, ID_QUV_ADD_RAW, "&Add QUV - Raw Data");
  item(*p, ID_QUV_IMPORT_BRENNIC, "&Import QUV - Brennic Project");
  return bar;
}

std::unique_ptr<dv::Menu> rawDataMenu() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* folder = bar->appendPopup("Raw Data");
  item(*folder, ID_RAW_ADD, "&Add Raw Data");
  item(*folder, ID_RAW_CREATE_PROFILES, "&Create Profiles");
  folder->appendSeparator();
  item(*folder, ID_RAW_SELECT_ALL, "&Select All");
  item(*folder, ID_RAW_DESELECT_ALL, "&Deselect All");
  item(*folder, ID_RAW_SELECTION_SETS, "Edit Selection Se&ts");
  item(*folder, ID_RAW_DELETE_SELECTED, "De&lete Selected");
  folder->appendSeparator();
  item(*folder, ID_RAW_PRINT_SELECTED, "&Print Selected");
  item(*folder, ID_RAW_RUBBER_SHEET_SELECTED, "Ru&bber Sheet Selected");
  item(*folder, ID_RAW_REVERSE_SELECTED, "Re&verse Selected");
  item(*folder, ID_RAW_REORDER_SELECTED, "Re&order Selected");
  item(*folder, ID_RAW_CROP_SELECTED, "Cro&p Selected");
  item(*folder, ID_RAW_RESAMPLE_SELECTED, "&Resample Selected");
  dv::Menu* object = bar->appendPopup("Raw Object");
  item(*object, ID_RAWOBJ_CREATE_PROFILE, "&Create Profile");
  object->appendSeparator();
  item(*object, ID_RAWOBJ_SELECT, "&Select");
  item(*object, ID_RAWOBJ_DESELECT, "&Deselect");
  item(*object, ID_RAWOBJ_DELETE, "De&lete");
  object->appendSeparator();
  item(*object, ID_RAWOBJ_PRINT, "&Print");
  item(*object, ID_RAWOBJ_JOIN, "&Join");
  item(*object, ID_RAWOBJ_RUBBER_SHEET, "Ru&bber Sheet");
  item(*object, ID_RAWOBJ_REVERSE, "Re&verse");
  item(*object, ID_RAWOBJ_REORDER, "Re&order");
  item(*object, ID_RAWOBJ_CROP, "Cro&p");
  item(*object, ID_RAWOBJ_RESAMPLE, "&Resample");
  item(*object, ID_RAWOBJ_FILE_HEADER, "View &File Header");
  // The third pop-up, the raw data window's menu, comes with that window.
  return bar;
}

std::unique_ptr<dv::Menu> profilesMenu() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* folder = bar->appendPopup("Profiles");
  item(*folder, ID_PRF_SELECT_ALL, "&Select All");
  item(*folder, ID_PRF_DESELECT_ALL, "&Deselect All");
  item(*folder, ID_PRF_SELECTION_SETS, "Edit Selection Se&ts");
  item(*folder, ID_PRF_DELETE_SELECTED, "De&lete Selected");
  folder->appendSeparator();
  item(*folder, ID_PRF_EDIT_GEOMETRIES, "Edit &Geometries");
  item(*folder, ID_PRF_DEPTH_CONVERT_SELECTED, "Depth &Convert Selected");
  item(*folder, ID_PRF_ELEVATION_CONVERT_SELECTED, "&Elevation Convert Selected");
  item(*folder, ID_PRF_PROCESS_SELECTED, "&Process Selected");
  item(*folder, ID_PRF_EXPORT_LINES, "Export &Lines");
  dv::Menu* object = bar->appendPopup("Profile Object");
  item(*object, ID_PROFILE_SELECT, "&Select");
  item(*object, ID_PROFILE_DESELECT, "&Deselect");
  item(*object, ID_PROFILE_DELETE, "De&lete");
  object->appendSeparator();
  item(*object, ID_PROFILE_EDIT_GEOMETRY, "Edit &Geometry");
  // Further pop-ups belong to the profile windows.
  return bar;
}

}  // namespace

std::unique_ptr<dv::Menu> loadMenu(int id) {
  switch (id) {
    case kMenuMainBar:
      return mainMenuBar();
    case kMenuQuvFolder:
      return quvFolderMenu();
    case kMenuRawData:
      return rawDataMenu();
    case kMenuProfiles:
      return profilesMenu();
  }
  return nullptr;
}

const dv::Menu* popupOf(const dv::Menu& menu, size_t index) {
  return index < menu.items().size() ? menu.items()[index].popup.get() : nullptr;
}

bool routeMenuCommand(int id, MenuRoute& r) {
  if (id >= ID_MAIN_RAW_ADD && id <= ID_MAIN_RAW_RUBBER_SHEET_SELECTED) {
    // The "&Raw Batch" entries run the "Raw Data" folder's commands in the
    // same order; Crop Selected runs the same operation as Reorder Selected.
    r.folderCommand = id == ID_MAIN_RAW_CROP_SELECTED ? ID_RAW_REORDER_SELECTED
                                                      : ID_RAW_ADD + (id - ID_MAIN_RAW_ADD);
    bool walksItems = id == ID_MAIN_RAW_SELECT_ALL || id == ID_MAIN_RAW_DESELECT_ALL ||
                      id == ID_MAIN_RAW_DELETE_SELECTED || id == ID_MAIN_RAW_PRINT_SELECTED;
    r.folder = walksItems ? FolderArg::RawData : FolderArg::None;
    return true;
  }
  if (id >= ID_MAIN_PRF_SELECT_ALL && id <= ID_MAIN_PRF_DELETE_SELECTED) {
    r.folderCommand = ID_PRF_SELECT_ALL + (id - ID_MAIN_PRF_SELECT_ALL);
    r.folder = id == ID_MAIN_PRF_SELECTION_SETS ? FolderArg::None : FolderArg::Profiles;
    return true;
  }
  if (id >= ID_MAIN_PRF_DEPTH_CONVERT_SELECTED && id <= ID_MAIN_PRF_PROCESS_SELECTED) {
    // Depth Convert, Elevation Convert and Process Selected, in that order.
    r.folderCommand = ID_PRF_DEPTH_CONVERT_SELECTED + (id - ID_MAIN_PRF_DEPTH_CONVERT_SELECTED);
    r.folder = FolderArg::None;
    return true;
  }
  return false;
}

}  // namespace quv
