// Print, Export and Copy of the display windows.
#include "display/window_output.h"

#include "display/export_dialog.h"
#include "display/page_figure.h"
#include "display/print_job.h"
#include "display/profile_window.h"
#include "display/raw_figure.h"
#include "project/quv.h"
#include "project/tree_items.h"

namespace quv {

namespace {

bool output(FigureSource& figure, int id, int width, int height) {
  switch (id) {
    case ID_FILE_PRINT: printFigure(figure); return true;
    case ID_FILE_EXPORT: exportFigureCommand(figure); return true;
    case ID_EDIT_COPY: copyFigure(figure, width, height); return true;
    default: return false;
  }
}

}  // namespace

bool profileWindowOutput(CProfileWnd& w, int id) {
  if (id != ID_FILE_PRINT && id != ID_FILE_EXPORT && id != ID_EDIT_COPY) return false;
  if (w.textMode() || !w.version()) return true;
  if (w.presentationMode()) {
    PageFigure figure(w.pageSource(), w.presentation());
    PresentationView& p = w.presentationView();
    return output(figure, id, p.clientWidth(), p.clientHeight());
  }
  NormalFigure figure(*w.version(), w.header(), treeName(w.item().tree));
  const NormalView& v = w.normalView();
  return output(figure, id, v.width() - v.scrollBarWidth, v.height() - v.scrollBarHeight);
}

bool rawWindowOutput(CRawWnd& w, int id) {
  RawFigure figure(w);
  return output(figure, id, w.width() - w.scrollBarWidth, w.height() - w.scrollBarHeight);
}

}  // namespace quv
