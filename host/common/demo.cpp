#include "demo.h"

#include "dv/file.h"
#include "dv/system.h"

namespace host {

std::string prepareDemo(const std::string& folder) {
  std::string abs = !folder.empty() && folder[0] == '/' ? folder : dv::joinPath(dv::currentDir(), folder);
  if (!dv::makeDirectory(abs)) return "";
  // An existing demo project is opened; otherwise "Demo.orx" chosen in the
  // folder creates the project folder Demo with Demo.orx in it.
  std::string existing = dv::joinPath(dv::joinPath(abs, "Demo"), "Demo.orx");
  return dv::fileExists(existing) ? existing : dv::joinPath(abs, "Demo.orx");
}

}  // namespace host
