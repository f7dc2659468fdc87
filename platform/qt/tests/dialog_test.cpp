// Dialogs built from their descriptions: values travel widget <-> Control,
// user actions reach the handlers with their notification codes, and the
// dialog alone decides when it ends.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <utility>
#include <vector>

#include "dv/dialog.h"
#include "qt_dialog.h"
#include "qt_grid.h"
#include "qt_test_util.h"
#include "qt_ui.h"

namespace dv::qt {
namespace {

using test::ModalWatchdog;
using test::whenModal;

enum { kName = 101, kList = 102, kLinear = 103, kSpline = 104, kHide = 105, kGrid = 106,
       kFill = 110, kNotes = 111, kUnits = 112, kFont = 113, kTabs = 114, kOther = 115 };

class SampleDialog : public Dialog {
 public:
  SampleDialog() : Dialog(300, "Sample", 240, 190) {
    addStatic(-1, "&Name:", {7, 7, 40, 15});
    addEdit(kName, {45, 5, 160, 17});
    addList(kList, {7, 22, 90, 80});
    add(ControlKind::Group, -1, "Interpolate:", {100, 20, 233, 62});
    addRadio(kLinear, "Linear", {106, 30, 200, 40}, true);
    addRadio(kSpline, "Cubic Spline", {106, 44, 200, 54});
    addCheck(kHide, "Hide first/last", {100, 66, 233, 76});
    addGrid(kGrid, {7, 85, 233, 140});
    addEdit(kNotes, {7, 144, 120, 170}).multiline = true;
    addCombo(kUnits, {125, 144, 180, 220});
    addCombo(kFont, {185, 144, 233, 220}).editable = true;
    addButton(kFill, "&Fill", {7, 173, 57, 187});
    addButton(IDOK, "OK", {127, 173, 177, 187}, true);
    addButton(IDCANCEL, "Cancel", {183, 173, 233, 187});
  }
  bool onInitDialog() override {
    setText(kName, "LINE01");
    setItems(kList, {"Gssi", "Pulse Ekko", "Ramac"});
    setSelection(kList, 1);
    checkRadio(kLinear);
    setText(kNotes, "first\r\nsecond");
    setItems(kUnits, {"m", "ft", "cm"});
    setSelection(kUnits, 0);
    setItems(kFont, {"8", "10", "12"});
    setText(kFont, "10");
    GridModel* g = grid(kGrid);
    g->setSize(3, 2);
    g->setText(0, 0, "Time (ns)");
    g->setText(0, 1, "Velocity (m/ns)");
    g->setText(1, 0, "10.00");
    g->setText(1, 1, "0.100");
    ++inits;
    return true;
  }
  void onCommand(int id, int notify) override {
    log.emplace_back(id, notify);
    if (id == kFill && notify == BN_CLICKED) {
      setText(kName, "filled");
      checkRadio(kSpline);
      setCheck(kHide, 1);
      enable(kUnits, false);
      show(kNotes, false);
      setItems(kList, {"Seg-2", "Seg-Y"});
      setSelection(kList, 0);
    }
    Dialog::onCommand(id, notify);
  }
  void onGridEdited(int gridId, int row, int col) override {
    edits.push_back({gridId, row, col});
    grid(gridId)->setText(row, col, grid(gridId)->text(row, col) + "!");
  }
  bool saw(int id, int notify) const {
    for (auto& [i, n] : log)
      if (i == id && n == notify) return true;
    return false;
  }
  std::vector<std::pair<int, int>> log;
  std::vector<std::vector<int>> edits;
  int inits = 0;
};

template <class T>
T* ctl(QWidget* dlg, int id) {
  T* w = dlg->findChild<T*>(QStringLiteral("ctl%1").arg(id));
  EXPECT_NE(w, nullptr) << "control " << id;
  return w;
}

TEST(QtDialog, ShowsTheControlValuesSetAtInitialisation) {
  QtUi ui;
  SampleDialog d;
  ModalWatchdog dog;
  whenModal([](QWidget* dlg) {
    EXPECT_EQ(dlg->windowTitle(), "Sample");
    EXPECT_EQ(ctl<QLineEdit>(dlg, kName)->text(), "LINE01");
    auto* list = ctl<QListWidget>(dlg, kList);
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_TRUE(list->item(1)->isSelected());
    EXPECT_TRUE(ctl<QRadioButton>(dlg, kLinear)->isChecked());
    EXPECT_FALSE(ctl<QRadioButton>(dlg, kSpline)->isChecked());
    EXPECT_EQ(ctl<QPlainTextEdit>(dlg, kNotes)->toPlainText(), "first\nsecond");
    EXPECT_EQ(ctl<QComboBox>(dlg, kUnits)->currentText(), "m");
    EXPECT_EQ(ctl<QComboBox>(dlg, kFont)->currentText(), "10");
    auto* grid = ctl<GridView>(dlg, kGrid);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), "0.100");
    // The label's mnemonic leads to the edit after it; a combo box is as
    // tall as one line, not as its dropped-down list.
    auto* label = dlg->findChild<QLabel*>(QStringLiteral("ctl-1"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->buddy(), ctl<QLineEdit>(dlg, kName));
    EXPECT_LT(ctl<QComboBox>(dlg, kUnits)->height(), 40);
    ctl<QPushButton>(dlg, IDCANCEL)->click();
  });
  EXPECT_EQ(ui.runModal(d), IDCANCEL);
  EXPECT_EQ(d.inits, 1);
}

TEST(QtDialog, UserActionsReachTheHandlersAndTheControls) {
  QtUi ui;
  SampleDialog d;
  ModalWatchdog dog;
  whenModal([&d](QWidget* dlg) {
    ctl<QLineEdit>(dlg, kName)->setText("LINE02");
    EXPECT_TRUE(d.saw(kName, EN_CHANGE));
    EXPECT_EQ(d.text(kName), "LINE02");  // copied before the handler ran
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(ctl<QLineEdit>(dlg, kName), &out);
    EXPECT_TRUE(d.saw(kName, EN_KILLFOCUS));
    ctl<QListWidget>(dlg, kList)->setCurrentRow(2);
    EXPECT_TRUE(d.saw(kList, LBN_SELCHANGE));
    ctl<QRadioButton>(dlg, kSpline)->click();
    EXPECT_TRUE(d.saw(kSpline, BN_CLICKED));
    EXPECT_FALSE(ctl<QRadioButton>(dlg, kLinear)->isChecked());
    ctl<QCheckBox>(dlg, kHide)->click();
    EXPECT_TRUE(d.saw(kHide, BN_CLICKED));
    ctl<QPlainTextEdit>(dlg, kNotes)->setPlainText("one\ntwo");
    EXPECT_TRUE(d.saw(kNotes, EN_CHANGE));
    ctl<QComboBox>(dlg, kUnits)->setCurrentIndex(2);
    EXPECT_TRUE(d.saw(kUnits, CBN_SELCHANGE));
    QTest::keyClicks(ctl<QComboBox>(dlg, kFont)->lineEdit(), "4");
    EXPECT_TRUE(d.saw(kFont, EN_CHANGE));
    ctl<QPushButton>(dlg, IDOK)->click();
  });
  EXPECT_EQ(ui.runModal(d), IDOK);
  EXPECT_TRUE(d.saw(IDOK, BN_CLICKED));
  EXPECT_EQ(d.text(kName), "LINE02");
  EXPECT_EQ(d.selection(kList), 2);
  EXPECT_EQ(d.check(kLinear), 0);
  EXPECT_EQ(d.check(kSpline), 1);
  EXPECT_EQ(d.check(kHide), 1);
  EXPECT_EQ(d.text(kNotes), "one\r\ntwo");
  EXPECT_EQ(d.selection(kUnits), 2);
  EXPECT_EQ(d.text(kFont), "104");
  EXPECT_EQ(d.selection(kFont), -1);  // typed text that is no entry
}

TEST(QtDialog, HandlerChangesShowWithoutNotifyingAgain) {
  QtUi ui;
  SampleDialog d;
  ModalWatchdog dog;
  whenModal([&d](QWidget* dlg) {
    ctl<QPushButton>(dlg, kFill)->click();
    EXPECT_EQ(ctl<QLineEdit>(dlg, kName)->text(), "filled");
    EXPECT_TRUE(ctl<QRadioButton>(dlg, kSpline)->isChecked());
    EXPECT_FALSE(ctl<QRadioButton>(dlg, kLinear)->isChecked());
    EXPECT_TRUE(ctl<QCheckBox>(dlg, kHide)->isChecked());
    EXPECT_FALSE(ctl<QComboBox>(dlg, kUnits)->isEnabled());
    EXPECT_TRUE(ctl<QPlainTextEdit>(dlg, kNotes)->isHidden());
    auto* list = ctl<QListWidget>(dlg, kList);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "Seg-2");
    EXPECT_EQ(list->currentRow(), 0);
    // The pushed values raised no notification of their own.
    EXPECT_FALSE(d.saw(kName, EN_CHANGE));
    EXPECT_FALSE(d.saw(kList, LBN_SELCHANGE));
    ctl<QPushButton>(dlg, IDOK)->click();
  });
  EXPECT_EQ(ui.runModal(d), IDOK);
  EXPECT_EQ(d.text(kName), "filled");
  EXPECT_EQ(d.selectedText(kList), "Seg-2");
}

