// The display settings sheets through the LOADED module: the normal sheet
// of a profile window replaces invalid entries by their fallbacks with one
// warning each (and accepts the edge values), shows the velocity in m/ns on
// a metric profile, and the window takes the record; the presentation sheet
// applies the page, title, legend and "Use:" rules; the defaults sheets
// write the project's defaults file.
#include "dv/window.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"
#include "project/defaults_file.h"
#include "project/profile.h"

namespace {

using namespace quvtest;

constexpr int kTraces = 21, kSamples = 64;

class SettingsSheets : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
    addRecordings({makeRecording(field, "P.SGY", "SGY", kTraces, kSamples)});
    popup(item("Site/QUV/Raw Data"), 33102);
    answer("answer dialog \"Specify Name for Profiles\" press OK");
    answer("answer dialog \"Edit Geometry\" press OK");
    command(35001);
    void* obj = nullptr;
    ASSERT_NE(item("Site/QUV/Profiles/P"), nullptr) << uiLogText();
    ::GetTreepObj(item("Site/QUV/Profiles/P"), &obj);
    profile = static_cast<quv::ProfileItem*>(obj);
    doubleClick(item("Site/QUV/Profiles/P"));
    version = quv::shownVersion(*profile);
    ASSERT_NE(version, nullptr);
    clearMessages();
    resetUi();
  }
  quv::ProfileItem* profile = nullptr;
  quv::ProfileVersion* version = nullptr;
};

