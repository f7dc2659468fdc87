// The bundled demo: a project "Demo" in a folder of the user's choosing,
// made on first run.
#pragma once

#include <string>

namespace host {

// Makes the demo folder and returns the path to open as if it had been
// chosen in the Open/Create Project dialog: the existing demo project, or
// the file that creates it.
std::string prepareDemo(const std::string& folder);

}  // namespace host
