// Positions in a text that a platform control holds as UTF-16 while the program
// counts it in GBK bytes (selection start and length, length limits). Characters
// outside GBK count as the one "?" that reading the text gives for them.
#pragma once
#include <cstddef>
#include <string>

namespace lw {

// The GBK byte count of the whole characters among the first `units` units of `wide`.
size_t GbkBytesOfUnits(const std::u16string& wide, size_t units);

// The UTF-16 units of the whole characters that fit in the first `bytes` GBK bytes
// of `wide`: a byte position inside a two-byte character moves to its start.
size_t UnitsOfGbkBytes(const std::u16string& wide, size_t bytes);

}  // namespace lw
