// Small services of the operating system: the short date and time strings,
// dynamic libraries, the executable's folder, the user's folders.
#pragma once

#include <ctime>
#include <string>

namespace dv {

// "MM/DD/YY" and "HH:MM:SS", two digits per field, as message time stamps show them.
std::string shortDate(std::time_t t);
std::string shortTime(std::time_t t);

// Dynamic libraries (dlopen / dlsym / dlclose). Each library is loaded with
// local symbols, so modules exporting the same names stay apart.
void* loadLibrary(const std::string& path, std::string* error = nullptr);
void* findSymbol(void* library, const char* name);
void freeLibrary(void* library);

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

}  // namespace dv
