// The names a user sees for the controls of a dialog, so that scripts can
// say "press Add Profile" or "set Version Name LINE01" instead of ids.
//
// A control is named by
//   - its id (a number);
//   - its caption: a button's, check box's or radio button's text;
//   - the label in front of it, for an edit, a drop-down or a list: the
//     nearest static text on its first line ending left of it with nothing
//     between them, else the nearest static text just above it (at most 12
//     dialog units up) that overlaps it sideways; a label names one control
//     only, the one beside it before the one below it;
//   - a group box's title, for the only edit, drop-down or list inside it;
//   - "grid", "tabs" or "list" for the only grid, tab strip or list box.
// Names are compared without '&' mnemonics, without a trailing ':', with runs
// of blanks as one blank and without regard to letter case.
#pragma once

#include <string>
#include <vector>

namespace dv {

class Dialog;
struct Control;

// "&Initial Project  Directory:" -> "initial project directory".
std::string normalName(const std::string& caption);

// The names of controls()[i] of the dialog (ids excluded), as shown.
std::vector<std::vector<std::string>> controlNames(const Dialog& d);

// The control `name` stands for: an id, or one of the names above. On no
// match or several, null and `error` says so and lists the controls.
Control* findControl(Dialog& d, const std::string& name, std::string* error);

// Every control that can be named, one "kind id "name"..." entry each.
std::string describeControls(const Dialog& d);

// What a control shows: an edit's or drop-down's text, the selected list
// entry (selected entries one a line for a multiple-selection list), "1" or
// "0" for a check box or radio button, the current tab's text, a caption
// otherwise.
std::string shownValue(const Control& c);

}  // namespace dv
