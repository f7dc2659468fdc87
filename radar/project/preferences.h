// The commands of the "&QUV Preferences" pop-up: the default folders file
// dialogs start in (kept in the installation's settings file), the raw data
// display defaults, and the storing and loading of the open project's
// display defaults ("DEFAULTS.QUV" in the project folder).
//
// Whatever cannot be written keeps its new values in memory (the folders
// until the module is unloaded, the display defaults until the project
// closes) and says so on the message bar.
#pragma once

#include <string>

#include "project/defaults_file.h"
#include "project/preferences_folders.h"

namespace quv {

// The three folders become the module's and are written to the settings
// file orxDir + "/INI/DELVAR.INI" (section "DELVAR_defaults"), making the
// "INI" folder when it is missing. False when they could not be written.
bool storeDefaultFolders(const DefaultFolders& folders, const std::string& orxDir);

// The raw data display defaults (gain 0 Trace Max, 1 AGC 10%, 2 AGC 25%;
// palette 1 Gray Scale, 2 Red-White-Blue) become the project's; the
// defaults file is rewritten without its head. False without an open
// project or when the file could not be written.
bool storeRawDisplayDefaults(int gain, int palette);

// A new normal or presentation defaults record (the sheets' OK) becomes the
// project's and the defaults file is rewritten without its head. The second
// form of the presentation store also takes the eight presentation values
// (traces-box width and height, traces and samples per unit, the two scales
// and the two use modes) from `box`; its raw gain and palette are ignored.
bool storeNormalDefaults(const DisplaySettings& normal);
bool storePresentationDefaults(const DisplaySettings& presentation);
bool storePresentationDefaults(const DisplaySettings& presentation, const DefaultsValues& box);

// Reads a defaults file (with or without its head) into the project's
// defaults and writes the project's file whole, with the head. A file that
// is missing or not a defaults file changes nothing (false).
bool loadExternalDefaults(const std::string& path);

// The menu commands: 35040 "Specify Default File Locations", 35041 "Set Raw
// Data Display Defaults", 35044 "Load External Data Display Defaults...".
void fileLocationsCommand();
void rawDisplayDefaultsCommand();
void loadDefaultsCommand();

}  // namespace quv
