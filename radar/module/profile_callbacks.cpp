// The profile type's callbacks as the framework calls them (open, close,
// double click, right click, command, delete, import, rename), and the
// operations behind them that other parts of the module share: opening a
// newly written profile, deleting and renaming every file of a profile.
#include <strings.h>

#include <string>
#include <vector>

#include "display/profile_window.h"
#include "dv/file.h"
#include "dv/menu.h"
#include "dv/tree.h"
#include "dv/ui.h"
#include "module/callbacks.h"
#include "module/dispatch.h"
#include "processing/brennic_import.h"
#include "processing/geometry.h"
#include "project/messages.h"
#include "project/profile.h"
#include "project/quv.h"
#include "project/selection.h"
#include "project/tree_items.h"
#include "quv/ids.h"

namespace quv {

namespace {

// Every file name a profile with file name F can own: the profile file, the
// side files and, for every kind and number, the sample and header
// files. Listing them by name (rather than from the loaded versions) lets a
// profile that could not be read whole be deleted or renamed completely.
std::vector<std::string> profileFileNames(const std::string& f) {
  std::vector<std::string> names = {"PRF_" + f, "GEO_" + f, "XY_" + f,
                                    "Z_" + f,   "VEL_" + f, "TV_" + f, "MAP_" + f, "FIT_" + f};
  for (int kind = 0; kind < kVersionKinds; ++kind)
    for (int number = 1; number <= kMaxVersionNumber; ++number) {
      names.push_back(sampleFileName(kind, number, f));
      names.push_back(headerFileName(kind, number, f));
    }
  return names;
}

std::string fileNameOf(DvHandle tree, const ProfileItem* item) {
  if (item && !item->fileName.empty()) return item->fileName;
  return treeFileExt(tree);
}

void closeWindowAndVersions(ProfileItem& item) {
  // Closing a profile closes its window and every version it had open for display.
  closeProfileWindow(item);
  item.window = nullptr;
  for (auto& kind : item.versions)
    for (auto& v : kind) closeVersionForDisplay(*v);
}

// Puts the label the framework already changed back to the stored name.
void restoreLabel(DvHandle treeItem, const std::string& name) {
  DvHandle tree = nullptr;
  if (auto f = fw<PfnGetTree>(PONTRA_GetTree)) f(&tree);
  if (tree && treeItem)
    static_cast<dv::TreeModel*>(tree)->setText(static_cast<dv::TreeItem*>(treeItem), name);
}

}  // namespace

ProfileItem* openProfile(const char* name, const char* fileExt, int selected) {
  auto insert = fw<PfnInsertTreeObject>(PONTRA_InsertTreeObject);
  auto* item = new ProfileItem;
  DvHandle tree = nullptr;
  if (!insert || profileTypeIndex() < 0 ||
      insert(profileTypeIndex(), name ? name : "", fileExt ? fileExt : "", selected, item, &tree) !=
          0 ||
      !tree) {
    delete item;
    msg(0, kMsgProfileOpenFailed, name ? name : "");
    return nullptr;
  }
  item->tree = tree;
  loadProfile(*item);
  msg(0, treeBad(tree) ? quv::kMsgProfileOpenFailed : quv::kMsgProfileOpenCompleted,
      name ? name : "");
  return item;
}

void deleteProfile(DvHandle tree, ProfileItem* item) {
  const std::string dir = projectDir();
  const std::string f = fileNameOf(tree, item);
  const std::string prf = dv::joinPath(dir, "PRF_" + f);
  if (item) closeWindowAndVersions(*item);
  if (dv::isSafeFileName(f) && !dir.empty()) {
    for (const std::string& name : profileFileNames(f)) {
      std::string path = dv::joinPath(dir, name);
      if (dv::fileExists(path)) dv::removeFile(path);
    }
  } else {
    msg(0, kMsgWarningNoFilesDeletedForTheProfile, f.c_str());
  }
  destroyProfile(item);
  if (auto del = fw<PfnDeleteTreeObject>(PONTRA_DeleteTreeObject)) del(tree);
  msg(0, kMsgProfileDeleted, prf.c_str());
}

int renameProfile(DvHandle tree, ProfileItem* item, const char* newNameText) {
  const std::string oldName = treeName(tree);
  const std::string newName = newNameText ? newNameText : "";
  const std::string from = fileNameOf(tree, item);
  const std::string to = newName + ".QUV";
  const std::string dir = projectDir();
  if (!item || !item->header || treeBad(tree)) {
    restoreLabel(tree, oldName);
    return -1;
  }
  if (!dv::isSafeFileName(newName) || !dv::isSafeFileName(to)) {
    msg(0, kMsgErrorTheProfileNameIsNotAllowed, newName.c_str());
    restoreLabel(tree, oldName);
    return -1;
  }
  // Every file that exists is renamed; refused as a whole when a target
  // exists already, so no file of another profile is ever replaced.
  std::vector<std::pair<std::string, std::string>> moves;
  const auto oldNames = profileFileNames(from), newNames = profileFileNames(to);
  for (size_t k = 0; k < oldNames.size(); ++k) {
    std::string src = dv::joinPath(dir, oldNames[k]), dst = dv::joinPath(dir, newNames[k]);
    if (!dv::fileExists(src)) continue;
    if (dv::fileExists(dst)) {
      msg(0, kMsgErrorCouldNotRenameExistsAlready, src.c_str(), dst.c_str());
      restoreLabel(tree, oldName);
      return -1;
    }
    moves.emplace_back(src, dst);
  }
  for (size_t k = 0; k < moves.size(); ++k) {
    if (dv::renameFile(moves[k].first, moves[k].second)) continue;
    msg(0, kMsgErrorCouldNotRenameTo, moves[k].first.c_str(), moves[k].second.c_str());
    for (size_t j = k; j-- > 0;) dv::renameFile(moves[j].second, moves[j].first);  // undo
    restoreLabel(tree, oldName);
    return -1;
  }
  item->fileName = to;
  setSidePaths(*item->header, dir, to);
  for (auto& kind : item->versions)
    for (auto& v : kind) {
      v->samplePath = dv::joinPath(dir, sampleFileName(v->kind, v->number, to));
      v->headerPath = dv::joinPath(dir, headerFileName(v->kind, v->number, to));
    }
  if (auto f = fw<PfnSetTreeString>(PONTRA_SetTreeName)) f(tree, newName.c_str());
  if (auto f = fw<PfnSetTreeString>(PONTRA_SetTreeFileExt)) f(tree, to.c_str());
  retitleProfileWindow(*item, newName);
  return 0;
}

}  // namespace quv

