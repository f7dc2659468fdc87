// The windows of tree items, as the data code sees them. Loading an item
// whose file says its window was open shows that window again, saving an
// item writes its window's placement, and reloading an item takes its
// window down first; the windows themselves belong to the displays. The
// module's entry installs the display's functions here; until then (and in
// programs that only read and write project files) items have no windows.
#pragma once

namespace quv {

struct ProfileItem;
struct ProfileWindowState;
struct RawObject;
struct WindowPlacement;

struct ItemWindowHooks {
  // Shows the profile window again with its stored state.
  void (*reopenProfile)(ProfileItem& item, const ProfileWindowState& state) = nullptr;
  // Shows the raw data window again at its stored placement.
  void (*reopenRaw)(RawObject& obj, const WindowPlacement& placement) = nullptr;
  // The placement to store for a raw item (its window's, or the one kept).
  WindowPlacement (*rawPlacement)(const RawObject& obj) = nullptr;
  // Takes a raw item's window down (nothing when it has none).
  void (*destroyRaw)(RawObject& obj) = nullptr;
};

ItemWindowHooks& itemWindows();

}  // namespace quv
