#include "qt_frame.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QPointer>
#include <QTimer>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>

#include <vector>

#include "qt_docwidget.h"
#include "qt_icons.h"
#include "qt_menu.h"
#include "qt_messagebar.h"
#include "qt_tree.h"
#include "qt_util.h"

namespace dv::qt {

namespace {

std::vector<DocWidgetFactory>& factories() {
  static std::vector<DocWidgetFactory> list;
  return list;
}

constexpr int kModulePaneWidth = 75;

// The prompt's first line is the status text; what follows "\n" is the tooltip.
QString promptLine(const std::string& prompt) {
  QString q = toQ(prompt);
  qsizetype nl = q.indexOf(QLatin1Char('\n'));
  return nl >= 0 ? q.left(nl) : q;
}

}  // namespace

void registerDocWidgetFactory(DocWidgetFactory factory) {
  factories().push_back(std::move(factory));
}

// --------------------------------------------------------- title widget ----

DocTitleWidget::DocTitleWidget(dv::DocWindow* window, QWidget* parent)
    : QWidget(parent), window_(window) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
  setMinimumSize(160, 100);
}

void DocTitleWidget::paintEvent(QPaintEvent*) {
  if (!window_) return;
  QPainter p(this);
  p.setPen(palette().color(QPalette::Disabled, QPalette::WindowText));
  p.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
             toQ(window_->title()));
}

// ----------------------------------------------------------------- frame ----

QtFrameWindow::QtFrameWindow(dv::FrameModel& model, QWidget* parent)
    : QMainWindow(parent),
      model_(model),
      mdi_(new QMdiArea(this)),
      tree_(new TreeView(model.tree)),
      messages_(new MessageBarView(model.messageBar)),
      toolBar_(new QToolBar(tr("Standard"), this)),
      treeDock_(new QDockWidget(tr("Project"), this)),
      messageDock_(new QDockWidget(tr("Messages"), this)) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowIcon(appIcon());
  setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);

  mdi_->setObjectName(QStringLiteral("mdiArea"));
  mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);

  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  toolBar_->installEventFilter(this);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  objToolBar_ = new QToolBar(tr("Object"), this);
  objToolBar_->setObjectName(QStringLiteral("objectToolBar"));
  objToolBar_->setIconSize(QSize(16, 16));
  objToolBar_->hide();
  addToolBar(Qt::TopToolBarArea, objToolBar_);

  // The bars are shown and hidden through the View commands only, so the
  // model's flags stay the one truth: no close buttons on them.
  const auto features = QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable;
  treeDock_->setObjectName(QStringLiteral("treeBar"));
  treeDock_->setFeatures(features);
  treeDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  tree_->setMinimumSize(100, 50);
  treeDock_->setWidget(tree_);
  addDockWidget(Qt::LeftDockWidgetArea, treeDock_);

  messageDock_->setObjectName(QStringLiteral("messageBar"));
  messageDock_->setFeatures(features);
  messageDock_->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
  messages_->setMinimumSize(100, 50);
  messageDock_->setWidget(messages_);
  addDockWidget(Qt::BottomDockWidgetArea, messageDock_);
  // The message bar spans the frame's width; the tree bar stands above it.
  setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
  setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
  resizeDocks({treeDock_}, {model_.treeBarWidth}, Qt::Horizontal);
  resizeDocks({messageDock_}, {model_.messageBarHeight}, Qt::Vertical);

  for (int i = 0; i < 5; ++i) {
    auto* pane = new QLabel(this);
    pane->setObjectName(QStringLiteral("pane%1").arg(i));
    pane->setContentsMargins(4, 0, 4, 0);
    if (i == 0) {
      statusBar()->addWidget(pane, 1);
    } else {
      pane->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
      statusBar()->addPermanentWidget(pane);
    }
    panes_.append(pane);
  }
  // Lock-key indicators: the toolkit does not report the lock states, so
  // they keep their place and show greyed.
  for (const char* name : {"CAP", "NUM", "SCRL"}) {
    auto* ind = new QLabel(QString::fromLatin1(name), this);
    ind->setObjectName(QStringLiteral("indicator%1").arg(QString::fromLatin1(name)));
    ind->setAlignment(Qt::AlignCenter);
    ind->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    ind->setMinimumWidth(ind->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
    ind->setEnabled(false);
    statusBar()->addPermanentWidget(ind);
    indicators_.append(ind);
  }

  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
    if (syncingMdi_) return;
    dv::DocWindow* w = docs_.value(sub);
    if (w && model_.mdi.active() != w) {
      syncingMdi_ = true;
      model_.mdi.activate(w);
      syncingMdi_ = false;
    }
    followActiveMenu();
  });

  previousChanged_ = model_.onChanged;
  model_.onChanged = [this](dv::FrameModel::Part part) {
    onModelChanged(part);
    if (previousChanged_) previousChanged_(part);
  };
  previousMdi_ = model_.mdi.onEvent;
  model_.mdi.onEvent = [this](dv::DocWindow* w, dv::MdiArea::Event e) {
    onMdiEvent(w, e);
    if (previousMdi_) previousMdi_(w, e);
  };
  onModelChanged(dv::FrameModel::All);
  for (dv::DocWindow* w : model_.mdi.windows()) addDocument(w);
  if (model_.mdi.active()) onMdiEvent(model_.mdi.active(), dv::MdiArea::Activated);
}

