// Small services of the operating system: the short date and time strings,
// dynamic libraries, the executable's folder, the user's folders.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "delvar/module.h"

namespace dv {

// "MM/DD/YY" and "HH:MM:SS", two digits per field, as message time stamps show them.
std::string shortDate(std::time_t t);
std::string shortTime(std::time_t t);

// Dynamic libraries (dlopen / dlsym / dlclose). Each library is loaded with
// local symbols, so modules exporting the same names stay apart.
void* loadLibrary(const std::string& path, std::string* error = nullptr);
void* findSymbol(void* library, const char* name);
void freeLibrary(void* library);

// A module's function table bound from its name list: slot 0 stays empty,
// slot k holds the function of the k-th name (null when the library does not
// export it) and names[k] that name.
struct ModuleFunctions {
  std::vector<DvFunc> table;
  std::vector<std::string> names;
  // The first slot whose function is missing, or 0 when every name was found.
  int firstMissing() const;
};
// Calls the library's GetModuleFunctions and looks up each name of its list,
// up to the terminating empty name. False when the library has no
// GetModuleFunctions or that refuses to give a list.
bool bindModuleFunctions(void* library, ModuleFunctions& out);

std::string executableDir();
std::string homeDir();
// $XDG_DATA_HOME/delvar (or ~/.local/share/delvar).
std::string userDataDir();
bool isWritableDir(const std::string& dir);
// The user's login name and this computer's host name.
std::string userName();
std::string hostName();
// True when a process of that id runs on this host (whoever owns it).
bool processRunning(long pid);
std::string currentDir();

// Makes numbers use the C decimal point whatever the user's locale.
void useCNumericLocale();

// While it lives, the calling thread writes and reads numbers (printf,
// strtod, ...) with the C decimal point whatever the process locale.
class CNumericScope {
 public:
  CNumericScope();
  ~CNumericScope();
  CNumericScope(const CNumericScope&) = delete;
  CNumericScope& operator=(const CNumericScope&) = delete;

 private:
  void* previous_;
};

}  // namespace dv
