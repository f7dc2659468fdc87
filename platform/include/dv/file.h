// Buffered binary and text files: the file object that callers construct,
// open, hand to the format readers and writers, and close.
//
// A file is backed by a disk file or by a memory buffer (the fuzz targets and
// some tests run the same readers on bytes in memory).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace dv {

class File {
 public:
  enum Mode {
    ReadOnly = 0,       // existing file, reading
    WriteExisting = 1,  // existing file, writing without truncation
    CreateWrite = 2,    // create or truncate, writing
    ReadWrite = 3,      // existing file, reading and writing
  };
  enum Origin { Begin = 0, Current = 1, End = 2 };

  File() = default;
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Text mode: writeString turns "\n" into "\r\n"; readLine accepts LF, CR LF
  // and CR CR LF and hands back the line without its end.
  bool open(const std::string& path, Mode mode, bool text = false);
  // Reads and writes go to a private copy of the bytes; data() shows them.
  bool openMemory(const void* bytes, size_t size, bool text = false);
  // Reads see the `size` bytes at `bytes` in place, without a copy (they
  // must outlive the file, a mapped file for instance); writes fail.
  bool openView(const void* bytes, size_t size);
  bool isOpen() const { return fp_ != nullptr || mem_; }
  // Memory files: room for `bytes` in all, so that writing up to that many
  // moves nothing (no effect on disk files).
  void reserve(size_t bytes) {
    if (mem_) buf_.reserve(bytes);
  }
  void close();

  // Returns the new position from the start, or -1 on failure.
  int64_t seek(int64_t offset, Origin from = Begin);
  size_t read(void* buffer, size_t count);
  size_t write(const void* buffer, size_t count);
  int64_t length();
  int64_t position();
  bool flush();

  // Text-mode helpers. readLine returns false at the end of the file.
  bool readLine(std::string& line);
  bool writeString(const std::string& text);

  const std::string& path() const { return path_; }
  const std::vector<uint8_t>& data() const { return buf_; }

 private:
  std::FILE* fp_ = nullptr;
  bool mem_ = false;
  bool text_ = false;
  std::vector<uint8_t> buf_;
  const uint8_t* view_ = nullptr;  // openView: the bytes read, else null
  size_t viewSize_ = 0;
  const uint8_t* memBytes() const { return view_ ? view_ : buf_.data(); }
  size_t memSize() const { return view_ ? viewSize_ : buf_.size(); }
  // The position from the start, kept by every seek, read and write so
  // that asking for it costs no system call (the trace readers and writers
  // ask before every trace); -1 on a disk file when a failed call left it
  // unknown, then asked of the stream.
  int64_t pos_ = 0;
  std::string path_;
  std::vector<char> iobuf_;
};

// Whole-file helpers used by the stores of projects, items and settings.
bool fileExists(const std::string& path);
bool isDirectory(const std::string& path);
bool makeDirectory(const std::string& path);  // one level; true if it exists afterwards
bool removeFile(const std::string& path);
bool renameFile(const std::string& from, const std::string& to);
bool copyFile(const std::string& from, const std::string& to);
int64_t fileSize(const std::string& path);  // -1 when missing
bool readWholeFile(const std::string& path, std::string& out);

// Writes a file whole: the bytes go to a temporary file in the same folder,
// which is then renamed over the target, so an interruption never leaves a
// truncated file where a whole one stood.
bool writeFileAtomic(const std::string& path, const void* bytes, size_t size);
inline bool writeFileAtomic(const std::string& path, const std::string& s) {
  return writeFileAtomic(path, s.data(), s.size());
}

// The temporary files of the whole-file writes: "<final>.~<pid>-<n>"
// (writeFileAtomic), "<final>.tmp<pid>" (copyFile) and "<final>.part" (files
// written piece by piece, such as profile sample files, then renamed). Every
// final file is renamed into place whole, so a temporary file left behind
// is only a cut-short write: its final file is whole or absent.
// Returns the final file's name when `name` is one of them, else "", and
// the writer's process id (0 for ".part", which names none).
std::string tempFileTarget(const std::string& name, long* pid = nullptr);
// Removes the temporary files of those patterns in `dir` (regular files
// only) whose writer no longer runs on this host; ".part" files and this
// process's own are always stale, so the caller must hold the folder (the
// project lock). Returns the names removed, sorted.
std::vector<std::string> removeStaleTempFiles(const std::string& dir);

// A lock file: who holds a folder, as a small text file ("user NAME",
// "host NAME", "pid N" lines) made whole in one step, so two processes
// never both hold it.
struct LockOwner {
  std::string user, host;
  long pid = 0;
  bool known() const { return pid > 0 && !host.empty(); }
};
struct LockAttempt {
  // Unavailable: no lock file can be made there (a read-only folder).
  enum Result { Acquired, TakenOver, Held, Unavailable };
  Result result = Held;
  // Held: who holds it (unknown when the file cannot be read). TakenOver:
  // the process that left it, which no longer runs on this host.
  LockOwner owner;
};
// Takes the lock at `path` for this process. A lock of this process is
// simply kept; one whose process no longer runs on this host is taken
// over; one of a running process, of another host or unreadable is held.
LockAttempt acquireLockFile(const std::string& path);
// Removes the lock at `path` when this process holds it.
void releaseLockFile(const std::string& path);
LockOwner readLockFile(const std::string& path);

// Finds "name" in its folder in any letter case (companion data files such as
// ".DT1" beside their header). Returns the path as it exists, or "" if none.
std::string findCaseInsensitive(const std::string& path);

// The data file beside a two-file recording's header: the header's path with
// the extension of its name replaced by ext (given without the dot, "DT1"),
// "LINE01.HD" -> "LINE01.DT1". Returns the file as it exists in any letter
// case; when none exists, the name with ext in the letter case of the
// header's extension ("line01.hd" -> "line01.dt1").
std::string companionFile(const std::string& headerPath, const char* ext);

// Path helpers: folders are joined with "/".
std::string joinPath(const std::string& dir, const std::string& name);
std::string dirName(const std::string& path);    // folder without trailing "/"
std::string baseName(const std::string& path);   // file name with extension
std::string fileTitle(const std::string& path);  // file name without extension
std::string extension(const std::string& path);  // from the last "." of the name, with the dot

// True when a name may become a file name inside a project folder: no path
// separator, no "..", not empty, no control characters.
bool isSafeFileName(const std::string& name);

}  // namespace dv
