// The colour tables of the four palette types.
#include "display/colortable.h"

#include <algorithm>

#include "project/user_palette.h"

namespace quv {

const char* paletteTypeName(int type) {
  static const char* const names[kPaletteTypeCount] = {"No Color", "Gray Scale", "Red-White-Blue",
                                                       "User Defined"};
  return type >= 0 && type < kPaletteTypeCount ? names[type] : "";
}

int validColourCount(int colours) {
  int n = 8;
  while (n < 256 && n * 2 <= colours) n *= 2;
  return n;
}

const dv::ColorRef kSystemColours[20] = {
    dv::rgb(0, 0, 0),       dv::rgb(128, 0, 0),     dv::rgb(0, 128, 0),     dv::rgb(128, 128, 0),
    dv::rgb(0, 0, 128),     dv::rgb(128, 0, 128),   dv::rgb(0, 128, 128),   dv::rgb(192, 192, 192),
    dv::rgb(192, 220, 192), dv::rgb(166, 202, 240), dv::rgb(255, 251, 240), dv::rgb(160, 160, 164),
    dv::rgb(128, 128, 128), dv::rgb(255, 0, 0),     dv::rgb(0, 255, 0),     dv::rgb(255, 255, 0),
    dv::rgb(0, 0, 255),     dv::rgb(255, 0, 255),   dv::rgb(0, 255, 255),   dv::rgb(255, 255, 255)};

void buildColorTable(int type, int colours, dv::ColorTable& table, const UserPalette* user) {
  const int n = validColourCount(colours);
  auto put = [&table](int entry, dv::ColorRef c) {
    const int at = kFirstPaletteIndex + entry;
    if (at < 256) table[size_t(at)] = c;
  };
  switch (type) {
    case kGrayScale:
      for (int k = 0; k < n; ++k) {
        const int v = k * 256 / n;
        put(k, dv::rgb(v, v, v));
      }
      break;
    case kRedWhiteBlue:
      for (int k = 0; k < n / 2; ++k) {
        const int v = 2 * k * 256 / n;
        put(k, dv::rgb(255, v, v));
        put(n - 1 - k, dv::rgb(v, v, 255));
      }
      break;
    case kUserDefined: {
      const UserPalette& p = user ? *user : userPalette();
      for (int k = 0; k < n; ++k) {
        const int u = n > kUserPaletteSize ? k * kUserPaletteSize / n : k;
        put(k, dv::rgb(p.red[u], p.green[u], p.blue[u]));
      }
      break;
    }
    default:  // No Color: the palette entries stay as they are
      break;
  }
  table[kBlackIndex] = dv::rgb(0, 0, 0);
  table[kWhiteIndex] = dv::rgb(255, 255, 255);
  for (int i = 0; i < 20; ++i) put(n + i, kSystemColours[i]);
  for (int at = kFirstPaletteIndex + n + 20; at < 256; ++at) table[size_t(at)] = 0;
}

std::vector<dv::ColorRef> logicalPalette(const dv::ColorTable& table, int colours) {
  const int n = validColourCount(colours);
  const int last = std::min(kFirstPaletteIndex + n + 20, 256);
  return std::vector<dv::ColorRef>(table.begin() + kFirstPaletteIndex, table.begin() + last);
}

}  // namespace quv
