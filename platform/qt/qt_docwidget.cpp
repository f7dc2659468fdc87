#include "qt_docwidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

#include "qt_canvas.h"

namespace dv::qt {

unsigned mouseButtonOf(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return dv::kLeftButton;
    case Qt::RightButton: return dv::kRightButton;
    case Qt::MiddleButton: return dv::kMiddleButton;
    default: return 0;
  }
}

unsigned mouseButtonsOf(Qt::MouseButtons b) {
  unsigned out = 0;
  if (b & Qt::LeftButton) out |= dv::kLeftButton;
  if (b & Qt::RightButton) out |= dv::kRightButton;
  if (b & Qt::MiddleButton) out |= dv::kMiddleButton;
  return out;
}

unsigned modifiersOf(Qt::KeyboardModifiers m) {
  unsigned out = 0;
  if (m & Qt::ShiftModifier) out |= dv::kShiftKey;
  if (m & Qt::ControlModifier) out |= dv::kControlKey;
  if (m & Qt::AltModifier) out |= dv::kAltKey;
  return out;
}

int keyCodeOf(int k) {
  switch (k) {
    case Qt::Key_Backspace: return dv::kKeyBack;
    case Qt::Key_Tab: return dv::kKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return dv::kKeyReturn;
    case Qt::Key_Escape: return dv::kKeyEscape;
    case Qt::Key_Space: return dv::kKeySpace;
    case Qt::Key_PageUp: return dv::kKeyPageUp;
    case Qt::Key_PageDown: return dv::kKeyPageDown;
    case Qt::Key_End: return dv::kKeyEnd;
    case Qt::Key_Home: return dv::kKeyHome;
    case Qt::Key_Left: return dv::kKeyLeft;
    case Qt::Key_Up: return dv::kKeyUp;
    case Qt::Key_Right: return dv::kKeyRight;
    case Qt::Key_Down: return dv::kKeyDown;
    case Qt::Key_Delete: return dv::kKeyDelete;
    default: break;
  }
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return dv::kKeyF1 + (k - Qt::Key_F1);
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return k;
  return 0;
}

namespace {

Qt::CursorShape qtCursor(dv::CursorShape c) {
  switch (c) {
    case dv::CursorShape::Arrow: return Qt::ArrowCursor;
    case dv::CursorShape::Cross: return Qt::CrossCursor;
    case dv::CursorShape::SizeHorizontal: return Qt::SplitHCursor;
    case dv::CursorShape::SizeVertical: return Qt::SplitVCursor;
    case dv::CursorShape::UpArrow: return Qt::UpArrowCursor;
    case dv::CursorShape::Wait: return Qt::WaitCursor;
    case dv::CursorShape::Hand: return Qt::PointingHandCursor;
    case dv::CursorShape::IBeam: return Qt::IBeamCursor;
  }
  return Qt::ArrowCursor;
}

dv::MouseEvent mouseEvent(const QMouseEvent* e) {
  dv::MouseEvent m;
  const QPoint p = e->position().toPoint();
  const QPoint g = e->globalPosition().toPoint();
  m.x = p.x();
  m.y = p.y();
  m.screenX = g.x();
  m.screenY = g.y();
  m.button = mouseButtonOf(e->button());
  m.buttons = mouseButtonsOf(e->buttons());
  m.modifiers = modifiersOf(e->modifiers());
  return m;
}

}  // namespace

