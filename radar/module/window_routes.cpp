#include "module/window_routes.h"

#include "display/profile_window.h"
#include "display/raw_window.h"
#include "display/window_commands.h"
#include "module/callbacks.h"
#include "processing/depth_convert.h"
#include "processing/elevation_convert.h"
#include "processing/geometry.h"
#include "processing/process_version.h"
#include "project/item_windows.h"
#include "project/profile.h"
#include "project/raw.h"

namespace quv {

namespace {

void reopenProfile(ProfileItem& item, const ProfileWindowState& state) {
  openProfileWindow(item, &state);
}

void rawObjectCommand(RawObject& obj, int command) {
  QuvRawCmdFunc(obj.item, &obj, command);
}

bool profileCommand(ProfileItem& item, int command) {
  switch (command) {
    case ID_N_EDIT_GEOMETRY: editGeometryCommand({item.tree}); return true;
    case ID_N_DEPTH_CONVERT: depthConvertCommand(&item, showAddedVersion); return true;
    case ID_N_ELEVATION_CONVERT: elevationConvertCommand(&item, showAddedVersion); return true;
    case ID_N_PROCESS_DEWOW:
    case ID_N_PROCESS_BACKGROUND:
    case ID_N_PROCESS_BAND_PASS:
    case ID_N_PROCESS_LOW_PASS:
    case ID_N_PROCESS_HIGH_PASS:
    case ID_N_PROCESS_ENVELOPE:
    case ID_N_PROCESS_TIME_ZERO:
    case ID_N_PROCESS_MIGRATE:
      processCommand(item, StepKind(command - ID_N_PROCESS_DEWOW), showAddedVersion);
      return true;
    default: return false;
  }
}

}  // namespace

void installWindowRoutes() {
  ItemWindowHooks& w = itemWindows();
  w.reopenProfile = reopenProfile;
  w.reopenRaw = reopenRawWindow;
  w.rawPlacement = rawWindowPlacement;
  w.destroyRaw = destroyRawWindow;
  WindowCommandHandlers& c = windowCommands();
  c.rawObject = rawObjectCommand;
  c.profile = profileCommand;
  c.fitHyperbola = fitVersionHyperbola;
}

}  // namespace quv
