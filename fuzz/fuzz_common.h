// What every fuzz target may share: per-process temporary files for readers
// that open a path, seeds written by the project's own writers into the
// corpus folder when a target starts, and stopping the run on a fault the
// sanitizers cannot see (a round trip that does not hold).
#pragma once

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

// A file of this process in memory-backed /dev/shm where there is one: a
// disk file rewritten at every input is flushed on each close and would make
// the run wait on the disk. Each is removed when the run ends, with all it
// holds when the target made a folder of it.
inline std::string tempFile(const std::string& name) {
  static const std::string dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  static std::vector<std::string> made;
  static const bool cleanup = std::atexit([] {
    auto removeOne = [](const char* p, const struct stat*, int, struct FTW*) { return std::remove(p); };
    for (const std::string& p : made) ::nftw(p.c_str(), removeOne, 16, FTW_DEPTH | FTW_PHYS);
  }) == 0;
  (void)cleanup;
  made.push_back(dir + "/delvar_fuzz_" + std::to_string(::getpid()) + "_" + name);
  return made.back();
}

inline void writeFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  const bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
  if (std::fclose(f) != 0 || !ok) std::abort();
}

struct Seed {
  std::string name;
  std::string bytes;
};

// Writes each seed as "seed_<name>" into the first folder named on the
// command line (the corpus libFuzzer reads and adds to). Called from
// LLVMFuzzerInitialize, which runs before the corpus is read; a run on
// single files (reproducing a crash) writes nothing.
inline void writeSeeds(int* argc, char*** argv, const std::vector<Seed>& seeds) {
  for (int i = 1; i < *argc; ++i) {
    const char* arg = (*argv)[i];
    if (arg[0] == '-') continue;
    struct stat st;
    if (::stat(arg, &st) != 0 || !S_ISDIR(st.st_mode)) return;
    for (const Seed& s : seeds) {
      writeFile(std::string(arg) + "/seed_" + s.name, reinterpret_cast<const uint8_t*>(s.bytes.data()),
                s.bytes.size());
    }
    return;
  }
}

inline std::string bytesOf(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A broken promise of the format: reported and stopped like a crash.
inline void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "==fuzz== %s\n", what);
  std::abort();
}

// For a format whose writer keeps every byte its reader took: the encoding
// of what was decoded is the start of the input.
inline void checkPrefix(const std::string& input, const std::string& encoded, const char* what) {
  check(encoded.size() <= input.size() && input.compare(0, encoded.size(), encoded) == 0, what);
}

// For a format whose reader normalises (names up to their zero): what was
// written from a decoded record decodes again and writes the same bytes.
template <class Record, class Decode, class Encode>
void checkStable(const Record& decoded, Decode decode, Encode encode, const char* what) {
  const std::string once = encode(decoded);
  Record again;
  check(decode(once, again), what);
  check(encode(again) == once, what);
}

}  // namespace fuzz
