#include "app/qr_code.h"

#include <cstring>
#include <string>

#include "runtime/core/text/codepage.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/owned_block.h"
#include "runtime/core/values/values.h"

namespace app {

namespace {

constexpr uint32_t kBmpHeaderBytes = 14 + 40 + 2 * 4;  // file header, info header, two colours

void put16(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void put32(uint8_t* p, uint32_t v) {
  put16(p, v);
  put16(p + 2, v >> 16);
}

}  // namespace

bool encodeQrCode(const char* utf8, QrCode* out) {
  if (!utf8 || !*utf8) return false;
  uint8_t temp[qrcodegen_BUFFER_LEN_MAX];
  return qrcodegen_encodeText(utf8, temp, out->bits, qrcodegen_Ecc_MEDIUM, qrcodegen_VERSION_MIN,
                              qrcodegen_VERSION_MAX, qrcodegen_Mask_AUTO, true);
}

QrLayout qrLayout(const QrCode& code, uint32_t side) {
  const int modules = qrcodegen_getSize(code.bits) + 2 * kQrQuietZone;
  const int scale = int(side) / modules;
  return {scale, (int(side) - scale * modules) / 2};
}

lw::ByteSet qrCodeBmp(const QrCode& code, uint32_t side) {
  const QrLayout layout = qrLayout(code, side);
  if (layout.scale == 0) return nullptr;
  const uint32_t stride = (side + 31) / 32 * 4;
  size_t bits = 0, total = 0;
  if (!lw::checkedMul(stride, side, &bits) || !lw::checkedAdd(bits, kBmpHeaderBytes, &total) || total > UINT32_MAX)
    return nullptr;
  lw::ByteSet bmp = lw::MakeByteSet(nullptr, total);
  uint8_t* p = lw::byteSetData(bmp);
  p[0] = 'B';
  p[1] = 'M';
  put32(p + 2, uint32_t(total));
  put32(p + 10, kBmpHeaderBytes);
  put32(p + 14, 40);
  put32(p + 18, side);
  put32(p + 22, uint32_t(-int32_t(side)));  // top row first
  put16(p + 26, 1);
  put16(p + 28, 1);  // one bit per pixel: 0 black, 1 white
  put32(p + 34, uint32_t(bits));
  put32(p + 46, 2);
  put32(p + 58, 0x00FFFFFF);  // colour 0 stays black
  const int size = qrcodegen_getSize(code.bits);
  const int codeStart = layout.offset + kQrQuietZone * layout.scale;
  uint8_t* rows = p + kBmpHeaderBytes;
  for (uint32_t y = 0; y < side; ++y) {
    uint8_t* row = rows + size_t(y) * stride;
    for (uint32_t x = 0; x < side; ++x) {
      const int mx = (int(x) - codeStart) / layout.scale, my = (int(y) - codeStart) / layout.scale;
      const bool inside = int(x) >= codeStart && int(y) >= codeStart && mx < size && my < size;
      if (!(inside && qrcodegen_getModule(code.bits, mx, my))) row[x / 8] |= uint8_t(0x80 >> (x % 8));
    }
  }
  return bmp;
}

lw::ByteSet qrPictureOfText(const char* ansi, uint32_t side) {
  const std::string utf8 = lw::GbkToUtf8(ansi ? ansi : "", lw::TextBytes(ansi));
  lw::Owned<QrCode> code(static_cast<QrCode*>(lw::AllocMemory(sizeof(QrCode))));
  return encodeQrCode(utf8.c_str(), code.get()) ? qrCodeBmp(*code, side) : nullptr;
}

}  // namespace app
