#include "dv/file.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <random>

#include "dv/system.h"

namespace dv {

File::~File() { close(); }

bool File::open(const std::string& path, Mode mode, bool text) {
  close();
  const char* m = "rb";
  switch (mode) {
    case ReadOnly: m = "rb"; break;
    case WriteExisting: m = "r+b"; break;
    case CreateWrite: m = "wb"; break;
    case ReadWrite: m = "r+b"; break;
  }
  fp_ = std::fopen(path.c_str(), m);
  if (!fp_) return false;
  // Refuse folders: fopen of a folder succeeds for reading on Linux.
  struct stat st;
  if (fstat(fileno(fp_), &st) != 0 || S_ISDIR(st.st_mode)) {
    std::fclose(fp_);
    fp_ = nullptr;
    return false;
  }
  iobuf_.assign(1 << 16, 0);
  std::setvbuf(fp_, iobuf_.data(), _IOFBF, iobuf_.size());
  text_ = text;
  path_ = path;
  pos_ = 0;
  return true;
}

bool File::openMemory(const void* bytes, size_t size, bool text) {
  close();
  const auto* p = static_cast<const uint8_t*>(bytes);
  buf_.assign(p, p + size);
  mem_ = true;
  pos_ = 0;
  text_ = text;
  path_ = "<memory>";
  return true;
}

bool File::openView(const void* bytes, size_t size) {
  close();
  view_ = static_cast<const uint8_t*>(bytes);
  viewSize_ = size;
  mem_ = true;
  pos_ = 0;
  text_ = false;
  path_ = "<memory>";
  return true;
}

void File::close() {
  if (fp_) {
    std::fclose(fp_);
    fp_ = nullptr;
  }
  view_ = nullptr;
  viewSize_ = 0;
  mem_ = false;
  pos_ = 0;
}

int64_t File::seek(int64_t offset, Origin from) {
  if (mem_) {
    int64_t base = from == Begin ? 0 : from == Current ? pos_ : (int64_t)memSize();
    int64_t target = base + offset;
    if (target < 0) return -1;
    pos_ = target;
    return pos_;
  }
  if (!fp_) return -1;
  int whence = from == Begin ? SEEK_SET : from == Current ? SEEK_CUR : SEEK_END;
  if (from == Current && pos_ < 0) pos_ = (int64_t)ftello(fp_);
  if (fseeko(fp_, (off_t)offset, whence) != 0) {
    pos_ = -1;  // a failed seek may have moved nothing or anything
    return -1;
  }
  pos_ = from == Begin ? offset : from == Current && pos_ >= 0 ? pos_ + offset : (int64_t)ftello(fp_);
  return pos_;
}

size_t File::read(void* buffer, size_t count) {
  if (mem_) {
    if (pos_ >= (int64_t)memSize()) return 0;
    size_t n = std::min(count, (size_t)((int64_t)memSize() - pos_));
    std::memcpy(buffer, memBytes() + pos_, n);
    pos_ += (int64_t)n;
    return n;
  }
  if (!fp_) return 0;
  const size_t n = std::fread(buffer, 1, count, fp_);
  if (std::ferror(fp_)) pos_ = -1;
  else if (pos_ >= 0) pos_ += (int64_t)n;
  return n;
}

size_t File::write(const void* buffer, size_t count) {
  if (view_) return 0;
  if (mem_) {
    if (pos_ + (int64_t)count > (int64_t)buf_.size()) buf_.resize((size_t)pos_ + count, 0);
    std::memcpy(buf_.data() + pos_, buffer, count);
    pos_ += (int64_t)count;
    return count;
  }
  if (!fp_) return 0;
  const size_t n = std::fwrite(buffer, 1, count, fp_);
  if (n != count) pos_ = -1;
  else if (pos_ >= 0) pos_ += (int64_t)n;
  return n;
}

int64_t File::length() {
  if (mem_) return (int64_t)memSize();
  if (!fp_) return -1;
  std::fflush(fp_);
  struct stat st;
  if (fstat(fileno(fp_), &st) != 0) return -1;
  return (int64_t)st.st_size;
}

int64_t File::position() {
  if (mem_) return pos_;
  if (!fp_) return -1;
  if (pos_ < 0) pos_ = (int64_t)ftello(fp_);
  return pos_;
}

bool File::flush() { return mem_ || (fp_ && std::fflush(fp_) == 0); }

bool File::readLine(std::string& line) {
  line.clear();
  bool any = false;
  char c;
  while (read(&c, 1) == 1) {
    any = true;
    if (c == '\n') break;
    line.push_back(c);
  }
  if (!any) return false;
  while (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool File::writeString(const std::string& text) {
  if (!text_) return write(text.data(), text.size()) == text.size();
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\n') out.push_back('\r');
    out.push_back(c);
  }
  return write(out.data(), out.size()) == out.size();
}

namespace {

// The temporary names of the whole-file writes (tempFileTarget reads them).
std::string atomicTempName(const std::string& path) {
  static std::mt19937 rng{std::random_device{}()};
  return path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(rng() % 100000);
}

std::string copyTempName(const std::string& path) {
  return path + ".tmp" + std::to_string(::getpid());
}

// Writes the bytes to a new file `tmp`; on failure nothing is left there.
bool writeNewFile(const std::string& tmp, const void* bytes, size_t size) {
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (fd < 0) return false;
  const char* p = static_cast<const char*>(bytes);
  size_t left = size;
  bool ok = true;
  while (left > 0) {
    ssize_t w = ::write(fd, p, left);
    if (w < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    p += w;
    left -= (size_t)w;
  }
  if (::close(fd) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

bool allDigits(const std::string& s) {
  return !s.empty() && s.size() <= 10 &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool makeDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  return errno == EEXIST && isDirectory(path);
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool renameFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

bool copyFile(const std::string& from, const std::string& to) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  std::string tmp = copyTempName(to);
  std::FILE* out = std::fopen(tmp.c_str(), "wb");
  if (!out) {
    std::fclose(in);
    return false;
  }
  std::vector<char> buf(1 << 20);
  bool ok = true;
  size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), in)) > 0) {
    if (std::fwrite(buf.data(), 1, n, out) != n) {
      ok = false;
      break;
    }
  }
  if (std::ferror(in)) ok = false;
  std::fclose(in);
  if (std::fclose(out) != 0) ok = false;
  if (ok) ok = renameFile(tmp, to);
  if (!ok) removeFile(tmp);
  return ok;
}

int64_t fileSize(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return -1;
  return (int64_t)st.st_size;
}

bool readWholeFile(const std::string& path, std::string& out) {
  out.clear();
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool writeFileAtomic(const std::string& path, const void* bytes, size_t size) {
  std::string tmp = atomicTempName(path);
  if (!writeNewFile(tmp, bytes, size)) return false;
  if (renameFile(tmp, path)) return true;
  removeFile(tmp);
  return false;
}

std::string tempFileTarget(const std::string& name, long* pid) {
  if (pid) *pid = 0;
  auto ends = [&](const std::string& tail) {
    return name.size() > tail.size() &&
           name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
  };
  if (ends(".part")) return name.substr(0, name.size() - 5);
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot == 0) return "";
  std::string tail = name.substr(dot + 1);
  std::string id;
  if (tail.rfind("tmp", 0) == 0 && allDigits(tail.substr(3))) {
    id = tail.substr(3);
  } else if (tail.rfind("~", 0) == 0) {
    size_t dash = tail.find('-');
    if (dash == std::string::npos || !allDigits(tail.substr(1, dash - 1)) ||
        !allDigits(tail.substr(dash + 1)))
      return "";
    id = tail.substr(1, dash - 1);
  } else {
    return "";
  }
  if (pid) *pid = std::stol(id);
  return name.substr(0, dot);
}

std::vector<std::string> removeStaleTempFiles(const std::string& dir) {
  std::vector<std::string> removed;
  DIR* d = ::opendir(dir.c_str());
  if (!d) return removed;
  std::vector<std::string> names;
  while (dirent* e = ::readdir(d)) names.push_back(e->d_name);
  ::closedir(d);
  for (const std::string& name : names) {
    long pid = 0;
    if (tempFileTarget(name, &pid).empty()) continue;
    if (pid != 0 && pid != (long)::getpid() && processRunning(pid)) continue;
    std::string path = joinPath(dir, name);
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (removeFile(path)) removed.push_back(name);
  }
  std::sort(removed.begin(), removed.end());
  return removed;
}

LockOwner readLockFile(const std::string& path) {
  LockOwner o;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return o;
  char buf[4096];
  size_t n = std::fread(buf, 1, sizeof buf, f);  // a lock is a few short lines
  std::fclose(f);
  std::string text(buf, n);
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
    pos = nl == std::string::npos ? text.size() : nl + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("user ", 0) == 0) o.user = line.substr(5);
    if (line.rfind("host ", 0) == 0) o.host = line.substr(5);
    if (line.rfind("pid ", 0) == 0 && allDigits(line.substr(4))) o.pid = std::stol(line.substr(4));
  }
  return o;
}

