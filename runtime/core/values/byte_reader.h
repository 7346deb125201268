// Reading little-endian data from a byte range that the reader never leaves: the
// window template section and its property blocks, and the picture files. Pure.
//
// The first failure sticks: later reads give 0 or empty values and do not move, so
// a caller may read a run of fields and check ok() once. Every length is checked
// against the bytes that remain before anything is read or handed out.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lw {

class ByteReader {
 public:
  // `origin` is where `data` lies in the whole, for failure offsets.
  ByteReader(const uint8_t* data, size_t size, size_t origin = 0)
      : start_(data), p_(data), end_(data + size), origin_(origin) {}

  bool ok() const { return failure_ == nullptr; }
  const char* failure() const { return failure_; }
  // Offset in the whole of the next byte.
  size_t offset() const { return origin_ + static_cast<size_t>(p_ - start_); }
  size_t remaining() const { return static_cast<size_t>(end_ - p_); }
  size_t consumed() const { return static_cast<size_t>(p_ - start_); }

  // Records the first failure; reading stops there.
  void fail(const char* reason) {
    if (failure_) return;
    failure_ = reason;
    failOffset_ = offset();
  }
  // Takes over the failure of a reader made by take().
  void adopt(const ByteReader& sub) {
    if (sub.ok() || failure_) return;
    failure_ = sub.failure_;
    failOffset_ = sub.failOffset_;
  }
  // Offset in the whole where the first failure happened.
  size_t failureOffset() const { return failure_ ? failOffset_ : offset(); }

  uint8_t u8();
  uint16_t u16();
  uint32_t u32();
  int32_t i32() { return static_cast<int32_t>(u32()); }
  void skip(size_t n);
  // The next n bytes, or null (and failure) when fewer remain.
  const uint8_t* bytes(size_t n);
  // The next n bytes as a reader of their own.
  ByteReader take(size_t n);
  // A reader of the same bytes from `offset` (counted from their first) to their
  // end, for formats that place their pieces by offset; failed past the end.
  ByteReader at(size_t offset) const;

  std::string countedText();           // 32-bit count, then the bytes
  std::vector<uint8_t> byteBlock();    // 32-bit count, then the bytes
  std::string terminatedText();        // bytes up to and including a 0 byte

 private:
  const uint8_t* start_;
  const uint8_t* p_;
  const uint8_t* end_;
  size_t origin_;
  const char* failure_ = nullptr;
  size_t failOffset_ = 0;
};

}  // namespace lw
