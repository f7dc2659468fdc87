// dv::Menu -> QMenu: captions with '&' mnemonics, "\t" accelerator texts,
// separators, greyed and checked entries and nested pop-ups. Each command
// action carries its command id in QAction::data().
#pragma once

#include <QMenu>

#include "dv/menu.h"

namespace dv::qt {

// Appends the entries of `menu` to `target`. With `shortcuts`, the text after
// a "\t" in a caption ("&Print\tCtrl+P") becomes the action's shortcut.
void fillMenu(QMenu* target, const dv::Menu& menu, bool shortcuts = false);

// The command id of an action made by fillMenu (0 for separators and pop-ups).
int commandOf(const QAction* action);
// Gives any action (a toolbar button, say) a command id for commandOf.
void setCommandOf(QAction* action, int id);

// Makes the action for one entry (not a pop-up) with `parent` as its owner.
QAction* makeAction(QObject* parent, const dv::MenuItem& item, bool shortcuts);

}  // namespace dv::qt
