// A real QR reader (zbar) for the native tests: what it reads from a grey picture,
// 0 black to 255 white, top row first. Only where the build has the reader.
#pragma once
#ifdef LINKWRIGHT_QR_READER
#include <zbar.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lw::testing {

// The text of the first QR code read from the picture; "<nothing read>" when none.
inline std::string ReadQrCode(const std::vector<uint8_t>& grey, uint32_t width, uint32_t height) {
  using namespace zbar;  // its C interface, declared in this namespace under C++
  zbar_image_scanner_t* scanner = zbar_image_scanner_create();
  zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
  zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
  zbar_image_t* image = zbar_image_create();
  zbar_image_set_format(image, zbar_fourcc('Y', '8', '0', '0'));
  zbar_image_set_size(image, width, height);
  zbar_image_set_data(image, grey.data(), grey.size(), nullptr);
  std::string text = "<nothing read>";
  if (zbar_scan_image(scanner, image) > 0) {
    const zbar_symbol_t* symbol = zbar_image_first_symbol(image);
    text.assign(zbar_symbol_get_data(symbol), zbar_symbol_get_data_length(symbol));
  }
  zbar_image_destroy(image);
  zbar_image_scanner_destroy(scanner);
  return text;
}

}  // namespace lw::testing
#endif