namespace {

bool isMine(const LockOwner& o) {
  return o.pid == (long)::getpid() && o.host == hostName();
}

// The lock is written whole under a temporary name and then linked to its
// own name, which fails when a lock is already there.
bool linkNewLock(const std::string& path, int& error) {
  std::string text = "DELVAR project lock\nuser " + userName() + "\nhost " + hostName() + "\npid " +
                     std::to_string(::getpid()) + "\n";
  std::string tmp = atomicTempName(path);
  if (!writeNewFile(tmp, text.data(), text.size())) {
    error = errno;
    return false;
  }
  bool ok = ::link(tmp.c_str(), path.c_str()) == 0;
  error = ok ? 0 : errno;
  ::unlink(tmp.c_str());
  return ok;
}

}  // namespace

LockAttempt acquireLockFile(const std::string& path) {
  LockAttempt a;
  bool tookOver = false;
  for (int attempt = 0; attempt < 4; ++attempt) {
    int error = 0;
    if (linkNewLock(path, error)) {
      a.result = tookOver ? LockAttempt::TakenOver : LockAttempt::Acquired;
      return a;
    }
    if (error != EEXIST) {
      a.result = LockAttempt::Unavailable;
      return a;
    }
    LockOwner o = readLockFile(path);
    if (isMine(o)) {
      a.result = LockAttempt::Acquired;
      return a;
    }
    if (!o.known() || o.host != hostName() || processRunning(o.pid)) {
      a.owner = o;
      return a;
    }
    // A lock left by a process that is gone: moved aside under a name of
    // our own first and checked there, so that of two processes taking it
    // over at once only one removes it, and never a lock made meanwhile.
    std::string aside = atomicTempName(path);
    if (!renameFile(path, aside)) continue;
    LockOwner moved = readLockFile(aside);
    if (moved.host == o.host && moved.pid == o.pid) {
      removeFile(aside);
      a.owner = o;
      tookOver = true;
      continue;
    }
    ::link(aside.c_str(), path.c_str());  // someone else's fresh lock goes back
    removeFile(aside);
    a.owner = moved;
    return a;
  }
  a.owner = readLockFile(path);
  return a;
}

