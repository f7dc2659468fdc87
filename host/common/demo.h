// The bundled demo: a project "Demo" in a folder of the user's choosing,
// made on first run.
#pragma once

#include <string>

namespace host {

// Makes the demo folder and returns the demo project's path (the project
// itself is created when it is opened).
std::string prepareDemo(const std::string& folder);

}  // namespace host
