// The framework's exported services, in the order of its name list (slots
// of delvar/module.h). Modules call them through entry 0 of the function
// tables; the framework and its tests call them directly.
#pragma once

#include "delvar/module.h"

extern "C" {
int GetVantrelModuleInfo(int* id, int* major, int* minor, const char** name);
int GetModuleFunctions(const char* const** list);
int CleanupModule(void);
int InitPontra(DV_STARTUP_PARAMS);
int LoadPontraModule(int moduleId);
int UnloadPontraModule(int moduleId);
int IsModuleLoaded(int moduleId);
int GetORXDir(char* out, int size);
int GetDefProjDir(char* out, int size);
int GetProjDir(char* out, int size);
int SaveProj(void);
int RegisterType(int moduleId, int typeNumber, const char* folder1, const char* folder2,
                 const char* folder3, int addSlot, const char* addText, int closeSlot,
                 int commandSlot, int createSlot, const char* createText, int dblClickSlot,
                 int delSlot, int importSlot, const char* importText, int openSlot, int rclickSlot,
                 int renameSlot);
int GetTree(DvHandle* tree);
int GetFolder(int typeIndex, DvHandle* item);
int InsertTreeObject(int typeIndex, const char* name, const char* fileExt, int selected,
                     void* object, DvHandle* item);
int DeleteTreeObject(DvHandle item);
int GetTreeName(DvHandle item, char* out, int size);
int SetTreeName(DvHandle item, const char* text);
int GetTreeFileExt(DvHandle item, char* out, int size);
int SetTreeFileExt(DvHandle item, const char* text);
int GetTreeSelected(DvHandle item, int* value);
int SetTreeSelected(DvHandle item, int value);
int GetTreeBad(DvHandle item, int* value);
int SetTreeBad(DvHandle item, int value);
int GetTreepObj(DvHandle item, void** object);
int GetMainMenu(DvHandle menu);
int GetObjToolBar(int moduleId, DvHandle* toolbar, int** inUse);
int HideAllObjToolBars(void);
int ClearMsgBar(void);
int MsgOut(int kind, int moduleId, const char* format, ...);
int IDMsgOut(int kind, int moduleId, int stringId, ...);
int SetStatusBarText(int pane, const char* text);
int CreateProgress(const char* title, const char* text);
int SetProgress(const char* text, int position);
int DestroyProgress(void);
int PlayWav(const char* file);
int PlayAvi(const char* file);
}