TEST(QtDialog, GridEditsReachTheDialogAfterTheModel) {
  QtUi ui;
  SampleDialog d;
  ModalWatchdog dog;
  whenModal([&d](QWidget* dlg) {
    auto* grid = ctl<GridView>(dlg, kGrid);
    grid->model()->setData(grid->model()->index(1, 0), "20.5", Qt::EditRole);
    ASSERT_EQ(d.edits.size(), 1u);
    EXPECT_EQ(d.edits[0], (std::vector<int>{kGrid, 1, 0}));
    // The handler's own change to the cell shows at once.
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), "20.5!");
    ctl<QPushButton>(dlg, IDOK)->click();
  });
  ui.runModal(d);
  EXPECT_EQ(d.grid(kGrid)->text(1, 0), "20.5!");
}

class RefusingDialog : public Dialog {
 public:
  RefusingDialog() : Dialog(301, "Edit Defaults", 200, 60) {
    addEdit(20005, {7, 18, 190, 30});
    addButton(IDOK, "OK", {80, 40, 130, 54}, true);
    addButton(IDCANCEL, "Cancel", {140, 40, 190, 54});
  }
  void onOK() override {
    ++okPresses;
    if (!text(20005).empty()) endDialog(IDOK);
  }
  void onCancel() override {
    ++cancels;
    if (allowCancel) endDialog(IDCANCEL);
  }
  int okPresses = 0, cancels = 0;
  bool allowCancel = true;
};

