// The presentation pages of the page itself and its elements: "Page",
// "Title" (the title or one of the axis labels), "Legend", "Logo" and
// "Comments". Positions and sizes are entered in the page units (inches or
// millimetres) and held in inches.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "display/settings_page_ids.h"
#include "display/presentation_layout.h"
#include "display/settings_pages.h"
#include "dv/system.h"
#include "project/messages.h"

namespace quv {

namespace {

const DisplaySettings& builtIn() {
  static const DisplaySettings s;
  return s;
}

void labelled(dv::Dialog& d, int id, const char* label, int x, int y, int labelWidth = 50, int editWidth = 40) {
  d.addStatic(-1, label, {x, y + 2, x + labelWidth, y + 12});
  d.addEdit(id, {x + labelWidth + 2, y, x + labelWidth + 2 + editWidth, y + 12});
}

double unitsOf(const DisplaySettings& s) { return s.unitsFactor > 0 ? s.unitsFactor : 1.0; }

// A rectangle element entered as X, Y (its top left), width and height.
class BoxFields {
 public:
  BoxFields(dv::Dialog& d, int x, int y) {
    labelled(d, IDC_ELEM_X, "X:", x, y);
    labelled(d, IDC_ELEM_Y, "Y:", x, y + 14);
    labelled(d, IDC_ELEM_WIDTH, "Width:", x, y + 28);
    labelled(d, IDC_ELEM_HEIGHT, "Height:", x, y + 42);
  }
};

}  // namespace

// --- "Page" -----------------------------------------------------------------------------

namespace {

class PagePage : public SettingsPage {
 public:
  PagePage(DisplaySettings& s, const SheetTarget& t) : SettingsPage(kPagePageId, "Page", s, t) {
    labelled(*this, IDC_PAGE_WIDTH, "Width:", 14, 14);
    labelled(*this, IDC_PAGE_HEIGHT, "Height:", 14, 28);
    addCheck(IDC_LANDSCAPE, "Landscape", {14, 44, 100, 54});
    add(dv::ControlKind::Group, -1, "Margins:", {120, 7, 260, 76});
    labelled(*this, IDC_MARGIN_LEFT, "Left:", 126, 18);
    labelled(*this, IDC_MARGIN_TOP, "Top:", 126, 32);
    labelled(*this, IDC_MARGIN_RIGHT, "Right:", 126, 46);
    labelled(*this, IDC_MARGIN_BOTTOM, "Bottom:", 126, 60);
    addCheck(IDC_HIDE_FRAME, "Hide Margin Frame", {126, 80, 260, 90});
    add(dv::ControlKind::Group, -1, "Units:", {7, 62, 110, 100});
    addRadio(IDC_UNITS_IN, "Inches", {14, 72, 100, 82}, true);
    addRadio(IDC_UNITS_MM, "Millimetres", {14, 84, 100, 94});
    bindCheck(IDC_LANDSCAPE, &s.landscape);
    bindCheck(IDC_HIDE_FRAME, &s.hideMarginFrame);
  }

 protected:
  void fillMore() override {
    const double f = unitsOf(s_);
    setNumber(IDC_PAGE_WIDTH, "%.2f", s_.pageWidth * f);
    setNumber(IDC_PAGE_HEIGHT, "%.2f", s_.pageHeight * f);
    setNumber(IDC_MARGIN_LEFT, "%.2f", s_.marginLeft * f);
    setNumber(IDC_MARGIN_TOP, "%.2f", s_.marginTop * f);
    setNumber(IDC_MARGIN_RIGHT, "%.2f", s_.marginRight * f);
    setNumber(IDC_MARGIN_BOTTOM, "%.2f", s_.marginBottom * f);
    checkRadio(s_.unitsFactor > 1.5f ? IDC_UNITS_MM : IDC_UNITS_IN);
  }

