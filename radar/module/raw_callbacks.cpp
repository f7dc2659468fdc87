// The raw data type's callbacks: add, open (project load), close, delete,
// rename and double click.
#include <string>
#include <vector>

#include "display/raw_window.h"
#include "dv/file.h"
#include "dv/tree.h"
#include "dv/ui.h"
#include "module/callbacks.h"
#include "project/messages.h"
#include "project/quv.h"
#include "project/raw.h"
#include "project/tree_items.h"

namespace quv {

namespace {

// The framework has already shown the new label when Rename is called; a
// refused rename puts the old one back (the record still holds the old name).
void restoreLabel(DvHandle item, const std::string& oldName) {
  auto* tree = static_cast<dv::TreeModel*>(treeControl());
  auto* it = static_cast<dv::TreeItem*>(item);
  if (!tree || !it || !tree->contains(it)) return;
  tree->setText(it, oldName);
  tree->sortChildren(it->parent);
}

struct Move {
  std::string from, to;
};

}  // namespace

}  // namespace quv

using namespace quv;

DV_EXPORT int QuvRawAddFunc(void) {
  runRawAddDialog();
  return 0;
}

DV_EXPORT int QuvRawOpenFunc(const char* name, const char* fileExt, int selected) {
  auto insert = fw<PfnInsertTreeObject>(PONTRA_InsertTreeObject);
  if (!insert) return 0;
  auto* obj = new RawObject;
  DvHandle item = nullptr;
  if (insert(rawTypeIndex(), name ? name : "", fileExt ? fileExt : "", selected ? 1 : 0, obj,
             &item) != 0 ||
      !item) {
    delete obj;
    return 0;
  }
  obj->item = item;
  loadRawItem(*obj);
  msg(DV_MSG_PLAIN, treeBad(item) ? quv::kMsgRawDataOpenFailed : quv::kMsgRawDataOpenCompleted,
      name ? name : "");
  return 0;
}

DV_EXPORT int QuvRawCloseFunc(DvHandle item, void* object) {
  closeRawItem(static_cast<RawObject*>(object));
  return 0;
}

DV_EXPORT int QuvRawDelFunc(DvHandle item, void* object) {
  if (dv::messageBox(kMsgDeleteTheItem, "Delete Item?", dv::MB_YESNO | dv::MB_ICONQUESTION) !=
      dv::IDYES)
    return 0;
  deleteRawItem(item, static_cast<RawObject*>(object));
  return 0;
}

DV_EXPORT int QuvRawRenameFunc(DvHandle item, void* object, const char* newName) {
  auto* obj = static_cast<RawObject*>(object);
  std::string oldName = treeName(item);
  std::string nn = newName ? newName : "";
  if (!obj) return 0;
  auto refuse = [&](const std::string& why) {
    msg(DV_MSG_PLAIN, kMsgCannotRenameTo, oldName.c_str(), nn.c_str(), why.c_str());
    restoreLabel(item, oldName);
    return 0;
  };
  std::string newFileExt = nn + ".QUV";
  if (!dv::isSafeFileName(nn) || !dv::isSafeFileName("RAW_" + newFileExt))
    return refuse("the name cannot be a file name in the project folder");

  // Every file of the item moves to the new name; nothing moves unless all can.
  std::vector<Move> moves;
  moves.push_back({projectPath(rawItemFileName(item)), projectPath("RAW_" + newFileExt)});
  std::string newFirst, newSecond;
  if (obj->data) {
    RawData& d = *obj->data;
    int format = d.format != kRawUnreadable ? d.format : formatOfStoredName(d.firstName);
    if (format != kRawUnreadable) {
      newFirst = storedPrefix(format) + newFileExt;
      moves.push_back({d.firstPath, projectPath(newFirst)});
      if (format == kRawPekko || format == kRawRamac) {
        newSecond = secondPrefix(format) + newFileExt;
        moves.push_back({d.secondPath, projectPath(newSecond)});
      } else {
        newSecond = newFirst;
      }
      if (dv::fileExists(d.markersPath))
        moves.push_back({d.markersPath, projectPath("MRK_" + newFirst)});
      if (dv::fileExists(d.positionsPath))
        moves.push_back({d.positionsPath, projectPath("GPS_" + newFirst)});
    }
  }
  for (const Move& m : moves)
    if (m.from != m.to && dv::fileExists(m.to))
      return refuse(fileNameOf(m.to) + " already exists in the project folder");
  std::vector<const Move*> done;
  for (const Move& m : moves) {
    if (m.from == m.to || !dv::fileExists(m.from)) continue;
    if (!dv::renameFile(m.from, m.to)) {
      for (auto it = done.rbegin(); it != done.rend(); ++it) dv::renameFile((*it)->to, (*it)->from);
      return refuse(fileNameOf(m.from) + " could not be renamed");
    }
    done.push_back(&m);
  }
  if (obj->data && !newFirst.empty()) {
    RawData& d = *obj->data;
    d.firstName = newFirst;
    d.secondName = newSecond;
    d.firstPath = projectPath(newFirst);
    d.secondPath = projectPath(newSecond);
    d.markersPath = projectPath("MRK_" + newFirst);
    d.positionsPath = projectPath("GPS_" + newFirst);
  }
  retitleRawWindow(*obj, nn);
  if (auto set = fw<PfnSetTreeString>(PONTRA_SetTreeName)) set(item, nn.c_str());
  if (auto set = fw<PfnSetTreeString>(PONTRA_SetTreeFileExt)) set(item, newFileExt.c_str());
  saveRawItem(*obj);
  return 0;
}

DV_EXPORT int QuvRawDblClickFunc(DvHandle item, void* object) {
  if (treeBad(item) || !object) return 0;
  showRawWindow(*static_cast<RawObject*>(object));
  return 0;
}
