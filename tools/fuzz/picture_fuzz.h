// Shared by the picture decoder fuzz entries: reads every byte of a decoded
// picture (so a block shorter than its stated size shows under AddressSanitizer)
// and releases it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/ui/picture_decode.h"

inline void touchPicture(lw::DecodedPicture* p) {
  volatile uint32_t sum = 0;
  size_t total = p->frameCount ? p->size * p->frameCount : p->size;
  for (size_t i = 0; i < total; ++i) sum = sum + p->pixels[i];
  for (size_t i = 0; i < p->iconImageSize; ++i) sum = sum + p->iconImage[i];
  for (uint32_t f = 0; f < p->frameCount; ++f) sum = sum + p->frames[f].pixels[p->size - 1] + p->frames[f].delayMs;
  lw::ReleasePictureContents(p);
}
