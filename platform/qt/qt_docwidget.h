// The generic widget that shows any painting document window: a pane's
// client is painted by the pane's paint hook through a QtCanvas over the
// widget's painter, mouse, wheel, key and size events are passed on in
// client pixels, the pane's scroll-bar state is shown as native scroll bars
// whose user actions go back to the pane, and every child pane (view) gets
// a widget of its own at the place and visibility the pane gives it.
#pragma once

#include <QWidget>

#include <vector>

#include "dv/window.h"

class QScrollBar;

namespace dv::qt {

class PaneWidget : public QWidget {
  Q_OBJECT
 public:
  // `root`: the widget's size is the pane's (a child's size follows its pane instead).
  PaneWidget(dv::Pane* pane, bool root, QWidget* parent = nullptr);
  ~PaneWidget() override;

  dv::Pane* pane() const { return pane_; }
  // The pane is about to go: nothing is read from it any more (children too).
  void detach();
  // The widget of a child pane, or nullptr.
  PaneWidget* childWidget(const dv::Pane* child) const;
  QScrollBar* horizontalBar() const { return hBar_; }
  QScrollBar* verticalBar() const { return vBar_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void onPaneChange(dv::Pane::Change c);
  void syncChildren();
  void syncScrollBars();
  void syncCursor();
  void scrollAction(bool vertical, int sliderAction);

  dv::Pane* pane_;
  bool root_;
  QScrollBar* hBar_;
  QScrollBar* vBar_;
  std::vector<PaneWidget*> children_;
  bool syncing_ = false;
};

// The content widget of a document window that paints (DocWindow::pane()).
class QtDocWidget : public PaneWidget {
  Q_OBJECT
 public:
  QtDocWidget(dv::DocWindow* window, QWidget* parent = nullptr);
  dv::DocWindow* window() const { return window_; }
  void detachWindow() {
    window_ = nullptr;
    detach();
  }

 private:
  dv::DocWindow* window_;
};

// Conversions of Qt input to the panes' terms (shared with tests).
unsigned mouseButtonOf(Qt::MouseButton b);
unsigned mouseButtonsOf(Qt::MouseButtons b);
unsigned modifiersOf(Qt::KeyboardModifiers m);
int keyCodeOf(int qtKey);

}  // namespace dv::qt