using quv::ProfileItem;

DV_EXPORT int QuvProfileOpenFunc(const char* name, const char* fileExt, int selected) {
  return quv::openProfile(name, fileExt, selected) ? 0 : -1;
}

DV_EXPORT int QuvProfileCloseFunc(DvHandle item, void* object) {
  auto* p = static_cast<ProfileItem*>(object);
  if (!p) return 0;
  quv::saveProfile(*p);
  quv::closeWindowAndVersions(*p);
  quv::destroyProfile(p);
  return 0;
}

DV_EXPORT int QuvProfileDblClickFunc(DvHandle item, void* object) {
  auto* p = static_cast<ProfileItem*>(object);
  if (!p || quv::treeBad(item)) return 0;
  // An open window is activated; otherwise the shown version gets one.
  quv::openProfileWindow(*p);
  return 0;
}

DV_EXPORT int QuvProfileRClickFunc(DvHandle item, void* object, int screenX, int screenY,
                                   DvHandle tree) {
  // The profile object's pop-up is the second pop-up of menu 209; a bad
  // item can only be deleted.
  auto bar = quv::loadMenu(quv::kMenuProfiles);
  const dv::Menu* popup = bar ? quv::popupOf(*bar, 1) : nullptr;
  if (!popup) return 0;
  const bool bad = quv::treeBad(item) != 0;
  dv::Menu menu;
  for (const dv::MenuItem& it : popup->items()) {
    unsigned flags = it.separator ? dv::MF_SEPARATOR : dv::MF_STRING;
    if (!it.separator && bad && it.id != quv::ID_PROFILE_DELETE) flags |= dv::MF_GRAYED;
    menu.append(flags, it.id, it.caption);
  }
  dv::trackPopupForTree(menu, screenX, screenY, static_cast<dv::TreeModel*>(tree));
  return 0;
}

DV_EXPORT int QuvProfileDelFunc(DvHandle item, void* object) {
  if (dv::messageBox(quv::kMsgDeleteTheItem, "Delete Item?", dv::MB_YESNO | dv::MB_ICONQUESTION) !=
      dv::IDYES)
    return 0;
  quv::deleteProfile(item, static_cast<ProfileItem*>(object));
  return 0;
}

DV_EXPORT int QuvProfileCmdFunc(DvHandle item, void* object, int command) {
  auto* p = static_cast<ProfileItem*>(object);
  const bool bad = quv::treeBad(item) != 0;
  switch (command) {
    case quv::ID_PROFILE_SELECT: {
      if (bad || !p) return 0;
      int kind = 0, number = 0;
      if (quv::chooseProfileVersion(*p, &kind, &number)) {
        if (auto f = quv::fw<PfnSetTreeInt>(PONTRA_SetTreeSelected)) f(item, 1);
        p->selection1 = kind;
        p->selection2 = number;
      }
      return 0;
    }
    case quv::ID_PROFILE_DESELECT:
      if (bad) return 0;
      if (auto f = quv::fw<PfnSetTreeInt>(PONTRA_SetTreeSelected)) f(item, 0);
      return 0;
    case quv::ID_PROFILE_DELETE:
      return QuvProfileDelFunc(item, object);
    case quv::ID_PROFILE_EDIT_GEOMETRY:
      if (bad) return 0;
      quv::editGeometryCommand({item});
      return 0;
  }
  return 0;
}

DV_EXPORT int QuvProfileImportFunc(void) {
  quv::importBrennicCommand();
  return 0;
}

DV_EXPORT int QuvProfileRenameFunc(DvHandle item, void* object, const char* newName) {
  return quv::renameProfile(item, static_cast<ProfileItem*>(object), newName);
}
