// The three default folders of the module, read from the installation's
// settings file "INI/DELVAR.INI" (section "DELVAR_defaults") when the module
// starts: where the raw data add dialog, the Brennic import and image export
// begin. A key that is absent gives the user's home folder.
#pragma once

#include <string>

namespace quv {

struct DefaultFolders {
  std::string rawData;        // "default_raw_data_directory"
  std::string brennicImport;  // "default_brennic_import_directory"
  std::string exportDir;      // "default_export_directory"
};

// The module's folders (read in InitModule; the add dialog moves rawData to
// the folder of the last files chosen, without writing it back).
DefaultFolders& defaultFolders();

// orxDir + "/INI/DELVAR.INI".
std::string settingsFilePath(const std::string& orxDir);
// Reads the three keys (at most 255 characters each).
DefaultFolders readDefaultFolders(const std::string& iniPath);

}  // namespace quv
