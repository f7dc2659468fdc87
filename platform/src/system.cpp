#include "dv/system.h"

#include <dlfcn.h>
#include <locale.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace dv {

std::string shortDate(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d/%02d/%02d", tm.tm_mon + 1, tm.tm_mday, tm.tm_year % 100);
  return buf;
}

std::string shortTime(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
  return buf;
}

void* loadLibrary(const std::string& path, std::string* error) {
  void* h = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!h && error) {
    const char* e = ::dlerror();
    *error = e ? e : "cannot load library";
  }
  return h;
}

void* findSymbol(void* library, const char* name) {
  if (!library || !name) return nullptr;
  return ::dlsym(library, name);
}

void freeLibrary(void* library) {
  if (library) ::dlclose(library);
}

int ModuleFunctions::firstMissing() const {
  for (size_t k = 1; k < table.size(); ++k)
    if (!table[k]) return int(k);
  return 0;
}

bool bindModuleFunctions(void* library, ModuleFunctions& out) {
  out.table.assign(1, nullptr);
  out.names.assign(1, std::string());
  auto list = reinterpret_cast<PfnGetModuleFunctions>(findSymbol(library, "GetModuleFunctions"));
  const char* const* names = nullptr;
  if (!list || list(&names) != 0) return false;
  for (int k = 0; names && names[k] && names[k][0]; ++k) {
    out.table.push_back(reinterpret_cast<DvFunc>(findSymbol(library, names[k])));
    out.names.emplace_back(names[k]);
  }
  return true;
}

std::string executableDir() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return currentDir();
  buf[n] = 0;
  std::string p(buf);
  auto slash = p.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : p.substr(0, slash));
}

std::string homeDir() {
  if (const char* h = std::getenv("HOME"); h && *h) return h;
  if (passwd* pw = ::getpwuid(::getuid())) return pw->pw_dir;
  return "/tmp";
}

std::string userDataDir() {
  const char* x = std::getenv("XDG_DATA_HOME");
  std::string base = x && *x ? std::string(x) : homeDir() + "/.local/share";
  return base + "/delvar";
}

std::string userName() {
  if (passwd* pw = ::getpwuid(::getuid())) return pw->pw_name;
  if (const char* u = std::getenv("USER"); u && *u) return u;
  return "uid " + std::to_string(::getuid());
}

std::string hostName() {
  char buf[256] = {};
  if (::gethostname(buf, sizeof buf - 1) != 0 || !buf[0]) return "localhost";
  return buf;
}

bool processRunning(long pid) {
  if (pid <= 0 || pid > 0x7fffffffL) return false;
  // EPERM: the process exists but belongs to someone else.
  if (::kill((pid_t)pid, 0) != 0 && errno != EPERM) return false;
  // A zombie (ended, not yet reaped by its parent) runs no more.
  std::FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
  if (!f) return true;
  char buf[512] = {};
  size_t n = std::fread(buf, 1, sizeof buf - 1, f);
  std::fclose(f);
  const char* close = std::strrchr(buf, ')');  // the name in parentheses may hold anything
  return !(n > 0 && close && close[1] == ' ' && close[2] == 'Z');
}

bool isWritableDir(const std::string& dir) { return ::access(dir.c_str(), W_OK | X_OK) == 0; }

std::string currentDir() {
  char buf[4096];
  return ::getcwd(buf, sizeof buf) ? std::string(buf) : std::string(".");
}

void useCNumericLocale() { std::setlocale(LC_NUMERIC, "C"); }

namespace {
locale_t cNumericLocale() {
  static const locale_t c = ::newlocale(LC_ALL_MASK, "C", (locale_t)0);
  return c;
}
}  // namespace

CNumericScope::CNumericScope()
    : previous_(cNumericLocale() ? ::uselocale(cNumericLocale()) : (locale_t)0) {}

CNumericScope::~CNumericScope() {
  if (previous_) ::uselocale((locale_t)previous_);
}

}  // namespace dv
