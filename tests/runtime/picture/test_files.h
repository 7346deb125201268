// Builders of small picture files for the decoder tests, and the reader of the
// sample files under tests/data/pictures. The builders write exactly the bytes the
// formats lay down, so a test can place each field it wants to damage.
#pragma once
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lw::testing {

using Bytes = std::vector<uint8_t>;

inline void put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
inline void put32(Bytes& b, uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}
inline uint32_t get32(const Bytes& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
inline void set32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// Reads a sample file; empty when it is missing. The path comes from this header's
// own location, which under Wine is reached through drive Z:.
inline Bytes readSample(const std::string& name) {
  std::string here = __FILE__;
  std::string path = here.substr(0, here.rfind("runtime/picture/")) + "data/pictures/" + name;
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
#endif
  Bytes b;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    uint8_t buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) b.insert(b.end(), buf, buf + n);
    fclose(f);
  }
  return b;
}

// A device-independent bitmap: information header (headerSize bytes, at least 40),
// colour table (blue, green, red, 0 per entry) and rows as the caller stored them.
inline Bytes dibHeader(int32_t width, int32_t height, uint16_t bits, uint32_t colours, uint32_t headerSize = 40) {
  Bytes b;
  put32(b, headerSize);
  put32(b, uint32_t(width));
  put32(b, uint32_t(height));
  put16(b, 1);
  put16(b, bits);
  put32(b, 0);  // compression
  put32(b, 0);  // image size
  put32(b, 2835);
  put32(b, 2835);
  put32(b, colours);
  put32(b, 0);
  b.resize(headerSize, 0);
  return b;
}

// Packs rows of pixel values (indices or 0xRRGGBB colours) at `bits` per pixel,
// each row padded to 4 bytes, in the order given.
inline Bytes packRows(const std::vector<std::vector<uint32_t>>& rows, uint16_t bits) {
  Bytes b;
  for (const auto& row : rows) {
    Bytes r((row.size() * bits + 31) / 32 * 4, 0);
    for (size_t x = 0; x < row.size(); ++x) {
      uint32_t v = row[x];
      switch (bits) {
        case 1: r[x / 8] |= uint8_t((v & 1) << (7 - x % 8)); break;
        case 4: r[x / 2] |= uint8_t((v & 15) << (x % 2 ? 0 : 4)); break;
        case 8: r[x] = uint8_t(v); break;
        case 16: r[2 * x] = uint8_t(v), r[2 * x + 1] = uint8_t(v >> 8); break;
        case 24: r[3 * x] = uint8_t(v), r[3 * x + 1] = uint8_t(v >> 8), r[3 * x + 2] = uint8_t(v >> 16); break;
        case 32:
          r[4 * x] = uint8_t(v), r[4 * x + 1] = uint8_t(v >> 8), r[4 * x + 2] = uint8_t(v >> 16);
          r[4 * x + 3] = uint8_t(v >> 24);
          break;
      }
    }
    b.insert(b.end(), r.begin(), r.end());
  }
  return b;
}

inline Bytes colourTable(const std::vector<uint32_t>& rgb) {
  Bytes b;
  for (uint32_t c : rgb) put32(b, c & 0xFFFFFF);  // 0xRRGGBB is blue, green, red, 0 in memory
  return b;
}

// A BMP file: `rows` top row first; stored bottom-up for a positive height and
// top-down for a negative one.
inline Bytes makeBmp(const std::vector<std::vector<uint32_t>>& rows, uint16_t bits,
                     const std::vector<uint32_t>& palette,
                     bool topDown = false, uint32_t headerSize = 40) {
  const int32_t width = int32_t(rows[0].size()), height = int32_t(rows.size());
  Bytes info = dibHeader(width, topDown ? -height : height, bits, uint32_t(palette.size()), headerSize);
  Bytes table = colourTable(palette);
  std::vector<std::vector<uint32_t>> stored(rows);
  if (!topDown) stored.assign(rows.rbegin(), rows.rend());
  Bytes pixels = packRows(stored, bits);
  Bytes b = {'B', 'M'};
  const uint32_t offset = uint32_t(14 + info.size() + table.size());
  put32(b, uint32_t(offset + pixels.size()));
  put32(b, 0);
  put32(b, offset);
  b.insert(b.end(), info.begin(), info.end());
  b.insert(b.end(), table.begin(), table.end());
  b.insert(b.end(), pixels.begin(), pixels.end());
  return b;
}

