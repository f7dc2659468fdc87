// The module contract shared by the framework, the service modules and the
// data modules. Libraries never link against each other: they meet only
// through the eleven start-up values and the function tables built from each
// module's name list. Slot 0 of every table is empty; slot k holds the k-th
// name of the module's list.
#pragma once

#include <cstdarg>

// Marks a function a library exports by name: C linkage, visible outside the
// library, so the loader finds it with dlsym from the module's name list.
#define DV_EXPORT extern "C" __attribute__((visibility("default")))

extern "C" {

enum {
  DV_MODULE_SLOTS = 924,       // module ids 0 .. 923
  DV_FIRST_DATA_MODULE = 700,  // data modules occupy 700 .. 923
  DV_LAST_DATA_MODULE = 923,
  DV_MODULE_FRAMEWORK = 0,
  DV_MODULE_SCRIVEL = 1,
  DV_MODULE_QUV = 700,
  DV_MENU_FIRST_MODULE_CMD = 35000,  // main-menu command blocks of 100 per data module
  DV_MENU_LAST_MODULE_CMD = 57343,
};

// Generic function pointer as kept in a function table.
typedef void (*DvFunc)(void);

// Opaque, pointer-sized handles (tree items, tree control, menus, windows).
typedef void* DvHandle;

// The eleven start-up values, in their fixed order.
#define DV_STARTUP_PARAMS                                                                 \
  void **libHandles, int *hostArray, char **libFileNames, char **moduleNames, int *majors, \
      int *minors, DvFunc **funcTables, void **resHandles, char **resFileNames, int hostA, \
      int hostB
#define DV_STARTUP_ARGS \
  libHandles, hostArray, libFileNames, moduleNames, majors, minors, funcTables, resHandles, \
      resFileNames, hostA, hostB

// Fixed head of every module's name list.
enum DvModuleSlot {
  DV_SLOT_GET_INFO = 1,           // GetVantrelModuleInfo
  DV_SLOT_GET_FUNCTIONS = 2,      // GetModuleFunctions
  DV_SLOT_CLEANUP = 3,            // CleanupModule
  DV_SLOT_INIT = 4,               // InitModule (InitPontra for the framework)
  DV_SLOT_FOLDER_COMMAND = 5,     // data modules only, from here on
  DV_SLOT_FOLDER_RCLICK = 6,
  DV_SLOT_GET_MENU = 7,
  DV_SLOT_MENU_COMMAND = 8,
  DV_SLOT_PROJECT_OPENED = 9,
  DV_SLOT_PROJECT_CLOSE = 10,
};

typedef int (*PfnGetVantrelModuleInfo)(int* id, int* major, int* minor, const char** name);
typedef int (*PfnGetModuleFunctions)(const char* const** list);
typedef int (*PfnCleanupModule)(void);
typedef int (*PfnInitModule)(DV_STARTUP_PARAMS);

// Positional callbacks of data modules (slots 5 to 10).
typedef int (*PfnFolderCommand)(DvHandle folderItem, int command);
typedef int (*PfnFolderRClick)(const char* folderText, int screenX, int screenY, DvHandle tree);
typedef int (*PfnGetMenu)(DvHandle mainMenu, DvHandle popup);
typedef int (*PfnMenuCommand)(int command);
typedef int (*PfnProjectOpened)(void);
typedef int (*PfnProjectClose)(void);

// Type callbacks, reached through the slots named in RegisterType.
typedef int (*PfnTypeAdd)(void);
typedef int (*PfnTypeClose)(DvHandle item, void* object);
typedef int (*PfnTypeCommand)(DvHandle item, void* object, int command);
typedef int (*PfnTypeCreate)(void);
typedef int (*PfnTypeDblClick)(DvHandle item, void* object);
typedef int (*PfnTypeDel)(DvHandle item, void* object);
typedef int (*PfnTypeImport)(void);
typedef int (*PfnTypeOpen)(const char* name, const char* fileExt, int selected);
typedef int (*PfnTypeRClick)(DvHandle item, void* object, int screenX, int screenY,
                             DvHandle tree);
typedef int (*PfnTypeRename)(DvHandle item, void* object, const char* newName);

// A module (or its resource library) exports this to hand out the texts of its
// string table; IDMsgOut finds a module's message formats through it.
typedef const char* (*PfnDvLoadString)(int id);
#define DV_LOAD_STRING_SYMBOL "DvLoadString"

// ---------------------------------------------------------------------------
// The framework's services: entry 0 of the function tables.
// Strings handed out are copied into caller buffers of the given size.
// ---------------------------------------------------------------------------
enum DvFrameworkSlot {
  PONTRA_GetVantrelModuleInfo = 1,
  PONTRA_GetModuleFunctions = 2,
  PONTRA_CleanupModule = 3,
  PONTRA_InitPontra = 4,
  PONTRA_LoadPontraModule = 5,
  PONTRA_UnloadPontraModule = 6,
  PONTRA_IsModuleLoaded = 7,
  PONTRA_GetORXDir = 8,
  PONTRA_GetDefProjDir = 9,
  PONTRA_GetProjDir = 10,
  PONTRA_SaveProj = 11,
  PONTRA_RegisterType = 12,
  PONTRA_GetTree = 13,
  PONTRA_GetFolder = 14,
  PONTRA_InsertTreeObject = 15,
  PONTRA_DeleteTreeObject = 16,
  PONTRA_GetTreeName = 17,
  PONTRA_SetTreeName = 18,
  PONTRA_GetTreeFileExt = 19,
  PONTRA_SetTreeFileExt = 20,
  PONTRA_GetTreeSelected = 21,
  PONTRA_SetTreeSelected = 22,
  PONTRA_GetTreeBad = 23,
  PONTRA_SetTreeBad = 24,
  PONTRA_GetTreepObj = 25,
  PONTRA_GetMainMenu = 26,
  PONTRA_GetObjToolBar = 27,
  PONTRA_HideAllObjToolBars = 28,
  PONTRA_ClearMsgBar = 29,
  PONTRA_MsgOut = 30,
  PONTRA_IDMsgOut = 31,
  PONTRA_SetStatusBarText = 32,
  PONTRA_CreateProgress = 33,
  PONTRA_SetProgress = 34,
  PONTRA_DestroyProgress = 35,
  PONTRA_PlayWav = 36,
  PONTRA_PlayAvi = 37,
  PONTRA_SLOT_COUNT = 38,
};

typedef int (*PfnLoadPontraModule)(int moduleId);
typedef int (*PfnUnloadPontraModule)(int moduleId);
typedef int (*PfnIsModuleLoaded)(int moduleId);
typedef int (*PfnGetDir)(char* out, int size);
typedef int (*PfnSaveProj)(void);
typedef int (*PfnRegisterType)(int moduleId, int typeNumber, const char* folder1,
                               const char* folder2, const char* folder3, int addSlot,
                               const char* addText, int closeSlot, int commandSlot,
                               int createSlot, const char* createText, int dblClickSlot,
                               int delSlot, int importSlot, const char* importText,
                               int openSlot, int rclickSlot, int renameSlot);
typedef int (*PfnGetTree)(DvHandle* tree);
typedef int (*PfnGetFolder)(int typeIndex, DvHandle* item);
typedef int (*PfnInsertTreeObject)(int typeIndex, const char* name, const char* fileExt,
                                   int selected, void* object, DvHandle* item);
typedef int (*PfnDeleteTreeObject)(DvHandle item);
typedef int (*PfnGetTreeString)(DvHandle item, char* out, int size);
typedef int (*PfnSetTreeString)(DvHandle item, const char* text);
typedef int (*PfnGetTreeInt)(DvHandle item, int* value);
typedef int (*PfnSetTreeInt)(DvHandle item, int value);
typedef int (*PfnGetTreepObj)(DvHandle item, void** object);
typedef int (*PfnGetMainMenu)(DvHandle menu);
typedef int (*PfnGetObjToolBar)(int moduleId, DvHandle* toolbar, int** inUse);
typedef int (*PfnHideAllObjToolBars)(void);
typedef int (*PfnClearMsgBar)(void);
typedef int (*PfnMsgOut)(int kind, int moduleId, const char* format, ...);
typedef int (*PfnIDMsgOut)(int kind, int moduleId, int stringId, ...);
typedef int (*PfnSetStatusBarText)(int pane, const char* text);
typedef int (*PfnCreateProgress)(const char* title, const char* text);
typedef int (*PfnSetProgress)(const char* text, int position);
typedef int (*PfnDestroyProgress)(void);
typedef int (*PfnPlayMedia)(const char* file);

// Message kinds (first argument of MsgOut / IDMsgOut).
enum {
  DV_MSG_PLAIN = 0,
  DV_MSG_TIMESTAMP = 1,     // bit: append date and time
  DV_MSG_ERROR_BOX = 16,
  DV_MSG_QUESTION_BOX = 32,
  DV_MSG_WARNING_BOX = 48,
  DV_MSG_INFO_BOX = 64,
};

}  // extern "C"

#ifdef __cplusplus
namespace dv {
// Typed access to slot k of module m's table: a wrong signature fails to compile
// where the caller names the pointer type.
template <typename Fn>
inline Fn slot(DvFunc** tables, int module, int k) {
  if (!tables || !tables[module]) return nullptr;
  return reinterpret_cast<Fn>(tables[module][k]);
}
}  // namespace dv
#endif
