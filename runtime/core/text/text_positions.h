// Positions in a text that a platform control holds as UTF-16 while the program
// counts it in GBK bytes (selection start and length, length limits). A character
// counts as the bytes the code-page unit makes for it: a character outside GBK
// becomes one "?" for each of its UTF-16 units, so a character beyond the basic
// plane (a surrogate pair) counts two bytes, "??". A position never splits a
// character, whatever its bytes.
#pragma once
#include <cstddef>
#include <string>

namespace lw {

// The GBK byte count of the whole characters among the first `units` units of `wide`.
size_t GbkBytesOfUnits(const std::u16string& wide, size_t units);

// The UTF-16 units of the whole characters that fit in the first `bytes` GBK bytes
// of `wide`: a byte position inside a two-byte character moves to its start.
size_t UnitsOfGbkBytes(const std::u16string& wide, size_t bytes);

// The units a selection of `length` GBK bytes from byte `start` takes in `wide`:
// whole characters, the start moved to the start of the character it falls in and
// the end to the end of its character. A selection thus covers every byte asked
// for, and its start and length read back select the same units again.
struct UnitRange {
  size_t from, to;
};
UnitRange UnitsOfGbkSelection(const std::u16string& wide, size_t start, size_t length);

}  // namespace lw