// One image of an icon file. `rows` top row first (indices, or 0xAARRGGBB at 32
// bits); `transparent` marks mask bits, top row first.
struct IconImage {
  std::vector<std::vector<uint32_t>> rows;
  uint16_t bits;
  std::vector<uint32_t> palette;
  std::vector<std::vector<uint32_t>> mask;  // 1 = transparent; empty: all 0
  uint8_t colourCount = 0;
  Bytes png;  // when set, stored instead of the bitmap
  uint16_t hotX = 0, hotY = 0;
};

inline Bytes iconImageBytes(const IconImage& image) {
  if (!image.png.empty()) return image.png;
  const int32_t width = int32_t(image.rows[0].size()), height = int32_t(image.rows.size());
  Bytes b = dibHeader(width, 2 * height, image.bits, uint32_t(image.palette.size()));
  Bytes table = colourTable(image.palette);
  b.insert(b.end(), table.begin(), table.end());
  Bytes colour = packRows({image.rows.rbegin(), image.rows.rend()}, image.bits);
  b.insert(b.end(), colour.begin(), colour.end());
  std::vector<std::vector<uint32_t>> mask = image.mask;
  if (mask.empty()) mask.assign(height, std::vector<uint32_t>(width, 0));
  Bytes maskBits = packRows({mask.rbegin(), mask.rend()}, 1);
  b.insert(b.end(), maskBits.begin(), maskBits.end());
  return b;
}

// An icon (type 1) or cursor (type 2) file holding the images in order.
inline Bytes makeIcon(const std::vector<IconImage>& images, uint16_t type = 1) {
  Bytes b;
  put16(b, 0);
  put16(b, type);
  put16(b, uint16_t(images.size()));
  std::vector<Bytes> bodies;
  for (const auto& image : images) bodies.push_back(iconImageBytes(image));
  uint32_t offset = uint32_t(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const IconImage& image = images[i];
    const bool png = !image.png.empty();
    b.push_back(png ? 0 : uint8_t(image.rows[0].size()));
    b.push_back(png ? 0 : uint8_t(image.rows.size()));
    b.push_back(image.colourCount);
    b.push_back(0);
    put16(b, type == 2 ? image.hotX : 1);
    put16(b, type == 2 ? image.hotY : image.bits);
    put32(b, uint32_t(bodies[i].size()));
    put32(b, offset);
    offset += uint32_t(bodies[i].size());
  }
  for (const auto& body : bodies) b.insert(b.end(), body.begin(), body.end());
  return b;
}

// LZW coding as GIF readers expect it. Codes are written least significant bit
// first; the code width follows the reader's table, which runs one entry behind
// the writer's. A clear code is written whenever the table fills.
inline Bytes lzwCode(const std::vector<uint8_t>& pixels, int minBits) {
  const uint32_t clear = 1u << minBits, end = clear + 1;
  Bytes out;
  uint32_t acc = 0, nacc = 0;
  uint32_t readerNext = clear + 2;  // the reader's next free code
  bool readerFirst = true;          // the reader adds nothing for the first code after a clear
  auto width = [&] {
    uint32_t w = minBits + 1;
    while (w < 12 && readerNext >= (1u << w)) ++w;
    return w;
  };
  auto emit = [&](uint32_t code) {
    acc |= code << nacc;
    nacc += width();
    while (nacc >= 8) {
      out.push_back(uint8_t(acc));
      acc >>= 8;
      nacc -= 8;
    }
    if (code == clear) {
      readerNext = clear + 2;
      readerFirst = true;
    } else if (code != end) {
      if (!readerFirst && readerNext < 4096) ++readerNext;
      readerFirst = false;
    }
  };
  std::map<std::pair<uint32_t, uint8_t>, uint32_t> table;
  uint32_t next = clear + 2;
  emit(clear);
  int64_t current = -1;
  for (uint8_t p : pixels) {
    if (current < 0) {
      current = p;
      continue;
    }
    auto found = table.find({uint32_t(current), p});
    if (found != table.end()) {
      current = found->second;
      continue;
    }
    emit(uint32_t(current));
    table[{uint32_t(current), p}] = next++;
    current = p;
    if (next == 4096) {
      emit(clear);
      table.clear();
      next = clear + 2;
    }
  }
  if (current >= 0) emit(uint32_t(current));
  emit(end);
  if (nacc) out.push_back(uint8_t(acc));
  return out;
}

