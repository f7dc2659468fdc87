// The module-wide state of the entry (type index of raw data) and the tree
// helpers every command uses.
#include "project/tree_items.h"
#include "project/profile.h"
#include "project/quv.h"
#include "dv/tree.h"
#include "project/messages.h"

namespace quv {

namespace {
int g_rawTypeIndex = -1;

DvHandle folderOf(int typeIndex) {
  DvHandle item = nullptr;
  if (typeIndex < 0) return nullptr;
  if (auto f = fw<PfnGetFolder>(PONTRA_GetFolder)) f(typeIndex, &item);
  return item;
}
}  // namespace

int rawTypeIndex() { return g_rawTypeIndex; }
void setRawTypeIndex(int index) { g_rawTypeIndex = index; }

DvHandle rawFolder() { return folderOf(g_rawTypeIndex); }
DvHandle profileFolder() { return folderOf(profileTypeIndex()); }

std::vector<DvHandle> childItems(DvHandle folder) {
  std::vector<DvHandle> out;
  // Tree items are the platform's tree-model items: the framework hands out
  // their addresses as handles and owns them.
  if (auto* f = static_cast<dv::TreeItem*>(folder))
    for (auto& c : f->children) out.push_back(c.get());
  return out;
}

void* treeObject(DvHandle item) {
  void* obj = nullptr;
  if (auto get = fw<PfnGetTreepObj>(PONTRA_GetTreepObj)) get(item, &obj);
  return obj;
}

DvHandle treeControl() {
  DvHandle tree = nullptr;
  if (auto f = fw<PfnGetTree>(PONTRA_GetTree)) f(&tree);
  return tree;
}

std::string projectName() {
  auto* tree = static_cast<dv::TreeModel*>(treeControl());
  const dv::TreeItem* root = tree ? tree->firstRoot() : nullptr;
  return root ? root->text : std::string();
}

void notYetAvailable(const char* command, const char* what) {
  msg(DV_MSG_PLAIN, kMsgArrivesInALaterVersion, command, what);
}

}  // namespace quv