QtFrameWindow::~QtFrameWindow() {
  model_.onChanged = previousChanged_;
  model_.mdi.onEvent = previousMdi_;
  for (auto it = subs_.begin(); it != subs_.end(); ++it) it.key()->onInvalidate = nullptr;
  // The area and its sub-windows go now, while the tables their signals
  // would consult still exist, and without telling the model.
  disconnect(mdi_, nullptr, this, nullptr);
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    disconnect(sub, nullptr, this, nullptr);
    sub->removeEventFilter(this);
  }
  delete mdi_;
  mdi_ = nullptr;
}

QLabel* QtFrameWindow::statusPane(int index) const {
  return index >= 0 && index < panes_.size() ? panes_[index] : nullptr;
}

dv::Menu* QtFrameWindow::activeMenu() const {
  dv::DocWindow* a = model_.mdi.active();
  if (a && a->menuBar()) return a->menuBar();
  return model_.menuBar;
}

void QtFrameWindow::onModelChanged(dv::FrameModel::Part part) {
  using P = dv::FrameModel;
  if (part == P::Title || part == P::All) setWindowTitle(toQ(model_.title));
  if (part == P::MenuBar || part == P::All) rebuildMenuBar();
  if (part == P::ToolBar || part == P::All) {
    rebuildToolBar();
    rebuildObjectToolBar();
  }
  if (part == P::StatusBar || part == P::All) updateStatusBar();
  if (part == P::Bars || part == P::All) updateBars();
}

void QtFrameWindow::rebuildMenuBar() {
  // The old menus may be the ones whose action is being triggered right now:
  // they go once control is back in the event loop.
  for (QMenu* m : menus_) m->deleteLater();
  menus_.clear();
  for (QAction* a : menuBar()->actions()) {
    menuBar()->removeAction(a);
    if (!a->menu() && a->parent() == menuBar()) a->deleteLater();
  }
  dv::Menu* menu = activeMenu();
  shownMenu_ = menu;
  if (menu) {
    for (const auto& item : menu->items()) {
      if (item.popup) {
        auto* q = new QMenu(toQ(item.caption), this);
        q->setEnabled(!item.grayed);
        fillMenu(q, *item.popup, true);
        connectCommands(q);
        connect(q, &QMenu::aboutToShow, this, [this, q] { updateCommandStates(q); });
        connect(q, &QMenu::aboutToHide, this, &QtFrameWindow::restorePrompt);
        menus_.append(q);
        menuBar()->addMenu(q);
      } else if (item.separator) {
        menuBar()->addSeparator();
      } else {
        QAction* a = makeAction(menuBar(), item, true);
        connectCommand(a);
        menuBar()->addAction(a);
      }
    }
  }
  updateToolStates();
}

