// libFuzzer entry for the GIF decoder, first image and animation frames; built and
// run by tools/fuzz_pictures.sh.
#include "tools/fuzz/picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lw::DecodedPicture picture;
  if (!lw::DecodeGifPicture(data, size, false, &picture)) touchPicture(&picture);
  // Frames cover the whole logical screen, which a few bytes can make 256 MiB
  // large; such inputs are legal but slow, so only smaller screens animate here.
  if (size >= 10 && uint32_t(data[6] | data[7] << 8) * uint32_t(data[8] | data[9] << 8) > 1024 * 1024) return 0;
  if (!lw::DecodeGifPicture(data, size, true, &picture)) touchPicture(&picture);
  return 0;
}
