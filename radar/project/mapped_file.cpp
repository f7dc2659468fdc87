#include "project/mapped_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace quv {

namespace {

int64_t modifiedNs(const struct stat& s) { return int64_t(s.st_mtim.tv_sec) * 1000000000 + s.st_mtim.tv_nsec; }

}  // namespace

std::shared_ptr<const MappedFile> MappedFile::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat s;
  void* p = MAP_FAILED;
  if (fstat(fd, &s) == 0 && S_ISREG(s.st_mode) && s.st_size > 0)
    p = mmap(nullptr, size_t(s.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);  // the mapping keeps the file
  if (p == MAP_FAILED) return nullptr;
  // Traces are read in order.
  madvise(p, size_t(s.st_size), MADV_SEQUENTIAL);
  std::shared_ptr<MappedFile> m(new MappedFile);
  m->data_ = p;
  m->bytes_ = s.st_size;
  m->device_ = s.st_dev;
  m->inode_ = s.st_ino;
  m->modified_ = modifiedNs(s);
  return m;
}

MappedFile::~MappedFile() {
  if (data_) munmap(data_, size_t(bytes_));
}

bool MappedFile::sameFile(const std::string& path) const {
  struct stat s;
  return stat(path.c_str(), &s) == 0 && s.st_dev == device_ && s.st_ino == inode_ &&
         s.st_size == bytes_ && modifiedNs(s) == modified_;
}

void MappedFile::releasePages(int64_t from, int64_t to) const {
  const int64_t page = sysconf(_SC_PAGESIZE);
  from = (std::max<int64_t>(from, 0) + page - 1) / page * page;  // whole pages inside the range
  to = std::min(to, bytes_);
  if (to == bytes_) to = (to + page - 1) / page * page;  // the last page belongs to no one else
  else to = to / page * page;
  if (to > from) madvise(static_cast<char*>(data_) + from, size_t(to - from), MADV_DONTNEED);
}

}  // namespace quv
