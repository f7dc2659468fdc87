// The raw data window through the LOADED module and the real framework:
// double click opens it in the frame's document area after reading the
// traces through the format library, it is remembered in the item file (the
// window-open flag and the 44-byte placement) and opens again with the
// project, it follows renames and deletions, its "&Raw" pop-up and the
// frame's commands reach their operations, and its readouts reach the
// status bar. The window objects are the loaded module's; their layout is
// that of this program's copy, and they are driven through their virtual
// hooks (the loaded module's code) as the views drive them.
#include <cstring>
#include <filesystem>

#include "display/raw_window.h"
#include "dv/headless.h"
#include "fixture.h"
#include "pontra/pontra.h"
#include "pontra/services.h"
#include "project/raw.h"

namespace {

using namespace quvtest;

std::string le(int32_t v) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[size_t(i)] = char((uint32_t(v) >> (8 * i)) & 0xff);
  return s;
}

class RawWindowModule : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    QUV_NEED_FORMAT_LIBRARY();
  }
  static quv::RawObject* rawRecord(dv::TreeItem* it) {
    void* obj = nullptr;
    ::GetTreepObj(it, &obj);
    return static_cast<quv::RawObject*>(obj);
  }
  quv::RawObject* object(const std::string& label) { return rawRecord(item(rawPath(label))); }
  quv::CRawWnd* window(const std::string& label) {
    quv::RawObject* o = object(label);
    return o ? static_cast<quv::CRawWnd*>(o->window) : nullptr;
  }
  static dv::MdiArea& mdi() { return pontra::frame().mdi; }
  static dv::MouseEvent at(int x, int y, unsigned button = 0) {
    dv::MouseEvent e;
    e.x = x;
    e.y = y;
    e.button = button;
    return e;
  }
  // The user closes the window as the frame's view does it.
  static void userCloses(dv::DocWindow* w) {
    if (w->onClose()) mdi().remove(w);
  }
  void reopen() {
    closeProject();
    clearMessages();
    openProject(orx);
  }
  std::string itemFile(const std::string& title) { return readFile(inProject("RAW_" + title + ".QUV")); }
};

TEST_F(RawWindowModule, DoubleClickReadsTheTracesAndOpensTheWindowWithItsMarks) {
  addRecordings({makeRecording(field, "LINE.DZT", "DZT", 60, 64)});
  // One marker placed by hand (trace 3) beside the recording's marks every 10th trace.
  writeFile(inProject("MRK_DZT_LINE.QUV"), "/ Trace# Easting Northing\n3 10.00 20.00\n");
  auto& ui = dv::headless();
  const int progressBefore = ui.progressWindowsCreated();
  clearMessages();
  doubleClick(item(rawPath("LINE.DZT")));

  ASSERT_EQ(mdi().windows().size(), 1u) << messages();
  quv::CRawWnd* w = window("LINE.DZT");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(mdi().active(), static_cast<dv::DocWindow*>(w));
  EXPECT_EQ(static_cast<dv::DocWindow*>(w)->title(), "LINE.DZT");
  EXPECT_EQ(ui.progressWindowsCreated(), progressBefore + 2);  // loading, then gain
  EXPECT_EQ(ui.progressTitle(), "Applying gain and building image");
  EXPECT_EQ(ui.progressText(), "Trace 51 of 60");
  EXPECT_FALSE(ui.progressVisible());
  EXPECT_EQ(countOf(messages(), "later version"), 0) << messages();

  std::vector<int> marked;
  for (int t = 0; t < 60; ++t)
    if (w->markers()[size_t(t)]) marked.push_back(t);
  EXPECT_EQ(marked, (std::vector<int>{2, 10, 20, 30, 40, 50}));
  // Every trace is in memory (Create Profile takes them from there) and has its byte trace.
  quv::RawData& d = *object("LINE.DZT")->data;
  for (int t = 0; t < 60; ++t) {
    ASSERT_TRUE(d.buffers[size_t(t)]) << t;
    ASSERT_TRUE(w->byteTraces()[size_t(t)]) << t;
  }

  // A second double click brings the same window to the top.
  addRecordings({makeRecording(field, "TWO.DZT", "DZT", 20, 64)});
  mdi().maximize(static_cast<dv::DocWindow*>(w), true);
  doubleClick(item(rawPath("TWO.DZT")));
  ASSERT_EQ(mdi().windows().size(), 2u);
  dv::DocWindow* two = static_cast<dv::DocWindow*>(window("TWO.DZT"));
  EXPECT_TRUE(two->maximized()) << "maximised like the active window";
  const int progressNow = ui.progressWindowsCreated();
  doubleClick(item(rawPath("LINE.DZT")));
  EXPECT_EQ(mdi().windows().size(), 2u);
  EXPECT_EQ(mdi().active(), static_cast<dv::DocWindow*>(w));
  EXPECT_EQ(ui.progressWindowsCreated(), progressNow);

  // A bad item opens nothing.
  writeFile(join(field, "JUNK.DZT"), std::string(3000, 'j'));
  addRecordings({join(field, "JUNK.DZT")});
  doubleClick(item(rawPath("JUNK.DZT")));
  EXPECT_EQ(mdi().windows().size(), 2u);

  closeProject();
  EXPECT_TRUE(mdi().windows().empty());
}

