// The raw data window's menus and toolbar: the pop-up "WRAW" (the third
// pop-up of the raw data menu resource), the "&Raw" pop-up it adds to the
// main menu, and the raw object toolbar.
#include "display/colortable.h"
#include "display/raw_gain.h"
#include "display/raw_window.h"

namespace quv {

std::unique_ptr<dv::Menu> rawWindowPopup(int gain, int palette) {
  auto m = std::make_unique<dv::Menu>();
  auto add = [&](int id, const char* caption, bool checked) {
    m->append(dv::MF_STRING | (checked ? dv::MF_CHECKED : 0u), id, caption);
  };
  add(kRawCmdZoomOut, "&Zoom Out", false);
  add(kRawCmdGainTraceMax, "Gain: &Trace Max", gain != kRawGainAgc10 && gain != kRawGainAgc25);
  add(kRawCmdGainAgc10, "Gain: AGC &10%", gain == kRawGainAgc10);
  add(kRawCmdGainAgc25, "Gain: AGC &25%", gain == kRawGainAgc25);
  add(kRawCmdGrayScale, "&Gray Scale", palette == kGrayScale);
  add(kRawCmdRedWhiteBlue, "&Red-White-Blue", palette == kRedWhiteBlue);
  return m;
}

std::unique_ptr<dv::Menu> rawMainMenuPopup() {
  auto m = std::make_unique<dv::Menu>();
  m->append(dv::MF_STRING, kRawMenuCreateProfile, "&Create Profile");
  m->append(dv::MF_STRING, kRawMenuJoin, "&Join");
  m->append(dv::MF_STRING, kRawMenuRubberSheet, "Ru&bber Sheet");
  m->append(dv::MF_STRING, kRawMenuReverse, "Re&verse");
  m->append(dv::MF_STRING, kRawMenuReorder, "Re&order");
  m->append(dv::MF_STRING, kRawMenuCrop, "Cro&p");
  m->append(dv::MF_STRING, kRawMenuResample, "&Resample");
  m->append(dv::MF_STRING, kRawMenuFileHeader, "View &File Header");
  return m;
}

std::vector<dv::ToolButton> rawToolBar(int gain, int palette) {
  const bool agc10 = gain == kRawGainAgc10, agc25 = gain == kRawGainAgc25;
  std::vector<dv::ToolButton> bar = {{kRawToolZoomOut, "zoom-out", "Zoom Out"},
                                     {kRawToolZoomOut + 1, "", "Gain: Trace Max"},
                                     {kRawToolZoomOut + 2, "", "Gain: AGC 10%"},
                                     {kRawToolZoomOut + 3, "", "Gain: AGC 25%"},
                                     {kRawToolZoomOut + 4, "", "Gray Scale"},
                                     {kRawToolRedWhiteBlue, "", "Red-White-Blue"}};
  bar[1].checked = !agc10 && !agc25;
  bar[2].checked = agc10;
  bar[3].checked = agc25;
  bar[4].checked = palette == kGrayScale;
  bar[5].checked = palette == kRedWhiteBlue;
  return bar;
}

int rawObjectCommandOf(int id) {
  switch (id) {
    case kRawMenuCreateProfile: return ID_RAWOBJ_CREATE_PROFILE;
    case kRawMenuReorder: return ID_RAWOBJ_REORDER;
    case kRawMenuResample: return ID_RAWOBJ_RESAMPLE;
    case kRawMenuReverse: return ID_RAWOBJ_REVERSE;
    case kRawMenuCrop: return ID_RAWOBJ_CROP;
    case kRawMenuJoin: return ID_RAWOBJ_JOIN;
    case kRawMenuRubberSheet: return ID_RAWOBJ_RUBBER_SHEET;
    case kRawMenuFileHeader: return ID_RAWOBJ_FILE_HEADER;
  }
  return 0;
}

}  // namespace quv
