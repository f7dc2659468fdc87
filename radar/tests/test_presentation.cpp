// The presentation page: page layout files in inches and millimetres with
// the anchors of rotated texts, the legend's templates, the equal-scale
// view and the traces box cut by it, the text elements' layout, the page
// painted on a recording canvas, and the window's presentation view driven
// by its mouse and commands.
#include <gtest/gtest.h>

#include <algorithm>

#include "display/colortable.h"
#include "display/layout_file.h"
#include "display/page_figure.h"
#include "display/presentation_page.h"
#include "display/profile_window.h"
#include "dv/headless.h"
#include "fixture.h"

namespace {

using namespace quv;

// --- layout files -------------------------------------------------------------------------

std::string layoutPath(const std::string& name, const std::string& text = "") {
  const std::string path = quvtest::join(quvtest::freshDir("layout"), name);
  if (!text.empty()) quvtest::writeFile(path, text);
  return path;
}

TEST(LayoutFile, MillimetresAreWrittenAndReadBackAsInches) {
  DisplaySettings s;
  s.unitsFactor = 25.4f;
  const std::string text = layoutFileText(s);
  EXPECT_NE(text.find("[general]\r\nunits=mm\r\n"), std::string::npos);
  EXPECT_NE(text.find("width=279.40\r\n"), std::string::npos);
  EXPECT_NE(text.find("title_x_position=127.00\r\n"), std::string::npos);
  EXPECT_NE(text.find("title_font_size=20.00\r\n"), std::string::npos);  // points: no unit factor
  EXPECT_NE(text.find("legend_text_1=Project: %proj_name%\r\n"), std::string::npos);

  const std::string path = layoutPath("mm.lay");
  ASSERT_TRUE(saveLayoutFile(path, s));
  DisplaySettings t;
  t.pageWidth = 4.0f;
  t.elements[kTitle].left = 0.1f;
  ASSERT_TRUE(loadLayoutFile(path, t));
  EXPECT_FLOAT_EQ(t.unitsFactor, 25.4f);
  EXPECT_NEAR(t.pageWidth, 11.0, 1e-5);
  EXPECT_NEAR(t.elements[kTitle].left, 5.0, 1e-5);
  EXPECT_NEAR(t.elements[kTitle].top, 17.0 / 36, 1e-4);
  EXPECT_NEAR(t.elements[kTracesBox].top, 1.5, 1e-4);
  EXPECT_FALSE(loadLayoutFile(path + ".missing", t));
}

TEST(LayoutFile, RotatedTextsAreAnchoredByTheirOrientation) {
  DisplaySettings s;
  PageElement& title = s.elements[kTitle];
  title.orientation = 1;  // 90 degrees: x is the right edge, the size the width
  title.left = 1.0f, title.right = 1.5f, title.top = 2.0f, title.bottom = 6.0f;
  const std::string text = layoutFileText(s);
  EXPECT_NE(text.find("title_x_position=1.50\r\ntitle_y_position=6.00\r\ntitle_font_size=36.00\r\n"
                      "title_length=4.00\r\ntitle_maintain_aspect=yes\r\ntitle_orientation=90\r\n"),
            std::string::npos);

  DisplaySettings t;  // title at 0 degrees
  ASSERT_TRUE(loadLayoutFile(layoutPath("rot.lay", text), t));
  const PageElement& got = t.elements[kTitle];
  EXPECT_EQ(got.orientation, 1);
  EXPECT_EQ(got.font.escapement, 900);
  EXPECT_FLOAT_EQ(got.left, 1.0f);
  EXPECT_FLOAT_EQ(got.right, 1.5f);
  EXPECT_FLOAT_EQ(got.top, 2.0f);
  EXPECT_FLOAT_EQ(got.bottom, 6.0f);

  // 270 degrees: x is the left edge, y the top, the length runs downwards.
  DisplaySettings u;
  ASSERT_TRUE(loadLayoutFile(layoutPath("r270.lay",
                                        "[title]\ntitle_orientation=270\ntitle_x_position=1\n"
                                        "title_y_position=2\ntitle_font_size=36\ntitle_length=4\n"),
                             u));
  const PageElement& down = u.elements[kTitle];
  EXPECT_EQ(down.font.escapement, 2700);
  EXPECT_FLOAT_EQ(down.left, 1.0f);
  EXPECT_FLOAT_EQ(down.top, 2.0f);
  EXPECT_FLOAT_EQ(down.right, 1.5f);
  EXPECT_FLOAT_EQ(down.bottom, 6.0f);
}

TEST(LayoutFile, APageOnlyFileChangesOnlyThePage) {
  // Also: an empty key and an orientation of 45 leave their fields, a
  // number that does not parse reads as 0.
  DisplaySettings s;
  s.elements[kVerticalLabel].texts[1] = "Two-way time";
  ASSERT_TRUE(loadLayoutFile(layoutPath("page.lay",
                                        "[page]\nwidth=14.00\nheight=8.50\ntop_margin=0.50\n"
                                        "bottom_margin=abc\nleft_margin=\nright_margin=0.40\n"
                                        "[title]\ntitle_orientation=45\n"),
                             s));
  DisplaySettings want;
  want.elements[kVerticalLabel].texts[1] = "Two-way time";
  want.pageWidth = 14.0f;
  want.marginTop = 0.5f;
  want.marginBottom = 0.0f;
  want.marginRight = 0.4f;
  EXPECT_TRUE(sameStoredFields(s, want));
  EXPECT_FLOAT_EQ(s.marginLeft, 0.3f);
  EXPECT_EQ(s.elements[kTitle].orientation, 0);
}

TEST(LayoutFile, ValuesNoPageHoldsAreKeptToALimitAndThePageStillPaints) {
  DisplaySettings s;
  ASSERT_TRUE(loadLayoutFile(layoutPath("wild.lay",
                                        "[page]\nwidth=1e30\nheight=nan\n[traces]\n"
                                        "trace_x_position=-1e300\ntrace_width=inf\n"
                                        "[legend]\nlegend_font_size_1=1e9\n"),
                             s));
  EXPECT_FLOAT_EQ(s.pageWidth, 10000.0f);
  EXPECT_FLOAT_EQ(s.pageHeight, 0.0f);
  EXPECT_FLOAT_EQ(s.elements[kTracesBox].left, -10000.0f);
  EXPECT_FLOAT_EQ(s.elements[kTracesBox].right, -10000.0f);
  EXPECT_FLOAT_EQ(s.legendSizes[0], 10000.0f);
  zoomOutRegion(s, 200, 150);
  dv::RecordingCanvas c;
  dv::IndexedBitmap bitmap;
  const PageLayout at = paintPresentationPage(c, bitmap, s, {}, recordView(s, 200, 150));
  EXPECT_FALSE(at.traces.visible());
  EXPECT_EQ(bitmap.width(), 200);
}

// --- templates ------------------------------------------------------------------------------

TEST(LegendTemplates, GainValueByGainType) {
  DisplaySettings s;
  TemplateSource src;
  src.settings = &s;
  const std::string line = "Gain: %gain_type% %gain_value%";
  s.gainType = 3;
  s.agcWindow = 25.0f;
  EXPECT_EQ(expandTemplate(line, src), "Gain: A. G. C. 25.00");
  s.gainType = 4;
  s.sphericalV = 0.15f;
  s.sphericalA = 0.01f;
  EXPECT_EQ(expandTemplate(line, src), "Gain: Spherical/Exponential 0.150, 0.010");
  s.gainType = 2;
  s.constantGain = 3.0f;
  EXPECT_EQ(expandTemplate(line, src), "Gain: Constant 3.00");
  s.gainType = 0;
  EXPECT_EQ(expandTemplate(line, src), "Gain: Trace Max. ");
  s.gainType = 1;
  EXPECT_EQ(expandTemplate(line, src), "Gain: File Max. ");
}

TEST(LegendTemplates, OnlyTheFirstOccurrenceInTheTableOrder) {
  ProfileHeader h;
  h.unitsPerFoot = 0.3048f;
  ProfileVersion v;
  v.kind = kTimeVersion;
  v.timeIncrement = 0.5f;
  DisplaySettings s;
  s.firstSample = 0;
  s.lastSample = 100;
  s.velocity = 0.3f;
  TemplateSource src{"PROJ", "LINE01", &v, &h, &s};
  EXPECT_EQ(expandTemplate("%prof_name% and %prof_name%", src), "LINE01 and %prof_name%");
  // %d_scale% goes before %d: 100 samples x 0.3 ft/ns x 0.5 ns x 6 / 6.5 in.
  EXPECT_EQ(expandTemplate("1 in = %d_scale% %d, %d", src), "1 in = 13.85 m, %d");
  // The scales of a line that is not straight are removed.
  EXPECT_EQ(expandTemplate("[%h_scale%][%trace_inc%]", src), "[][]");
}

// --- geometry -------------------------------------------------------------------------------

DisplaySettings region(float l, float t, float r, float b) {
  DisplaySettings s;
  s.visibleLeft = l, s.visibleTop = t, s.visibleRight = r, s.visibleBottom = b;
  return s;
}

void expectRegion(const DisplaySettings& s, float l, float t, float r, float b) {
  EXPECT_NEAR(s.visibleLeft, l, 1e-4);
  EXPECT_NEAR(s.visibleTop, t, 1e-4);
  EXPECT_NEAR(s.visibleRight, r, 1e-4);
  EXPECT_NEAR(s.visibleBottom, b, 1e-4);
}

TEST(PageView, EqualScaleShiftsOrResetsTheRegion) {
  DisplaySettings s = region(2, 1, 4, 2);  // wider than tall on a square client: the bottom moves
  equalScale(s, 400, 400);
  expectRegion(s, 2, 1, 4, 3);
  s = region(9, 7, 11, 8.5f);  // the right edge beyond the page: shifted back
  equalScale(s, 400, 100);
  expectRegion(s, 5, 7, 11, 8.5f);
  s = region(0, 0, 11, 8.5f);  // shifted, but not below 0
  equalScale(s, 1000, 500);
  expectRegion(s, 0, 0, 17, 8.5f);
  s = region(0, 0, 20, 10);  // both beyond: the whole page, adjusted again
  equalScale(s, 100, 100);
  expectRegion(s, 0, 0, 11, 11);
  s = region(0, 0, 11, 8.5f);  // a resize keeps the origin and the scale
  resizeRegion(s, 1100, 850, 550, 850);
  expectRegion(s, 0, 0, 5.5f, 8.5f);
  EXPECT_EQ(recordView(s, 550, 850).x(1.25), 125);
  EXPECT_EQ(pageViewAtDpi(s, 300).width, 3300);
}

TEST(PageView, TracesBoxCutByTheViewShowsTheTracesThatFallThere) {
  const DisplaySettings s;
  const PageElement& box = s.elements[kTracesBox];  // 1.25, 1.5, 10.25, 8.0
  // Cut at the left: the view begins 4.5 in into the 9-in box.
  TracesBoxMapping m = tracesBoxMapping(box, {5.75f, 0, 11, 8.5f, 525, 850}, 0, 299, 0, 119);
  EXPECT_EQ(m.box.left, -450);
  EXPECT_EQ(m.image.left, 0);
  EXPECT_EQ(m.image.right, 450);
  EXPECT_EQ(m.firstTrace, 149);
  EXPECT_EQ(m.lastTrace, 299);
  EXPECT_EQ(m.lastSample, 119);
  // Cut at the bottom: 2.75 of the box's 6.5 in.
  m = tracesBoxMapping(box, {0, 0, 5.5f, 4.25f, 550, 425}, 10, 299, 0, 119);
  EXPECT_EQ(m.image.bottom, 425);
  EXPECT_EQ(m.firstTrace, 10);
  EXPECT_EQ(m.lastTrace, 10 + int(289 * 4.25 / 9));  // cut at the right too
  EXPECT_EQ(m.lastSample, 50);
  // A box scrolled out of the view shows nothing.
  EXPECT_FALSE(tracesBoxMapping(box, {10.5f, 0, 11, 8.5f, 50, 850}, 0, 299, 0, 119).visible());
}

TEST(TextElements, MaintainAspectMakesTheLengthFollowTheText) {
  dv::RecordingCanvas c;  // characters half as wide as high
  DisplaySettings s;
  PageElement& title = s.elements[kTitle];  // 0.2778 in thick: 278 units, 13 characters of 139
  layoutTextElement(title, "Radar Profile", c);
  EXPECT_NEAR(title.right, 5.0 + 13 * 139 / 1000.0, 1e-5);
  PageElement& label = s.elements[kVerticalLabel];  // 90 degrees, 0.1389 in: 9 characters of 69
  label.orientation = 1;
  layoutTextElement(label, "Time (ns)", c);
  EXPECT_NEAR(label.top, 5.0 - 0.621, 1e-5);
  label.orientation = 2;  // 270 degrees: the bottom follows
  layoutTextElement(label, "Time (ns)", c);
  EXPECT_NEAR(label.bottom, label.top + 0.621, 1e-5);
  // Without maintain aspect the rectangle stays and the text is stretched to it.
  title.maintainAspect = 0;
  const float right = title.right;
  layoutTextElement(title, "Radar", c);
  EXPECT_FLOAT_EQ(title.right, right);
  const dv::FontDesc f = elementFont(title, {500, 47, 700, 75}, "Radar");
  EXPECT_EQ(f.height, 28);
  EXPECT_EQ(f.width, 40);
  EXPECT_EQ(elementFont(label, {36, 300, 50, 362}, "Time").escapement, 2700);
  EXPECT_EQ(elementAnchor(label, {36, 300, 50, 362}).y, 300);  // 270: the left top
}

// --- the page on a recording canvas ------------------------------------------------------------

// A time version of traces x samples, byte (3 * trace + sample) % 256, on a straight line.
struct PageProfile {
  ProfileItem item;
  ProfileVersion* v = nullptr;
  PageProfile(int traces, int samples) {
    item.header = std::make_unique<ProfileHeader>();
    item.header->traceCount = traces;
    item.header->unitsPerFoot = 0.3048f;
    item.header->easting.assign(size_t(traces), 0.0f);
    item.header->northing.assign(size_t(traces), 0.0f);
    for (int i = 0; i < traces; ++i) item.header->easting[size_t(i)] = float(i);
    item.header->nodeTrace = {0, traces - 1};
    item.header->nodeEasting = {0.0f, float(traces - 1)};
    item.header->nodeNorthing = {0.0f, 0.0f};
    item.fileName = "PAGE.QUV";
    v = addVersion(item, "/nonexistent", kTimeVersion, 1);
    v->samples = samples;
    v->timeIncrement = 0.25f;
    setWholeProfile(v->normal, traces, samples);
    setWholeProfile(v->presentation, traces, samples);
    computeValueTables(*v);
    for (auto* table : {&v->normalBytes, &v->presentationBytes})
      for (int t = 0; t < traces; ++t) {
        (*table)[size_t(t)].reset(new uint8_t[size_t(samples)]);
        for (int j = 0; j < samples; ++j) (*table)[size_t(t)][size_t(j)] = uint8_t((3 * t + j) % 256);
      }
    v->loaded = true;
    rebuildVersionList(item);
  }
  PageSource source() { return {v, item.header.get(), "PROJ", "LINE01"}; }
};

std::vector<dv::CanvasCall> textsOf(const dv::RecordingCanvas& c, const std::string& text) {
  std::vector<dv::CanvasCall> out;
  for (const auto& k : c.calls(dv::CanvasCall::Text))
    if (k.text == text) out.push_back(k);
  return out;
}

TEST(PresentationPage, PaintsTheElementsInOrderAtTheTargetResolution) {
  PageProfile p(60, 40);
  DisplaySettings& s = p.v->presentation;
  dv::RecordingCanvas c;
  dv::IndexedBitmap bitmap;
  const PageLayout at = paintPresentationPage(c, bitmap, s, p.source(), pageViewAtDpi(s, 100));
  const auto& calls = c.calls();
  // The traces box: image, frame, axis values (no titles), before any text element.
  ASSERT_EQ(c.count(dv::CanvasCall::Bitmap), 1);
  EXPECT_EQ(c.calls(dv::CanvasCall::Bitmap)[0].rect.right, 1100);
  EXPECT_EQ(at.elements[kTracesBox].left, 125);
  EXPECT_EQ(bitmap.pixel(125, 150), (0 >> 2) + 2);
  EXPECT_EQ(bitmap.pixel(124, 149), 0);  // the frame
  EXPECT_EQ(bitmap.pixel(100, 100), 1);  // white around the box
  EXPECT_EQ(at.fh, 13);                  // 10 points at 100 dpi
  // The title anchored at its left bottom, as high as its box; the vertical
  // label at its right bottom, turned by 90 degrees; each drawn once.
  const auto title = textsOf(c, "Radar Profile");
  ASSERT_EQ(title.size(), 1u);
  EXPECT_EQ(title[0].points[0], (dv::Point{500, 75}));
  EXPECT_EQ(title[0].font.height, 75 - 47);
  EXPECT_EQ(title[0].align, unsigned(dv::kTextLeft | dv::kTextBottom));
  const auto label = textsOf(c, "Time (ns)");
  ASSERT_EQ(label.size(), 1u);
  EXPECT_EQ(label[0].font.escapement, 900);
  EXPECT_EQ(label[0].points[0], (dv::Point{at.elements[kVerticalLabel].right, 500}));
  EXPECT_EQ(textsOf(c, "Easting/Northing (m)").size(), 1u);
  // Legend lines with their templates, 13 pixels apart, clipped to the legend.
  const auto legend = textsOf(c, "Profile: LINE01");
  ASSERT_EQ(legend.size(), 1u);
  EXPECT_EQ(legend[0].points[0], (dv::Point{927, 58 + 13}));
  EXPECT_TRUE(legend[0].clipped);
  EXPECT_EQ(legend[0].clip.right, 1025);
  EXPECT_EQ(textsOf(c, "Tab: T1").size(), 1u);
  // The page frame and the margins come after every text.
  const auto frames = c.calls(dv::CanvasCall::Frame);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].rect.right, 1100);
  EXPECT_EQ(frames[1].rect.left, 30);
  auto last = [&](dv::CanvasCall::Kind k) {
    return std::find_if(calls.rbegin(), calls.rend(), [&](const auto& x) { return x.kind == k; }) - calls.rbegin();
  };
  EXPECT_LT(last(dv::CanvasCall::Frame), last(dv::CanvasCall::Text));

  // A depth axis on an elevation version: its label; the trackers of edit
  // mode; the comments band above the box, reading upwards from beyond the
  // axis values at the geometry nodes.
  p.v->kind = kElevationVersion;
  s.vAxisType = 2;
  s.hideMarginFrame = 1;
  s.commentsPlacement = 1;
  dv::RecordingCanvas e;
  const PageLayout half = paintPresentationPage(e, bitmap, s, p.source(), pageViewAtDpi(s, 50), {true});
  EXPECT_EQ(textsOf(e, "Elevation (m)").size(), 1u);
  EXPECT_EQ(e.count(dv::CanvasCall::Frame), 1 + kPageElementCount);
  const auto node = textsOf(e, "E 59.00  N 0.00");
  ASSERT_EQ(node.size(), 1u);
  EXPECT_EQ(node[0].font.escapement, 900);
  EXPECT_EQ(node[0].align, unsigned(dv::kTextLeft | dv::kTextBottom));
  EXPECT_LT(node[0].points[0].y, half.traces.image.top - 2 * half.fh);
}

