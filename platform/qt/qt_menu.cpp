#include "qt_menu.h"

#include <QKeySequence>

#include "qt_util.h"

namespace dv::qt {

namespace {
constexpr const char* kCommandProperty = "dvCommand";
}

QAction* makeAction(QObject* parent, const dv::MenuItem& item, bool shortcuts) {
  auto* action = new QAction(parent);
  if (item.separator) {
    action->setSeparator(true);
    return action;
  }
  QString caption = toQ(item.caption);
  qsizetype tab = caption.indexOf(QLatin1Char('\t'));
  if (shortcuts && tab >= 0) {
    QKeySequence keys(caption.mid(tab + 1), QKeySequence::PortableText);
    if (!keys.isEmpty()) {
      action->setShortcut(keys);
      // Shown by the shortcut itself; keeping the text would show it twice.
      caption.truncate(tab);
    }
  }
  action->setText(caption);
  action->setEnabled(!item.grayed);
  if (item.checked) {
    action->setCheckable(true);
    action->setChecked(true);
  }
  action->setProperty(kCommandProperty, item.id);
  action->setData(item.id);
  return action;
}

void fillMenu(QMenu* target, const dv::Menu& menu, bool shortcuts) {
  for (const auto& item : menu.items()) {
    if (item.popup) {
      QMenu* sub = target->addMenu(toQ(item.caption));
      sub->setEnabled(!item.grayed);
      fillMenu(sub, *item.popup, shortcuts);
    } else {
      target->addAction(makeAction(target, item, shortcuts));
    }
  }
}

void setCommandOf(QAction* action, int id) { action->setProperty(kCommandProperty, id); }

int commandOf(const QAction* action) {
  if (!action || action->isSeparator() || action->menu()) return 0;
  QVariant v = action->property(kCommandProperty);
  return v.isValid() ? v.toInt() : 0;
}

}  // namespace dv::qt
