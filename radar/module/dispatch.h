// The module's menus (resources 200, 201, 203, 209) and the table that maps
// main-menu commands onto folder commands.
#pragma once

#include <memory>

#include "dv/menu.h"

namespace quv {

// A menu resource as a bar of pop-ups:
//   200  "&Raw Batch", "&Profile Batch", "&QUV Preferences" (main menu bar)
//   201  the "QUV" folder's pop-up
//   203  the "Raw Data" folder's pop-up, then the raw object's pop-up
//   209  the "Profiles" folder's pop-up, then the profile object's pop-up
// nullptr for other ids.
std::unique_ptr<dv::Menu> loadMenu(int id);
// Pop-up `index` of a menu resource (nullptr when absent); the menu keeps it.
const dv::Menu* popupOf(const dv::Menu& menu, size_t index);

// Which folder a mapped main-menu command passes.
enum class FolderArg { None, RawData, Profiles };
struct MenuRoute {
  int folderCommand = 0;
  FolderArg folder = FolderArg::None;
};
// The folder command of a main-menu command 35000 to 35025; false for ids
// the table does not map (the preferences and help are handled apart).
bool routeMenuCommand(int id, MenuRoute& route);

}  // namespace quv
