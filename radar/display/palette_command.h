// Load User Palette: a palette file chosen by the user replaces the shared
// user palette and is kept as the installation's "USERDEF.PAL".
#pragma once

#include <string>

namespace quv {

// Asks for the file ("Load User Defined Color Palette...", starting in the
// installation's PALS folder) and loads it. True when the palette changed;
// a file that cannot be opened gives "Could not open file for reading".
bool loadUserPaletteCommand();

// Loads the file into the shared palette and copies it over USERDEF.PAL in
// orxDir. False (palette unchanged) when the file cannot be opened.
bool loadUserPaletteFile(const std::string& path, const std::string& orxDir);

}  // namespace quv
