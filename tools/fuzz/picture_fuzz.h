// Shared by the picture decoder fuzz entries: reads the first and the last pixel
// of every block of a decoded picture (so a block shorter than its stated size
// shows under AddressSanitizer) and releases it. Reading every pixel would find
// nothing more, and under the fuzzer's instrumentation it took most of each run.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/picture/decode.h"

inline void touchPicture(lw::DecodedPicture* p) {
  volatile uint32_t sum = 0;
  size_t total = p->frameCount ? p->size * p->frameCount : p->size;
  if (total) sum = sum + p->pixels[0] + p->pixels[total - 1];
  if (p->iconImageSize) sum = sum + p->iconImage[0] + p->iconImage[p->iconImageSize - 1];
  for (uint32_t f = 0; f < p->frameCount; ++f)
    sum = sum + p->frames[f].pixels[0] + p->frames[f].pixels[p->size - 1] + p->frames[f].delayMs;
  lw::ReleasePictureContents(p);
}
