// libFuzzer entry for the BMP decoder; built and run by tools/fuzz_pictures.sh.
#include "tools/fuzz/picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lw::DecodedPicture picture;
  if (!lw::DecodeBmpPicture(data, size, &picture)) touchPicture(&picture);
  return 0;
}