PaneWidget::PaneWidget(dv::Pane* pane, bool root, QWidget* parent)
    : QWidget(parent),
      pane_(pane),
      root_(root),
      hBar_(new QScrollBar(Qt::Horizontal, this)),
      vBar_(new QScrollBar(Qt::Vertical, this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  hBar_->hide();
  vBar_->hide();
  if (pane_) {
    setObjectName(QStringLiteral("pane%1").arg(pane_->id));
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    pane_->scrollBarWidth = extent;
    pane_->scrollBarHeight = extent;
    pane_->onChange = [this](dv::Pane::Change c) { onPaneChange(c); };
  }
  connect(hBar_, &QScrollBar::actionTriggered, this, [this](int a) { scrollAction(false, a); });
  connect(vBar_, &QScrollBar::actionTriggered, this, [this](int a) { scrollAction(true, a); });
  connect(hBar_, &QScrollBar::sliderReleased, this,
          [this] { scrollAction(false, QAbstractSlider::SliderNoAction); });
  connect(vBar_, &QScrollBar::sliderReleased, this,
          [this] { scrollAction(true, QAbstractSlider::SliderNoAction); });
  if (pane_ && !root_) {
    const dv::Rect& g = pane_->geometry();
    setGeometry(g.left, g.top, g.width(), g.height());
    setVisible(pane_->visible());
  }
  syncChildren();
  syncScrollBars();
  syncCursor();
}

PaneWidget::~PaneWidget() {
  if (pane_) pane_->onChange = nullptr;
}

void PaneWidget::detach() {
  for (PaneWidget* c : children_) c->detach();
  if (pane_) pane_->onChange = nullptr;
  pane_ = nullptr;
  if (QWidget::mouseGrabber() == this) releaseMouse();
}

PaneWidget* PaneWidget::childWidget(const dv::Pane* child) const {
  for (PaneWidget* c : children_)
    if (c->pane() == child) return c;
  return nullptr;
}

void PaneWidget::onPaneChange(dv::Pane::Change c) {
  if (!pane_) return;
  switch (c) {
    case dv::Pane::Repaint: update(); break;
    case dv::Pane::Layout:
      if (!root_) {
        const dv::Rect& g = pane_->geometry();
        setGeometry(g.left, g.top, g.width(), g.height());
        setVisible(pane_->visible());
      }
      syncChildren();
      syncScrollBars();
      update();
      break;
    case dv::Pane::ScrollBars: syncScrollBars(); break;
    case dv::Pane::Cursor: syncCursor(); break;
    case dv::Pane::Capture:
      if (pane_->captured()) grabMouse();
      else if (QWidget::mouseGrabber() == this) releaseMouse();
      break;
  }
}

void PaneWidget::syncChildren() {
  if (!pane_) return;
  const auto& panes = pane_->children();
  // Widgets of children that are gone go; new children get one.
  for (auto it = children_.begin(); it != children_.end();) {
    if (std::find(panes.begin(), panes.end(), (*it)->pane()) == panes.end()) {
      (*it)->detach();
      (*it)->deleteLater();
      it = children_.erase(it);
    } else {
      ++it;
    }
  }
  for (dv::Pane* p : panes) {
    PaneWidget* w = childWidget(p);
    if (!w) {
      w = new PaneWidget(p, false, this);
      children_.push_back(w);
    }
    const dv::Rect& g = p->geometry();
    w->setGeometry(g.left, g.top, g.width(), g.height());
    w->setVisible(p->visible());
  }
  // The scroll bars stay above the children.
  hBar_->raise();
  vBar_->raise();
}

void PaneWidget::syncScrollBars() {
  if (!pane_) return;
  syncing_ = true;
  const bool hOn = pane_->hScroll.visible, vOn = pane_->vScroll.visible;
  const int w = width(), h = height();
  const int sw = pane_->scrollBarWidth, sh = pane_->scrollBarHeight;
  auto apply = [](QScrollBar* bar, const dv::ScrollBarState& s) {
    // The bars' range is minimum..maximum with a page: the thumb moves over
    // minimum..maximum - page + 1.
    const int page = std::max(1, s.page);
    bar->setRange(s.minimum, std::max(s.minimum, s.maximum - page + 1));
    bar->setPageStep(page);
    bar->setSingleStep(1);
    bar->setValue(s.position);
    bar->setVisible(s.visible);
  };
  apply(hBar_, pane_->hScroll);
  apply(vBar_, pane_->vScroll);
  if (hOn) hBar_->setGeometry(0, h - sh, std::max(0, w - (vOn ? sw : 0)), sh);
  if (vOn) vBar_->setGeometry(w - sw, 0, sw, std::max(0, h - (hOn ? sh : 0)));
  syncing_ = false;
}

void PaneWidget::syncCursor() {
  if (pane_) setCursor(qtCursor(pane_->cursor()));
}

void PaneWidget::scrollAction(bool vertical, int sliderAction) {
  if (!pane_ || syncing_) return;
  QScrollBar* bar = vertical ? vBar_ : hBar_;
  int action = -1;
  switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepAdd: action = dv::kScrollLineDown; break;
    case QAbstractSlider::SliderSingleStepSub: action = dv::kScrollLineUp; break;
    case QAbstractSlider::SliderPageStepAdd: action = dv::kScrollPageDown; break;
    case QAbstractSlider::SliderPageStepSub: action = dv::kScrollPageUp; break;
    case QAbstractSlider::SliderToMinimum: action = dv::kScrollTop; break;
    case QAbstractSlider::SliderToMaximum: action = dv::kScrollBottom; break;
    case QAbstractSlider::SliderMove: action = dv::kScrollThumbTrack; break;
    case QAbstractSlider::SliderNoAction: action = dv::kScrollThumbPosition; break;
    default: return;
  }
  dv::Pane* p = pane_;
  p->onScroll(vertical, action, bar->sliderPosition());
  if (pane_ != p) return;
  // The pane's state is the one truth: the bar shows what the pane made of it.
  const dv::ScrollBarState& s = vertical ? p->vScroll : p->hScroll;
  syncing_ = true;
  bar->setSliderPosition(s.position);
  syncing_ = false;
}

void PaneWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!pane_) {
    painter.fillRect(rect(), Qt::white);
    return;
  }
  QtCanvas canvas(painter);
  pane_->onPaint(canvas);
}

void PaneWidget::resizeEvent(QResizeEvent*) {
  if (!pane_) return;
  if (root_) pane_->resize(width(), height());
  syncChildren();
  syncScrollBars();
}

void PaneWidget::mousePressEvent(QMouseEvent* e) {
  if (pane_) pane_->onMouseDown(mouseEvent(e));
}

void PaneWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (pane_) pane_->onMouseUp(mouseEvent(e));
}

void PaneWidget::mouseMoveEvent(QMouseEvent* e) {
  if (pane_) pane_->onMouseMove(mouseEvent(e));
}

void PaneWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (pane_) pane_->onDoubleClick(mouseEvent(e));
}

void PaneWidget::leaveEvent(QEvent*) {
  if (pane_) pane_->onMouseLeave();
}

void PaneWidget::wheelEvent(QWheelEvent* e) {
  if (!pane_) return;
  dv::WheelEvent w;
  const QPoint p = e->position().toPoint();
  w.x = p.x();
  w.y = p.y();
  const QPoint d = e->angleDelta();
  w.horizontal = d.y() == 0 && d.x() != 0;
  w.delta = w.horizontal ? d.x() : d.y();
  w.modifiers = modifiersOf(e->modifiers());
  if (!pane_->onWheel(w)) e->ignore();
}

void PaneWidget::keyPressEvent(QKeyEvent* e) {
  if (!pane_) return;
  dv::KeyEvent k;
  k.key = keyCodeOf(e->key());
  k.modifiers = modifiersOf(e->modifiers());
  k.text = e->text().toStdString();
  k.autoRepeat = e->isAutoRepeat();
  if (!pane_->onKey(k)) QWidget::keyPressEvent(e);
}

QtDocWidget::QtDocWidget(dv::DocWindow* window, QWidget* parent)
    : PaneWidget(window ? window->pane() : nullptr, true, parent), window_(window) {
  setObjectName(QStringLiteral("docWidget"));
  setMinimumSize(160, 100);
}

}  // namespace dv::qt
