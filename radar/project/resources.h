// What the machine can give a long line: memory the kernel reports as
// available, free space in a folder, the number of cores, and the checks
// that refuse an operation with a clear message before anything is written.
#pragma once

#include <cstdint>
#include <string>

namespace quv {

// MemAvailable of /proc/meminfo in bytes (-1 when it cannot be read).
int64_t availableMemoryBytes();
// Bytes an unprivileged writer may still put into the folder's file system
// (-1 when it cannot be asked).
int64_t freeDiskBytes(const std::string& folder);

// True when `bytes` fit in the available memory (or disk space of `folder`);
// otherwise writes "<name> needs 2.0 GB of memory for its samples; 1.2 GB is
// free" (or the disk line) and returns false. An answer the system cannot
// give lets the operation go ahead.
bool memoryHolds(const std::string& name, int64_t bytes);
bool diskHolds(const std::string& name, const std::string& folder, int64_t bytes);

// Replaces what the system reports (a value below 0 restores it); tests
// reach the refusals with it.
void setReportedResources(int64_t memoryBytes, int64_t diskBytes);

}  // namespace quv
