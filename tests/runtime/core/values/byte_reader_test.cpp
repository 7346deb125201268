#include "runtime/core/values/byte_reader.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

// Pieces placed by offset are read from a reader of their own; an offset or length
// past the end fails without reading, and the failure sticks.
TEST(ByteReader, PiecesByOffsetStayInsideTheBytes) {
  const uint8_t data[] = {1, 2, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
  const ByteReader file(data, sizeof data);
  ByteReader piece = file.at(2);
  EXPECT_EQ(piece.u16(), 0x1234);
  EXPECT_EQ(piece.u32(), 0x12345678u);
  EXPECT_EQ(piece.offset(), sizeof data);
  EXPECT_TRUE(piece.ok());

  EXPECT_NE(file.at(8).bytes(0), nullptr);
  EXPECT_EQ(file.at(6).bytes(3), nullptr);
  ByteReader past = file.at(9);
  EXPECT_FALSE(past.ok());
  EXPECT_EQ(past.u8(), 0);
}

}  // namespace
}  // namespace lw