  void readMore() override {
    // Entries are in the units shown; new units apply once every page has read its own (readLast).
    const double f = unitsOf(s_);
    auto length = [&](int id, double fallback, const char* warning) {
      double v = number(id) / f;
      if (v <= 0) warn(warning), v = fallback;
      return float(v);
    };
    const float oldWidth = s_.pageWidth, oldHeight = s_.pageHeight;
    s_.pageWidth = length(IDC_PAGE_WIDTH, 11.0, kMsgWarnPageWidth);
    s_.pageHeight = length(IDC_PAGE_HEIGHT, 8.5, kMsgWarnPageHeight);
    s_.marginLeft = length(IDC_MARGIN_LEFT, 0.3, kMsgWarnPageLeft);
    s_.marginTop = length(IDC_MARGIN_TOP, 0.3, kMsgWarnPageTop);
    s_.marginRight = length(IDC_MARGIN_RIGHT, 0.3, kMsgWarnPageRight);
    s_.marginBottom = length(IDC_MARGIN_BOTTOM, 0.3, kMsgWarnPageBottom);
    // Margins that leave no page between them would make the page empty.
    if (s_.marginLeft + s_.marginRight >= s_.pageWidth || s_.marginTop + s_.marginBottom >= s_.pageHeight) {
      warn(kMsgWarnPageMarginsTooLarge);
      s_.marginLeft = s_.marginTop = s_.marginRight = s_.marginBottom = 0.3f;
    }
    // A new page is shown whole.
    if (s_.pageWidth != oldWidth || s_.pageHeight != oldHeight) {
      s_.visibleLeft = s_.visibleTop = 0;
      s_.visibleRight = s_.pageWidth;
      s_.visibleBottom = s_.pageHeight;
    }
  }

 public:
  void readLast() override { s_.unitsFactor = check(IDC_UNITS_MM) ? 25.4f : 1.0f; }
};

// --- "Title" (title, horizontal label, vertical label) ------------------------------------

const char* fontWarning(int element) {
  switch (element) {
    case kHorizontalLabel: return kMsgWarnHLabelFont;
    case kVerticalLabel: return kMsgWarnVLabelFont;
    default: return kMsgWarnTitleFont;
  }
}

class TitlePage : public SettingsPage {
 public:
  TitlePage(DisplaySettings& s, const SheetTarget& t, int& element)
      : SettingsPage(kTitlePageId, "Title", s, t), element_(element) {
    labelled(*this, IDC_TEXT1, "Text 1:", 7, 7, 30, 200);
    labelled(*this, IDC_TEXT2, "Text 2:", 7, 21, 30, 200);
    labelled(*this, IDC_TEXT3, "Text 3:", 7, 35, 30, 200);
    labelled(*this, IDC_TEXT4, "Text 4:", 7, 49, 30, 200);
    labelled(*this, IDC_ELEM_X, "X:", 7, 70);
    labelled(*this, IDC_ELEM_Y, "Y:", 7, 84);
    labelled(*this, IDC_FONT_SIZE, "Font Size:", 7, 98);
    labelled(*this, IDC_LABEL_LENGTH, "Label Length:", 7, 112);
    add(dv::ControlKind::Group, -1, "Orientation:", {110, 66, 200, 112});
    addRadio(IDC_ORIENT_0, "0 Degrees", {116, 76, 198, 86}, true);
    addRadio(IDC_ORIENT_90, "90 Degrees", {116, 88, 198, 98});
    addRadio(IDC_ORIENT_270, "270 Degrees", {116, 100, 198, 110});
    addCheck(IDC_MAINTAIN_ASPECT, "Maintain Aspect", {110, 116, 200, 126});
    addCheck(IDC_HIDE, "Hide", {110, 128, 200, 138});
    addButton(IDC_FONT, "Select Font", {210, 70, 280, 84});
  }

 protected:
  void fillMore() override {
    PageElement& e = s_.elements[element_];
    const int ids[4] = {IDC_TEXT1, IDC_TEXT2, IDC_TEXT3, IDC_TEXT4};
    for (int k = 0; k < 4; ++k) setText(ids[k], e.texts[k]);
    const double f = unitsOf(s_);
    const double thickness = elementThickness(e), length = elementLength(e);
    // The anchor: the right edge at 90 degrees, else the left; the top at 270, else the bottom.
    setNumber(IDC_ELEM_X, "%.2f", (e.orientation == 1 ? e.right : e.left) * f);
    setNumber(IDC_ELEM_Y, "%.2f", (e.orientation == 2 ? e.top : e.bottom) * f);
    setNumber(IDC_FONT_SIZE, "%.2f", thickness * 72.0);
    setNumber(IDC_LABEL_LENGTH, "%.2f", length * f);
    checkRadio(e.orientation == 1 ? IDC_ORIENT_90 : e.orientation == 2 ? IDC_ORIENT_270 : IDC_ORIENT_0);
    setCheck(IDC_MAINTAIN_ASPECT, e.maintainAspect ? 1 : 0);
    setCheck(IDC_HIDE, e.hidden ? 1 : 0);
  }

