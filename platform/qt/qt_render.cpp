#include "qt_render.h"

#include <QCoreApplication>
#include <QApplication>
#include <QPainter>

#include <clocale>
#include <cstdlib>

#include "qt_canvas.h"

namespace dv::qt {

// Made once, on the offscreen platform, and kept for the life of the
// process. A widgets application (itself a GUI application), so that
// windows can be shown in the same process afterwards.
void ensureApplication() {
  if (QCoreApplication::instance()) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "delvar-render";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
  // The application takes the locale from the environment; numbers stay in C.
  std::setlocale(LC_NUMERIC, "C");
}

namespace {

// Scroll bars as a plain groove with a thumb: what a picture of the window
// needs without a widget style.
void drawScrollBar(QPainter& p, const QRect& r, const dv::ScrollBarState& s, bool vertical) {
  p.fillRect(r, QColor(0xE0, 0xE0, 0xE0));
  const int span = std::max(1, s.maximum - s.minimum + 1);
  const int page = std::max(1, s.page);
  const int length = vertical ? r.height() : r.width();
  const int thumb = std::max(8, length * std::min(page, span) / span);
  const int travel = std::max(0, length - thumb);
  const int range = std::max(1, span - page);
  const int at = travel * std::clamp(s.position - s.minimum, 0, range) / range;
  QRect t = vertical ? QRect(r.left() + 2, r.top() + at, r.width() - 4, thumb)
                     : QRect(r.left() + at, r.top() + 2, thumb, r.height() - 4);
  p.fillRect(t, QColor(0xA0, 0xA0, 0xA0));
}

void paintInto(QImage& image, dv::Pane& pane) {
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    pane.onPaint(canvas);
  }
  QPainter painter(&image);
  for (dv::Pane* child : pane.children()) {
    if (!child || !child->visible()) continue;
    const dv::Rect& g = child->geometry();
    if (g.width() <= 0 || g.height() <= 0) continue;
    QImage sub(g.width(), g.height(), QImage::Format_RGB32);
    sub.fill(Qt::white);
    paintInto(sub, *child);
    painter.drawImage(g.left, g.top, sub);
  }
  const int w = image.width(), h = image.height();
  const bool hOn = pane.hScroll.visible, vOn = pane.vScroll.visible;
  if (hOn)
    drawScrollBar(painter, QRect(0, h - pane.scrollBarHeight, w - (vOn ? pane.scrollBarWidth : 0),
                                 pane.scrollBarHeight),
                  pane.hScroll, false);
  if (vOn)
    drawScrollBar(painter, QRect(w - pane.scrollBarWidth, 0, pane.scrollBarWidth,
                                 h - (hOn ? pane.scrollBarHeight : 0)),
                  pane.vScroll, true);
}

}  // namespace

QImage renderPane(dv::Pane& pane, int width, int height) {
  ensureApplication();
  QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image.fill(Qt::white);
  pane.resize(width, height);
  paintInto(image, pane);
  return image;
}

bool renderDocWindow(dv::DocWindow& window, int width, int height, const std::string& pngPath) {
  dv::Pane* pane = window.pane();
  if (!pane || width <= 0 || height <= 0) return false;
  QImage image = renderPane(*pane, width, height);
  return image.save(QString::fromStdString(pngPath), "PNG");
}

}  // namespace dv::qt