void QtFrameWindow::connectCommand(QAction* a) {
  // Each action reports itself: however it is triggered (a click, its
  // shortcut, a script), the command is sent once.
  int id = commandOf(a);
  if (!id) return;
  connect(a, &QAction::triggered, this, [this, id] { command(id); });
  connect(a, &QAction::hovered, this, [this, id] { showPrompt(id); });
}

void QtFrameWindow::connectCommands(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    if (a->menu()) connectCommands(a->menu());
    else connectCommand(a);
  }
}

void QtFrameWindow::followActiveMenu() {
  if (activeMenu() != shownMenu_) rebuildMenuBar();
  else updateToolStates();
  rebuildObjectToolBar();
}

void QtFrameWindow::rebuildObjectToolBar() {
  if (!objToolBar_) return;
  // A button may be the one being triggered right now: it goes later.
  for (QAction* a : objToolBar_->actions()) {
    objToolBar_->removeAction(a);
    if (a->parent() == objToolBar_) a->deleteLater();
  }
  dv::DocWindow* doc = model_.mdi.active();
  const std::vector<dv::ToolButton>* buttons = doc ? doc->toolBar() : nullptr;
  bool any = false;
  if (buttons)
    for (const auto& b : *buttons) {
      if (b.hidden) continue;
      if (b.id == 0) {
        objToolBar_->addSeparator();
        continue;
      }
      QString tip = toQ(b.tooltip);
      QAction* a = objToolBar_->addAction(toolIcon(toQ(b.icon), tip), tip);
      a->setToolTip(tip);
      a->setCheckable(b.checked);
      a->setChecked(b.checked);
      setCommandOf(a, b.id);
      connectCommand(a);
      any = true;
    }
  objToolBar_->setVisible(any && model_.toolBarVisible);
}

void QtFrameWindow::updateCommandStates(QMenu* menu) {
  dv::Menu* m = activeMenu();
  dv::DocWindow* doc = model_.mdi.active();
  for (QAction* a : menu->actions()) {
    if (a->menu()) {
      updateCommandStates(a->menu());
      continue;
    }
    int id = commandOf(a);
    if (!id) continue;
    const dv::MenuItem* item = m ? m->find(id) : nullptr;
    bool enabled = item ? !item->grayed : a->isEnabled();
    // The active document window has the last word on its commands.
    if (doc) {
      int state = doc->commandState(id);
      if (state >= 0) enabled = state != 0;
    }
    a->setEnabled(enabled);
    if (item) {
      if (item->checked) a->setCheckable(true);
      if (a->isCheckable()) a->setChecked(item->checked);
    }
  }
}

void QtFrameWindow::rebuildToolBar() {
  toolBar_->clear();
  for (const auto& b : model_.toolbar) {
    if (b.id == 0) {
      toolBar_->addSeparator();
      continue;
    }
    QString tip = toQ(b.tooltip);
    QAction* a = toolBar_->addAction(toolIcon(toQ(b.icon), tip), tip);
    a->setToolTip(tip);
    setCommandOf(a, b.id);
    connectCommand(a);
  }
  updateToolStates();
}

void QtFrameWindow::updateToolStates() {
  dv::Menu* m = activeMenu();
  dv::DocWindow* doc = model_.mdi.active();
  for (QAction* a : toolBar_->actions()) {
    int id = commandOf(a);
    if (!id) continue;
    const dv::MenuItem* item = m ? m->find(id) : nullptr;
    bool enabled = item ? !item->grayed : true;
    if (doc) {
      int state = doc->commandState(id);
      if (state >= 0) enabled = state != 0;
    }
    a->setEnabled(enabled);
  }
}

void QtFrameWindow::updateStatusBar() {
  for (int i = 0; i < panes_.size(); ++i) {
    QString text = i < (int)model_.statusPanes.size() ? toQ(model_.statusPanes[(size_t)i]) : QString();
    if (i == 0 && text.isEmpty()) text = tr("Ready");
    panes_[i]->setText(text);
    if (i > 0) {
      int w = i < (int)model_.statusWidths.size() && model_.statusWidths[(size_t)i] > 0
                  ? model_.statusWidths[(size_t)i]
                  : kModulePaneWidth;
      panes_[i]->setFixedWidth(w);
    }
  }
}

