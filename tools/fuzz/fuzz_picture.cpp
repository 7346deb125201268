// libFuzzer entry for the whole picture dispatch the picture box uses: the format
// found by the first bytes, then its decoder (PNG and JPEG through their libraries),
// still and animated.
#include <initializer_list>

#include "tools/fuzz/picture_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // GIF frames cover the whole logical screen (or, without one, the first image),
  // which a few bytes can make 256 MiB large; such inputs are legal but slow, so
  // only screens of up to 64K pixels animate here: a frame's drawing is the same
  // code at any size, and larger screens took most of each run.
  uint32_t screenWidth = size >= 10 ? uint32_t(data[6] | data[7] << 8) : 0;
  uint32_t screenHeight = size >= 10 ? uint32_t(data[8] | data[9] << 8) : 0;
  bool largeScreen = size >= 10 && data[0] == 'G' &&
                     (screenWidth == 0 || screenHeight == 0 || screenWidth * screenHeight > 256 * 256);
  for (bool animate : {false, true}) {
    if (animate && largeScreen) break;
    lw::DecodedPicture* p = lw::DecodePicture(data, size, animate);
    if (p) touchPicture(p);
    lw::FreePicture(p);
  }
  return 0;
}
