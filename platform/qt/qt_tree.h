// The tree bar's view over dv::TreeModel. The view keeps its items in step
// with the model (reusing items that still stand for the same TreeItem, so
// the scroll position, expansion and selection survive a change) and passes
// the user's actions to the model's TreeHandler: right click, double click,
// the Delete key and label editing.
#pragma once

#include <QHash>
#include <QTreeWidget>

#include <functional>

#include "dv/tree.h"

namespace dv::qt {

class TreeView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit TreeView(dv::TreeModel& model, QWidget* parent = nullptr);
  ~TreeView() override;

  dv::TreeModel& model() const { return model_; }
  // Shows the model again (also run on TreeModel::onChanged).
  void sync();
  QTreeWidgetItem* itemFor(const dv::TreeItem* item) const { return items_.value(item); }
  static dv::TreeItem* treeItemOf(const QTreeWidgetItem* item);

  // The label editor's text arrives here (queued after the editor closes).
  void finishLabelEdit(dv::TreeItem* item, const QString& text);

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void syncChildren(QTreeWidgetItem* parent, const std::vector<std::unique_ptr<dv::TreeItem>>& kids);
  void showItem(QTreeWidgetItem* q, dv::TreeItem* t);
  dv::TreeModel& model_;
  std::function<void()> previous_;
  QHash<const dv::TreeItem*, QTreeWidgetItem*> items_;
  dv::TreeItem* rightPressed_ = nullptr;
  bool syncing_ = false;
};

}  // namespace dv::qt
