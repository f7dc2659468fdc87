// What both hosts do at start-up: fill the eleven start-up values (module 1
// is the Scrivel library, module 700 the Quv module, both beside the
// executable), bind the framework as module 0 and start it.
#pragma once

#include <string>

namespace host {

struct Options {
  // Extra modules for tests: (id, library file).
  std::string modulesDir;  // folder of the module libraries ("" = beside the executable)
};

// Starts the framework; returns InitPontra's result.
int start(const Options& opt = {});
// Closes the project, unloads the modules and closes the message log.
void stop();
// The library of a loaded module (nullptr when it is not loaded).
void* moduleHandle(int id);

}  // namespace host
