// Storing the preferences: the default folders in the settings file and the
// project's display defaults in its defaults file.
#include "project/preferences.h"

#include "dv/file.h"
#include "dv/settings.h"
#include "project/messages.h"
#include "project/quv.h"

namespace quv {

namespace {

constexpr const char* kSection = "DELVAR_defaults";

// Rewrites the project's defaults file; a file that cannot be written keeps
// the new values in memory and says so.
bool saveDefaults(const char* command, bool withHead) {
  const std::string dir = projectDir();
  if (saveProjectDefaults(dir, withHead)) return true;
  msg(DV_MSG_PLAIN, kMsgWarningDisplayDefaultsNotSaved, command,
      dv::joinPath(dir, kDefaultsFileName).c_str());
  return false;
}

// The project's defaults, or nullptr (with a message) when no project is open.
ProjectDefaults* projectDefaults(const char* command) {
  ProjectDefaults* d = projectDir().empty() ? nullptr : displayDefaults();
  if (!d) msg(DV_MSG_PLAIN, kMsgDisplayDefaultsNeedAProject, command);
  return d;
}

}  // namespace

bool storeDefaultFolders(const DefaultFolders& folders, const std::string& orxDir) {
  defaultFolders() = folders;
  const std::string iniDir = dv::joinPath(orxDir, "INI");
  const std::string ini = settingsFilePath(orxDir);
  bool ok = !orxDir.empty() && dv::makeDirectory(iniDir);
  const std::pair<const char*, const std::string*> keys[] = {
      {"default_raw_data_directory", &folders.rawData},
      {"default_brennic_import_directory", &folders.brennicImport},
      {"default_export_directory", &folders.exportDir},
  };
  // Each key is written through a temporary file and a rename.
  for (const auto& [key, value] : keys)
    ok = ok && dv::WritePrivateProfileString(kSection, key, value->c_str(), ini.c_str());
  if (!ok) msg(DV_MSG_PLAIN, kMsgWarningFileLocationsNotSaved, ini.c_str());
  return ok;
}

bool storeRawDisplayDefaults(int gain, int palette) {
  ProjectDefaults* d = projectDefaults("Raw Data Display");
  if (!d) return false;
  d->values.rawGain = gain;
  d->values.rawPalette = palette;
  return saveDefaults("Raw Data Display", false);
}

bool storeNormalDefaults(const DisplaySettings& normal) {
  ProjectDefaults* d = projectDefaults("Normal Data Display");
  if (!d) return false;
  d->normal = normal;
  recreateFonts(d->normal);
  return saveDefaults("Normal Data Display", false);
}

bool storePresentationDefaults(const DisplaySettings& presentation) {
  ProjectDefaults* d = projectDefaults("Presentation Data Display");
  if (!d) return false;
  d->presentation = presentation;
  recreateFonts(d->presentation);
  return saveDefaults("Presentation Data Display", false);
}

bool storePresentationDefaults(const DisplaySettings& presentation, const DefaultsValues& box) {
  if (ProjectDefaults* d = displayDefaults(); d && !projectDir().empty()) {
    const int32_t gain = d->values.rawGain, palette = d->values.rawPalette;
    d->values = box;
    d->values.rawGain = gain, d->values.rawPalette = palette;
  }
  return storePresentationDefaults(presentation);
}

bool loadExternalDefaults(const std::string& path) {
  ProjectDefaults* d = projectDefaults("Load Defaults");
  if (!d) return false;
  // Read into a copy first: a file that is not a defaults file changes nothing.
  ProjectDefaults read = *d;
  if (!readDefaultsFile(path, read)) {
    msg(DV_MSG_PLAIN, kMsgErrorNotADisplayDefaultsFile, path.c_str());
    return false;
  }
  *d = std::move(read);  // the reader made the font objects
  saveDefaults("Load Defaults", true);
  return true;
}

}  // namespace quv
