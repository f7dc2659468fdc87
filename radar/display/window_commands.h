// Commands the display windows pass on: the operations a window's menus
// offer that are not the window's own (geometry, the raw object's commands
// of the "&Raw" menu, and the conversions and edits that make new data).
// The module's entry installs the handlers; a window without one reports
// the command as handled and does nothing.
#pragma once

#include "project/fitted_velocity.h"

namespace quv {

struct ProfileItem;
struct ProfileVersion;
struct RawObject;

struct WindowCommandHandlers {
  // A raw object command (33120 ...) chosen in the raw data window.
  void (*rawObject)(RawObject& obj, int command) = nullptr;
  // A profile window command the window does not handle itself; true when
  // the handler took it.
  bool (*profile)(ProfileItem& item, int command) = nullptr;
  // Fit Hyperbola: the hyperbola whose apex lies near the clicked trace
  // and sample of a time version; false (with the reason on the message
  // bar) when none fits.
  bool (*fitHyperbola)(ProfileItem& item, ProfileVersion& v, int trace, int sample,
                       HyperbolaPick& out) = nullptr;
};

WindowCommandHandlers& windowCommands();

}  // namespace quv