void QtFrameWindow::updateBars() {
  toolBar_->setVisible(model_.toolBarVisible);
  statusBar()->setVisible(model_.statusBarVisible);
  treeDock_->setVisible(model_.treeBarVisible);
  messageDock_->setVisible(model_.messageBarVisible);
}

void QtFrameWindow::command(int id) {
  if (id && model_.handler) model_.handler->frameCommand(id);
}

void QtFrameWindow::showPrompt(int id) {
  if (!model_.handler || !id) return;
  panes_[0]->setText(promptLine(model_.handler->framePrompt(id)));
}

void QtFrameWindow::restorePrompt() {
  QString text = model_.statusPanes.empty() ? QString() : toQ(model_.statusPanes[0]);
  panes_[0]->setText(text.isEmpty() ? tr("Ready") : text);
}

// ------------------------------------------------------ document windows ----

QWidget* QtFrameWindow::createDocWidget(dv::DocWindow* window) {
  auto& list = factories();
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (QWidget* w = (*it)(window, nullptr)) return w;
  // A window that paints is shown by the generic document widget.
  if (window && window->pane()) return new QtDocWidget(window);
  return new DocTitleWidget(window);
}

void QtFrameWindow::addDocument(dv::DocWindow* w) {
  if (!w || subs_.contains(w)) return;
  const dv::DocPlacement saved = w->placement;
  QWidget* content = createDocWidget(w);
  auto* sub = new QMdiSubWindow;
  sub->setWidget(content);
  sub->setWindowTitle(toQ(w->title()));
  sub->setWindowIcon(appIcon());
  mdi_->addSubWindow(sub);
  subs_.insert(w, sub);
  docs_.insert(sub, w);
  sub->installEventFilter(this);
  connect(sub, &QMdiSubWindow::windowStateChanged, this,
          [this, sub](Qt::WindowStates, Qt::WindowStates now) {
            if (dv::DocWindow* d = docs_.value(sub)) d->setMaximized(now & Qt::WindowMaximized);
          });
  w->onInvalidate = [sub, content, w] {
    sub->setWindowTitle(toQ(w->title()));
    content->update();
  };
  // New windows cascade from the top left, each a little lower and to the
  // right, and stay inside the area. Before the frame has been laid out the
  // area's own size means nothing yet; the screen less the docked bars
  // stands in for it. A window that knows its place (restored with a
  // project) goes there.
  if (saved.valid()) {
    const dv::Rect& r = saved.normal;
    sub->setGeometry(r.left, r.top, r.width(), r.height());
  } else {
    QSize area = mdi_->viewport()->size();
    if (area.width() < 400 || area.height() < 300) {
      QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1280, 800);
      area = QSize(screen.width() - model_.treeBarWidth - 40,
                   screen.height() - model_.messageBarHeight - 160);
    }
    QSize size(std::max(area.width() * 3 / 4, 320), std::max(area.height() * 3 / 4, 220));
    int step = 26 * int((subs_.size() - 1) % 8);
    if (step + size.width() > area.width() || step + size.height() > area.height()) step = 0;
    sub->setGeometry(QRect(QPoint(step, step), size));
  }
  if (w->maximized()) sub->showMaximized();
  else sub->show();
}

void QtFrameWindow::removeDocument(dv::DocWindow* w) {
  QMdiSubWindow* sub = subs_.take(w);
  if (!sub) return;
  docs_.remove(sub);
  w->onInvalidate = nullptr;
  if (auto* t = qobject_cast<DocTitleWidget*>(sub->widget())) t->detach();
  if (auto* d = qobject_cast<QtDocWidget*>(sub->widget())) d->detachWindow();
  // Qt activates another window by itself; the model's own Activated event
  // that follows a removal says which.
  syncingMdi_ = true;
  sub->hide();
  mdi_->removeSubWindow(sub);
  syncingMdi_ = false;
  sub->deleteLater();
  if (subs_.isEmpty()) followActiveMenu();
}

