// The tree control as a model: items with a label, an image, an owner's data
// pointer and children; the selected item; label editing. The Qt view shows
// it and passes the user's actions (right click, double click, Delete key,
// label edits) to the handler; a job script does the same.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dv {

struct TreeItem {
  std::string text;
  int image = 0;
  void* data = nullptr;
  bool expanded = false;
  TreeItem* parent = nullptr;
  std::vector<std::unique_ptr<TreeItem>> children;
};

class TreeHandler {
 public:
  virtual ~TreeHandler() = default;
  virtual void treeRightClick(TreeItem* item, int screenX, int screenY) {}
  virtual void treeDoubleClick(TreeItem* item) {}
  virtual void treeDeleteKey(TreeItem* item) {}
  // Label editing: may it begin? then the edited text (accepted if true).
  virtual bool treeBeginLabelEdit(TreeItem* item) { return false; }
  virtual bool treeEndLabelEdit(TreeItem* item, const std::string& text) { return false; }
  // A command from a pop-up menu owned by the tree control.
  virtual void treeCommand(int id) {}
};

class TreeModel {
 public:
  TreeModel() = default;
  TreeModel(const TreeModel&) = delete;
  TreeModel& operator=(const TreeModel&) = delete;

  // Inserts under `parent` (nullptr = top level) at the end of its children.
  TreeItem* insert(TreeItem* parent, const std::string& text, int image, void* data = nullptr);
  // Deletes the item with its children.
  void remove(TreeItem* item);
  void clear();
  // Sorts the children of `parent` (nullptr = top level) by label, the way
  // the tree's own sort compares: without regard to letter case, then by bytes.
  void sortChildren(TreeItem* parent);
  void setText(TreeItem* item, const std::string& text);
  void setImage(TreeItem* item, int image);
  void expand(TreeItem* item);
  void select(TreeItem* item);
  TreeItem* selected() const { return selected_; }

  const std::vector<std::unique_ptr<TreeItem>>& roots() const { return roots_; }
  TreeItem* firstRoot() const { return roots_.empty() ? nullptr : roots_.front().get(); }
  static TreeItem* nextSibling(const TreeItem* item);
  const std::vector<std::unique_ptr<TreeItem>>& childrenOf(const TreeItem* parent) const {
    return parent ? parent->children : roots_;
  }
  bool contains(const TreeItem* item) const;
  // Finds an item by its label path from the top ("Site1/QUV/Raw Data/LINE01").
  TreeItem* findPath(const std::string& path) const;
  std::string pathOf(const TreeItem* item) const;
  // Visits every item depth-first.
  void walk(const std::function<void(TreeItem*, int depth)>& fn) const;

  void setHandler(TreeHandler* h) { handler_ = h; }
  TreeHandler* handler() const { return handler_; }

  // View notifications: the whole tree (or an item) needs showing again.
  std::function<void()> onChanged;
  void changed() {
    if (onChanged) onChanged();
  }

 private:
  std::vector<std::unique_ptr<TreeItem>>& siblings(TreeItem* parent) {
    return parent ? parent->children : roots_;
  }
  std::vector<std::unique_ptr<TreeItem>> roots_;
  TreeItem* selected_ = nullptr;
  TreeHandler* handler_ = nullptr;
};

}  // namespace dv