TEST_F(SettingsSheets, NormalPagesReplaceInvalidEntriesAndTheWindowFollows) {
  ASSERT_NE(docWindow("P"), nullptr);
  paintWindow(*docWindow("P"), 900, 600);
  ASSERT_TRUE(version->normalBytes.at(0));
  answer("answer sheet \"Edit Normal Data Display Properties\" "
         "radio \"A. G. C.\" set \"Window (%)\" 0 set \"Every nth Trace\" 0 radio \"Gray Scale\" "
         "page \"Horizontal Axis\" set Decimals 9 set \"Number of Values\" 1 check \"Hide Geometry Nodes\" 1 "
         "page \"Vertical Axis\" set Decimals -1 set Velocity 0.1 expect value 22116 m/ns ok");
  command(34203);  // "Traces Properties"
  const quv::DisplaySettings& s = version->normal;
  EXPECT_EQ(s.gainType, 3);
  EXPECT_FLOAT_EQ(s.agcWindow, 0.0f) << "a window of 0 is accepted";
  EXPECT_EQ(s.wiggleEvery, 5);
  EXPECT_EQ(s.paletteType, 1);
  EXPECT_EQ(s.hDecimals, 6);
  EXPECT_EQ(s.hFixedNumber, 5);
  EXPECT_EQ(s.hideGeometryNodes, 1);
  EXPECT_EQ(s.vDecimals, 0);
  EXPECT_NEAR(s.velocity, 0.328084, 1e-5) << "0.1 m/ns stored in feet per nanosecond";
  const std::string m = messages();
  EXPECT_EQ(countOf(m, "Warning: Traces - A. G. C. window set to default"), 0) << m;
  EXPECT_EQ(countOf(m, "Warning: Traces - Wiggles every nth trace set to default"), 1) << m;
  EXPECT_EQ(countOf(m, "Warning: Horizontal Axis - Number of decimals set to limit"), 1) << m;
  EXPECT_EQ(countOf(m, "Warning: Horizontal Axis - Fixed number of values set to default"), 1) << m;
  EXPECT_EQ(countOf(m, "Warning: Vertical Axis - Number of decimals set to limit"), 1) << m;
  // The gain changed: the byte traces of the old gain are gone, and the
  // window's next paint builds those it shows with the new one.
  EXPECT_FALSE(version->normalBytes[0]);
  paintWindow(*docWindow("P"), 900, 600);
  EXPECT_TRUE(version->normalBytes[0]);

  // Opened again at the vertical axis page (its right-click zone): the
  // velocity reads back in metres per nanosecond.
  answer("answer sheet \"Edit Normal Data Display Properties\" expect value Velocity 0.100 cancel");
  command(34205);
  EXPECT_NE(uiLogText().find("Velocity"), std::string::npos);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

TEST_F(SettingsSheets, PresentationPagesApplyPageTitleLegendAndUseRules) {
  const float boxLeft = version->presentation.elements[0].left;
  answer("answer sheet \"Edit Presentation Data Display Properties\" "
         "set Left 6 set Right 6 "
         "page Title radio \"90 Degrees\" set X 2 set Y 5 set \"Font Size\" 100 set \"Label Length\" 2 "
         "page \"Horizontal Axis\" radio \"Traces per Unit\" set \"Traces/in\" 10 "
         "page Legend cell grid 1 2 100 set Width -1 ok");
  command(34150);  // "Edit Pr&operties" of the presentation menu
  const quv::DisplaySettings& s = version->presentation;
  const std::string m = messages();
  EXPECT_EQ(countOf(m, "Warning: Page - Margins larger than the page set to default"), 1) << m;
  EXPECT_FLOAT_EQ(s.marginLeft, 0.3f);
  // The title at 90 degrees: anchored at its right bottom, 72 points thick at most.
  const quv::PageElement& t = s.elements[1];
  EXPECT_EQ(t.orientation, 1);
  EXPECT_EQ(countOf(m, "Warning: Title - Font size set to limit"), 1) << m;
  EXPECT_FLOAT_EQ(t.right, 2.0f);
  EXPECT_FLOAT_EQ(t.bottom, 5.0f);
  EXPECT_FLOAT_EQ(t.right - t.left, 1.0f);
  EXPECT_FLOAT_EQ(t.bottom - t.top, 2.0f);
  EXPECT_EQ(t.font.escapement, 900);
  // 20 traces at 10 traces per inch make a 2 inch wide box.
  const quv::PageElement& box = s.elements[0];
  EXPECT_FLOAT_EQ(box.left, boxLeft);
  EXPECT_NEAR(box.right - box.left, 2.0, 1e-4);
  EXPECT_FLOAT_EQ(s.legendSizes[0], 72.0f);
  EXPECT_EQ(countOf(m, "Warning: Legend - Font size set to limit"), 1) << m;
  EXPECT_EQ(countOf(m, "Warning: Legend - Size set to default"), 1) << m;

  // In millimetres the page shows 279.40 for 11 inches; the pages read with
  // it, still showing inches, leave every element where it was.
  answer("answer sheet \"Edit Presentation Data Display Properties\" radio Millimetres press Apply "
         "expect value Width 279.40 page Title expect value X 50.80 cancel");
  command(34185);  // "Page Properties"
  EXPECT_FLOAT_EQ(s.unitsFactor, 25.4f);
  EXPECT_FLOAT_EQ(box.left, boxLeft);
  EXPECT_FLOAT_EQ(t.right, 2.0f);

  // The horizontal label button opens the title page with the label's texts.
  answer("answer sheet \"Edit Presentation Data Display Properties\" expect value \"Text 1\" \"Trace #\" cancel");
  command(34190);
  EXPECT_EQ(unscripted(), 0) << uiLogText();
  EXPECT_EQ(uiLogText().find("failed"), std::string::npos) << uiLogText();
}

TEST_F(SettingsSheets, DefaultsSheetsWriteTheDefaultsFile) {
  answer("answer sheet \"Set Normal Data Display Defaults\" radio Constant set Gain 2.5 "
         "page \"Vertical Axis\" set Velocity 0 ok");
  command(35042);
  EXPECT_EQ(countOf(messages(), "Warning: Vertical Axis - Velocity set to default"), 1) << messages();
  quv::ProjectDefaults d;
  ASSERT_TRUE(quv::decodeDefaults(readFile(inProject("DEFAULTS.QUV")), d));
  EXPECT_EQ(d.normal.gainType, 2);
  EXPECT_FLOAT_EQ(d.normal.constantGain, 2.5f);
  EXPECT_FLOAT_EQ(d.normal.velocity, 0.3f);

  answer("answer sheet \"Set Presentation Data Display Defaults\" page \"Horizontal Axis\" "
         "radio Scale set \"Scale 1\" 250 ok");
  command(35043);
  ASSERT_TRUE(quv::decodeDefaults(readFile(inProject("DEFAULTS.QUV")), d));
  EXPECT_EQ(d.values.horizontalUse, 2);
  EXPECT_FLOAT_EQ(d.values.horizontalScale, 250.0f);
  EXPECT_EQ(d.normal.gainType, 2) << "the normal defaults stay";
  EXPECT_EQ(unscripted(), 0) << uiLogText();
}

}  // namespace