void QtFrameWindow::onMdiEvent(dv::DocWindow* w, dv::MdiArea::Event e) {
  QMdiSubWindow* sub = w ? subs_.value(w) : nullptr;
  switch (e) {
    case dv::MdiArea::Added: addDocument(w); break;
    case dv::MdiArea::Removed: removeDocument(w); break;
    case dv::MdiArea::Activated:
      if (sub && mdi_->activeSubWindow() != sub && !syncingMdi_) {
        syncingMdi_ = true;
        mdi_->setActiveSubWindow(sub);
        syncingMdi_ = false;
      }
      followActiveMenu();
      break;
    case dv::MdiArea::Maximized:
      if (sub) {
        if (w->maximized()) sub->showMaximized();
        else sub->showNormal();
      }
      break;
    case dv::MdiArea::Cascade: mdi_->cascadeSubWindows(); break;
    case dv::MdiArea::TileHorizontal: tile(true); break;
    case dv::MdiArea::TileVertical: tile(false); break;
    case dv::MdiArea::ArrangeIcons: arrangeIcons(); break;
  }
}

void QtFrameWindow::tile(bool horizontal) {
  // Horizontally: the windows one above the other, each the full width;
  // vertically: side by side, each the full height.
  QList<QMdiSubWindow*> subs;
  for (QMdiSubWindow* s : mdi_->subWindowList(QMdiArea::CreationOrder))
    if (s->isVisible() && !s->isMinimized()) subs.append(s);
  if (subs.isEmpty()) return;
  QRect area = mdi_->viewport()->rect();
  int n = (int)subs.size();
  for (int i = 0; i < n; ++i) {
    QMdiSubWindow* s = subs[i];
    if (s->isMaximized()) s->showNormal();
    if (horizontal) {
      int top = area.height() * i / n, bottom = area.height() * (i + 1) / n;
      s->setGeometry(0, top, area.width(), bottom - top);
    } else {
      int left = area.width() * i / n, right = area.width() * (i + 1) / n;
      s->setGeometry(left, 0, right - left, area.height());
    }
  }
}

void QtFrameWindow::arrangeIcons() {
  QRect area = mdi_->viewport()->rect();
  int x = 0;
  for (QMdiSubWindow* s : mdi_->subWindowList(QMdiArea::CreationOrder)) {
    if (!s->isMinimized()) continue;
    s->move(x, area.height() - s->height());
    x += s->width();
  }
}

bool QtFrameWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange) {
    // The document window keeps its placement (saved with its item).
    auto* sub = qobject_cast<QMdiSubWindow*>(watched);
    if (dv::DocWindow* w = sub ? docs_.value(sub) : nullptr) {
      dv::DocPlacement p;
      const QRect g = sub->isMaximized() || sub->isMinimized() ? sub->normalGeometry()
                                                               : sub->geometry();
      p.normal = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
      p.minimized = sub->isMinimized();
      p.maximized = sub->isMaximized();
      if (p.valid()) w->onPlacement(p);
    }
  }
  if (event->type() == QEvent::Close) {
    auto* sub = qobject_cast<QMdiSubWindow*>(watched);
    dv::DocWindow* w = sub ? docs_.value(sub) : nullptr;
    if (w) {
      // The document window decides; on yes the area removes it, and the
      // Removed event takes the sub-window away.
      event->ignore();
      if (w->onClose() && docs_.contains(sub)) model_.mdi.remove(w);
      return true;
    }
  } else if (event->type() == QEvent::Leave && watched == toolBar_) {
    restorePrompt();
  }
  return QMainWindow::eventFilter(watched, event);
}

void QtFrameWindow::closeEvent(QCloseEvent* e) {
  if (model_.handler && !model_.handler->frameClose()) {
    e->ignore();
    return;
  }
  e->accept();
}

}  // namespace dv::qt
