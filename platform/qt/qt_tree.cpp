#include "qt_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "qt_icons.h"
#include "qt_util.h"

namespace dv::qt {

namespace {

// The label editor hands the new text to the handler instead of writing it
// into the item: what the label shows afterwards is the model's text.
class LabelDelegate : public QStyledItemDelegate {
 public:
  explicit LabelDelegate(TreeView* view) : QStyledItemDelegate(view), view_(view) {}
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) return;
    dv::TreeItem* item = TreeView::treeItemOf(view_->itemFromIndex(index));
    if (!item) return;
    QString text = line->text();
    QPointer<TreeView> view = view_;
    // The handler may rename, move or delete items; it runs once the editor
    // is gone rather than under it.
    QMetaObject::invokeMethod(
        view_, [view, item, text] { if (view) view->finishLabelEdit(item, text); },
        Qt::QueuedConnection);
  }

 private:
  TreeView* view_;
};

}  // namespace

TreeView::TreeView(dv::TreeModel& model, QWidget* parent) : QTreeWidget(parent), model_(model) {
  setObjectName(QStringLiteral("ctl20000"));
  setHeaderHidden(true);
  setColumnCount(1);
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setIconSize(QSize(16, 16));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  setDragEnabled(false);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setItemDelegate(new LabelDelegate(this));
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);

  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
    if (syncing_) return;
    dv::TreeItem* t = treeItemOf(current);
    if (t != model_.selected()) model_.select(t);
  });
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* q) {
    if (!syncing_)
      if (dv::TreeItem* t = treeItemOf(q)) t->expanded = true;
  });
  connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* q) {
    if (!syncing_)
      if (dv::TreeItem* t = treeItemOf(q)) t->expanded = false;
  });
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* q) {
    dv::TreeItem* t = treeItemOf(q);
    if (t && model_.handler()) model_.handler()->treeDoubleClick(t);
  });

  previous_ = model_.onChanged;
  model_.onChanged = [this] {
    sync();
    if (previous_) previous_();
  };
  sync();
}

TreeView::~TreeView() { model_.onChanged = previous_; }

dv::TreeItem* TreeView::treeItemOf(const QTreeWidgetItem* item) {
  if (!item) return nullptr;
  return reinterpret_cast<dv::TreeItem*>(item->data(0, Qt::UserRole).value<quintptr>());
}

void TreeView::showItem(QTreeWidgetItem* q, dv::TreeItem* t) {
  q->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(t)));
  QString text = toQ(t->text);
  if (q->text(0) != text) q->setText(0, text);
  if (q->data(0, Qt::UserRole + 1).toInt() != t->image + 1 || q->icon(0).isNull()) {
    q->setIcon(0, QIcon(treeImage(t->image)));
    q->setData(0, Qt::UserRole + 1, t->image + 1);
  }
  q->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
  items_.insert(t, q);
}

void TreeView::syncChildren(QTreeWidgetItem* parent,
                            const std::vector<std::unique_ptr<dv::TreeItem>>& kids) {
  auto count = [&] { return parent ? parent->childCount() : topLevelItemCount(); };
  auto child = [&](int i) { return parent ? parent->child(i) : topLevelItem(i); };
  auto take = [&](int i) { return parent ? parent->takeChild(i) : takeTopLevelItem(i); };
  auto put = [&](int i, QTreeWidgetItem* q) {
    if (parent) parent->insertChild(i, q);
    else insertTopLevelItem(i, q);
  };
  for (int i = 0; i < (int)kids.size(); ++i) {
    dv::TreeItem* t = kids[(size_t)i].get();
    QTreeWidgetItem* q = i < count() ? child(i) : nullptr;
    if (!q || treeItemOf(q) != t) {
      // The item may have moved (a sort): take its row from further down.
      int found = -1;
      for (int j = i + 1; j < count() && found < 0; ++j)
        if (treeItemOf(child(j)) == t) found = j;
      if (found >= 0) {
        q = take(found);
      } else {
        q = new QTreeWidgetItem;
      }
      put(i, q);
    }
    showItem(q, t);
    syncChildren(q, t->children);
    if (q->isExpanded() != t->expanded) q->setExpanded(t->expanded);
  }
  while (count() > (int)kids.size()) delete take(count() - 1);
}

void TreeView::sync() {
  if (syncing_) return;
  syncing_ = true;
  int scroll = verticalScrollBar()->value();
  int hscroll = horizontalScrollBar()->value();
  items_.clear();
  syncChildren(nullptr, model_.roots());
  QTreeWidgetItem* sel = items_.value(model_.selected());
  if (currentItem() != sel) setCurrentItem(sel);
  if (sel && !sel->isSelected()) sel->setSelected(true);
  verticalScrollBar()->setValue(scroll);
  horizontalScrollBar()->setValue(hscroll);
  syncing_ = false;
}

bool TreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // A slow click only schedules the edit, which comes back here with
  // AllEditTriggers when it is due; other triggers start it at once.
  bool starts = trigger != SelectedClicked &&
                (trigger == AllEditTriggers || (trigger & editTriggers())) &&
                state() != EditingState;
  if (starts) {
    dv::TreeItem* t = treeItemOf(itemFromIndex(index));
    // Label editing begins only where the handler allows it.
    if (!t || !model_.handler() || !model_.handler()->treeBeginLabelEdit(t)) return false;
  }
  return QTreeWidget::edit(index, trigger, event);
}

void TreeView::finishLabelEdit(dv::TreeItem* item, const QString& text) {
  if (!model_.contains(item)) return;
  std::string label = fromQ(text);
  bool accepted = model_.handler() && model_.handler()->treeEndLabelEdit(item, label);
  // An accepted edit becomes the item's label; the handler may also have
  // set the label itself, or removed the item.
  if (accepted && model_.contains(item) && item->text != label) model_.setText(item, label);
  sync();
}

void TreeView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    QTreeWidgetItem* q = itemAt(e->position().toPoint());
    rightPressed_ = treeItemOf(q);
    if (q) setCurrentItem(q);
    e->accept();
    return;
  }
  QTreeWidget::mousePressEvent(e);
}

void TreeView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    dv::TreeItem* pressed = rightPressed_;
    rightPressed_ = nullptr;
    dv::TreeItem* t = treeItemOf(itemAt(e->position().toPoint()));
    if (t && t == pressed && model_.contains(t) && model_.handler()) {
      QPoint g = e->globalPosition().toPoint();
      model_.handler()->treeRightClick(t, g.x(), g.y());
    }
    e->accept();
    return;
  }
  QTreeWidget::mouseReleaseEvent(e);
}

void TreeView::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier) {
    dv::TreeItem* t = treeItemOf(currentItem());
    if (t && model_.handler()) model_.handler()->treeDeleteKey(t);
    e->accept();
    return;
  }
  QTreeWidget::keyPressEvent(e);
}

}  // namespace dv::qt
