// The Quv module's entry: its type indexes, the folders of its two types in
// the project tree, and the commands whose operations arrive in a later
// version.
#pragma once

#include <string>
#include <vector>

#include "delvar/module.h"

namespace quv {

struct ProfileItem;
struct RawObject;

// Type index of raw data items (the first RegisterType of InitModule).
int rawTypeIndex();
void setRawTypeIndex(int index);

// The "Raw Data" and "Profiles" folders (GetFolder), nullptr when absent.
DvHandle rawFolder();
DvHandle profileFolder();
// The object items under a folder item, in tree order (a copy: callers may
// delete items while they walk it).
std::vector<DvHandle> childItems(DvHandle folder);
// The tree control (GetTree).
DvHandle treeControl();
// The project's name: the text of the root item of the tree.
std::string projectName();
// The object record a tree item holds (GetTreepObj), nullptr when none; the
// typed forms for items of the two types.
void* treeObject(DvHandle item);
inline ProfileItem* profileOf(DvHandle item) { return static_cast<ProfileItem*>(treeObject(item)); }
inline RawObject* rawObjectOf(DvHandle item) { return static_cast<RawObject*>(treeObject(item)); }

// One message-bar line for a command whose operation is built in a later
// version of the module: "<command>: <what> arrives in a later version".
void notYetAvailable(const char* command, const char* what);

}  // namespace quv
