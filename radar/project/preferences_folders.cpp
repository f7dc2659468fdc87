#include "project/preferences_folders.h"

#include "dv/file.h"
#include "dv/settings.h"
#include "dv/system.h"

namespace quv {

namespace {
constexpr const char* kSection = "DELVAR_defaults";
constexpr int kMaxPath = 255;
}  // namespace

DefaultFolders& defaultFolders() {
  static DefaultFolders folders;
  return folders;
}

std::string settingsFilePath(const std::string& orxDir) {
  return dv::joinPath(dv::joinPath(orxDir, "INI"), "DELVAR.INI");
}

DefaultFolders readDefaultFolders(const std::string& iniPath) {
  // A folder that was never set is the user's home folder.
  std::string home = dv::homeDir();
  DefaultFolders f;
  f.rawData = dv::getProfileString(kSection, "default_raw_data_directory", home, iniPath, kMaxPath);
  f.brennicImport =
      dv::getProfileString(kSection, "default_brennic_import_directory", home, iniPath, kMaxPath);
  f.exportDir = dv::getProfileString(kSection, "default_export_directory", home, iniPath, kMaxPath);
  return f;
}

}  // namespace quv