TEST_F(RawWindowModule, WindowReopensWithTheProjectAtItsPlacementWithItsZoomGainAndPalette) {
  addRecordings({makeRecording(field, "WIN.DZT", "DZT", 80, 100)});
  doubleClick(item(rawPath("WIN.DZT")));
  quv::CRawWnd* w = window("WIN.DZT");
  ASSERT_NE(w, nullptr);
  auto* doc = static_cast<dv::DocWindow*>(w);
  dv::DocPlacement p;
  p.normal = {12, 34, 560, 420};
  doc->onPlacement(p);
  dv::Pane* pane = doc->pane();
  pane->resize(400, 300);
  // Zoom by rubber band: traces under columns 100..300, samples under rows 60..200.
  const quv::PixelMaps maps = w->pixelMaps();
  pane->onMouseDown(at(100, 60, dv::kLeftButton));
  pane->onMouseMove(at(300, 200));
  pane->onMouseUp(at(300, 200, dv::kLeftButton));
  const int ft = maps.columns[100], lt = maps.columns[300], fs = maps.rows[60], ls = maps.rows[200];
  command(quv::kRawCmdGainAgc25);     // pop-up command through the frame
  command(quv::kRawToolRedWhiteBlue);  // toolbar command
  closeProject();
  EXPECT_TRUE(mdi().windows().empty());

  // The item file: window open, the zoom window set, then the placement.
  const std::string head = le(258) + le(1);
  const std::string names = le(12) + "DZT_WIN.QUV" + std::string(1, '\0') + le(12) + "DZT_WIN.QUV" +
                            std::string(1, '\0');
  const std::string fields = le(1) + le(ft) + le(lt) + le(fs) + le(ls) + le(0) + le(2) + le(2) + le(64);
  const std::string placement = le(44) + le(0) + le(1) + le(-1) + le(-1) + le(-1) + le(-1) + le(12) +
                                le(34) + le(560) + le(420);
  EXPECT_EQ(itemFile("WIN"), head + names + fields + placement);
  EXPECT_GT(lt - ft, 8);
  EXPECT_GT(ls - fs, 8);

  clearMessages();
  openProject(orx);
  ASSERT_EQ(mdi().windows().size(), 1u) << messages();
  w = window("WIN.DZT");
  ASSERT_NE(w, nullptr);
  doc = static_cast<dv::DocWindow*>(w);
  EXPECT_EQ(doc->title(), "WIN.DZT");
  EXPECT_EQ(doc->placement.normal.left, 12);
  EXPECT_EQ(doc->placement.normal.top, 34);
  EXPECT_EQ(doc->placement.normal.right, 560);
  EXPECT_EQ(doc->placement.normal.bottom, 420);
  EXPECT_FALSE(doc->placement.minimized);
  EXPECT_EQ(w->traceSpan().first, ft);
  EXPECT_EQ(w->sampleSpan().last, ls);
  EXPECT_EQ(object("WIN.DZT")->data->gain, 2);
  EXPECT_EQ(countOf(messages(), "Raw Data Open: WIN.DZT - Completed"), 1);

  // Closed by the user: the next save says no window and stores no placement.
  userCloses(doc);
  EXPECT_TRUE(mdi().windows().empty());
  EXPECT_EQ(object("WIN.DZT")->window, nullptr);
  EXPECT_FALSE(object("WIN.DZT")->data->buffers[0]) << "the traces go with the window";
  closeProject();
  EXPECT_EQ(itemFile("WIN"), le(258) + le(0) + names + fields);

  // A placement stored minimised opens minimised.
  std::string bytes = head + names + fields + placement;
  std::memcpy(&bytes[bytes.size() - 36], le(2).data(), 4);  // show command
  writeFile(inProject("RAW_WIN.QUV"), bytes);
  openProject(orx);
  ASSERT_NE(window("WIN.DZT"), nullptr);
  EXPECT_TRUE(static_cast<dv::DocWindow*>(window("WIN.DZT"))->placement.minimized);
  closeProject();
  EXPECT_EQ(itemFile("WIN").substr(itemFile("WIN").size() - 36, 4), le(2));
}