void releaseLockFile(const std::string& path) {
  if (isMine(readLockFile(path))) removeFile(path);
}

std::string joinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

std::string dirName(const std::string& path) {
  auto p = path.find_last_of('/');
  if (p == std::string::npos) return ".";
  if (p == 0) return "/";
  return path.substr(0, p);
}

std::string baseName(const std::string& path) {
  auto p = path.find_last_of('/');
  return p == std::string::npos ? path : path.substr(p + 1);
}

std::string fileTitle(const std::string& path) {
  std::string b = baseName(path);
  auto d = b.find_last_of('.');
  return d == std::string::npos ? b : b.substr(0, d);
}

std::string extension(const std::string& path) {
  std::string b = baseName(path);
  auto d = b.find_last_of('.');
  return d == std::string::npos ? std::string() : b.substr(d);
}

std::string findCaseInsensitive(const std::string& path) {
  if (fileExists(path)) return path;
  std::string dir = dirName(path), name = baseName(path);
  DIR* d = ::opendir(dir.c_str());
  if (!d) return "";
  std::string found;
  while (dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0) {
      found = joinPath(path.find('/') == std::string::npos ? "" : dir, e->d_name);
      break;
    }
  }
  ::closedir(d);
  return found;
}

std::string companionFile(const std::string& headerPath, const char* ext) {
  const std::string headerExt = extension(headerPath);
  const bool lower = headerExt.size() > 1 && std::islower((unsigned char)headerExt[1]);
  std::string wanted = headerPath.substr(0, headerPath.size() - headerExt.size()) + ".";
  for (const char* c = ext; *c; ++c)
    wanted += char(lower ? std::tolower((unsigned char)*c) : std::toupper((unsigned char)*c));
  std::string found = findCaseInsensitive(wanted);
  return found.empty() ? wanted : found;
}

bool isSafeFileName(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) return false;
  if (name.find("..") != std::string::npos) return false;
  for (unsigned char c : name)
    if (c < 0x20) return false;
  return true;
}

}  // namespace dv
