// The tool's own QR code, drawn when the QR image service gives nothing to show:
// text to modules (through the qrcodegen library) and modules to the bytes of a
// BMP file, which the picture box takes like the service's answer. Pure.
#pragma once
#include <cstddef>
#include <cstdint>

#include <qrcodegen.h>

#include "app/window_definition.h"
#include "runtime/core/values/types.h"

namespace app {

// The side of the QR window's picture box, in 96-DPI units (pixels at 100 %), as
// the window definition gives it.
constexpr uint32_t kQrPictureSide = uint32_t(app::kQrPictureBoxSide);
// White modules around the code, as readers expect.
constexpr int kQrQuietZone = 4;

// A QR code as qrcodegen keeps it; read it with qrcodegen_getSize/getModule.
struct QrCode {
  uint8_t bits[qrcodegen_BUFFER_LEN_MAX];
};

// Encodes the UTF-8 text (NUL-terminated) with error correction M or higher, in the
// smallest version that holds it. False when no QR code holds it or it is empty.
bool encodeQrCode(const char* utf8, QrCode* out);

// Where the code lies in a picture of `side` pixels: whole pixels per module and
// the offset of the quiet zone's outer corner, so that the code sits in the middle.
// A scale of 0 when even one pixel per module does not fit.
struct QrLayout {
  int scale;
  int offset;
};
QrLayout qrLayout(const QrCode& code, uint32_t side);

// A side × side 1-bit BMP file of the code: black modules on white with the quiet
// zone, every module `scale` pixels square. Null when the code does not fit.
lw::ByteSet qrCodeBmp(const QrCode& code, uint32_t side);

// The picture of the QR code of an ANSI (code page 936) text, as the QR window
// shows it when the service cannot help: the text in UTF-8, encoded and drawn
// `side` pixels square (the box's side in device pixels, so that every module is a
// whole number of pixels at any display scale). Null for an empty text or one no
// QR code holds.
lw::ByteSet qrPictureOfText(const char* ansi, uint32_t side = kQrPictureSide);

}  // namespace app