// On paper and in files: the whole page at the target's dpi, the traces box
// where the record puts it in inches, none of the screen's aids, and a
// printer's offsets taken off so that the inches land on the same place.
TEST(PageFigure, ThePageAtTheTargetDpiPutsTheBoxWhereTheRecordSays) {
  PageProfile p(60, 40);
  PageFigure figure(p.source(), p.v->presentation);
  p.v->presentation.pageWidth = 4.0f;  // the figure drew on its own copy
  ASSERT_DOUBLE_EQ(figure.defaultWidth(), 11.0);
  dv::IndexedBitmap pic;
  ASSERT_TRUE(composeFigure(figure, exportTarget(figure.defaultWidth(), figure.defaultHeight(), 100), pic));
  EXPECT_EQ(pic.width(), 1100);
  EXPECT_EQ(pic.height(), 850);
  // The box 1.25, 1.5, 10.25, 8.0 in: its frame just outside, the image inside.
  EXPECT_EQ(pic.pixel(124, 149), kBlackIndex);
  EXPECT_EQ(pic.pixel(1025, 800), kBlackIndex);
  int image = 0;
  for (int y = 400; y < 410; ++y)
    for (int x = 570; x < 580; ++x) image += pic.pixel(x, y) > kWhiteIndex;
  EXPECT_GT(image, 80) << "the image in the box";
  EXPECT_EQ(pic.pixel(123, 400), kWhiteIndex);
  // No page frame at the edge, no margin rectangle at 0.3 in.
  EXPECT_EQ(pic.pixel(0, 400), kWhiteIndex);
  EXPECT_EQ(pic.pixel(30, 400), kWhiteIndex);
  EXPECT_EQ(p.v->presentation.elements[kTracesBox].pixels.left, 0) << "the window's record was laid out";

  // A printer of 200 x 100 dpi whose printable area starts 0.5 in from the
  // left and 0.25 in from the top of the page.
  FigureTarget t = printTarget(2000, 800, 200, 100);
  t.offsetX = 100;
  t.offsetY = 25;
  ASSERT_TRUE(composeFigure(figure, t, pic));
  EXPECT_EQ(pic.pixel(149, 300), kBlackIndex);  // (1.25 - 0.5) * 200 - 1
  EXPECT_EQ(pic.pixel(148, 300), kWhiteIndex);
  EXPECT_EQ(pic.pixel(300, 124), kBlackIndex);  // (1.5 - 0.25) * 100 - 1
  EXPECT_EQ(pic.pixel(300, 123), kWhiteIndex);
}

