// Job scripts: the framework driven headless by a script of commands and
// the answers their questions need. Used for batch work, the demo and the
// end-to-end tests.
//
// One statement per line; a '#' word starts a comment; words with blanks go in
// double quotes (\n \t \" \\ escapes inside quotes).
//   answer ...               queue an answer (see dv/headless.h)
//   printer FILE.pdf         the next print job writes FILE.pdf instead of printing
//   command ID|CAPTION-PATH  a main-menu command ("&File/&Add Data" or 32802)
//   open PATH                open or create a project as if PATH had been chosen in
//                            the Open/Create Project dialog (no question asked)
//   popup ITEM-PATH ID|CAPTION   right click on a tree item, choose from its pop-up
//   rclick ITEM-PATH         right click only (answer the pop-up yourself)
//   dblclick ITEM-PATH       double click on a tree item
//   delete ITEM-PATH         the Delete key on a tree item
//   rename ITEM-PATH NAME    edit a tree item's label
//   select ITEM-PATH         make a tree item the selected one
//   expect message TEXT      the message bar holds TEXT
//   expect nomessage TEXT    the message bar does not hold TEXT
//   expect exists PATH / expect missing PATH     a file or folder (relative to the job's folder)
//   expect tree ITEM-PATH / expect notree ITEM-PATH
//   expect answered          every queued answer was used, no question went unscripted
//   synth FORMAT PATH [TRACES SAMPLES]   write a synthetic recording (DZT, HD, RAD, SG2, SGY)
//   render TITLE PATH [W H]  paint the document window of that title into a PNG
//   echo TEXT                print TEXT
// Item paths are labels from the project root down, joined with '/'.
// The answers (and printer files) queued before a command (command, open,
// popup, rclick, dblclick, delete, rename, select) are for that command: what
// it leaves unused is dropped when the next command starts, and fails the
// job, as does what is still unused when the job ends. A dialog action that
// cannot be done fails the step of the command whose dialog it was.
#pragma once

#include <functional>
#include <string>

namespace dv {
class DocWindow;
}

namespace cli {

// Paints a document window into a PNG file (the Qt backend supplies it;
// without one the render statement fails with a message).
using Renderer = std::function<bool(dv::DocWindow&, int width, int height, const std::string& png)>;
void setRenderer(Renderer r);

struct JobResult {
  int steps = 0;
  int failures = 0;
  int unscripted = 0;
};

// Runs the lines of a job against the started framework.
JobResult runJobText(const std::string& text, const std::string& name);
// Starts the framework headless, runs the job file, stops. Exit code.
int runJobFile(const std::string& path);
// The headless demo job in `folder`.
int runDemo(const std::string& folder);

}  // namespace cli