TEST(QtDialog, ADialogThatRefusesOkStaysOpen) {
  QtUi ui;
  RefusingDialog d;
  ModalWatchdog dog;
  whenModal([&d](QWidget* dlg) {
    ctl<QPushButton>(dlg, IDOK)->click();
    QApplication::processEvents();
    EXPECT_EQ(d.okPresses, 1);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), dlg);
    ctl<QLineEdit>(dlg, 20005)->setText("/home/user/projects");
    // Enter presses the default button.
    QTest::keyClick(ctl<QLineEdit>(dlg, 20005), Qt::Key_Return);
  });
  EXPECT_EQ(ui.runModal(d), IDOK);
  EXPECT_EQ(d.okPresses, 2);
  EXPECT_EQ(d.text(20005), "/home/user/projects");
}

TEST(QtDialog, EscapeAndTheCloseButtonAskTheDialogToCancel) {
  QtUi ui;
  RefusingDialog d;
  d.allowCancel = false;
  ModalWatchdog dog;
  whenModal([&d](QWidget* dlg) {
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_EQ(d.cancels, 1);
    EXPECT_TRUE(dlg->isVisible());
    d.allowCancel = true;
    dlg->close();
  });
  EXPECT_EQ(ui.runModal(d), IDCANCEL);
  EXPECT_EQ(d.cancels, 2);
}

class EndsAtInit : public Dialog {
 public:
  EndsAtInit() : Dialog(302, "Nothing to do", 100, 40) {}
  bool onInitDialog() override {
    endDialog(IDABORT);
    return false;
  }
};

TEST(QtDialog, ADialogEndedByItsInitialisationIsNeverShown) {
  QtUi ui;
  EndsAtInit d;
  EXPECT_EQ(ui.runModal(d), IDABORT);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtDialog, TabStripSelectionReachesTheDialog) {
  class Tabs : public Dialog {
   public:
    Tabs() : Dialog(317, "View File Header", 200, 120) {
      add(ControlKind::Tab, kTabs, "", {5, 5, 195, 100});
      addButton(IDOK, "OK", {140, 104, 195, 118}, true);
    }
    bool onInitDialog() override {
      setItems(kTabs, {"Gssi", "Pulse Ekko", "Ramac"});
      setSelection(kTabs, 0);
      return true;
    }
    void onCommand(int id, int notify) override {
      if (id == kTabs && notify == TCN_SELCHANGE) shown = selection(kTabs);
      Dialog::onCommand(id, notify);
    }
    int shown = -1;
  } d;
  QtUi ui;
  ModalWatchdog dog;
  whenModal([](QWidget* dlg) {
    auto* tabs = ctl<QTabWidget>(dlg, kTabs);
    EXPECT_EQ(tabs->count(), 3);
    tabs->setCurrentIndex(2);
    ctl<QPushButton>(dlg, IDOK)->click();
  });
  ui.runModal(d);
  EXPECT_EQ(d.shown, 2);
}

