// Scripts written from what a user sees: controls named by their captions
// and labels, values checked, property sheet pages, the font, colour and
// print questions, and answers a command left unused.
#include <gtest/gtest.h>

#include "dv/control_names.h"
#include "dv/dialog.h"
#include "dv/headless.h"

namespace {

// Labels beside, above and around value controls, and a few that name nothing.
class Settings : public dv::Dialog {
 public:
  Settings() : Dialog(330, "Display Settings", 300, 200) {
    addStatic(-1, "&Version  Name:", {7, 7, 60, 15});
    addEdit(11, {62, 5, 193, 17});
    addStatic(-1, "Initial Project Directory:", {7, 24, 150, 32});
    addEdit(12, {7, 34, 212, 48});
    add(dv::ControlKind::Group, -1, "Velocity", {7, 52, 120, 80});
    addEdit(13, {14, 62, 60, 74});
    addStatic(-1, "m/ns", {64, 64, 90, 72});  // a unit right of the edit names nothing
    addStatic(-1, "Palette:", {130, 55, 170, 63});
    addCombo(14, {172, 53, 290, 120});  // the rectangle holds the open list
    addStatic(-1, "Far:", {7, 90, 30, 98});
    addEdit(15, {32, 88, 60, 100});
    addEdit(16, {64, 88, 100, 100});  // the label before it belongs to edit 15
    addCheck(20, "Wiggle &Lines", {7, 110, 80, 120});
    addRadio(21, "Gray Scale", {90, 110, 150, 120}, true);
    addRadio(22, "Red-White-Blue", {150, 110, 220, 120});
    addButton(23, "Select Font...", {7, 130, 60, 144});
    addGrid(30, {7, 150, 200, 195});
    grid(30)->setSize(3, 2);
    grid(30)->setText(0, 0, "Profile");
    grid(30)->setText(1, 0, "LINE01");
    grid(30)->setKind(2, 1, dv::GridModel::Check);
    addButton(dv::IDOK, "OK", {230, 150, 290, 164}, true);
    addButton(dv::IDCANCEL, "Cancel", {230, 170, 290, 184});
  }
  void onCommand(int id, int notify) override {
    if (id == 23 && notify == dv::BN_CLICKED) ++fontPresses;
    Dialog::onCommand(id, notify);
  }
  int fontPresses = 0;
};

int idOf(dv::Dialog& d, const std::string& name, std::string* error = nullptr) {
  dv::Control* c = dv::findControl(d, name, error);
  return c ? c->id : 0;
}

TEST(ControlNames, CaptionsLabelsGroupsAndSoleControls) {
  Settings d;
  EXPECT_EQ(dv::normalName("&Initial  Project\tDirectory: "), "initial project directory");
  EXPECT_EQ(idOf(d, "version name"), 11);      // label beside, blanks collapsed
  EXPECT_EQ(idOf(d, "INITIAL PROJECT DIRECTORY:"), 12);  // label above
  EXPECT_EQ(idOf(d, "Velocity"), 13);          // the group box's only edit
  EXPECT_EQ(idOf(d, "Palette"), 14);           // beside a drop-down's first line
  EXPECT_EQ(idOf(d, "Far"), 15);
  EXPECT_EQ(idOf(d, "Wiggle Lines"), 20);
  EXPECT_EQ(idOf(d, "Red-White-Blue"), 22);
  EXPECT_EQ(idOf(d, "Select Font..."), 23);
  EXPECT_EQ(idOf(d, "grid"), 30);
  EXPECT_EQ(idOf(d, "16"), 16);
  std::string error;
  EXPECT_EQ(idOf(d, "m/ns", &error), 0);
  EXPECT_NE(error.find("has no control \"m/ns\""), std::string::npos) << error;
  EXPECT_NE(error.find("edit 11 \"version name\""), std::string::npos) << error;
  EXPECT_NE(error.find("edit 16,"), std::string::npos) << error;
  EXPECT_EQ(idOf(d, "99", &error), 0);
  EXPECT_NE(error.find("has no control 99"), std::string::npos);
  // Two controls under one name: neither is taken.
  d.addCheck(24, "Gray Scale", {});
  EXPECT_EQ(idOf(d, "gray scale", &error), 0);
  EXPECT_NE(error.find("2 controls named"), std::string::npos) << error;
  // A button's own text outranks the group title that names an edit.
  d.addButton(25, "Velocity", {130, 52, 170, 66});
  EXPECT_EQ(idOf(d, "Velocity"), 25);
}

TEST(HeadlessScript, ActionsByNameAndExpectedValues) {
  auto& h = dv::headless();
  h.resetLog();
  h.clearAnswers();
  Settings d;
  ASSERT_TRUE(h.addAnswerLine(
      "answer dialog \"display settings\" set \"Version Name\" T01 expect value \"version name\" T01 "
      "check \"Wiggle Lines\" 1 radio \"Red-White-Blue\" expect value \"gray scale\" 0 "
      "expect value grid 1 0 LINE01 expect value grid 2 1 0 cell grid 2 1 1 expect value grid 2 1 1 "
      "row grid 2 press \"Select Font...\" press OK",
      nullptr));
  EXPECT_EQ(d.doModal(), dv::IDOK);
  EXPECT_TRUE(h.takeProblems().empty());
  EXPECT_EQ(d.text(11), "T01");
  EXPECT_EQ(d.check(20), 1);
  EXPECT_EQ(d.check(22), 1);
  EXPECT_EQ(d.grid(30)->currentRow(), 2);
  EXPECT_EQ(d.fontPresses, 1);

  // A value not shown is a problem, kept for the job runner; the actions
  // after it go on.
  ASSERT_TRUE(h.addAnswerLine("answer dialog #330 expect value \"Version Name\" T02 press OK", nullptr));
  EXPECT_EQ(d.doModal(), dv::IDOK);
  auto problems = h.takeProblems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("Version Name shows \"T01\", not \"T02\""), std::string::npos) << problems[0];
  EXPECT_EQ(h.unscripted(), 0);

