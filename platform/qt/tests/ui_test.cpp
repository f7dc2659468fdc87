// The UI service's Qt backend: message boxes, pop-up menus, the progress
// window, the wait cursor, posted calls, file dialog filters and help.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QDir>
#include <QFontDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <vector>

#include "dv/dialog.h"
#include "dv/menu.h"
#include "dv/window.h"
#include "qt_menu.h"
#include "qt_test_util.h"
#include "qt_ui.h"

namespace dv::qt {
namespace {

using test::ModalWatchdog;
using test::whenModal;
using test::whenPopup;

TEST(QtUiMessageBox, ButtonsIconsAndResultsFollowTheStyle) {
  QtUi ui;
  ModalWatchdog dog;
  whenModal([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Warning");
    EXPECT_EQ(box->text(), "Save changes to\nLINE01?");
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->buttons().size(), 3);
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Yes));
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(ui.messageBox("Save changes to\nLINE01?", "Warning", MB_YESNOCANCEL | MB_ICONQUESTION),
            IDNO);

  whenModal([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_NE(box->button(QMessageBox::Abort), nullptr);
    box->button(QMessageBox::Retry)->click();
  });
  EXPECT_EQ(ui.messageBox("Could not open file", "Error", MB_ABORTRETRYIGNORE | MB_ICONERROR),
            IDRETRY);

  // Esc: OK on a box with OK alone, Cancel where there is one.
  whenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(ui.messageBox("Done", "Information", MB_OK | MB_ICONINFORMATION), IDOK);
  whenModal([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
  EXPECT_EQ(ui.messageBox("Retry?", "", MB_RETRYCANCEL), IDCANCEL);
}

Menu& sampleMenu(Menu& m) {
  m.append(MF_STRING, 33100, "&Create Profile");
  m.append(MF_STRING | MF_GRAYED, 33101, "&Join");
  m.appendSeparator();
  m.append(MF_STRING | MF_CHECKED, 33102, "&Selected");
  m.appendPopup("&Export")->append(MF_STRING, 33110, "&SEG-Y");
  return m;
}

TEST(QtUiPopup, ShowsTheMenuAndReturnsTheChosenCommand) {
  QtUi ui;
  Menu m;
  sampleMenu(m);
  ModalWatchdog dog;
  whenPopup([](QMenu* menu) {
    QList<QAction*> acts = menu->actions();
    ASSERT_EQ(acts.size(), 5);
    EXPECT_EQ(acts[0]->text(), "&Create Profile");
    EXPECT_FALSE(acts[1]->isEnabled());
    EXPECT_TRUE(acts[2]->isSeparator());
    EXPECT_TRUE(acts[3]->isChecked());
    ASSERT_NE(acts[4]->menu(), nullptr);
    EXPECT_EQ(commandOf(acts[4]->menu()->actions()[0]), 33110);
    menu->setActiveAction(acts[0]);
    QTest::keyClick(menu, Qt::Key_Return);
  });
  EXPECT_EQ(ui.trackPopupMenu(m, 100, 100), 33100);

  whenPopup([](QMenu* menu) { QTest::keyClick(menu, Qt::Key_Escape); });
  EXPECT_EQ(ui.trackPopupMenu(m, 100, 100), 0);
}

TEST(QtUiProgress, OneWindowWithTitleTextAndPosition) {
  QtUi ui;
  ui.progressShow("Create Profile", "Trace 0 of 200");
  ProgressWindow* first = ui.progressWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->isVisible());
  EXPECT_EQ(first->windowTitle(), "Create Profile");
  EXPECT_EQ(first->textLine()->text(), "Trace 0 of 200");
  ui.progressUpdate("Trace 10 of 200", 5);
  EXPECT_EQ(first->textLine()->text(), "Trace 10 of 200");
  EXPECT_EQ(first->bar()->value(), 5);
  EXPECT_EQ(first->bar()->maximum(), 100);

  ui.progressShow("Join", "Starting");
  int shown = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "progressWindow" && w->isVisible()) ++shown;
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(ui.progressWindow()->windowTitle(), "Join");
  ui.progressHide();
  EXPECT_EQ(ui.progressWindow(), nullptr);
  ui.progressUpdate("ignored", 50);  // no window: nothing happens
}

TEST(QtUiServices, WaitCursorIsCountedAndPostedCallsRunLater) {
  QtUi ui;
  ui.setWaitCursor(true);
  ui.setWaitCursor(true);
  ui.setWaitCursor(false);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ui.setWaitCursor(false);
  ui.setWaitCursor(false);  // one too many: ignored
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  std::vector<int> ran;
  ui.post([&] { ran.push_back(1); });
  ui.post([&] {
    ran.push_back(2);
    ui.post([&] { ran.push_back(3); });
  });
  EXPECT_TRUE(ran.empty());
  ui.processPosted();
  ui.processPosted();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(ui.playSound("beep.wav"));
  EXPECT_FALSE(ui.showHelp(1));
}

TEST(QtUiFiles, FiltersNameTheirPatternsOnce) {
  EXPECT_EQ(nameFilter("DELVAR Project (.orx)", "*.orx"), "DELVAR Project (*.orx)");
  EXPECT_EQ(nameFilter("Geometry", "*.geo;*.GEO"), "Geometry (*.geo *.GEO)");
  EXPECT_EQ(nameFilter("", "*.vel"), "*.vel");
  EXPECT_EQ(nameFilter("All Files", ""), "All Files (*)");
}

TEST(QtUiHelp, F1InADialogAsksTheFrameForItsHelpContext) {
  class Handler : public FrameHandler {
   public:
    void frameCommand(int) override {}
    bool frameClose() override { return true; }
    void frameHelp(int context) override { contexts.push_back(context); }
    std::vector<int> contexts;
  } handler;
  FrameModel model;
  model.handler = &handler;
  QtUi ui;
  ui.showFrame(model);
  Dialog d(108, "Edit Defaults", 200, 60);
  d.setHelpContext(2);
  d.addEdit(20005, {7, 18, 190, 30});
  d.addButton(IDOK, "OK", {80, 40, 130, 54}, true);
  ModalWatchdog dog;
  whenModal([](QWidget* w) {
    QTest::keyClick(w, Qt::Key_F1);
    w->findChild<QPushButton*>("ctl1")->click();
  });
  EXPECT_EQ(ui.runModal(d), IDOK);
  EXPECT_EQ(handler.contexts, (std::vector<int>{2}));
}

}  // namespace
}  // namespace dv::qt

