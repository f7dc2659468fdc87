// The module's exported callbacks, named in its name list: the raw data and
// profile types' callbacks and the folder entries, and what the commands
// behind them share.
#pragma once

#include <string>

#include "delvar/module.h"

namespace quv {

// Adds one recording (a full path) as a new item, as the add dialog's OK does.
void addRawRecording(const std::string& path);
// Shows the add list dialog (dialog 303).
void runRawAddDialog();

}  // namespace quv

// The raw data type's callbacks.
extern "C" {
int QuvRawAddFunc(void);
int QuvRawCloseFunc(DvHandle item, void* object);
int QuvRawCmdFunc(DvHandle item, void* object, int command);
int QuvRawDblClickFunc(DvHandle item, void* object);
int QuvRawDelFunc(DvHandle item, void* object);
int QuvRawOpenFunc(const char* name, const char* fileExt, int selected);
int QuvRawRClickFunc(DvHandle item, void* object, int screenX, int screenY, DvHandle tree);
int QuvRawRenameFunc(DvHandle item, void* object, const char* newName);
}

// The profile type's callbacks (named in the module's name list).
extern "C" {
int QuvProfileCloseFunc(DvHandle item, void* object);
int QuvProfileCmdFunc(DvHandle item, void* object, int command);
int QuvProfileDblClickFunc(DvHandle item, void* object);
int QuvProfileDelFunc(DvHandle item, void* object);
int QuvProfileImportFunc(void);
int QuvProfileOpenFunc(const char* name, const char* fileExt, int selected);
int QuvProfileRClickFunc(DvHandle item, void* object, int screenX, int screenY, DvHandle tree);
int QuvProfileRenameFunc(DvHandle item, void* object, const char* newName);
}
