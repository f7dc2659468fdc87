// The item file ("RAW_" file) byte for byte, and the 44-byte window placement.
#include <cstring>

#include "project/raw.h"

namespace quv {

namespace {

void putInt(std::string& out, int32_t v) {
  uint32_t u = (uint32_t)v;
  for (int i = 0; i < 4; ++i) out.push_back((char)((u >> (8 * i)) & 0xff));
}

int32_t getInt(const unsigned char* p) {
  return (int32_t)((uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) |
                   ((uint32_t)p[3] << 24));
}

void putName(std::string& out, const std::string& name) {
  putInt(out, (int32_t)name.size() + 1);
  out += name;
  out.push_back('\0');
}

// Reads from a byte string, refusing to go past its end.
class Reader {
 public:
  explicit Reader(const std::string& s)
      : p_(reinterpret_cast<const unsigned char*>(s.data())), left_(s.size()) {}
  bool getInt(int32_t& v) {
    if (left_ < 4) return false;
    v = quv::getInt(p_);
    p_ += 4;
    left_ -= 4;
    return true;
  }
  // A length-prefixed name: the length counts the terminating zero.
  bool getName(std::string& name) {
    int32_t n = 0;
    if (!getInt(n) || n < 1 || (uint64_t)n > left_) return false;
    const char* s = reinterpret_cast<const char*>(p_);
    name.assign(s, strnlen(s, (size_t)n));
    p_ += n;
    left_ -= (size_t)n;
    return true;
  }
  bool getBytes(const unsigned char*& bytes, size_t n) {
    if (left_ < n) return false;
    bytes = p_;
    p_ += n;
    left_ -= n;
    return true;
  }

 private:
  const unsigned char* p_;
  size_t left_;
};

}  // namespace

std::string encodePlacement(const WindowPlacement& w) {
  std::string out;
  for (int32_t v : {(int32_t)w.length, (int32_t)w.flags, (int32_t)w.showCmd, w.minX, w.minY, w.maxX,
                    w.maxY, w.left, w.top, w.right, w.bottom})
    putInt(out, v);
  return out;
}

WindowPlacement decodePlacement(const unsigned char* b) {
  WindowPlacement w;
  w.length = (uint32_t)getInt(b);
  w.flags = (uint32_t)getInt(b + 4);
  w.showCmd = (uint32_t)getInt(b + 8);
  w.minX = getInt(b + 12);
  w.minY = getInt(b + 16);
  w.maxX = getInt(b + 20);
  w.maxY = getInt(b + 24);
  w.left = getInt(b + 28);
  w.top = getInt(b + 32);
  w.right = getInt(b + 36);
  w.bottom = getInt(b + 40);
  return w;
}

std::string encodeRawItemFile(const RawItemFile& f) {
  std::string out;
  putInt(out, f.stamp);
  putInt(out, f.windowOpen);
  putName(out, f.firstName);
  putName(out, f.secondName);
  putInt(out, f.windowSet);
  for (int32_t v : {f.firstTrace, f.lastTrace, f.firstSample, f.lastSample, f.reserved, f.gain,
                    f.palette, f.colours})
    putInt(out, v);
  if (f.windowOpen == 1) out += encodePlacement(f.placement);
  return out;
}

bool decodeRawItemFile(const std::string& bytes, RawItemFile& f) {
  Reader r(bytes);
  RawItemFile g;
  if (!r.getInt(g.stamp) || !r.getInt(g.windowOpen) || !r.getName(g.firstName) ||
      !r.getName(g.secondName) || !r.getInt(g.windowSet))
    return false;
  for (int32_t* v : {&g.firstTrace, &g.lastTrace, &g.firstSample, &g.lastSample, &g.reserved,
                     &g.gain, &g.palette, &g.colours})
    if (!r.getInt(*v)) return false;
  if (g.windowOpen == 1) {
    const unsigned char* p = nullptr;
    if (!r.getBytes(p, kWindowPlacementBytes)) return false;
    g.placement = decodePlacement(p);
  }
  f = std::move(g);
  return true;
}

}  // namespace quv
