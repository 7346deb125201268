// libFuzzer entry for the GIF decoder, first image and animation frames; built and
// run by tools/fuzz_pictures.sh.
#include "tools/fuzz/picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lw::DecodedPicture picture;
  if (!lw::DecodeGifPicture(data, size, false, &picture)) touchPicture(&picture);
  if (!lw::DecodeGifPicture(data, size, true, &picture)) touchPicture(&picture);
  return 0;
}
