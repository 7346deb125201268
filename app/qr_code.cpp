#include "app/qr_code.h"

#include <cstring>
#include <string>

#include "runtime/core/codepage.h"
#include "runtime/core/memory.h"
#include "runtime/core/owned_block.h"
#include "runtime/core/values.h"

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

// UTF-8 of UTF-16 text as a NUL-terminated block of the runtime allocator; an
// unpaired surrogate becomes U+FFFD.
char* utf16ToUtf8(const std::u16string& wide) {
  size_t room = 0;
  if (!lw::checkedMul(wide.size(), 3, &room) || !lw::checkedAdd(room, 1, &room)) lw::ReportUnaddressableSize();
  char* out = static_cast<char*>(lw::AllocMemory(room));
  size_t n = 0;
  for (size_t i = 0; i < wide.size(); ++i) {
    uint32_t c = wide[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00u);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out[n++] = char(c);
    } else if (c < 0x800) {
      out[n++] = char(0xC0 | (c >> 6));
      out[n++] = char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out[n++] = char(0xE0 | (c >> 12));
      out[n++] = char(0x80 | ((c >> 6) & 0x3F));
      out[n++] = char(0x80 | (c & 0x3F));
    } else {  // two UTF-16 units in, four bytes out: within the room of six
      out[n++] = char(0xF0 | (c >> 18));
      out[n++] = char(0x80 | ((c >> 12) & 0x3F));
      out[n++] = char(0x80 | ((c >> 6) & 0x3F));
      out[n++] = char(0x80 | (c & 0x3F));
    }
  }
  out[n] = '\0';
  return out;
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

lw::ByteSet qrPictureOfText(const char* ansi) {
  const std::u16string wide = lw::AnsiToWide(ansi ? ansi : "", lw::TextBytes(ansi));
  lw::OwnedText utf8(utf16ToUtf8(wide));
  lw::Owned<QrCode> code(static_cast<QrCode*>(lw::AllocMemory(sizeof(QrCode))));
  return encodeQrCode(utf8.get(), code.get()) ? qrCodeBmp(*code, kQrPictureSide) : nullptr;
}

}  // namespace app
