// The user-defined palette: 64 colours shared by every display whose palette
// type is User Defined (3). It starts as a red ramp (248 down to 0) followed
// by a blue ramp (0 up to 248) and is replaced from palette text files.
#pragma once

#include <cstdint>
#include <string>

namespace quv {

constexpr int kUserPaletteSize = 64;
constexpr const char* kUserPaletteFileName = "USERDEF.PAL";

struct UserPalette {
  uint8_t red[kUserPaletteSize];
  uint8_t green[kUserPaletteSize];
  uint8_t blue[kUserPaletteSize];
};

// The module's palette.
UserPalette& userPalette();
// The initial ramps.
void initialPalette(UserPalette& p);
// Applies palette text: one "%d %d %d" colour per line, blanks before it
// skipped, empty lines and lines beginning with "/" ignored, values kept to
// their low byte, at most 64 lines taken; later entries keep their colours.
// Returns the number of colour lines taken.
int applyPaletteText(UserPalette& p, const std::string& text);
// Reads a palette file into p; false (p unchanged) when it cannot be opened.
bool loadPaletteFile(const std::string& path, UserPalette& p);
// Module start-up: the initial ramps, then orxDir + "/USERDEF.PAL" when it exists.
void loadUserPalette(const std::string& orxDir);

}  // namespace quv
