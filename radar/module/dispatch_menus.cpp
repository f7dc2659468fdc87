// The module's menus and the main-menu mapping table.
#include "module/dispatch.h"

namespace quv {

namespace {

void item(dv::Menu& m, int id, const char* caption) { m.append(dv::MF_STRING, id, caption); }

std::unique_ptr<dv::Menu> menu200() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* raw = bar->appendPopup("&Raw Batch");
  item(*raw, 35000, "&Add Raw Data");
  item(*raw, 35001, "&Create Profiles");
  raw->appendSeparator();
  item(*raw, 35002, "&Select All");
  item(*raw, 35003, "&Deselect All");
  item(*raw, 35004, "Edit Selection Se&ts");
  item(*raw, 35005, "De&lete Selected");
  raw->appendSeparator();
  item(*raw, 35006, "&Print Selected");
  item(*raw, 35011, "Ru&bber Sheet Selected");
  item(*raw, 35009, "Re&verse Selected");
  item(*raw, 35007, "Re&order Selected");
  item(*raw, 35010, "Cro&p Selected");
  item(*raw, 35008, "&Resample Selected");
  dv::Menu* prf = bar->appendPopup("&Profile Batch");
  item(*prf, 35020, "&Select All");
  item(*prf, 35021, "&Deselect All");
  item(*prf, 35022, "Edit Selection Se&ts");
  item(*prf, 35023, "De&lete Selected");
  prf->appendSeparator();
  item(*prf, 35024, "Depth &Convert Selected");
  item(*prf, 35025, "&Elevation Convert Selected");
  dv::Menu* pref = bar->appendPopup("&QUV Preferences");
  item(*pref, 35040, "&File Locations");
  item(*pref, 35041, "&Raw Data Display");
  item(*pref, 35042, "&Normal Data Display");
  item(*pref, 35043, "&Presentation Data Display");
  item(*pref, 35044, "&Load Defaults");
  return bar;
}

std::unique_ptr<dv::Menu> menu201() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* p = bar->appendPopup("QUV");
  item(*p, 33000, "&Add QUV - Raw Data");
  item(*p, 33001, "&Import QUV - Brennic Project");
  return bar;
}

std::unique_ptr<dv::Menu> menu203() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* folder = bar->appendPopup("Raw Data");
  item(*folder, 33100, "&Add Raw Data");
  item(*folder, 33101, "&Create Profiles");
  folder->appendSeparator();
  item(*folder, 33102, "&Select All");
  item(*folder, 33103, "&Deselect All");
  item(*folder, 33104, "Edit Selection Se&ts");
  item(*folder, 33105, "De&lete Selected");
  folder->appendSeparator();
  item(*folder, 33106, "&Print Selected");
  item(*folder, 33111, "Ru&bber Sheet Selected");
  item(*folder, 33109, "Re&verse Selected");
  item(*folder, 33107, "Re&order Selected");
  item(*folder, 33110, "Cro&p Selected");
  item(*folder, 33108, "&Resample Selected");
  dv::Menu* object = bar->appendPopup("Raw Object");
  item(*object, 33120, "&Create Profile");
  object->appendSeparator();
  item(*object, 33121, "&Select");
  item(*object, 33122, "&Deselect");
  item(*object, 33123, "De&lete");
  object->appendSeparator();
  item(*object, 33124, "&Print");
  item(*object, 33129, "&Join");
  item(*object, 33130, "Ru&bber Sheet");
  item(*object, 33127, "Re&verse");
  item(*object, 33125, "Re&order");
  item(*object, 33128, "Cro&p");
  item(*object, 33126, "&Resample");
  item(*object, 33131, "View &File Header");
  // The third pop-up, the raw data window's menu, comes with that window.
  return bar;
}

std::unique_ptr<dv::Menu> menu209() {
  auto bar = std::make_unique<dv::Menu>();
  dv::Menu* folder = bar->appendPopup("Profiles");
  item(*folder, 33200, "&Select All");
  item(*folder, 33201, "&Deselect All");
  item(*folder, 33202, "Edit Selection Se&ts");
  item(*folder, 33203, "De&lete Selected");
  folder->appendSeparator();
  item(*folder, 33204, "Edit &Geometries");
  item(*folder, 33205, "Depth &Convert Selected");
  item(*folder, 33206, "&Elevation Convert Selected");
  dv::Menu* object = bar->appendPopup("Profile Object");
  item(*object, 33220, "&Select");
  item(*object, 33221, "&Deselect");
  item(*object, 33222, "De&lete");
  object->appendSeparator();
  item(*object, 33223, "Edit &Geometry");
  // Further pop-ups belong to the profile windows.
  return bar;
}

}  // namespace

std::unique_ptr<dv::Menu> loadMenu(int id) {
  switch (id) {
    case 200: return menu200();
    case 201: return menu201();
    case 203: return menu203();
    case 209: return menu209();
  }
  return nullptr;
}

const dv::Menu* popupOf(const dv::Menu& menu, size_t index) {
  return index < menu.items().size() ? menu.items()[index].popup.get() : nullptr;
}

bool routeMenuCommand(int id, MenuRoute& r) {
  if (id >= 35000 && id <= 35011) {
    // Crop Selected runs the same operation as Reorder Selected.
    r.folderCommand = id == 35010 ? 33107 : 33100 + (id - 35000);
    bool walksItems = id == 35002 || id == 35003 || id == 35005 || id == 35006;
    r.folder = walksItems ? FolderArg::RawData : FolderArg::None;
    return true;
  }
  if (id >= 35020 && id <= 35023) {
    r.folderCommand = 33200 + (id - 35020);
    r.folder = id == 35022 ? FolderArg::None : FolderArg::Profiles;
    return true;
  }
  if (id == 35024 || id == 35025) {
    r.folderCommand = id == 35024 ? 33205 : 33206;
    r.folder = FolderArg::None;
    return true;
  }
  return false;
}

}  // namespace quv
