// Shared by the fuzz entries of the readers of outside text: cuts the input into
// NUL-terminated texts at its zero bytes, as the program's texts end at theirs, and
// frees runtime blocks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"

inline std::vector<std::string> fuzzTexts(const uint8_t* data, size_t size, size_t count) {
  std::vector<std::string> texts(count);
  size_t at = 0;
  for (size_t i = 0; i < count && at <= size; ++i) {
    size_t end = at;
    while (end < size && data[end] != 0) ++end;
    texts[i].assign(reinterpret_cast<const char*>(data) + at, end - at);
    at = end + 1;
  }
  return texts;
}

// Reads every byte of a runtime text (so a block shorter than its text shows under
// AddressSanitizer) and frees it.
inline void touchText(char* text) {
  volatile size_t n = 0;
  for (const char* p = text; p && *p; ++p) n = n + 1;
  lw::FreeMemory(text);
}
