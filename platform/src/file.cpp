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

void File::close() {
  if (fp_) {
    std::fclose(fp_);
    fp_ = nullptr;
  }
  mem_ = false;
  pos_ = 0;
}

int64_t File::seek(int64_t offset, Origin from) {
  if (mem_) {
    int64_t base = from == Begin ? 0 : from == Current ? pos_ : (int64_t)buf_.size();
    int64_t target = base + offset;
    if (target < 0) return -1;
    pos_ = target;
    return pos_;
  }
  if (!fp_) return -1;
  int whence = from == Begin ? SEEK_SET : from == Current ? SEEK_CUR : SEEK_END;
  if (fseeko(fp_, (off_t)offset, whence) != 0) return -1;
  return (int64_t)ftello(fp_);
}

size_t File::read(void* buffer, size_t count) {
  if (mem_) {
    if (pos_ >= (int64_t)buf_.size()) return 0;
    size_t n = std::min(count, (size_t)((int64_t)buf_.size() - pos_));
    std::memcpy(buffer, buf_.data() + pos_, n);
    pos_ += (int64_t)n;
    return n;
  }
  if (!fp_) return 0;
  return std::fread(buffer, 1, count, fp_);
}

size_t File::write(const void* buffer, size_t count) {
  if (mem_) {
    if (pos_ + (int64_t)count > (int64_t)buf_.size()) buf_.resize((size_t)pos_ + count, 0);
    std::memcpy(buf_.data() + pos_, buffer, count);
    pos_ += (int64_t)count;
    return count;
  }
  if (!fp_) return 0;
  return std::fwrite(buffer, 1, count, fp_);
}

int64_t File::length() {
  if (mem_) return (int64_t)buf_.size();
  if (!fp_) return -1;
  std::fflush(fp_);
  struct stat st;
  if (fstat(fileno(fp_), &st) != 0) return -1;
  return (int64_t)st.st_size;
}

int64_t File::position() {
  if (mem_) return pos_;
  if (!fp_) return -1;
  return (int64_t)ftello(fp_);
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
  std::string tmp = to + ".tmp" + std::to_string(::getpid());
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
  static std::mt19937 rng{std::random_device{}()};
  std::string tmp = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(rng() % 100000);
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
  if (ok) ok = renameFile(tmp, path);
  if (!ok) removeFile(tmp);
  return ok;
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