  // The title row, a disabled button, text into a check box, a grid's value
  // without a cell and pages of a plain dialog are refused.
  d.enable(23, false);
  for (const char* actions : {"row grid 0", "press \"Select Font...\"", "set \"Wiggle Lines\" x",
                              "expect value grid LINE01", "page Traces"}) {
    ASSERT_TRUE(h.addAnswerLine(std::string("answer dialog #330 ") + actions + " press OK", nullptr));
    EXPECT_EQ(d.doModal(), dv::IDOK) << actions;
    EXPECT_EQ(h.takeProblems().size(), 1u) << actions;
  }
  EXPECT_EQ(d.fontPresses, 1);
  EXPECT_EQ(d.check(20), 1);
}

class Page : public dv::Dialog {
 public:
  Page(const char* caption, int id) : Dialog(400 + id, caption, 180, 80), id_(id) {
    addStatic(-1, "Value:", {7, 9, 50, 17});
    addEdit(id, {55, 7, 170, 19});
  }
  bool onInitDialog() override {
    setText(id_, "5");
    return true;
  }
  void onOK() override {
    applied = text(id_);
    endDialog(dv::IDOK);
  }
  std::string applied;
  int id_;
};

TEST(HeadlessScript, PropertySheetPagesByCaption) {
  auto& h = dv::headless();
  h.resetLog();
  h.clearAnswers();
  Page traces("Traces", 501), axis("Horizontal Axis", 502);
  dv::PropertySheet sheet("Edit Normal Data Display Properties");
  sheet.addPage(&traces);
  sheet.addPage(&axis);
  ASSERT_TRUE(h.addAnswerLine(
      "answer dialog \"Edit Normal Data Display Properties\" set Value 6 page \"horizontal axis\" "
      "expect value Value 5 set Value 7 press Apply page Traces expect value Value 6 press OK",
      nullptr));
  EXPECT_EQ(sheet.doModal(), dv::IDOK);
  EXPECT_TRUE(h.takeProblems().empty());
  EXPECT_EQ(traces.applied, "6");
  EXPECT_EQ(axis.applied, "7");
  EXPECT_EQ(sheet.activePage(), 0);
  ASSERT_TRUE(h.addAnswerLine("answer dialog \"Edit Normal Data Display Properties\" page Gain press Cancel", nullptr));
  EXPECT_EQ(sheet.doModal(), dv::IDCANCEL);
  auto problems = h.takeProblems();
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].find("its pages: \"Traces\", \"Horizontal Axis\""), std::string::npos) << problems[0];
}

TEST(HeadlessScript, FontColourAndPrinterAnswers) {
  auto& h = dv::headless();
  h.resetLog();
  h.clearAnswers();
  dv::FontChoice font;
  font.colour = dv::rgb(1, 2, 3);
  dv::ColorRef colour = 0;
  EXPECT_FALSE(h.chooseFont(font));  // unscripted: cancelled, unchanged
  EXPECT_FALSE(h.chooseColor(colour));
  EXPECT_EQ(h.unscripted(), 2);
  EXPECT_EQ(h.printFile(), "");  // the default printer; no question
  ASSERT_TRUE(h.addAnswerLine("answer font \"Courier New\" 12", nullptr));
  ASSERT_TRUE(h.addAnswerLine("answer font Arial 72 255 0 0", nullptr));
  ASSERT_TRUE(h.addAnswerLine("answer color 0 128 255", nullptr));
  ASSERT_TRUE(h.addAnswerLine("answer printer out/page.PDF", nullptr));
  ASSERT_TRUE(h.chooseFont(font));
  EXPECT_EQ(font.face, "Courier New");
  EXPECT_EQ(font.points, 12);
  EXPECT_EQ(font.colour, dv::rgb(1, 2, 3));
  ASSERT_TRUE(h.chooseFont(font));
  EXPECT_EQ(font.colour, dv::rgb(255, 0, 0));
  ASSERT_TRUE(h.chooseColor(colour));
  EXPECT_EQ(colour, dv::rgb(0, 128, 255));
  std::string pdf = h.printFile();
  EXPECT_EQ(pdf.front(), '/');
  EXPECT_NE(pdf.find("/out/page.PDF"), std::string::npos);
  std::string err;
  for (const char* bad : {"answer font Arial", "answer font Arial 0", "answer color 1 2 256",
                          "answer printer page.ps", "answer dialog X expect value"})
    EXPECT_FALSE(h.addAnswerLine(bad, &err)) << bad;
}

TEST(HeadlessScript, AnswersLeftByACommandAreDroppedAtTheNext) {
  auto& h = dv::headless();
  h.resetLog();
  h.clearAnswers();
  ASSERT_TRUE(h.addAnswerLine("answer file LINE01.DZT", nullptr, 3));
  EXPECT_TRUE(h.startCommand(4).empty());
  ASSERT_TRUE(h.addAnswerLine("answer message Yes", nullptr, 5));  // for the command at line 6
  auto dropped = h.startCommand(6);
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(dropped[0].line, 3);
  EXPECT_EQ(dropped[0].forLine, 4);
  EXPECT_EQ(dropped[0].source, "answer file LINE01.DZT");
  dv::FileDialogRequest req;
  EXPECT_FALSE(h.fileDialog(req).ok);  // the dropped file answer is gone
  EXPECT_EQ(h.messageBox("q", "Create Project?", dv::MB_YESNO), dv::IDYES);
}

}  // namespace
