// Page layout files: writing every key in its order, reading them back.
#include "display/layout_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "dv/file.h"
#include "dv/settings.h"

namespace quv {

namespace {

constexpr float kMillimetresPerInch = 25.4f;
constexpr double kMaxValue = 10000.0;  // inches, millimetres or points

// The keys of a text element (title, horizontal label, vertical label).
struct ElementKeys {
  const char* section;
  const char* x;
  const char* y;
  const char* size;
  const char* length;
  const char* aspect;
  const char* orientation;
  const char* font;
  const char* red;
  const char* green;
  const char* blue;
};

constexpr ElementKeys kTitleKeys{"title", "title_x_position", "title_y_position", "title_font_size",
                                 "title_length", "title_maintain_aspect", "title_orientation", "title_font",
                                 "title_font_color_red", "title_font_color_green", "title_font_color_blue"};
constexpr ElementKeys kHorizontalKeys{"horizontal_axis", "horizontal_label_x", "horizontal_label_y",
                                      "horizontal_label_font_size", "horizontal_label_length",
                                      "horizontal_label_maintain_aspect", "horizontal_label_orientation",
                                      "horizontal_label_font", "horizontal_label_font_color_red",
                                      "horizontal_label_font_color_green", "horizontal_label_font_color_blue"};
constexpr ElementKeys kVerticalKeys{"vertical_axis", "vertical_label_x", "vertical_label_y",
                                    "vertical_label_font_size", "vertical_label_length",
                                    "vertical_label_maintain_aspect", "vertical_label_orientation",
                                    "vertical_label_font", "vertical_label_font_color_red",
                                    "vertical_label_font_color_green", "vertical_label_font_color_blue"};

// The legend has only the colour keys of an element.
constexpr ElementKeys kLegendColourKeys{"legend", "", "", "", "", "", "", "", "legend_font_color_red",
                                        "legend_font_color_green", "legend_font_color_blue"};

const char* const kHorizontalTexts[] = {"trace_number_label", "easting_label", "northing_label"};
const char* const kVerticalTexts[] = {"sample_number_label", "time_label", "depth_label", "elevation_label"};

int red(ColorRef c) { return int(c & 0xFF); }
int green(ColorRef c) { return int((c >> 8) & 0xFF); }
int blue(ColorRef c) { return int((c >> 16) & 0xFF); }

std::string& shownText(PageElement& e) { return e.texts[std::clamp(e.shownText, 0, 3)]; }
const std::string& shownText(const PageElement& e) { return e.texts[std::clamp(e.shownText, 0, 3)]; }

// --- writing ---------------------------------------------------------------------------

class Writer {
 public:
  explicit Writer(float factor) : factor_(factor) {}
  void section(const char* name) {
    if (!text_.empty()) text_ += "\r\n";
    text_ += std::string("[") + name + "]\r\n";
  }
  void put(const char* key, const std::string& value) { text_ += std::string(key) + "=" + value + "\r\n"; }
  // A text keeps its outer blanks and quotes inside one pair of quotes.
  void text(const char* key, const std::string& value) {
    const bool quote = !value.empty() && (value.front() == ' ' || value.back() == ' ' || value.front() == '"' ||
                                          value.front() == '\t' || value.back() == '\t');
    put(key, quote ? "\"" + value + "\"" : value);
  }
  void length(const char* key, double inches) { number(key, inches * factor_); }
  void number(const char* key, double value) {
    char t[48];
    std::snprintf(t, sizeof t, "%.2f", value);
    put(key, t);
  }
  void integer(const char* key, int value) { put(key, std::to_string(value)); }
  void flag(const char* key, int on) { put(key, on ? "yes" : "no"); }
  void colour(const ElementKeys& k, ColorRef c) {
    integer(k.red, red(c));
    integer(k.green, green(c));
    integer(k.blue, blue(c));
  }
  const std::string& result() const { return text_; }

