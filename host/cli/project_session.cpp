#include "project_session.h"

#include "delvar/module.h"
#include "dv/file.h"
#include "dv/system.h"
#include "pontra/pontra.h"
#include "startup.h"

int withRadarExport(const std::string& orx, const char* symbol, const std::function<int(void* fn)>& run,
                    const std::function<int(const std::string& why)>& failed) {
  if (!dv::fileExists(orx)) return failed("no project file " + orx);
  if (host::start() != 0) return failed("the framework did not start");
  int rc = 0;
  if (!pontra::openProjectPath(orx)) {
    rc = failed("could not open the project " + orx);
  } else if (void* fn = dv::findSymbol(host::moduleHandle(DV_MODULE_QUV), symbol)) {
    rc = run(fn);
  } else {
    rc = failed("the radar module is not loaded");
  }
  host::stop();
  return rc;
}
