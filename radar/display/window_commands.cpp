#include "display/window_commands.h"

namespace quv {

WindowCommandHandlers& windowCommands() {
  static WindowCommandHandlers handlers;
  return handlers;
}

}  // namespace quv