TEST_F(RawWindowModule, TraceProblemsAreReportedUntil25ThenQuietly) {
  std::string rad = makeRecording(field, "SHORT.RAD", "RAD", 60, 64);
  addRecordings({rad});
  // Cut the data file to its first 32 traces (16-bit samples): 28 traces fail.
  std::filesystem::resize_file(inProject("RD3_SHORT.QUV"), 32 * 64 * 2);
  reopen();
  ASSERT_EQ(isBad(item(rawPath("SHORT.RAD"))), 0) << messages();
  clearMessages();
  doubleClick(item(rawPath("SHORT.RAD")));
  ASSERT_NE(window("SHORT.RAD"), nullptr);
  const std::string text = messages();
  const std::string warning = "Warning: More than 25 trace warnings or errors, supressing messages";
  EXPECT_EQ(countOf(text, warning), 1) << text;
  EXPECT_EQ(countOf(text, "[Scrivel]"), 25) << text;
  // The traces that could not be read are zeros; the others hold their samples.
  quv::RawData& d = *object("SHORT.RAD")->data;
  bool live = false;
  for (int j = 0; j < 64; ++j) live = live || d.buffers[5][size_t(j)] != 0.0f;
  EXPECT_TRUE(live);
  for (int j = 0; j < 64; ++j) ASSERT_EQ(d.buffers[40][size_t(j)], 0.0f);
  EXPECT_EQ(dv::headless().progressWindowsCreated() > 0, true);
}

TEST_F(RawWindowModule, RenameRetitlesAndDeleteClosesTheWindow) {
  addRecordings({makeRecording(field, "OLD.DZT", "DZT", 20, 64)});
  doubleClick(item(rawPath("OLD.DZT")));
  ASSERT_TRUE(rename(item(rawPath("OLD.DZT")), "NEW"));
  ASSERT_NE(window("NEW"), nullptr);
  EXPECT_EQ(static_cast<dv::DocWindow*>(window("NEW"))->title(), "NEW");
  // The renamed item's file keeps the window.
  closeProject();
  EXPECT_EQ(itemFile("NEW").substr(4, 4), le(1));
  openProject(orx);
  ASSERT_EQ(mdi().windows().size(), 1u);
  EXPECT_EQ(mdi().windows()[0]->title(), "NEW");
  answer("answer message \"Delete Item?\" Yes");
  deleteKey(item(rawPath("NEW")));
  EXPECT_EQ(item(rawPath("NEW")), nullptr);
  EXPECT_TRUE(mdi().windows().empty());
}

TEST_F(RawWindowModule, RawPopupFrameCommandsToolbarAndReadoutsWhileTheWindowIsActive) {
  addRecordings({makeRecording(field, "CMD.DZT", "DZT", 30, 64)});
  auto& frame = pontra::frame();
  doubleClick(item(rawPath("CMD.DZT")));
  ASSERT_NE(window("CMD.DZT"), nullptr);

  // The menu bar in force is the frame's with "&Raw" after it.
  dv::Menu* bar = pontra::currentMenuBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->items().back().caption, "&Raw");
  EXPECT_NE(bar->findCommand("&File/&Open/Create Project"), 0);
  EXPECT_EQ(bar->findCommand("&Raw/View &File Header"), 34007);
  // The active window's object toolbar: its six buttons, the gain and palette pressed.
  const std::vector<dv::ToolButton>* tools = mdi().active()->toolBar();
  ASSERT_NE(tools, nullptr);
  ASSERT_EQ(tools->size(), 6u);
  EXPECT_EQ(tools->front().id, 34028);
  EXPECT_TRUE((*tools)[1].checked);  // Trace Max, the item's gain

  clearMessages();
  // The "&Raw" menu's View File Header runs the raw object's command.
  answer("answer dialog \"View File Header\" press Cancel");
  command(34007);
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();
  command(34005);  // Join with one raw item
  EXPECT_NE(uiLogText().find("Join with only 1 raw data item not allowed"), std::string::npos)
      << uiLogText();
  // File Print and Export reach the window (the framework's refusals stay away).
  answer("answer printer " + join(sandbox(), "cmd.pdf"));
  command(57607);
  EXPECT_EQ(countOf(messages(), "Print: CMD.DZT - written to"), 1) << messages() << uiLogText();
  EXPECT_EQ(countOf(uiLogText(), "Can not print without a window open!"), 0);
  answer("answer dialog \"Export Parameters\" press Cancel");
  command(32769);
  EXPECT_EQ(countOf(uiLogText(), "Can not export without a window open!"), 0);
  EXPECT_EQ(pendingAnswers(), 0) << uiLogText();

  // Readouts in the status bar's panes.
  dv::Pane* pane = static_cast<dv::DocWindow*>(window("CMD.DZT"))->pane();
  pane->resize(400, 300);
  pane->onMouseMove(at(81, 50));
  ASSERT_GE(frame.statusPanes.size(), 5u);
  EXPECT_EQ(frame.statusPanes[0].substr(0, 17), "Trace:1 Sample:1 ");
  EXPECT_EQ(frame.statusPanes[1], "#Trc:30");
  EXPECT_EQ(frame.statusPanes[2], "#Smp:64");
  EXPECT_EQ(frame.statusPanes[3].substr(0, 5), "Tmin:");
  pane->onMouseLeave();
  EXPECT_EQ(frame.statusPanes[0], "");

  // Closed, the frame's own commands answer again.
  userCloses(mdi().active());
  EXPECT_EQ(mdi().active(), nullptr);
  clearMessages();
  answer("answer message WARNING OK");
  command(57607);
  EXPECT_EQ(countOf(uiLogText(), "Can not print without a window open!"), 1);
}

}  // namespace
