#include "project/item_windows.h"

namespace quv {

ItemWindowHooks& itemWindows() {
  static ItemWindowHooks hooks;
  return hooks;
}

}  // namespace quv
