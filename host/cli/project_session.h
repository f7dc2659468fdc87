// What the project tools of delvar-cli (export, process) share: the
// workbench started headless with the real modules, the project opened, one
// export of the radar module looked up by name and run, the workbench
// stopped again (closing the project saves it).
#pragma once

#include <functional>
#include <string>

// Runs `run` with the radar module's export `symbol`; its result, or the
// result of `failed` with the reason when the project or the export is not
// there.
int withRadarExport(const std::string& orx, const char* symbol, const std::function<int(void* fn)>& run,
                    const std::function<int(const std::string& why)>& failed);