// Splits data into sub-blocks of at most 255 bytes and the closing empty one.
inline void putSubBlocks(Bytes& b, const Bytes& data) {
  for (size_t i = 0; i < data.size(); i += 255) {
    size_t n = data.size() - i < 255 ? data.size() - i : 255;
    b.push_back(uint8_t(n));
    b.insert(b.end(), data.begin() + i, data.begin() + i + n);
  }
  b.push_back(0);
}

struct GifFrame {
  uint16_t left = 0, top = 0, width = 0, height = 0;
  std::vector<uint8_t> pixels;  // indices, rows in picture order
  bool interlaced = false;
  int transparent = -1;
  uint8_t disposal = 0;
  uint16_t delayCs = 0;
  bool control = false;  // write a graphic control extension
  std::vector<uint32_t> localPalette;  // 0xRRGGBB
  int minBits = 8;
};

inline void putPalette(Bytes& b, const std::vector<uint32_t>& palette) {
  for (uint32_t c : palette) {
    b.push_back(uint8_t(c >> 16));
    b.push_back(uint8_t(c >> 8));
    b.push_back(uint8_t(c));
  }
}

// Bits in the packed field for a table of `count` entries (count a power of 2).
inline uint8_t tableBits(size_t count) {
  uint8_t n = 0;
  while ((size_t(2) << n) < count) ++n;
  return n;
}

inline std::vector<uint8_t> interlaceRows(const std::vector<uint8_t>& pixels, uint16_t width, uint16_t height) {
  std::vector<uint8_t> out;
  const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = start[pass]; y < height; y += step[pass])
      out.insert(out.end(), pixels.begin() + size_t(y) * width, pixels.begin() + size_t(y + 1) * width);
  return out;
}

// A GIF89a file; `palette` (0xRRGGBB, a power of 2 entries) is the global table.
inline Bytes makeGif(uint16_t width, uint16_t height, const std::vector<uint32_t>& palette,
                     const std::vector<GifFrame>& frames, bool trailer = true) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
  put16(b, width);
  put16(b, height);
  b.push_back(palette.empty() ? 0 : uint8_t(0x80 | 0x70 | tableBits(palette.size())));
  b.push_back(0);
  b.push_back(0);
  putPalette(b, palette);
  for (const auto& f : frames) {
    if (f.control || f.transparent >= 0 || f.delayCs || f.disposal) {
      b.insert(b.end(), {0x21, 0xF9, 4});
      b.push_back(uint8_t(f.disposal << 2 | (f.transparent >= 0 ? 1 : 0)));
      put16(b, f.delayCs);
      b.push_back(uint8_t(f.transparent >= 0 ? f.transparent : 0));
      b.push_back(0);
    }
    b.push_back(0x2C);
    put16(b, f.left);
    put16(b, f.top);
    put16(b, f.width);
    put16(b, f.height);
    uint8_t packed = f.interlaced ? 0x40 : 0;
    if (!f.localPalette.empty()) packed |= 0x80 | tableBits(f.localPalette.size());
    b.push_back(packed);
    putPalette(b, f.localPalette);
    b.push_back(uint8_t(f.minBits));
    putSubBlocks(b, lzwCode(f.interlaced ? interlaceRows(f.pixels, f.width, f.height) : f.pixels, f.minBits));
  }
  if (trailer) b.push_back(0x3B);
  return b;
}

// A PCX header of 128 bytes for an image of width × height.
inline Bytes pcxHeader(uint8_t version, uint8_t bits, uint16_t width, uint16_t height, uint16_t rowBytes,
                       uint8_t planes = 1) {
  Bytes b(128, 0);
  b[0] = 10;
  b[1] = version;
  b[2] = 1;
  b[3] = bits;
  b[8] = uint8_t(width - 1), b[9] = uint8_t((width - 1) >> 8);
  b[10] = uint8_t(height - 1), b[11] = uint8_t((height - 1) >> 8);
  b[65] = planes;
  b[66] = uint8_t(rowBytes), b[67] = uint8_t(rowBytes >> 8);
  return b;
}

// Run-length codes bytes as PCX writers do (runs of up to 63, and single bytes of
// 0xC0 and above as runs of one); runs are not broken at row ends.
inline Bytes pcxRuns(const Bytes& raw) {
  Bytes b;
  for (size_t i = 0; i < raw.size();) {
    size_t n = 1;
    while (i + n < raw.size() && raw[i + n] == raw[i] && n < 63) ++n;
    if (n > 1 || raw[i] >= 0xC0) b.push_back(uint8_t(0xC0 | n));
    b.push_back(raw[i]);
    i += n;
  }
  return b;
}

}  // namespace lw::testing
