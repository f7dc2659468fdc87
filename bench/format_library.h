// For the benchmarks that run the Quv module's operations: module 1's
// function table filled from libscrivel.so in this program's folder, as the
// framework hands it to the module.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dv/system.h"
#include "project/quv.h"

namespace bench {

struct FormatLibrary {
  void* handle = nullptr;
  std::vector<DvFunc> table;
  DvFunc* tables[DV_MODULE_SLOTS] = {};
  void* handles[DV_MODULE_SLOTS] = {};
  FormatLibrary() {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    const std::string path = self + "/libscrivel.so";
    std::string why;
    handle = dv::loadLibrary(path, &why);
    if (!handle) {
      std::fprintf(stderr, "cannot load %s: %s\n", path.c_str(), why.c_str());
      std::exit(1);
    }
    dv::ModuleFunctions bound;
    if (!dv::bindModuleFunctions(handle, bound)) std::exit(1);
    table = std::move(bound.table);
    tables[DV_MODULE_SCRIVEL] = table.data();
    handles[DV_MODULE_SCRIVEL] = handle;
    quv::Startup& s = quv::startup();
    s.funcTables = tables;
    s.libHandles = handles;
    if (auto init = quv::scrivel<PfnInitModule>(SCRIVEL_InitModule))
      init(handles, nullptr, nullptr, nullptr, nullptr, nullptr, tables, nullptr, nullptr, 0, 0);
  }
};

}  // namespace bench