 private:
  float factor_;
  std::string text_;
};

void writeElement(Writer& w, const ElementKeys& k, const PageElement& e, bool withColour) {
  const int o = e.orientation;
  w.length(k.x, o == 1 ? e.right : e.left);
  w.length(k.y, o == 2 ? e.top : e.bottom);
  w.number(k.size, (o == 0 ? e.bottom - e.top : e.right - e.left) * 72.0);
  w.length(k.length, o == 0 ? e.right - e.left : e.bottom - e.top);
  w.flag(k.aspect, e.maintainAspect);
  w.put(k.orientation, o == 1 ? "90" : o == 2 ? "270" : "0");
  w.put(k.font, faceName(e.font));
  if (withColour) w.colour(k, e.colour);
}

void writeBox(Writer& w, const char* x, const char* y, const char* width, const char* height, const PageElement& e) {
  w.length(x, e.left);
  w.length(y, e.bottom);
  w.length(width, e.right - e.left);
  w.length(height, e.bottom - e.top);
}

// --- reading ----------------------------------------------------------------------------

class Reader {
 public:
  Reader(const std::string& path, float factor) : path_(path), factor_(factor) {}
  // The value of a key, empty when missing.
  std::string get(const char* section, const char* key) const {
    return dv::getProfileString(section, key, "", path_, 255);
  }
  bool number(const char* section, const char* key, double& out) const {
    const std::string v = get(section, key);
    if (v.empty()) return false;
    // What does not parse (or is not a finite number) reads as 0; the rest
    // is kept to what a page can hold.
    const double d = std::atof(v.c_str());
    out = std::isfinite(d) ? std::clamp(d, -kMaxValue, kMaxValue) : 0.0;
    return true;
  }
  // A length in the file's unit, back in inches.
  bool length(const char* section, const char* key, float& out) const {
    double v = 0;
    if (!number(section, key, v)) return false;
    out = float(v / factor_);
    return true;
  }
  void text(const char* section, const char* key, std::string& out) const {
    std::string v = get(section, key);
    if (!v.empty()) out = v;
  }
  void face(const char* section, const char* key, LogFont& font) const {
    const std::string v = get(section, key);
    if (!v.empty()) setFaceName(font, v.substr(0, 32));
  }
  void colour(const char* section, const ElementKeys& k, ColorRef& c) const {
    double v = 0;
    int r = red(c), g = green(c), b = blue(c);
    if (number(section, k.red, v)) r = int(v);
    if (number(section, k.green, v)) g = int(v);
    if (number(section, k.blue, v)) b = int(v);
    c = rgb(r, g, b);
  }
  void setFactor(float f) { factor_ = f; }

