// A file mapped read-only into memory: a version's trace file (float32
// samples in trace order) is read through its mapping instead of being
// copied to the heap, so an open version costs page cache, not a copy.
// Files are only ever replaced by renaming a new file over them, so a
// mapping keeps showing the file it was made of; sameFile() tells when the
// name now leads to another one.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>

namespace quv {

class MappedFile {
 public:
  // Null when the file cannot be opened or mapped, or is empty.
  static std::shared_ptr<const MappedFile> open(const std::string& path);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  const void* data() const { return data_; }
  int64_t bytes() const { return bytes_; }
  // True while `path` still names the file mapped (same file, size and time).
  bool sameFile(const std::string& path) const;
  // Gives the pages of bytes [from, to) back to the system; they are read
  // from the file again when next touched.
  void releasePages(int64_t from, int64_t to) const;

 private:
  MappedFile() = default;
  void* data_ = nullptr;
  int64_t bytes_ = 0;
  dev_t device_ = 0;
  ino_t inode_ = 0;
  int64_t modified_ = 0;
};

}  // namespace quv