TEST(QtDialog, RadioGroupsStartAtAGroupMarkOrAfterOtherControls) {
  class Radios : public Dialog {
   public:
    Radios() : Dialog(303, "Radios", 100, 100) {
      addRadio(1001, "A", {5, 5, 90, 15}, true);
      addRadio(1002, "B", {5, 17, 90, 27});
      addRadio(1003, "C", {5, 29, 90, 39}, true);  // a new group
      addRadio(1004, "D", {5, 41, 90, 51});
      addStatic(-1, "-", {5, 53, 90, 61});
      addRadio(1005, "E", {5, 63, 90, 73});  // after a non-radio: a new group
      addButton(IDOK, "OK", {5, 80, 50, 94}, true);
    }
    bool onInitDialog() override {
      checkRadio(1001);
      checkRadio(1003);
      checkRadio(1005);
      return true;
    }
  } d;
  QtUi ui;
  ModalWatchdog dog;
  whenModal([](QWidget* dlg) {
    ctl<QRadioButton>(dlg, 1002)->click();
    EXPECT_TRUE(ctl<QRadioButton>(dlg, 1003)->isChecked());
    EXPECT_TRUE(ctl<QRadioButton>(dlg, 1005)->isChecked());
    ctl<QRadioButton>(dlg, 1004)->click();
    EXPECT_TRUE(ctl<QRadioButton>(dlg, 1002)->isChecked());
    ctl<QPushButton>(dlg, IDOK)->click();
  });
  ui.runModal(d);
  EXPECT_EQ(d.check(1001), 0);
  EXPECT_EQ(d.check(1002), 1);
  EXPECT_EQ(d.check(1003), 0);
  EXPECT_EQ(d.check(1004), 1);
  EXPECT_EQ(d.check(1005), 1);
}

// ------------------------------------------------------------ sheets ----

class Page : public Dialog {
 public:
  Page(const char* caption, int editId) : Dialog(400 + editId, caption, 180, 80), id(editId) {
    addStatic(-1, "Value:", {7, 9, 50, 17});
    addEdit(editId, {55, 7, 170, 19});
  }
  bool onInitDialog() override {
    setText(id, "5");
    return true;
  }
  void onOK() override {
    ++oks;
    if (text(id) != "bad") endDialog(IDOK);
  }
  void onCancel() override {
    ++cancels;
    endDialog(IDCANCEL);
  }
  int id, oks = 0, cancels = 0;
};

TEST(QtSheet, OkAppliesEveryPageAndARefusingPageKeepsItOpen) {
  QtUi ui;
  Page gain("Gain", 501), axes("Axes", 502);
  PropertySheet sheet("Normal Display Settings");
  sheet.addPage(&gain);
  sheet.addPage(&axes);
  ModalWatchdog dog;
  whenModal([&](QWidget* w) {
    auto* dlg = static_cast<QtSheet*>(w);
    EXPECT_EQ(dlg->tabs()->count(), 2);
    EXPECT_EQ(dlg->tabs()->tabText(1), "Axes");
    EXPECT_EQ(ctl<QLineEdit>(w, 502)->text(), "5");
    ctl<QLineEdit>(w, 502)->setText("bad");
    w->findChild<QPushButton*>("sheetOk")->click();
    EXPECT_TRUE(w->isVisible());
    ctl<QLineEdit>(w, 502)->setText("7");
    w->findChild<QPushButton*>("sheetApply")->click();
    EXPECT_TRUE(w->isVisible());
    dlg->tabs()->setCurrentIndex(1);
    w->findChild<QPushButton*>("sheetOk")->click();
  });
  EXPECT_EQ(ui.runSheet(sheet), IDOK);
  EXPECT_EQ(axes.text(502), "7");
  EXPECT_EQ(axes.oks, 3);
  EXPECT_EQ(gain.oks, 3);
  EXPECT_EQ(sheet.activePage(), 1);
}

TEST(QtSheet, CancelCancelsEveryPage) {
  QtUi ui;
  Page gain("Gain", 501), axes("Axes", 502);
  PropertySheet sheet("Presentation Settings");
  sheet.addPage(&gain);
  sheet.addPage(&axes);
  ModalWatchdog dog;
  whenModal([](QWidget* w) { w->findChild<QPushButton*>("sheetCancel")->click(); });
  EXPECT_EQ(ui.runSheet(sheet), IDCANCEL);
  EXPECT_EQ(gain.cancels, 1);
  EXPECT_EQ(axes.cancels, 1);
  EXPECT_EQ(gain.oks, 0);
}

}  // namespace
}  // namespace dv::qt
