// The main frame's view: menu bar and toolbar from the model with their
// greyed and checked states, commands and prompts reaching the handler, the
// status panes, the bars' visibility and the document windows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QToolBar>

#include <memory>
#include <vector>

#include "dv/window.h"
#include "qt_frame.h"
#include "qt_menu.h"
#include "qt_ui.h"

namespace dv::qt {
namespace {

class Handler : public FrameHandler {
 public:
  void frameCommand(int id) override { commands.push_back(id); }
  bool frameClose() override {
    ++closeAsked;
    return allowClose;
  }
  std::string framePrompt(int id) override {
    return id == 32800 ? "Opens or creates an DELVAR project\nOpen/Create Project" : "";
  }
  void frameHelp(int context) override { helps.push_back(context); }
  std::vector<int> commands, helps;
  int closeAsked = 0;
  bool allowClose = false;
};

class Doc : public DocWindow {
 public:
  explicit Doc(const std::string& t) { setTitle(t); }
  bool onClose() override {
    ++closeAsked;
    return allowClose;
  }
  Menu* menuBar() override { return ownMenu.get(); }
  int commandState(int id) override { return id == 57607 ? 1 : -1; }
  std::unique_ptr<Menu> ownMenu;
  int closeAsked = 0;
  bool allowClose = true;
};

struct Frame {
  Frame() {
    Menu* file = menu.appendPopup("&File");
    file->append(MF_STRING, 32800, "&Open/Create Project");
    file->append(MF_STRING | MF_GRAYED, 32801, "&Close Project");
    file->appendSeparator();
    file->append(MF_STRING | MF_GRAYED, 57607, "&Print\tCtrl+P");
    Menu* recent = file->appendPopup("Recent");
    recent->append(MF_STRING, 33001, "Site1");
    Menu* view = menu.appendPopup("&View");
    view->append(MF_STRING | MF_CHECKED, 32806, "T&ree Bar");
    view->append(MF_STRING, 32807, "&Message Bar");
    model.title = "DELVAR";
    model.menuBar = &menu;
    model.handler = &handler;
    model.toolbar = {{32800, "document-open", "Open/Create Project"},
                     {32801, "document-close", "Close Project"},
                     {0, "", ""},
                     {57607, "document-print", "Print"}};
    model.statusPanes = {"", "", "Profile 3"};
    window = std::make_unique<QtFrameWindow>(model);
  }
  QMenu* topMenu(int i) { return window->menuBar()->actions().at(i)->menu(); }
  QAction* action(QMenu* m, int id) {
    for (QAction* a : m->actions()) {
      if (a->menu())
        if (QAction* sub = action(a->menu(), id)) return sub;
      if (commandOf(a) == id) return a;
    }
    return nullptr;
  }
  Menu menu;
  Handler handler;
  FrameModel model;
  std::unique_ptr<QtFrameWindow> window;
};

TEST(QtFrame, MenuBarShowsTheModelsMenusAndStates) {
  Frame f;
  EXPECT_EQ(f.window->windowTitle(), "DELVAR");
  ASSERT_EQ(f.window->menuBar()->actions().size(), 2);
  QMenu* file = f.topMenu(0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->title(), "&File");
  ASSERT_EQ(file->actions().size(), 5);
  EXPECT_TRUE(file->actions()[2]->isSeparator());
  EXPECT_EQ(file->actions()[4]->menu()->title(), "Recent");
  EXPECT_TRUE(f.action(file, 32800)->isEnabled());
  EXPECT_FALSE(f.action(file, 32801)->isEnabled());
  // The accelerator text becomes the entry's shortcut.
  EXPECT_EQ(f.action(file, 57607)->text(), "&Print");
  EXPECT_EQ(f.action(file, 57607)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
  QAction* tree = f.action(f.topMenu(1), 32806);
  EXPECT_TRUE(tree->isCheckable() && tree->isChecked());
  EXPECT_FALSE(f.action(f.topMenu(1), 32807)->isChecked());
}

TEST(QtFrame, TriggeredEntriesReachTheHandler) {
  Frame f;
  f.action(f.topMenu(0), 32800)->trigger();
  f.action(f.topMenu(0), 33001)->trigger();
  f.action(f.topMenu(0), 32801)->trigger();  // greyed: nothing happens
  EXPECT_EQ(f.handler.commands, (std::vector<int>{32800, 33001}));
}

TEST(QtFrame, MenuBarIsRebuiltWhenTheModelSaysSo) {
  Frame f;
  f.menu.enable(32801, true);
  f.menu.check(32806, false);
  Menu* quv = f.menu.appendPopup("&0-QUV");
  quv->append(MF_STRING, 35000, "Create Profile");
  f.model.changed(FrameModel::MenuBar);
  ASSERT_EQ(f.window->menuBar()->actions().size(), 3);
  EXPECT_EQ(f.topMenu(2)->title(), "&0-QUV");
  EXPECT_TRUE(f.action(f.topMenu(0), 32801)->isEnabled());
  EXPECT_FALSE(f.action(f.topMenu(1), 32806)->isChecked());
  f.action(f.topMenu(2), 35000)->trigger();
  EXPECT_EQ(f.handler.commands, (std::vector<int>{35000}));
}

TEST(QtFrame, HoveringAnEntryShowsItsPromptInTheMessagePane) {
  Frame f;
  QLabel* pane = f.window->statusPane(0);
  EXPECT_EQ(pane->text(), "Ready");
  f.action(f.topMenu(0), 32800)->hover();
  EXPECT_EQ(pane->text(), "Opens or creates an DELVAR project");
  emit f.topMenu(0)->aboutToHide();
  EXPECT_EQ(pane->text(), "Ready");
}

TEST(QtFrame, ToolbarFollowsTheModelAndTheMenuStates) {
  Frame f;
  QList<QAction*> acts = f.window->toolBar()->actions();
  ASSERT_EQ(acts.size(), 4);
  EXPECT_TRUE(acts[2]->isSeparator());
  EXPECT_EQ(acts[0]->toolTip(), "Open/Create Project");
  EXPECT_FALSE(acts[0]->icon().isNull());
  EXPECT_TRUE(acts[0]->isEnabled());
  EXPECT_FALSE(acts[1]->isEnabled());  // greyed in the menu
  acts[0]->trigger();
  EXPECT_EQ(f.handler.commands, (std::vector<int>{32800}));
}

TEST(QtFrame, StatusPanesAndBarsFollowTheModel) {
  Frame f;
  EXPECT_EQ(f.window->statusPane(2)->text(), "Profile 3");
  EXPECT_EQ(f.window->statusPane(1)->width(), 75);
  f.model.statusPanes[1] = "Trace 10";
  f.model.changed(FrameModel::StatusBar);
  EXPECT_EQ(f.window->statusPane(1)->text(), "Trace 10");

  EXPECT_FALSE(f.window->treeBar()->isHidden());
  f.model.treeBarVisible = false;
  f.model.toolBarVisible = false;
  f.model.changed(FrameModel::Bars);
  EXPECT_TRUE(f.window->treeBar()->isHidden());
  EXPECT_TRUE(f.window->toolBar()->isHidden());
  EXPECT_FALSE(f.window->messageBar()->isHidden());
  EXPECT_EQ(f.window->treeBar()->widget()->objectName(), "ctl20000");
  EXPECT_EQ(f.window->messageBar()->widget()->objectName(), "ctl20001");
}

TEST(QtFrame, DocumentWindowsComeAndGoWithTheArea) {
  Doc a("LINE01 - T01"), b("LINE02 - T01");
  Frame f;
  f.model.mdi.add(&a);
  f.model.mdi.add(&b);
  ASSERT_EQ(f.window->mdiArea()->subWindowList().size(), 2);
  QMdiSubWindow* subA = f.window->subWindowOf(&a);
  ASSERT_NE(subA, nullptr);
  EXPECT_EQ(subA->windowTitle(), "LINE01 - T01");
  EXPECT_NE(qobject_cast<DocTitleWidget*>(subA->widget()), nullptr);
  a.setTitle("LINE01 - D01");
  EXPECT_EQ(subA->windowTitle(), "LINE01 - D01");

  // The user activates a window: the area hears of it.
  f.window->mdiArea()->setActiveSubWindow(subA);
  EXPECT_EQ(f.model.mdi.active(), &a);
  f.model.mdi.activate(&b);
  EXPECT_EQ(f.window->mdiArea()->activeSubWindow(), f.window->subWindowOf(&b));

  f.model.mdi.remove(&b);
  QApplication::processEvents();
  EXPECT_EQ(f.window->subWindowOf(&b), nullptr);
  EXPECT_EQ(f.window->mdiArea()->subWindowList().size(), 1);
}

TEST(QtFrame, ClosingADocumentWindowAsksItFirst) {
  Doc a("LINE01 - T01");
  Frame f;
  a.allowClose = false;
  f.model.mdi.add(&a);
  QMdiSubWindow* sub = f.window->subWindowOf(&a);
  sub->close();
  EXPECT_EQ(a.closeAsked, 1);
  EXPECT_EQ(f.model.mdi.windows().size(), 1u);
  a.allowClose = true;
  sub->close();
  EXPECT_EQ(a.closeAsked, 2);
  EXPECT_TRUE(f.model.mdi.windows().empty());
  QApplication::processEvents();
  EXPECT_TRUE(f.window->mdiArea()->subWindowList().empty());
}

TEST(QtFrame, AnActiveDocumentWindowMayBringItsOwnMenu) {
  Doc a("LINE01 - T01");
  Frame f;
  a.ownMenu = std::make_unique<Menu>();
  a.ownMenu->appendPopup("&File")->append(MF_STRING | MF_GRAYED, 57607, "&Print");
  a.ownMenu->appendPopup("&Profile")->append(MF_STRING, 35100, "&Gain");
  f.model.mdi.add(&a);
  ASSERT_EQ(f.window->menuBar()->actions().size(), 2);
  EXPECT_EQ(f.topMenu(1)->title(), "&Profile");
  // The window's command state wins over the menu's grey when the menu opens.
  emit f.topMenu(0)->aboutToShow();
  EXPECT_TRUE(f.action(f.topMenu(0), 57607)->isEnabled());
  f.model.mdi.remove(&a);
  EXPECT_EQ(f.topMenu(1)->title(), "&View");
}

TEST(QtFrame, RegisteredFactoriesMakeTheDocumentWidgets) {
  registerDocWidgetFactory([](DocWindow* w, QWidget*) -> QWidget* {
    if (w->title().rfind("RAW", 0) != 0) return nullptr;
    auto* label = new QLabel(QString::fromStdString(w->title()));
    label->setObjectName("rawView");
    return label;
  });
  Doc raw("RAW LINE01"), profile("LINE01 - T01");
  Frame f;
  f.model.mdi.add(&raw);
  f.model.mdi.add(&profile);
  EXPECT_EQ(f.window->subWindowOf(&raw)->widget()->objectName(), "rawView");
  EXPECT_NE(qobject_cast<DocTitleWidget*>(f.window->subWindowOf(&profile)->widget()), nullptr);
}

TEST(QtFrame, ClosingTheFrameAsksTheHandler) {
  Frame f;
  f.window->show();
  f.window->close();
  EXPECT_EQ(f.handler.closeAsked, 1);
  EXPECT_TRUE(f.window->isVisible());
  f.handler.allowClose = true;
  f.window->close();
  EXPECT_FALSE(f.window->isVisible());
}

TEST(QtUiFrame, ShowFrameShowsTheModelMaximised) {
  QtUi ui;
  Menu menu;
  menu.appendPopup("&File")->append(MF_STRING, 57665, "E&xit");
  FrameModel model;
  model.title = "DELVAR";
  model.menuBar = &menu;
  ui.showFrame(model);
  ASSERT_NE(ui.frameWindow(), nullptr);
  EXPECT_TRUE(ui.frameWindow()->isVisible());
  EXPECT_TRUE(ui.frameWindow()->windowState() & Qt::WindowMaximized);
}

}  // namespace
}  // namespace dv::qt
