// The colour table of an image bitmap: black at 0, white (the background)
// at 1, the N palette colours from 2, the twenty system colours after them
// and zeros to the end; and the logical palette of N + 20 entries copied
// from entries 2 onwards.
#pragma once

#include <vector>

#include "dv/bitmap.h"

namespace quv {

struct UserPalette;

enum PaletteType {
  kNoColor = 0,
  kGrayScale = 1,
  kRedWhiteBlue = 2,
  kUserDefined = 3,
  kPaletteTypeCount = 4,
};

// "No Color", "Gray Scale", "Red-White-Blue", "User Defined"; "" otherwise.
const char* paletteTypeName(int type);

constexpr uint8_t kBlackIndex = 0;
constexpr uint8_t kWhiteIndex = 1;   // the background of every image
constexpr int kFirstPaletteIndex = 2;

// The colour counts an image can have: 8, 16, 32, 64, 128 or 256. Any other
// stored count is taken as the nearest of these at or below it (8 below 8).
int validColourCount(int colours);

// The twenty colours every screen palette keeps: the first ten and the last
// ten (entries 246 to 255) of the system palette.
extern const dv::ColorRef kSystemColours[20];

// Fills `table` for palette type `type` with `colours` colours. With No
// Color the palette entries are left as they are. User Defined takes entry
// k of `user` (the module's palette when nullptr); with more than its 64
// colours each user colour is repeated, entry k taking user colour
// k * 64 / N. With 256 colours only entries 2 to 255 exist: the palette's
// last two colours and the system colours have no room.
void buildColorTable(int type, int colours, dv::ColorTable& table, const UserPalette* user = nullptr);

// The logical palette beside the table: entries 2 to N + 21 (as far as the table reaches).
std::vector<dv::ColorRef> logicalPalette(const dv::ColorTable& table, int colours);

}  // namespace quv
