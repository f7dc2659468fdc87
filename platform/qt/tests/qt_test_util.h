// Helpers for driving modal windows in tests: an action runs once the modal
// window is open, and a watchdog ends a modal loop a test forgot to end.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QTimer>

#include <functional>

namespace dv::qt::test {

// Runs `act` on the modal window as soon as one is open.
inline void whenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) {
      ADD_FAILURE() << "no modal window is open";
      return;
    }
    act(w);
  });
}

// Runs `act` on the open pop-up menu.
inline void whenPopup(std::function<void(QMenu*)> act) {
  QTimer::singleShot(0, [act] {
    auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!m) {
      ADD_FAILURE() << "no pop-up menu is open";
      return;
    }
    act(m);
  });
}

// Fails the test and ends every modal dialog still open after `ms`.
class ModalWatchdog {
 public:
  explicit ModalWatchdog(int ms = 5000) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [] {
      while (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        ADD_FAILURE() << "a modal dialog was left open: " << d->windowTitle().toStdString();
        d->done(0);
      }
      if (auto* m = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        ADD_FAILURE() << "a pop-up menu was left open";
        m->close();
      }
    });
    timer_.start(ms);
  }

 private:
  QTimer timer_;
};

}  // namespace dv::qt::test
