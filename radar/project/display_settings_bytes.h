// Little-endian byte writer and bounds-checked reader for the module's own
// binary files (profile, version header, side and defaults files). Fields
// are encoded at explicit positions, never by copying whole structs, and the
// reader refuses every read that would run past the bytes it holds.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace quv {

class ByteWriter {
 public:
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void u32(uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes_.push_back(static_cast<char>((v >> (8 * k)) & 0xff));
  }
  void f32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    u32(u);
  }
  void raw(const void* p, size_t n) { bytes_.append(static_cast<const char*>(p), n); }
  // A text as its 4-byte length followed by its characters, no terminator.
  void text(const std::string& s) {
    i32(static_cast<int32_t>(s.size()));
    bytes_ += s;
  }
  const std::string& bytes() const { return bytes_; }
  size_t size() const { return bytes_.size(); }

 private:
  std::string bytes_;
};

class ByteReader {
 public:
  ByteReader(const void* data, size_t size) : p_(static_cast<const uint8_t*>(data)), n_(size) {}
  explicit ByteReader(const std::string& s) : ByteReader(s.data(), s.size()) {}

  size_t remaining() const { return n_ - pos_; }
  size_t position() const { return pos_; }
  bool ok() const { return ok_; }  // false once a read ran past the end

  bool u32(uint32_t& v) {
    if (!take(4)) return false;
    const uint8_t* b = p_ + pos_ - 4;
    v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
  }
  bool i32(int32_t& v) {
    uint32_t u;
    if (!u32(u)) return false;
    v = static_cast<int32_t>(u);
    return true;
  }
  bool f32(float& v) {
    uint32_t u;
    if (!u32(u)) return false;
    std::memcpy(&v, &u, 4);
    return true;
  }
  bool raw(void* out, size_t n) {
    if (!take(n)) return false;
    std::memcpy(out, p_ + pos_ - n, n);
    return true;
  }
  // A length-prefixed text; a negative length or one beyond the remaining
  // bytes fails without allocating.
  bool text(std::string& s) {
    int32_t len;
    if (!i32(len)) return false;
    if (len < 0 || static_cast<size_t>(len) > remaining()) return fail();
    s.assign(reinterpret_cast<const char*>(p_ + pos_), static_cast<size_t>(len));
    pos_ += static_cast<size_t>(len);
    return true;
  }

 private:
  bool take(size_t n) {
    if (!ok_ || n > remaining()) return fail();
    pos_ += n;
    return true;
  }
  bool fail() {
    ok_ = false;
    return false;
  }
  const uint8_t* p_;
  size_t n_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace quv
