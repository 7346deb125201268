// The QR code the tests' QR service answers with (the real code of a text, at half
// the QR box's side, so the box stretches it), and how a picture of it on the screen
// or in a file is read back module by module. Header-only.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "app/qr_code.h"
#include "runtime/picture/decode.h"
#include "tests/support/png_writer.h"
#include "tests/support/screen_capture_win.h"

namespace e2e {

using lw::testing::ScreenPixels;

inline constexpr uint32_t kServedSide = 135;  // half the box's 270 at 96 DPI

struct ServedCode {
  app::QrCode code;
  app::QrLayout layout;
  std::string png;
};
inline ServedCode servedCodeOf(const std::string& text) {
  ServedCode s = {};
  if (!app::encodeQrCode(text.c_str(), &s.code)) return s;
  s.layout = app::qrLayout(s.code, kServedSide);
  lw::ByteSet bmp = app::qrCodeBmp(s.code, kServedSide);
  lw::DecodedPicture* p = lw::DecodePicture(lw::byteSetData(bmp), lw::byteSetLength(bmp));
  lw::FreeMemory(bmp);
  if (!p) return s;
  std::vector<uint8_t> grey;
  for (size_t i = 0; i < size_t(p->width) * p->height; ++i) grey.push_back(p->pixels[i * 4]);
  s.png = lw::testing::PngOf(grey.data(), int(p->width), int(p->height));
  lw::FreePicture(p);
  return s;
}

inline bool isBlack(uint32_t c) { return (c & 0xFF) < 0x40 && ((c >> 8) & 0xFF) < 0x40 && ((c >> 16) & 0xFF) < 0x40; }
inline bool isWhite(uint32_t c) { return (c & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) > 0xC0 && ((c >> 16) & 0xFF) > 0xC0; }

// How many modules of the served code, quiet zone included, the picture shows in
// the wrong colour at their centres, the picture being the served one stretched to
// its own size; -1 when there is no picture.
inline int modulesWrong(const ScreenPixels& p, const ServedCode& s) {
  if (p.width <= 0 || p.height <= 0 || s.layout.scale == 0) return -1;
  const int q = app::kQrQuietZone, size = qrcodegen_getSize(s.code.bits);
  int wrong = 0;
  for (int my = -q; my < size + q; ++my)
    for (int mx = -q; mx < size + q; ++mx) {
      const double cx = s.layout.offset + (mx + q) * s.layout.scale + s.layout.scale / 2.0;
      const double cy = s.layout.offset + (my + q) * s.layout.scale + s.layout.scale / 2.0;
      const uint32_t c = p.At(int(cx * p.width / kServedSide), int(cy * p.height / kServedSide));
      wrong += qrcodegen_getModule(s.code.bits, mx, my) ? !isBlack(c) : !isWhite(c);
    }
  return wrong;
}

}  // namespace e2e
