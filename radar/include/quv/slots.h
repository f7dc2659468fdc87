// The Quv module (data module 700): the slots of its function table.
//
// The framework and the module reach these functions through the module's
// table, by slot: slot k holds the k-th name of the module's name list
// (GetModuleFunctions). Slots 5 to 10 are the folder entries the framework
// calls by position; the type callbacks are named in RegisterType by these
// numbers. Slots 11 to 19 and the stub callbacks answer 0 and do nothing.
#pragma once

#include "delvar/module.h"

enum QuvSlot {
  QUV_GetVantrelModuleInfo = 1,
  QUV_GetModuleFunctions = 2,
  QUV_CleanupModule = 3,
  QUV_InitModule = 4,
  QUV_FolderCmd = 5,
  QUV_FolderRClick = 6,
  QUV_GetMenu = 7,
  QUV_MenuCmd = 8,
  QUV_ProjOpened = 9,
  QUV_ProjClose = 10,
  QUV_Func11 = 11,
  QUV_Func12 = 12,
  QUV_Func13 = 13,
  QUV_Func14 = 14,
  QUV_Func15 = 15,
  QUV_Func16 = 16,
  QUV_Func17 = 17,
  QUV_Func18 = 18,
  QUV_Func19 = 19,
  QUV_RawAddFunc = 20,
  QUV_RawCloseFunc = 21,
  QUV_RawCmdFunc = 22,
  QUV_RawCreateFunc = 23,
  QUV_RawDblClickFunc = 24,
  QUV_RawDelFunc = 25,
  QUV_RawImportFunc = 26,
  QUV_RawOpenFunc = 27,
  QUV_RawRClickFunc = 28,
  QUV_RawRenameFunc = 29,
  QUV_ProfileAddFunc = 30,
  QUV_ProfileCloseFunc = 31,
  QUV_ProfileCmdFunc = 32,
  QUV_ProfileCreateFunc = 33,
  QUV_ProfileDblClickFunc = 34,
  QUV_ProfileDelFunc = 35,
  QUV_ProfileImportFunc = 36,
  QUV_ProfileOpenFunc = 37,
  QUV_ProfileRClickFunc = 38,
  QUV_ProfileRenameFunc = 39,
  QUV_SLOT_COUNT = 40,  // slot 0 is empty
};
