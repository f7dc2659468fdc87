// Joins the data, the operations and the windows: installs the display's
// window functions as the items' window hooks, and the module's commands
// as the handlers of what the windows pass on.
#pragma once

namespace quv {

void installWindowRoutes();

}  // namespace quv
