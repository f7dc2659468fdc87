#include "dv/tree.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

namespace dv {

TreeItem* TreeModel::insert(TreeItem* parent, const std::string& text, int image, void* data) {
  auto item = std::make_unique<TreeItem>();
  item->text = text;
  item->image = image;
  item->data = data;
  item->parent = parent;
  TreeItem* raw = item.get();
  siblings(parent).push_back(std::move(item));
  changed();
  return raw;
}

static bool isWithin(const TreeItem* item, const TreeItem* ancestor) {
  for (const TreeItem* p = item; p; p = p->parent)
    if (p == ancestor) return true;
  return false;
}

void TreeModel::remove(TreeItem* item) {
  if (!item) return;
  if (selected_ && isWithin(selected_, item)) selected_ = nullptr;
  auto& sib = siblings(item->parent);
  sib.erase(std::remove_if(sib.begin(), sib.end(),
                           [item](const std::unique_ptr<TreeItem>& p) { return p.get() == item; }),
            sib.end());
  changed();
}

void TreeModel::clear() {
  selected_ = nullptr;
  roots_.clear();
  changed();
}

void TreeModel::sortChildren(TreeItem* parent) {
  auto& sib = siblings(parent);
  std::stable_sort(sib.begin(), sib.end(),
                   [](const std::unique_ptr<TreeItem>& a, const std::unique_ptr<TreeItem>& b) {
                     int c = ::strcasecmp(a->text.c_str(), b->text.c_str());
                     if (c != 0) return c < 0;
                     return std::strcmp(a->text.c_str(), b->text.c_str()) < 0;
                   });
  changed();
}

void TreeModel::setText(TreeItem* item, const std::string& text) {
  if (!item) return;
  item->text = text;
  changed();
}

void TreeModel::setImage(TreeItem* item, int image) {
  if (!item) return;
  item->image = image;
  changed();
}

void TreeModel::expand(TreeItem* item) {
  if (!item) return;
  item->expanded = true;
  changed();
}

void TreeModel::select(TreeItem* item) {
  selected_ = item;
  changed();
}

TreeItem* TreeModel::nextSibling(const TreeItem* item) {
  if (!item || !item->parent) return nullptr;
  auto& sib = item->parent->children;
  for (size_t i = 0; i + 1 < sib.size(); ++i)
    if (sib[i].get() == item) return sib[i + 1].get();
  return nullptr;
}

bool TreeModel::contains(const TreeItem* item) const {
  bool found = false;
  walk([&](TreeItem* it, int) {
    if (it == item) found = true;
  });
  return found;
}

TreeItem* TreeModel::findPath(const std::string& path) const {
  const std::vector<std::unique_ptr<TreeItem>>* level = &roots_;
  TreeItem* cur = nullptr;
  size_t pos = 0;
  while (pos <= path.size()) {
    // Labels may hold "/": take the longest child label that matches here.
    TreeItem* best = nullptr;
    size_t bestLen = 0;
    for (auto& c : *level) {
      const std::string& t = c->text;
      if (path.compare(pos, t.size(), t) == 0 &&
          (pos + t.size() == path.size() || path[pos + t.size()] == '/') && t.size() >= bestLen) {
        best = c.get();
        bestLen = t.size();
      }
    }
    if (!best) return nullptr;
    cur = best;
    pos += bestLen;
    if (pos == path.size()) return cur;
    ++pos;
    level = &cur->children;
  }
  return cur;
}

std::string TreeModel::pathOf(const TreeItem* item) const {
  std::string p;
  for (const TreeItem* i = item; i; i = i->parent) p = i->text + (p.empty() ? "" : "/" + p);
  return p;
}

static void walkItems(const std::vector<std::unique_ptr<TreeItem>>& v,
                      const std::function<void(TreeItem*, int)>& fn, int depth) {
  for (size_t i = 0; i < v.size(); ++i) {
    TreeItem* it = v[i].get();
    fn(it, depth);
    walkItems(it->children, fn, depth + 1);
  }
}

void TreeModel::walk(const std::function<void(TreeItem*, int)>& fn) const {
  walkItems(roots_, fn, 0);
}

}  // namespace dv