// --- the window's presentation view ---------------------------------------------------------------

class PresentationWindow : public ::testing::Test {
 protected:
  PresentationWindow() : p(80, 50), w(p.item, *p.v) {
    p.item.window = &w;
    w.pane()->resize(1000, 625);
    w.onCommand(ID_N_VIEW_PRES);
  }
  PresentationView& view() { return w.presentationView(); }
  dv::MouseEvent at(int x, int y, unsigned button) {
    dv::MouseEvent e;
    e.x = x, e.y = y, e.button = button;
    return e;
  }
  void paint() {
    dv::RecordingCanvas c;
    view().onPaint(c);
  }
  PageProfile p;
  CProfileWnd w;
};

TEST_F(PresentationWindow, EditModeMovesAnElementAndZoomModeZooms) {
  ASSERT_TRUE(w.presentationMode());
  EXPECT_TRUE(view().visible());
  EXPECT_EQ(w.menuBar()->items().back().popup->items()[1].caption, "&Edit Layout Mode");
  DisplaySettings& s = w.presentation();
  // 1000 x 600 with the scroll bars: the page's 8.5 in fill the height.
  EXPECT_EQ(view().clientHeight(), 600 - 17);
  EXPECT_NEAR(s.visibleBottom - s.visibleTop, 8.5, 1e-4);
  paint();
  const double ppi = view().layout().view.pixelsPerInchX();
  // Drag the legend by its inside 50 pixels to the left: 50 / ppi inches.
  const dv::Rect legend = view().layout().elements[kLegend];
  const float left = s.elements[kLegend].left;
  view().onMouseDown(at(legend.left + 20, legend.top + 10, dv::kLeftButton));
  view().onMouseMove(at(legend.left - 30, legend.top + 10, 0));
  dv::RecordingCanvas band;
  view().onPaint(band);
  EXPECT_EQ(band.count(dv::CanvasCall::RubberBand), 1);
  view().onMouseUp(at(legend.left - 30, legend.top + 10, dv::kLeftButton));
  EXPECT_NEAR(s.elements[kLegend].left, left - 50 / ppi, 1.5 / ppi);

  // Zoom layout mode: the band becomes the region; Zoom Out the page again.
  w.onCommand(ID_P_ZOOM_LAYOUT);
  EXPECT_EQ(w.layoutMode(), 1);
  view().onMouseDown(at(100, 100, dv::kLeftButton));
  view().onMouseUp(at(300, 200, dv::kLeftButton));
  EXPECT_LT(s.visibleRight - s.visibleLeft, 3.0f);
  EXPECT_LT(view().hScroll.page, 101);
  view().onScroll(false, dv::kScrollPageDown, 0);
  EXPECT_GT(view().hScroll.position, 0);
  w.onCommand(ID_TB_PRES_ZOOM_OUT);
  EXPECT_NEAR(s.visibleBottom - s.visibleTop, 8.5, 1e-4);
  EXPECT_FLOAT_EQ(s.visibleLeft, 0.0f);

  // Palettes and wiggles of the presentation mode act on its own record.
  w.onCommand(ID_TB_PRES_NO_COLOR + 1);
  w.onCommand(ID_TB_PRES_WIGGLES);
  EXPECT_EQ(s.paletteType, 1);
  EXPECT_EQ(s.wiggleLines, 1);
  EXPECT_EQ(w.normal().paletteType, 2);
  EXPECT_EQ(w.normal().wiggleLines, 0);
}

TEST_F(PresentationWindow, RightButtonOffTheElementsShowsThePopup) {
  paint();
  auto& ui = dv::headless();
  ui.resetLog();
  ui.clearAnswers();
  std::string error;
  ASSERT_TRUE(ui.addAnswerLine("answer popup 33260", &error)) << error;
  DisplaySettings& s = w.presentation();
  s.visibleLeft = 2.0f;  // zoomed in, then "&Zoom Out" from the pop-up
  s.visibleRight = 4.0f;
  view().onMouseUp(at(5, view().clientHeight() - 5, dv::kRightButton));
  EXPECT_EQ(ui.pendingAnswers(), 0u);
  EXPECT_FLOAT_EQ(s.visibleLeft, 0.0f);
  ui.resetLog();
}

}  // namespace