 private:
  std::string path_;
  float factor_;
};

// An element rebuilt from its keys in their order: orientation, x, y, font
// size, length, maintain aspect, face, colour.
void readElement(const Reader& r, const ElementKeys& k, PageElement& e, bool withColour) {
  const std::string o = r.get(k.section, k.orientation);
  if (o == "0" || o == "90" || o == "270") {
    e.orientation = o == "90" ? 1 : o == "270" ? 2 : 0;
    e.font.escapement = e.font.orientation = e.orientation == 1 ? 900 : e.orientation == 2 ? 2700 : 0;
  }
  const int orient = e.orientation;
  float v = 0;
  if (r.length(k.section, k.x, v)) (orient == 1 ? e.right : e.left) = v;
  if (r.length(k.section, k.y, v)) (orient == 2 ? e.top : e.bottom) = v;
  double size = 0;
  if (r.number(k.section, k.size, size)) {
    const float t = float(size / 72.0);
    if (orient == 0) e.top = e.bottom - t;
    else if (orient == 1) e.left = e.right - t;
    else e.right = e.left + t;
  }
  if (r.length(k.section, k.length, v)) {
    if (orient == 0) e.right = e.left + v;
    else if (orient == 1) e.top = e.bottom - v;
    else e.bottom = e.top + v;
  }
  const std::string aspect = r.get(k.section, k.aspect);
  if (aspect == "yes") e.maintainAspect = 1;
  else if (aspect == "no") e.maintainAspect = 0;
  r.face(k.section, k.font, e.font);
  if (withColour) r.colour(k.section, k, e.colour);
}

void readBox(const Reader& r, const char* section, const char* x, const char* y, const char* width,
             const char* height, PageElement& e) {
  float v = 0;
  r.length(section, x, e.left);
  r.length(section, y, e.bottom);
  if (r.length(section, width, v)) e.right = e.left + v;
  if (r.length(section, height, v)) e.top = e.bottom - v;
}

void readAxisFont(const Reader& r, const char* section, const char* size, const char* face, float& points,
                  LogFont& font) {
  double v = 0;
  if (r.number(section, size, v)) points = float(v);  // points, as they stand
  r.face(section, face, font);
}

}  // namespace

std::string layoutFileText(const DisplaySettings& s) {
  const bool mm = std::abs(s.unitsFactor - kMillimetresPerInch) < 0.01f;
  Writer w(mm ? kMillimetresPerInch : 1.0f);
  w.section("general");
  w.put("units", mm ? "mm" : "in");
  w.section("page");
  w.length("width", s.pageWidth);
  w.length("height", s.pageHeight);
  w.length("top_margin", s.marginTop);
  w.length("bottom_margin", s.marginBottom);
  w.length("left_margin", s.marginLeft);
  w.length("right_margin", s.marginRight);

  w.section("title");
  w.text("label_text", shownText(s.elements[kTitle]));
  writeElement(w, kTitleKeys, s.elements[kTitle], true);

  w.section("traces");
  writeBox(w, "trace_x_position", "trace_y_position", "trace_width", "trace_height", s.elements[kTracesBox]);

  w.section("horizontal_axis");
  for (int k = 0; k < 3; ++k) w.text(kHorizontalTexts[k], s.elements[kHorizontalLabel].texts[k]);
  writeElement(w, kHorizontalKeys, s.elements[kHorizontalLabel], true);
  w.number("horizontal_axis_font_size", s.hFontSize);
  w.put("horizontal_axis_font", faceName(s.hFont));

  w.section("vertical_axis");
  for (int k = 0; k < 4; ++k) w.text(kVerticalTexts[k], s.elements[kVerticalLabel].texts[k]);
  writeElement(w, kVerticalKeys, s.elements[kVerticalLabel], false);
  w.number("vertical_axis_font_size", s.vFontSize);
  w.put("vertical_axis_font", faceName(s.vFont));
  w.colour(kVerticalKeys, s.elements[kVerticalLabel].colour);

  w.section("legend");
  writeBox(w, "legend_x_position", "legend_y_position", "legend_width", "legend_height", s.elements[kLegend]);
  w.put("legend_font", faceName(s.elements[kLegend].font));
  w.colour(kLegendColourKeys, s.elements[kLegend].colour);
  for (int k = 0; k < kLegendLines; ++k) {
    const std::string text = "legend_text_" + std::to_string(k + 1);
    const std::string size = "legend_font_size_" + std::to_string(k + 1);
    w.text(text.c_str(), s.legendTexts[k]);
    w.number(size.c_str(), s.legendSizes[k]);
  }
  return w.result();
}

bool saveLayoutFile(const std::string& path, const DisplaySettings& s) {
  return dv::writeFileAtomic(path, layoutFileText(s));
}

bool loadLayoutFile(const std::string& path, DisplaySettings& s) {
  std::string probe;
  if (!dv::readWholeFile(path, probe)) return false;
  Reader r(path, s.unitsFactor > 0 ? s.unitsFactor : 1.0f);
  const std::string units = r.get("general", "units");
  if (units == "in") s.unitsFactor = 1.0f;
  else if (units == "mm") s.unitsFactor = kMillimetresPerInch;
  r.setFactor(s.unitsFactor > 0 ? s.unitsFactor : 1.0f);

  r.length("page", "width", s.pageWidth);
  r.length("page", "height", s.pageHeight);
  r.length("page", "top_margin", s.marginTop);
  r.length("page", "bottom_margin", s.marginBottom);
  r.length("page", "left_margin", s.marginLeft);
  r.length("page", "right_margin", s.marginRight);

  r.text("title", "label_text", shownText(s.elements[kTitle]));
  readElement(r, kTitleKeys, s.elements[kTitle], true);

  readBox(r, "traces", "trace_x_position", "trace_y_position", "trace_width", "trace_height",
          s.elements[kTracesBox]);

  for (int k = 0; k < 3; ++k) r.text("horizontal_axis", kHorizontalTexts[k], s.elements[kHorizontalLabel].texts[k]);
  readElement(r, kHorizontalKeys, s.elements[kHorizontalLabel], true);
  readAxisFont(r, "horizontal_axis", "horizontal_axis_font_size", "horizontal_axis_font", s.hFontSize, s.hFont);

  for (int k = 0; k < 4; ++k) r.text("vertical_axis", kVerticalTexts[k], s.elements[kVerticalLabel].texts[k]);
  readElement(r, kVerticalKeys, s.elements[kVerticalLabel], true);
  readAxisFont(r, "vertical_axis", "vertical_axis_font_size", "vertical_axis_font", s.vFontSize, s.vFont);

  readBox(r, "legend", "legend_x_position", "legend_y_position", "legend_width", "legend_height",
          s.elements[kLegend]);
  r.face("legend", "legend_font", s.elements[kLegend].font);
  r.colour("legend", kLegendColourKeys, s.elements[kLegend].colour);
  for (int k = 0; k < kLegendLines; ++k) {
    const std::string text = "legend_text_" + std::to_string(k + 1);
    const std::string size = "legend_font_size_" + std::to_string(k + 1);
    r.text("legend", text.c_str(), s.legendTexts[k]);
    double v = 0;
    if (r.number("legend", size.c_str(), v)) s.legendSizes[k] = float(v);
  }
  recreateFonts(s);
  return true;
}

std::string layoutFolder(const std::string& orxDir) {
  const std::string layouts = dv::joinPath(orxDir, "LAYOUTS");
  dv::makeDirectory(layouts);
  const std::string quv = dv::joinPath(layouts, "QUV");
  dv::makeDirectory(quv);
  return quv;
}

}  // namespace quv
