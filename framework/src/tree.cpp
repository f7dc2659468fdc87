// The project tree: records behind the items, folder chains and the tree
// services modules call.
#include <cstring>

#include "dv/file.h"
#include "state.h"

namespace pontra {

TreeRecord* record(dv::TreeItem* item) {
  auto& r = st().records;
  auto it = r.find(item);
  return it == r.end() ? nullptr : it->second.get();
}

dv::TreeItem* rootItem() { return st().frame.tree.firstRoot(); }

std::string trimBlanks(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return "";
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

std::string cleanName(const std::string& s) {
  std::string out;
  for (char c : trimBlanks(s))
    if (c != '"' && c != ',') out.push_back(c);
  return out;
}

static void folderChangeNotify() {
  rebuildMainMenu();
  st().frame.mdi.broadcast(dv::WM_APP_TREE_CHANGED, 0, 0);
}

namespace {

// Who a new folder at `level` of the chain belongs to: module m when it
// registered types, else the module that registered a type under that
// folder (a project file line may name a module that does not own the
// folder), else m (a module that is not installed). The deepest folder
// takes the owner's type number where the owner registered that chain.
std::pair<int, int> folderOwner(int m, int t, const std::string* texts[3], int level) {
  if (ownsTypes(m)) return {m, t};
  for (const TypeEntry& e : st().types) {
    const std::string* f[3] = {&e.folder1, &e.folder2, &e.folder3};
    bool prefix = moduleLoaded(e.moduleId);
    for (int k = 0; k <= level && prefix; ++k) prefix = *f[k] == *texts[k];
    if (!prefix) continue;
    bool exact = level == 2 || (f[level + 1]->empty() && texts[level + 1]->empty());
    return {e.moduleId, exact ? e.typeNumber : t};
  }
  return {m, t};
}

}  // namespace

dv::TreeItem* findOrCreateFolderChain(int m, int t, const std::string& f1, const std::string& f2,
                                      const std::string& f3) {
  auto& tree = st().frame.tree;
  dv::TreeItem* cur = rootItem();
  if (!cur) return nullptr;
  tree.expand(cur);
  bool created = false;
  const std::string* texts[3] = {&f1, &f2, &f3};
  for (int level = 0; level < 3; ++level) {
    const std::string& text = *texts[level];
    if (text.empty()) break;
    dv::TreeItem* found = nullptr;
    for (auto& child : cur->children) {
      TreeRecord* r = record(child.get());
      if (r && r->isFolder && child->text == text) {
        found = child.get();
        break;
      }
    }
    if (found) {
      tree.expand(found);
      cur = found;
      continue;
    }
    auto [owner, type] = folderOwner(m, t, texts, level);
    dv::TreeItem* item = tree.insert(cur, text, ownsTypes(owner) ? IMG_FOLDER : IMG_NOT_LOADED);
    tree.sortChildren(cur);
    auto rec = std::make_unique<TreeRecord>();
    rec->isFolder = 1;
    rec->moduleId = owner;
    bool deepest = level == 2 || texts[level + 1]->empty();
    rec->typeNumber = deepest ? type : -1;
    st().records[item] = std::move(rec);
    cur = item;
    created = true;
  }
  if (created) folderChangeNotify();
  return cur;
}

void freeRecord(dv::TreeItem* item) { st().records.erase(item); }

static void freeSubtree(dv::TreeItem* item) {
  for (auto& c : item->children) freeSubtree(c.get());
  freeRecord(item);
}

void deleteAllItems() {
  for (auto& r : st().frame.tree.roots()) freeSubtree(r.get());
  st().frame.tree.clear();
}

static void showSelectionImage(dv::TreeItem* item, TreeRecord* r) {
  int img = r->bad ? IMG_BAD : r->selected ? IMG_SELECTED : IMG_OBJECT;
  if (r->typeIndex < 0 || !moduleLoaded(r->moduleId)) img = IMG_NOT_LOADED;
  st().frame.tree.setImage(item, img);
}

static int copyOut(const std::string& v, char* out, int size) {
  if (!out || size <= 0) return -1;
  size_t n = std::min(v.size(), (size_t)size - 1);
  std::memcpy(out, v.data(), n);
  out[n] = 0;
  return 0;
}

// Handles from modules are checked against the records, so a stale or
// foreign handle is refused instead of followed.
static TreeRecord* checked(DvHandle h) { return record(static_cast<dv::TreeItem*>(h)); }

}  // namespace pontra

using namespace pontra;

DV_EXPORT int SaveProj(void) {
  return saveProject();
}

DV_EXPORT int GetTree(DvHandle* tree) {
  if (tree) *tree = &st().frame.tree;
  return 0;
}

DV_EXPORT int GetFolder(int typeIndex, DvHandle* item) {
  if (item) *item = nullptr;
  if (typeIndex < 0 || typeIndex >= (int)st().types.size()) return 0;
  const TypeEntry& t = st().types[(size_t)typeIndex];
  dv::TreeItem* found = nullptr;
  st().frame.tree.walk([&](dv::TreeItem* it, int) {
    if (found) return;
    TreeRecord* r = record(it);
    if (r && r->isFolder && it != rootItem() && r->moduleId == t.moduleId &&
        r->typeNumber == t.typeNumber)
      found = it;
  });
  if (item) *item = found;
  return 0;
}

DV_EXPORT int InsertTreeObject(int typeIndex, const char* name, const char* fileExt, int selected,
                               void* object, DvHandle* out) {
  if (out) *out = nullptr;
  if (typeIndex < 0 || typeIndex >= (int)st().types.size() || !rootItem()) return -1;
  const TypeEntry t = st().types[(size_t)typeIndex];
  dv::TreeItem* folder = findOrCreateFolderChain(t.moduleId, t.typeNumber, t.folder1, t.folder2,
                                                 t.folder3);
  if (!folder) return -1;
  auto& tree = st().frame.tree;
  dv::TreeItem* item = tree.insert(folder, name ? name : "", IMG_OBJECT);
  tree.sortChildren(folder);
  auto rec = std::make_unique<TreeRecord>();
  rec->isFolder = 0;
  rec->moduleId = t.moduleId;
  rec->typeNumber = t.typeNumber;
  rec->typeIndex = typeIndex;
  rec->name = name ? name : "";
  rec->fileExt = fileExt ? fileExt : "";
  rec->object = object;
  st().records[item] = std::move(rec);
  SetTreeSelected(item, selected);
  tree.select(item);
  if (out) *out = item;
  saveProject();
  return 0;
}

DV_EXPORT int DeleteTreeObject(DvHandle h) {
  auto* item = static_cast<dv::TreeItem*>(h);
  if (!checked(h)) return -1;
  auto& tree = st().frame.tree;
  dv::TreeItem* parent = item->parent;
  freeRecord(item);
  tree.remove(item);
  bool folderGone = false;
  // Empty folders go with their last object, up to three folder levels.
  for (int level = 0; level < 3 && parent && parent != rootItem(); ++level) {
    if (!parent->children.empty()) break;
    dv::TreeItem* up = parent->parent;
    freeRecord(parent);
    tree.remove(parent);
    folderGone = true;
    parent = up;
  }
  if (folderGone) folderChangeNotify();
  saveProject();
  return 0;
}

DV_EXPORT int GetTreeName(DvHandle h, char* out, int size) {
  auto* r = checked(h);
  return r ? copyOut(r->name, out, size) : -1;
}

DV_EXPORT int SetTreeName(DvHandle h, const char* text) {
  auto* r = checked(h);
  if (!r) return -1;
  r->name = text ? text : "";
  return 0;
}

DV_EXPORT int GetTreeFileExt(DvHandle h, char* out, int size) {
  auto* r = checked(h);
  return r ? copyOut(r->fileExt, out, size) : -1;
}

DV_EXPORT int SetTreeFileExt(DvHandle h, const char* text) {
  auto* r = checked(h);
  if (!r) return -1;
  r->fileExt = text ? text : "";
  return 0;
}

DV_EXPORT int GetTreeSelected(DvHandle h, int* v) {
  auto* r = checked(h);
  if (!r) return -1;
  if (v) *v = r->selected;
  return 0;
}

DV_EXPORT int SetTreeSelected(DvHandle h, int v) {
  auto* r = checked(h);
  if (!r) return -1;
  r->selected = r->bad ? 0 : v;
  showSelectionImage(static_cast<dv::TreeItem*>(h), r);
  return 0;
}

DV_EXPORT int GetTreeBad(DvHandle h, int* v) {
  auto* r = checked(h);
  if (!r) return -1;
  if (v) *v = r->bad;
  return 0;
}

DV_EXPORT int SetTreeBad(DvHandle h, int v) {
  auto* r = checked(h);
  if (!r) return -1;
  r->selected = 0;
  r->bad = v;
  showSelectionImage(static_cast<dv::TreeItem*>(h), r);
  return 0;
}

DV_EXPORT int GetTreepObj(DvHandle h, void** obj) {
  auto* r = checked(h);
  if (obj) *obj = r ? r->object : nullptr;
  return r ? 0 : -1;
}
