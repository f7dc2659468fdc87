// What `delvar PATH...` opens: a project file opens; recordings go into the
// scratch project in the user's data folder, added as Add Data adds them,
// with the raw data window of the first one showing. Anything else gets a
// message-bar line saying why it was not opened.
#pragma once

#include <string>
#include <vector>

namespace host {

// The scratch project: <user data folder>/Scratch/Scratch.orx.
std::string scratchProjectFile();

// Runs while the headless backend is installed (its answers fill Add
// Data's dialogs). Returns false when nothing given could be opened.
bool openPaths(const std::vector<std::string>& paths);

}  // namespace host
