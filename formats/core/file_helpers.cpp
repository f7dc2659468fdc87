// The three ways the format families open a caller's file object.
#include "dv/file.h"
#include "scrivel_internal.h"

namespace {
const char* shown(const char* path) { return path ? path : ""; }
}  // namespace

DV_EXPORT int OpenFileForRead(const char* path, dv::File* file) {
  if (!path || !file || !file->open(path, dv::File::ReadOnly)) {
    scrivel::report(10001, shown(path));
    return SCRIVEL_ERR_OPEN_READ;
  }
  return SCRIVEL_OK;
}

// Opens an existing file for appending traces: no truncation, positioned at
// its end. A position that disagrees with the length means the file cannot
// be appended to safely.
DV_EXPORT int OpenFileForWrite(const char* path, dv::File* file) {
  if (!path || !file || !file->open(path, dv::File::WriteExisting)) {
    scrivel::report(10002, shown(path));
    return SCRIVEL_ERR_OPEN_WRITE;
  }
  int64_t end = file->seek(0, dv::File::End);
  if (end < 0 || end != file->length()) {
    file->close();
    scrivel::report(10003, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  return SCRIVEL_OK;
}

DV_EXPORT int CreateFileForWrite(const char* path, dv::File* file) {
  if (!path || !file || !file->open(path, dv::File::CreateWrite)) {
    scrivel::report(10004, shown(path));
    return SCRIVEL_ERR_CREATE;
  }
  return SCRIVEL_OK;
}
