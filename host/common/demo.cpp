#include "demo.h"

#include "dv/file.h"
#include "dv/system.h"

namespace host {

std::string prepareDemo(const std::string& folder) {
  std::string abs = !folder.empty() && folder[0] == '/' ? folder : dv::joinPath(dv::currentDir(), folder);
  if (!dv::makeDirectory(abs)) return "";
  return dv::joinPath(dv::joinPath(abs, "Demo"), "Demo.orx");
}

}  // namespace host