  void readMore() override {
    PageElement& e = s_.elements[element_];
    const int ids[4] = {IDC_TEXT1, IDC_TEXT2, IDC_TEXT3, IDC_TEXT4};
    for (int k = 0; k < 4; ++k) e.texts[k] = text(ids[k]);
    const double f = unitsOf(s_);
    e.orientation = check(IDC_ORIENT_90) ? 1 : check(IDC_ORIENT_270) ? 2 : 0;
    e.font.escapement = e.font.orientation = orientationEscapement(e.orientation);
    double points = number(IDC_FONT_SIZE);
    if (clampTo(6, 72)(points)) warn(fontWarning(element_));
    double length = number(IDC_LABEL_LENGTH) / f;
    if (length <= 0) {
      char line[160];
      std::snprintf(line, sizeof line, kMsgWarnElementSize, "Title");
      warn(line);
      const PageElement& d = builtIn().elements[element_];
      length = elementLength(d);
    }
    const double x = number(IDC_ELEM_X) / f, y = number(IDC_ELEM_Y) / f, thick = points / 72.0;
    switch (e.orientation) {
      case 1:  // 90 degrees: anchored at its right bottom, reading upwards
        e.right = float(x), e.bottom = float(y);
        e.left = float(x - thick), e.top = float(y - length);
        break;
      case 2:  // 270 degrees: anchored at its left top, reading downwards
        e.left = float(x), e.top = float(y);
        e.right = float(x + thick), e.bottom = float(y + length);
        break;
      default:
        e.left = float(x), e.bottom = float(y);
        e.top = float(y - thick), e.right = float(x + length);
        break;
    }
    e.maintainAspect = check(IDC_MAINTAIN_ASPECT) ? 1 : 0;
    e.hidden = check(IDC_HIDE) ? 1 : 0;
  }

  bool commandMore(int id) override {
    if (id != IDC_FONT) return false;
    PageElement& e = s_.elements[element_];
    int points = int(std::lround(number(IDC_FONT_SIZE)));
    if (!pickFont(e.font, points, &e.colour)) return true;
    // The size chosen is the element's thickness, entered on the page.
    setNumber(IDC_FONT_SIZE, "%.2f", points);
    return true;
  }

 private:
  int& element_;
};

// --- "Legend" and "Logo": a rectangle element ----------------------------------------------

class ElementBoxPage : public SettingsPage {
 public:
  ElementBoxPage(int resourceId, const char* caption, DisplaySettings& s, const SheetTarget& t, int element)
      : SettingsPage(resourceId, caption, s, t), element_(element), name_(caption) {
    BoxFields(*this, 7, 7);
    addCheck(IDC_HIDE, "Hide", {110, 9, 170, 19});
    bindCheck(IDC_HIDE, &s.elements[element].hidden);
  }

 protected:
  void fillMore() override {
    const PageElement& e = s_.elements[element_];
    const double f = unitsOf(s_);
    setNumber(IDC_ELEM_X, "%.2f", e.left * f);
    setNumber(IDC_ELEM_Y, "%.2f", e.top * f);
    setNumber(IDC_ELEM_WIDTH, "%.2f", (e.right - e.left) * f);
    setNumber(IDC_ELEM_HEIGHT, "%.2f", (e.bottom - e.top) * f);
  }
  // An element of no or negative size is given its built-in size.
  void readMore() override {
    PageElement& e = s_.elements[element_];
    const PageElement& d = builtIn().elements[element_];
    const double f = unitsOf(s_);
    double w = number(IDC_ELEM_WIDTH) / f, h = number(IDC_ELEM_HEIGHT) / f;
    if (w <= 0 || h <= 0) {
      char line[160];
      std::snprintf(line, sizeof line, kMsgWarnElementSize, name_);
      warn(line);
      if (w <= 0) w = d.right - d.left;
      if (h <= 0) h = d.bottom - d.top;
    }
    e.left = float(number(IDC_ELEM_X) / f);
    e.top = float(number(IDC_ELEM_Y) / f);
    e.right = e.left + float(w);
    e.bottom = e.top + float(h);
  }

 private:
  int element_;
  const char* name_;
};

class LegendPage : public ElementBoxPage {
 public:
  LegendPage(DisplaySettings& s, const SheetTarget& t) : ElementBoxPage(kLegendPageId, "Legend", s, t, kLegend) {
    addButton(IDC_FONT, "Select Font", {110, 24, 180, 38});
    addGrid(IDC_LEGEND_GRID, {7, 66, 293, 214});
  }

