// Profile sample files: headerless runs of n little-endian float32 samples
// per trace, trace `index` at byte 4*n*index.
#include <vector>

#include "dv/file.h"
#include "codec.h"
#include "scrivel_internal.h"
#include "trace_io.h"

namespace {
const char* shown(const char* path) { return path ? path : ""; }
}  // namespace

DV_EXPORT int ReadProfileTrace(const char* path, dv::File* file, int n, int index, float** samples,
                               int quiet) {
  const int64_t offset = 4 * (int64_t)n * (int64_t)index;
  if (!file || n < 0 || index < 0 || !scrivel::seekTo(*file, offset)) {
    scrivel::reportUnlessQuiet(quiet, 10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  // The bytes must be there before the array is sized by the caller's count.
  const size_t bytes = 4 * (size_t)n;
  if (!scrivel::bytesAvailable(*file, offset, bytes)) {
    scrivel::reportUnlessQuiet(quiet, 10021, index + 1, shown(path));
    return SCRIVEL_ERR_READ;
  }
  float* out = scrivel::allocSamples((size_t)n);
  if (!out || file->read(out, bytes) != bytes) {
    std::free(out);
    scrivel::reportUnlessQuiet(quiet, 10021, index + 1, shown(path));
    return SCRIVEL_ERR_READ;
  }
  scrivel::fromLittleEndianFloats(out, (size_t)n);
  *samples = out;
  return SCRIVEL_OK;
}

DV_EXPORT int WriteProfileTrace(const char* path, dv::File* file, int n, int index,
                                float* samples) {
  const int64_t offset = 4 * (int64_t)n * (int64_t)index;
  if (!file || n < 0 || index < 0 || !scrivel::seekTo(*file, offset)) {
    scrivel::report(10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  const size_t count = 4 * (size_t)n;
  const void* out = samples;
  if constexpr (!scrivel::kHostLittleEndian) {
    static thread_local std::vector<uint8_t> bytes;
    bytes.resize(count);
    for (int i = 0; i < n; ++i) scrivel::wrU32le(&bytes[4 * (size_t)i], scrivel::floatToBits(samples[i]));
    out = bytes.data();
  }
  // On a little-endian host the samples are the file's bytes as they are.
  if (file->write(out, count) != count) {
    scrivel::report(10038, index + 1, shown(path));
    return SCRIVEL_ERR_SEEK;
  }
  return SCRIVEL_OK;
}
