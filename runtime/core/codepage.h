// Conversions between the system ANSI code page (GBK, code page 936, on the target
// systems) and UTF-16: the one unit that converts between them. On Windows it goes
// through MultiByteToWideChar and WideCharToMultiByte with the system code page;
// the pure modules only declare their use of it.
#pragma once
#include <cstddef>
#include <string>

namespace lw {

// The UTF-16 form of `length` bytes of ANSI text (no terminator in the result).
std::u16string AnsiToWide(const char* text, size_t length);
// The ANSI form of `length` UTF-16 units; characters the code page lacks become
// the system's default character.
std::string WideToAnsi(const char16_t* text, size_t length);

}  // namespace lw
