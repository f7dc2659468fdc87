// The main frame's view: a main window showing a dv::FrameModel with its
// menu bar, toolbar, status bar, the dockable tree bar and message bar and
// the multiple-document area. User actions go to the model's FrameHandler,
// the TreeHandler and the document windows.
#pragma once

#include <QHash>
#include <QMainWindow>

#include <functional>

#include "dv/window.h"

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace dv::qt {

class MessageBarView;
class TreeView;

// Makes the widget that shows a document window inside its sub-window, or
// returns nullptr to leave the window to another factory. The display
// windows register theirs; the last registered is asked first.
using DocWidgetFactory = std::function<QWidget*(dv::DocWindow* window, QWidget* parent)>;
void registerDocWidgetFactory(DocWidgetFactory factory);

// The stand-in content of a document window no factory claims: its title.
class DocTitleWidget : public QWidget {
  Q_OBJECT
 public:
  DocTitleWidget(dv::DocWindow* window, QWidget* parent = nullptr);
  // The document window is gone; nothing is read from it any more.
  void detach() { window_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  dv::DocWindow* window_;
};

class QtFrameWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit QtFrameWindow(dv::FrameModel& model, QWidget* parent = nullptr);
  ~QtFrameWindow() override;

  dv::FrameModel& model() const { return model_; }
  QMdiArea* mdiArea() const { return mdi_; }
  TreeView* treeView() const { return tree_; }
  MessageBarView* messageView() const { return messages_; }
  QToolBar* toolBar() const { return toolBar_; }
  QDockWidget* treeBar() const { return treeDock_; }
  QDockWidget* messageBar() const { return messageDock_; }
  // Status panes: 0 the message pane, 1..4 the modules' panes.
  QLabel* statusPane(int index) const;
  QMdiSubWindow* subWindowOf(dv::DocWindow* w) const { return subs_.value(w); }
  // The menu the menu bar shows: the active document window's own, else the frame's.
  dv::Menu* activeMenu() const;

  void rebuildMenuBar();
  void rebuildToolBar();
  // The active document window's object toolbar, beside the frame's.
  void rebuildObjectToolBar();
  QToolBar* objectToolBar() const { return objToolBar_; }
  void updateStatusBar();
  void updateBars();

 protected:
  // The content widget of a new document window (registered factories, then
  // a DocTitleWidget).
  virtual QWidget* createDocWidget(dv::DocWindow* window);
  void closeEvent(QCloseEvent* e) override;
  QMenu* createPopupMenu() override { return nullptr; }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void onModelChanged(dv::FrameModel::Part part);
  void onMdiEvent(dv::DocWindow* w, dv::MdiArea::Event e);
  void addDocument(dv::DocWindow* w);
  void removeDocument(dv::DocWindow* w);
  void tile(bool horizontal);
  void arrangeIcons();
  void command(int id);
  void connectCommand(QAction* a);
  void connectCommands(QMenu* menu);
  void showPrompt(int id);
  void restorePrompt();
  void updateCommandStates(QMenu* menu);
  void updateToolStates();
  // After an activation: a rebuild only when another menu is to be shown.
  void followActiveMenu();

  dv::FrameModel& model_;
  std::function<void(dv::FrameModel::Part)> previousChanged_;
  std::function<void(dv::DocWindow*, dv::MdiArea::Event)> previousMdi_;
  QMdiArea* mdi_;
  TreeView* tree_;
  MessageBarView* messages_;
  QToolBar* toolBar_;
  QToolBar* objToolBar_ = nullptr;
  QDockWidget* treeDock_;
  QDockWidget* messageDock_;
  QList<QLabel*> panes_;
  QList<QLabel*> indicators_;
  QList<QMenu*> menus_;
  const dv::Menu* shownMenu_ = nullptr;
  QHash<dv::DocWindow*, QMdiSubWindow*> subs_;
  QHash<QMdiSubWindow*, dv::DocWindow*> docs_;
  bool syncingMdi_ = false;
};

}  // namespace dv::qt
