// Routes the user's actions on tree items to the owning module: right
// clicks, pop-up commands, double clicks, the Delete key and label edits.
#include <strings.h>

#include "dv/menu.h"
#include "dv/ui.h"
#include "state.h"

namespace pontra {

namespace {

enum { ID_ROOT_CLOSE = 32810, ID_ROOT_ADD = 32811, ID_ROOT_CREATE = 32812, ID_ROOT_IMPORT = 32813 };

const TypeEntry* typeOf(const TreeRecord* r) {
  if (!r || r->isFolder || r->typeIndex < 0 || r->typeIndex >= (int)st().types.size())
    return nullptr;
  if (!moduleLoaded(r->moduleId)) return nullptr;
  return &st().types[(size_t)r->typeIndex];
}

class TreeRouter : public dv::TreeHandler {
 public:
  void treeRightClick(dv::TreeItem* item, int x, int y) override {
    TreeRecord* r = record(item);
    if (!r) return;
    auto& tree = st().frame.tree;
    tree.select(item);
    if (item == rootItem()) {
      dv::Menu menu;
      menu.append(dv::MF_STRING, ID_ROOT_CLOSE, "&Close Project");
      menu.append(dv::MF_STRING, ID_ROOT_ADD, "&Add Data");
      menu.append(dv::MF_STRING, ID_ROOT_CREATE, "Create &Data");
      menu.append(dv::MF_STRING, ID_ROOT_IMPORT, "&Import Data");
      dv::trackPopupForTree(menu, x, y, &tree);
      return;
    }
    if (r->isFolder) {
      if (!ownsTypes(r->moduleId)) return;
      if (auto fn = moduleFn<PfnFolderRClick>(r->moduleId, DV_SLOT_FOLDER_RCLICK))
        fn(item->text.c_str(), x, y, &tree);
      return;
    }
    if (const TypeEntry* t = typeOf(r))
      if (auto fn = moduleFn<PfnTypeRClick>(r->moduleId, t->rclickSlot))
        fn(item, r->object, x, y, &tree);
  }

  void treeCommand(int id) override {
    dv::TreeItem* item = st().frame.tree.selected();
    TreeRecord* r = record(item);
    if (!r) return;
    if (item == rootItem()) {
      switch (id) {
        case ID_ROOT_CLOSE: closeProjectCommand(false); break;
        case ID_ROOT_ADD: addDataCommand(); break;
        case ID_ROOT_CREATE: createDataCommand(); break;
        case ID_ROOT_IMPORT: importDataCommand(); break;
      }
      return;
    }
    if (r->isFolder) {
      if (!ownsTypes(r->moduleId)) return;
      if (auto fn = moduleFn<PfnFolderCommand>(r->moduleId, DV_SLOT_FOLDER_COMMAND)) fn(item, id);
      return;
    }
    if (const TypeEntry* t = typeOf(r))
      if (auto fn = moduleFn<PfnTypeCommand>(r->moduleId, t->commandSlot)) fn(item, r->object, id);
  }

  void treeDoubleClick(dv::TreeItem* item) override {
    TreeRecord* r = record(item);
    if (const TypeEntry* t = typeOf(r))
      if (auto fn = moduleFn<PfnTypeDblClick>(r->moduleId, t->dblClickSlot)) fn(item, r->object);
  }

  void treeDeleteKey(dv::TreeItem* item) override {
    TreeRecord* r = record(item);
    if (const TypeEntry* t = typeOf(r))
      if (auto fn = moduleFn<PfnTypeDel>(r->moduleId, t->delSlot)) fn(item, r->object);
  }

  bool treeBeginLabelEdit(dv::TreeItem* item) override {
    TreeRecord* r = record(item);
    return r && !r->isFolder && !r->bad && moduleLoaded(r->moduleId) && typeOf(r);
  }

  bool treeEndLabelEdit(dv::TreeItem* item, const std::string& text) override {
    if (!treeBeginLabelEdit(item)) return false;
    std::string name = cleanName(text);
    if (name.empty()) return false;
    // Refused when equal, in any letter case, to any item under the same
    // parent, the edited item included.
    for (auto& sib : st().frame.tree.childrenOf(item->parent))
      if (::strcasecmp(sib->text.c_str(), name.c_str()) == 0) return false;
    TreeRecord* r = record(item);
    const TypeEntry* t = typeOf(r);
    st().frame.tree.setText(item, name);
    if (auto fn = moduleFn<PfnTypeRename>(r->moduleId, t->renameSlot))
      fn(item, r->object, name.c_str());
    saveProject();
    return true;
  }
};

}  // namespace

dv::TreeHandler& treeRouter() {
  static TreeRouter r;
  return r;
}

}  // namespace pontra
