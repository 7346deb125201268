// The program's texts are code page 936 (GBK) whatever the system's code page is.
// This is the one unit that converts between them and UTF-16 or UTF-8, and it
// names code page 936 itself: no conversion goes through the system's code page.
// On Windows it goes through MultiByteToWideChar and WideCharToMultiByte; the pure
// modules only declare their use of it.
#pragma once
#include <cstddef>
#include <string>

namespace lw {

constexpr unsigned kTextCodePage = 936;

// The UTF-16 form of `length` bytes of GBK text (no terminator in the result).
std::u16string GbkToWide(const char* text, size_t length);
// The GBK form of `length` UTF-16 units; a character GBK cannot hold becomes "?".
std::string WideToGbk(const char16_t* text, size_t length);
// The UTF-8 form of `length` bytes of GBK text.
std::string GbkToUtf8(const char* text, size_t length);

// The same conversions into the caller's room, for a short text that needs no block
// of its own: the units or bytes written; 0 for an empty text, or when the result
// does not fit. A GBK byte gives at most one unit, and a unit at most two GBK
// bytes, so room of that size always fits.
size_t GbkToWideInto(const char* text, size_t length, char16_t* out, size_t room);
size_t WideToGbkInto(const char16_t* text, size_t length, char* out, size_t room);

inline std::u16string GbkToWide(const std::string& text) { return GbkToWide(text.data(), text.size()); }
inline std::string WideToGbk(const std::u16string& text) { return WideToGbk(text.data(), text.size()); }

}  // namespace lw