namespace dv::qt {
namespace {

TEST(QtUiFiles, SaveDialogStartsWhereAskedAndAddsTheDefaultExtension) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QtUi ui;
  FileDialogRequest req;
  req.save = true;
  req.title = "Save Project";
  req.filters = {{"DELVAR Project (.orx)", "*.orx"}};
  req.initialDir = dir.path().toStdString();
  req.defaultExt = "orx";
  ModalWatchdog dog;
  whenModal([&](QWidget* w) {
    auto* fd = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(fd, nullptr);
    EXPECT_EQ(fd->windowTitle(), "Save Project");
    EXPECT_EQ(fd->nameFilters(), QStringList{"DELVAR Project (*.orx)"});
    EXPECT_EQ(QDir(fd->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    fd->selectFile("site1");
    QMetaObject::invokeMethod(fd, "accept");
  });
  FileDialogResult r = ui.fileDialog(req);
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.paths.size(), 1u);
  EXPECT_EQ(QFileInfo(QString::fromStdString(r.paths[0])).fileName(), "site1.orx");
  EXPECT_EQ(QDir(QFileInfo(QString::fromStdString(r.paths[0])).path()).canonicalPath(),
            QDir(dir.path()).canonicalPath());

  whenModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(ui.fileDialog(req).ok);
}

TEST(QtUiChoices, FontAndColourDialogsStartFromTheStoredChoice) {
  QtUi ui;
  ModalWatchdog dog;
  FontChoice font;
  font.points = 14;
  font.italic = true;
  font.colour = rgb(1, 2, 3);
  whenModal([](QWidget* w) {
    auto* d = qobject_cast<QFontDialog*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->currentFont().pointSize(), 14);
    EXPECT_TRUE(d->currentFont().italic());
    QFont bigger = d->currentFont();
    bigger.setPointSize(20);
    d->setCurrentFont(bigger);
    d->accept();
  });
  ASSERT_TRUE(ui.chooseFont(font));
  EXPECT_EQ(font.points, 20);
  EXPECT_EQ(font.colour, rgb(1, 2, 3));  // the dialog offers no colour
  whenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
  EXPECT_FALSE(ui.chooseFont(font));
  EXPECT_EQ(font.points, 20);

  ColorRef colour = rgb(10, 20, 30);
  whenModal([](QWidget* w) {
    auto* d = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->currentColor(), QColor(10, 20, 30));
    d->setCurrentColor(QColor(0, 128, 255));
    d->accept();
  });
  ASSERT_TRUE(ui.chooseColor(colour));
  EXPECT_EQ(colour, rgb(0, 128, 255));
  EXPECT_EQ(ui.printFile(), "");
}

}  // namespace
}  // namespace dv::qt
