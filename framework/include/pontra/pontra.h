// libpontra, the workbench framework: module loader and type registry,
// project tree and project file, main frame, message bar and progress.
//
// Modules reach the framework only through entry 0 of the function tables
// (the slots of delvar/module.h). The hosts additionally use the C++ calls
// below to drive the frame (the Qt view, the job runner).
#pragma once

#include <string>
#include <vector>

#include "delvar/module.h"
#include "dv/menu.h"
#include "dv/window.h"

extern "C" {
int InitPontra(DV_STARTUP_PARAMS);
}

namespace pontra {

// The frame the views show.
dv::FrameModel& frame();
// The menu bar in force: the active document window's, else the frame's.
dv::Menu* currentMenuBar();
// A command as the menu bar, the toolbar or an accelerator delivers it.
void command(int id);
// The user closes the main frame: closes the project (even if a module
// refuses) and reports whether the frame may close.
bool closeFrame();

bool projectOpen();
std::string projectFile();
std::string projectDir();
// The Open/Create Project command without its dialog and question: an
// existing file is opened; a new name creates the project folder beside it
// (X/Site1.orx makes X/Site1/Site1.orx). True when a project is open after.
bool openProjectPath(const std::string& orxPath);

// The message bar's text (tests and the job runner read it).
std::string messageBarText();

// Unloads every module (CleanupModule of each) in decreasing id order and
// closes the message log. Called by the hosts at exit.
void shutdown();

// One toolbar per module id for modules that want one (GetObjToolBar).
using ObjToolBar = dv::ObjToolBar;

}  // namespace pontra
