// libFuzzer entry for the whole picture dispatch the picture box uses: the format
// found by the first bytes, then its decoder (PNG and JPEG through their libraries),
// still and animated.
#include <initializer_list>

#include "tools/fuzz/picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // GIF frames cover the whole logical screen, which a few bytes can make 256 MiB
  // large; such inputs are legal but slow, so only smaller screens animate here.
  bool largeScreen = size >= 10 && data[0] == 'G' &&
                     uint32_t(data[6] | data[7] << 8) * uint32_t(data[8] | data[9] << 8) > 1024 * 1024;
  for (bool animate : {false, true}) {
    if (animate && largeScreen) break;
    lw::DecodedPicture* p = lw::DecodePicture(data, size, animate);
    if (p) touchPicture(p);
    lw::FreePicture(p);
  }
  return 0;
}
