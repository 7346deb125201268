#include "runtime/core/values/byte_reader.h"

#include <cstring>

namespace lw {

uint8_t ByteReader::u8() {
  if (!ok()) return 0;
  if (remaining() < 1) {
    fail("data ends inside a field");
    return 0;
  }
  return *p_++;
}

uint16_t ByteReader::u16() {
  if (!ok()) return 0;
  if (remaining() < 2) {
    fail("data ends inside a field");
    return 0;
  }
  uint16_t v = static_cast<uint16_t>(p_[0] | (p_[1] << 8));
  p_ += 2;
  return v;
}

uint32_t ByteReader::u32() {
  if (!ok()) return 0;
  if (remaining() < 4) {
    fail("data ends inside a field");
    return 0;
  }
  uint32_t v = static_cast<uint32_t>(p_[0]) | (static_cast<uint32_t>(p_[1]) << 8) |
               (static_cast<uint32_t>(p_[2]) << 16) | (static_cast<uint32_t>(p_[3]) << 24);
  p_ += 4;
  return v;
}

void ByteReader::skip(size_t n) { bytes(n); }

const uint8_t* ByteReader::bytes(size_t n) {
  if (!ok()) return nullptr;
  if (n > remaining()) {
    fail("data ends inside a field");
    return nullptr;
  }
  const uint8_t* at = p_;
  p_ += n;
  return at;
}

ByteReader ByteReader::take(size_t n) {
  size_t at = offset();
  if (!ok()) {
    ByteReader none(p_, 0, at);
    none.fail(failure_);
    return none;
  }
  if (n > remaining()) {
    fail("block runs past its end");
    ByteReader none(p_, 0, at);
    none.fail(failure_);
    return none;
  }
  ByteReader sub(p_, n, at);
  p_ += n;
  return sub;
}

ByteReader ByteReader::at(size_t offset) const {
  const size_t size = static_cast<size_t>(end_ - start_);
  if (!ok() || offset > size) {
    ByteReader none(end_, 0, origin_ + size);
    none.fail(ok() ? "offset past the end" : failure_);
    return none;
  }
  return ByteReader(start_ + offset, size - offset, origin_ + offset);
}

std::string ByteReader::countedText() {
  uint32_t n = u32();
  if (!ok()) return {};
  if (n > remaining()) {
    fail("text runs past its end");
    return {};
  }
  const uint8_t* at = bytes(n);
  return std::string(reinterpret_cast<const char*>(at), n);
}

std::vector<uint8_t> ByteReader::byteBlock() {
  uint32_t n = u32();
  if (!ok()) return {};
  if (n > remaining()) {
    fail("block runs past its end");
    return {};
  }
  const uint8_t* at = bytes(n);
  return std::vector<uint8_t>(at, at + n);
}

std::string ByteReader::terminatedText() {
  if (!ok()) return {};
  const void* zero = std::memchr(p_, 0, remaining());
  if (!zero) {
    fail("text has no terminator");
    return {};
  }
  size_t n = static_cast<size_t>(static_cast<const uint8_t*>(zero) - p_);
  std::string s(reinterpret_cast<const char*>(p_), n);
  p_ += n + 1;
  return s;
}

}  // namespace lw
