#include "display/palette_command.h"

#include "project/user_palette.h"
#include "dv/file.h"
#include "dv/ui.h"
#include "project/quv.h"
#include "project/messages.h"

namespace quv {

bool loadUserPaletteFile(const std::string& path, const std::string& orxDir) {
  UserPalette loaded = userPalette();
  if (!loadPaletteFile(path, loaded)) return false;
  userPalette() = loaded;
  // The copy is what the module reads at its next start; it replaces the
  // old one whole, or not at all.
  if (!orxDir.empty()) {
    std::string text;
    if (dv::readWholeFile(path, text))
      dv::writeFileAtomic(dv::joinPath(orxDir, kUserPaletteFileName), text);
  }
  return true;
}

bool loadUserPaletteCommand() {
  const std::string orx = orxDir();
  dv::FileDialogRequest req;
  req.title = "Load User Defined Color Palette...";
  req.filters = {{"Palette (.pal)", "*.pal"}};
  req.initialDir = dv::joinPath(orx, "PALS");
  req.defaultExt = "pal";
  req.fileMustExist = true;
  dv::FileDialogResult r = dv::ui().fileDialog(req);
  if (!r.ok || r.paths.empty()) return false;
  if (!loadUserPaletteFile(r.paths[0], orx)) {
    dv::messageBox(kMsgCouldNotOpenFileForReading, "Error", dv::MB_OK | dv::MB_ICONERROR);
    return false;
  }
  return true;
}

}  // namespace quv
