// Page layout files (.lay): the arrangement of a presentation page as a
// settings file ("[section]" / "key=value"), to carry a layout from one
// profile to another. Lengths are written as inches times the units factor
// ("in" 1.0, "mm" 25.4) with "%.2f"; a rotated text is placed by its
// anchor (x: the right edge at 90 degrees, else the left; y: the top edge
// at 270 degrees, else the bottom), its thickness times 72 as font size and
// its length along the text.
#pragma once

#include <string>

#include "project/display_settings.h"

namespace quv {

// The whole text of the layout file of a record, keys in their order.
std::string layoutFileText(const DisplaySettings& s);
// Writes the file whole (a temporary file renamed over the old one).
bool saveLayoutFile(const std::string& path, const DisplaySettings& s);
// Reads a layout file into the record: a key that is missing or empty
// leaves its field as it was; "units" ("in" or "mm") comes first and every
// length read after it is divided by its factor; an orientation other than
// 0, 90 or 270 is left as it was; numbers that do not parse count as 0.
// False (record untouched) when the file cannot be read.
bool loadLayoutFile(const std::string& path, DisplaySettings& s);

// The folder the layout dialogs start in: <installation>/LAYOUTS/QUV, made
// when missing.
std::string layoutFolder(const std::string& orxDir);

}  // namespace quv
