#include "project/resources.h"

#include <sys/statvfs.h>

#include <cstdio>
#include <cstring>

#include "project/messages.h"
#include "project/quv.h"

namespace quv {

namespace {

int64_t g_memory = -1, g_disk = -1;

std::string amount(int64_t bytes) {
  char text[32];
  if (bytes >= 1000000000)
    std::snprintf(text, sizeof text, "%.1f GB", double(bytes) / 1e9);
  else
    std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / 1e6);
  return text;
}

}  // namespace

void setReportedResources(int64_t memoryBytes, int64_t diskBytes) {
  g_memory = memoryBytes;
  g_disk = diskBytes;
}

int64_t availableMemoryBytes() {
  if (g_memory >= 0) return g_memory;
  std::FILE* f = std::fopen("/proc/meminfo", "r");
  if (!f) return -1;
  char line[256];
  long long kb = -1;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "MemAvailable: %lld kB", &kb) == 1) break;
  std::fclose(f);
  return kb < 0 ? -1 : int64_t(kb) * 1024;
}

int64_t freeDiskBytes(const std::string& folder) {
  if (g_disk >= 0) return g_disk;
  struct statvfs s;
  if (statvfs(folder.c_str(), &s) != 0) return -1;
  return int64_t(s.f_bavail) * int64_t(s.f_frsize);
}

bool memoryHolds(const std::string& name, int64_t bytes) {
  const int64_t free = availableMemoryBytes();
  if (free < 0 || bytes <= free) return true;
  msg(0, kMsgNeedsMemory, name.c_str(), amount(bytes).c_str(), amount(free).c_str());
  return false;
}

bool diskHolds(const std::string& name, const std::string& folder, int64_t bytes) {
  const int64_t free = freeDiskBytes(folder);
  if (free < 0 || bytes <= free) return true;
  msg(0, kMsgNeedsDisk, name.c_str(), amount(bytes).c_str(), amount(free).c_str());
  return false;
}

}  // namespace quv