 protected:
  void fillMore() override {
    ElementBoxPage::fillMore();
    dv::GridModel* g = grid(IDC_LEGEND_GRID);
    g->setSize(1 + kLegendLines, 3);
    g->setFixedRows(1);
    g->setFixedCols(0);
    g->setColWidth(0, 40);
    g->setColWidth(1, 330);
    g->setColWidth(2, 80);
    const char* titles[3] = {"Line", "Text", "Font Size"};
    for (int c = 0; c < 3; ++c) {
      g->setText(0, c, titles[c]);
      g->setEditable(0, c, false);
    }
    for (int k = 0; k < kLegendLines; ++k) {
      char n[16], size[32];
      std::snprintf(n, sizeof n, "%i", k + 1);
      {
        dv::CNumericScope scope;
        std::snprintf(size, sizeof size, "%.2f", s_.legendSizes[k]);
      }
      g->setText(1 + k, 0, n);
      g->setEditable(1 + k, 0, false);
      g->setText(1 + k, 1, s_.legendTexts[k]);
      g->setText(1 + k, 2, size);
    }
  }

  void readMore() override {
    ElementBoxPage::readMore();
    dv::GridModel* g = grid(IDC_LEGEND_GRID);
    bool warned = false;
    for (int k = 0; k < kLegendLines && 1 + k < g->rows(); ++k) {
      s_.legendTexts[k] = g->text(1 + k, 1);
      std::string t = g->text(1 + k, 2);
      std::replace(t.begin(), t.end(), ',', '.');
      dv::CNumericScope scope;
      double size = std::strtod(t.c_str(), nullptr);
      if (!std::isfinite(size)) size = 0;
      // A size of 0 leaves the line out; any other size is kept to 6..72.
      if (size != 0 && clampTo(6, 72)(size) && !warned) {
        warn(kMsgWarnLegendFont);
        warned = true;
      }
      s_.legendSizes[k] = float(size);
    }
  }

  bool commandMore(int id) override {
    if (id != IDC_FONT) return false;
    PageElement& e = s_.elements[kLegend];
    int points = int(std::lround(s_.legendSizes[0] > 0 ? s_.legendSizes[0] : 10.0f));
    pickFont(e.font, points, &e.colour);
    return true;
  }

};

// --- "Comments" ----------------------------------------------------------------------------

class CommentPage : public SettingsPage {
 public:
  CommentPage(DisplaySettings& s, const SheetTarget& t) : SettingsPage(kCommentPageId, "Comments", s, t) {
    add(dv::ControlKind::Group, -1, "Show:", {7, 7, 100, 50});
    addRadio(IDC_SHOW_HIDE, "Hide", {14, 17, 95, 27}, true);
    addRadio(IDC_SHOW_TOP, "On Top", {14, 28, 95, 38});
    addRadio(IDC_SHOW_BOTTOM, "On Bottom", {14, 39, 95, 49});
    add(dv::ControlKind::Group, -1, "Orientation:", {110, 7, 200, 40});
    addRadio(IDC_ORIENT_90, "90 Degrees", {116, 17, 198, 27}, true);
    addRadio(IDC_ORIENT_270, "270 Degrees", {116, 28, 198, 38});
    addButton(IDC_FONT, "Select Font", {7, 58, 77, 72});
    bindRadios(&s.commentsPlacement, {{IDC_SHOW_HIDE, 0}, {IDC_SHOW_TOP, 1}, {IDC_SHOW_BOTTOM, 2}});
    bindRadios(&s.commentsRotation, {{IDC_ORIENT_90, 1}, {IDC_ORIENT_270, 0}});
    bindFont(IDC_FONT, &s.commentsFont, &s.commentsFontSize, &s.commentsColour, nullptr);
  }

 protected:
  void readMore() override {
    s_.commentsFont.escapement = s_.commentsFont.orientation = s_.commentsRotation == 1 ? 900 : 2700;
  }
};

}  // namespace

std::unique_ptr<SettingsPage> makePagePage(DisplaySettings& s, const SheetTarget& t) {
  return std::make_unique<PagePage>(s, t);
}
std::unique_ptr<SettingsPage> makeTitlePage(DisplaySettings& s, const SheetTarget& t, int& element) {
  return std::make_unique<TitlePage>(s, t, element);
}
std::unique_ptr<SettingsPage> makeLegendPage(DisplaySettings& s, const SheetTarget& t) {
  return std::make_unique<LegendPage>(s, t);
}
std::unique_ptr<SettingsPage> makeLogoPage(DisplaySettings& s, const SheetTarget& t) {
  return std::make_unique<ElementBoxPage>(kLogoPageId, "Logo", s, t, kLogo);
}
std::unique_ptr<SettingsPage> makeCommentPage(DisplaySettings& s, const SheetTarget& t) {
  return std::make_unique<CommentPage>(s, t);
}

}  // namespace quv
