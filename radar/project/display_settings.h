// The display settings record: everything a normal or presentation display
// of a profile version needs (page and its six elements, gain, palette,
// wiggles, zoom window, axes, fonts, legend, comments band), with the
// built-in defaults and the stored form kept byte for byte in the version
// header files and in the project's defaults file.
#pragma once

#include <cstdint>
#include <string>

#include "project/display_settings_bytes.h"

namespace quv {

// Colour reference as stored: 0x00BBGGRR.
using ColorRef = uint32_t;
constexpr ColorRef rgb(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16));
}

// The 60-byte logical font description, in its stored field order.
struct LogFont {
  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 400;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strikeOut = 0;
  uint8_t charSet = 1;
  uint8_t outPrecision = 0;
  uint8_t clipPrecision = 0;
  uint8_t quality = 0;
  uint8_t pitchAndFamily = 0;
  char faceName[32] = {'A', 'r', 'i', 'a', 'l'};
};
static_assert(sizeof(LogFont) == 60, "the logical font is stored as 60 bytes");
constexpr int kLogFontBytes = 60;

// "Arial" with weight 400, character set 1 and the given escapement (and
// orientation) in tenths of a degree.
LogFont arialFont(int escapement = 0);
std::string faceName(const LogFont& font);
void setFaceName(LogFont& font, const std::string& face);  // at most 31 characters kept

// A font made from a logical font: what the canvas draws with. It is held
// beside its description, rebuilt from it after reading, and never stored.
struct FontObject {
  bool created = false;
  LogFont font;
};
void createFont(FontObject& object, const LogFont& from);

struct PixelRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// One element of the presentation page (rectangle in inches, y downwards).
struct PageElement {
  float left = 0, top = 0, right = 0, bottom = 0;
  PixelRect pixels;  // recomputed from the inches, not stored
  int32_t maintainAspect = 1;
  int32_t orientation = 0;  // 0: 0 degrees, 1: 90 degrees, 2: 270 degrees
  std::string texts[4];
  int32_t shownText = 0;
  LogFont font;
  FontObject fontObject;  // not stored
  ColorRef colour = 0;
  int32_t hidden = 0;
};

// The order of the six elements in the record.
enum PageElementIndex {
  kTracesBox = 0,
  kTitle = 1,
  kHorizontalLabel = 2,
  kVerticalLabel = 3,
  kLegend = 4,
  kLogo = 5,
  kPageElementCount = 6,
};

constexpr int kLegendLines = 10;

struct DisplaySettings {
  PageElement elements[kPageElementCount];
  // visible region, inches
  float visibleLeft = 0, visibleTop = 0, visibleRight = 11.0f, visibleBottom = 8.5f;
  // page
  int32_t landscape = 1;  // held, not stored
  float unitsFactor = 1.0f;  // 1.0 inches, 25.4 millimetres
  float pageWidth = 11.0f, pageHeight = 8.5f;
  float marginLeft = 0.3f, marginTop = 0.3f, marginRight = 0.3f, marginBottom = 0.3f;
  int32_t hideMarginFrame = 0;
  // gain (GainType of the image building)
  int32_t gainType = 3;
  float constantGain = 1.0f, agcWindow = 25.0f, sphericalV = 0.15f, sphericalA = 0.01f;
  // colour (PaletteType)
  int32_t paletteType = 2, numColours = 64;
  // wiggles
  int32_t wiggleLines = 0, fillLeft = 0, fillRight = 0;
  int32_t panelFillLeft = 0, panelFillRight = 1;
  int32_t wiggleEvery = 5;
  float wiggleDeflection = 2.0f;
  ColorRef wiggleColour = 0;
  // zoom window: set to the whole profile when a version takes the record
  int32_t firstTrace = 0, lastTrace = 0, firstSample = 0, lastSample = 0;
  // axis types: horizontal 0 trace #, 1 easting, 2 northing; vertical 0
  // sample #, 1 time, 2 depth or elevation
  int32_t hAxisType = 1, vAxisType = 1;
  // tick modes: 0 fixed number, 1 every nth, 2 coordinate increment
  int32_t hTickMode = 0, vTickMode = 0;
  int32_t eastingWithNorthing = 1, northingWithEasting = 1;
  float velocity = 0.3f;  // feet per nanosecond
  // values
  int32_t hFixedNumber = 5, vFixedNumber = 5;
  int32_t everyNthTrace = 100, everyNthSample = 100;
  float hCoordIncrement = 100.0f, vCoordIncrement = 100.0f;
  int32_t hDecimals = 2, vDecimals = 2;
  int32_t hMinors = 5, vMinors = 5;
  // hide first/last value
  int32_t hHideFirst = 0, hHideLast = 0, vHideFirst = 0, vHideLast = 0;
  // near side: vertical left, horizontal top
  int32_t vLeftValues = 0, vLeftMajor = 0, vLeftMinor = 0;
  int32_t hTopValues = 0, hTopMajor = 0, hTopMinor = 0;
  // far side: vertical right, horizontal bottom
  int32_t vRightValues = 1, vRightMajor = 1, vRightMinor = 1;
  int32_t hBottomValues = 1, hBottomMajor = 1, hBottomMinor = 1;
  // other flags
  int32_t hideGeometryNodes = 0, hideMajorGrid = 0, hideMinorGrid = 1;
  // axis fonts
  float hFontSize = 10.0f, vFontSize = 10.0f;  // points
  int32_t hFontHeight = 0, vFontHeight = 0;    // pixels
  LogFont hFont, vFont;
  FontObject hFontObject, vFontObject;  // not stored
  ColorRef hTextColour = 0, vTextColour = 0;
  // legend
  std::string legendTexts[kLegendLines];
  float legendSizes[kLegendLines] = {};
  FontObject legendFontObjects[kLegendLines];  // not stored
  // comments band
  int32_t commentsPlacement = 0;  // 0 hidden, 1 above, 2 below
  int32_t commentsRotation = 1;   // 1: 90 degrees
  float commentsFontSize = 10.0f;
  int32_t commentsFourth = 0;  // held and stored, no effect on drawing
  LogFont commentsFont = arialFont(900);
  FontObject commentsFontObject;  // not stored
  ColorRef commentsColour = 0;

  DisplaySettings();  // every built-in default
};

// Recreates every font object from its logical font.
void recreateFonts(DisplaySettings& s);

// Zoom window over the whole profile: traces 0..traces-1, samples 0..samples-1.
void setWholeProfile(DisplaySettings& s, int traces, int samples);

// The stored form (little-endian). The reader fails (false, record left
// partly read) when the bytes end before the record does or a text length
// is larger than what remains; it recreates the font objects on success.
// The version stamp of the file is passed for the record's reader; no value
// is rejected.
void writeSettings(ByteWriter& out, const DisplaySettings& s);
bool readSettings(ByteReader& in, int versionStamp, DisplaySettings& s);

// Field-by-field equality of everything that is stored (tests and change checks).
bool sameStoredFields(const DisplaySettings& a, const DisplaySettings& b);

// What a new version takes from a defaults record (parts of the record):
// the page and its elements' placement, the data part (gain, palette,
// wiggles, axes, fonts, legend, comments, element texts), or both.
enum CopyPart { kCopyPage = 1, kCopyData = 2, kCopyAll = 3 };
void copySettings(DisplaySettings& to, const DisplaySettings& from, int parts);

}  // namespace quv
