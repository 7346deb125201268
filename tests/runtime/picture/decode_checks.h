// What the picture decoder tests share: decoding a byte vector into an owned
// picture or a refusal, damaging a good file, and checking pixels as 0xAARRGGBB.
// One test file per decoder includes it.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "runtime/picture/decode.h"
#include "tests/runtime/picture/test_files.h"

namespace lw::testing {

using Rows = std::vector<std::vector<uint32_t>>;

struct PictureFree {
  void operator()(DecodedPicture* p) const { FreePicture(p); }
};
using Picture = std::unique_ptr<DecodedPicture, PictureFree>;

inline Picture decode(const Bytes& b, bool animate = false, const char** reason = nullptr) {
  return Picture(DecodePicture(b.data(), b.size(), animate, reason));
}
inline const char* refusal(const Bytes& b, bool animate = false) {
  const char* reason = nullptr;
  return decode(b, animate, &reason) ? "decoded" : reason;
}
// A copy of b with `width` bytes at `at` replaced by v, little-endian.
inline Bytes patched(Bytes b, size_t at, uint32_t v, int width = 4) {
  for (int i = 0; i < width; ++i) b[at + i] = uint8_t(v >> (8 * i));
  return b;
}
// Every cut of `good` from `from` to `to` bytes long is no picture.
inline void expectCutsRefused(const Bytes& good, size_t from, size_t to, bool animate = false) {
  for (size_t cut = from; cut < to; ++cut)
    EXPECT_FALSE(decode(Bytes(good.begin(), good.begin() + cut), animate)) << "cut to " << cut;
}

// A pixel as 0xAARRGGBB, from the picture's blue, green, red, alpha bytes.
inline uint32_t pixel(const uint8_t* pixels, uint32_t width, uint32_t x, uint32_t y) {
  const uint8_t* p = pixels + (size_t(y) * width + x) * 4;
  return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}
inline uint32_t pixel(const DecodedPicture& p, uint32_t x, uint32_t y) { return pixel(p.pixels, p.width, x, y); }
inline std::string hex(uint32_t v) {
  char s[16];
  snprintf(s, sizeof s, "%08X", v);
  return s;
}
// Every pixel against the expected 0xAARRGGBB values, top row first.
inline void expectPixels(const uint8_t* pixels, uint32_t width, const Rows& rows) {
  for (uint32_t y = 0; y < rows.size(); ++y)
    for (uint32_t x = 0; x < width; ++x)
      ASSERT_EQ(hex(pixel(pixels, width, x, y)), hex(rows[y][x])) << "at " << x << "," << y;
}
inline void expectPixels(const DecodedPicture& p, const Rows& rows) {
  ASSERT_EQ(p.height, rows.size());
  ASSERT_EQ(p.width, rows[0].size());
  expectPixels(p.pixels, p.width, rows);
}
// Each colour channel within `tolerance` of the expected 0xRRGGBB (lossy formats).
inline void expectNear(uint32_t got, uint32_t want, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8)
    EXPECT_LE(abs(int(got >> shift & 0xFF) - int(want >> shift & 0xFF)), tolerance)
        << "expected " << hex(want) << ", got " << hex(got);
}

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
                   kBlack = 0xFF000000;
inline const std::vector<uint32_t> kFour = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};

// An opaque grey of this level.
inline uint32_t grey(uint32_t level) { return 0xFF000000 | level * 0x010101; }

// The sample quarters: red, green (top), blue, white (bottom).
inline void expectQuarters(const DecodedPicture& p) {
  EXPECT_EQ(pixel(p, 0, 0), kRed);
  EXPECT_EQ(pixel(p, p.width - 1, 0), kGreen);
  EXPECT_EQ(pixel(p, 0, p.height - 1), kBlue);
  EXPECT_EQ(pixel(p, p.width - 1, p.height - 1), kWhite);
}

}  // namespace lw::testing
