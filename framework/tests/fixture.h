// One framework per test process: the environment starts it once with the
// test modules, in a temporary folder that also serves as HOME, DELVAR_HOME
// and the current folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "delvar/module.h"
#include "dv/headless.h"
#include "dv/tree.h"

namespace fx {

extern void* libHandles[DV_MODULE_SLOTS];
extern DvFunc* funcTables[DV_MODULE_SLOTS];
extern std::string workDir;

// The call log of the test module loaded at `id`.
std::string modLog(int id);
void clearModLog(int id);
// Calls an exported helper of a test module.
void* modSymbol(int id, const char* name);

// Creates (or opens) a project through the Open/Create command with scripted answers.
void createProject(const std::string& orxPath);
void closeProject();
dv::TreeItem* item(const std::string& path);
std::string readFile(const std::string& path);

}  // namespace fx
