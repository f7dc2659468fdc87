#include "dv/ui.h"

#include "dv/headless.h"
#include "dv/menu.h"
#include "dv/tree.h"

namespace dv {

namespace {
UiBackend* g_backend = nullptr;
}

HeadlessUi& headless() {
  static HeadlessUi h;
  return h;
}

UiBackend& ui() { return g_backend ? *g_backend : headless(); }

void setUi(UiBackend* backend) { g_backend = backend; }

void trackPopupForTree(const Menu& menu, int screenX, int screenY, TreeModel* tree) {
  int id = ui().trackPopupMenu(menu, screenX, screenY);
  if (id == 0 || !tree) return;
  ui().post([tree, id] {
    if (tree->handler()) tree->handler()->treeCommand(id);
  });
}

}  // namespace dv
