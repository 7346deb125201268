// Picture decoding: our decoders against the platform's imaging component.
// Baseline: the platform's imaging factory decoding the same bytes from memory (a
// stream over the block, the first frame, converted to 32-bit blue-green-red-alpha
// and copied out), which is what a program would do without its own decoders.
// Measured: DecodePicture on the same bytes, to the same 32-bit pixels.
// The pictures are made here: a 640 × 480 synthetic photograph (gradients, shapes
// and noise) as PNG and JPEG (written with libpng and libjpeg), as 24-bit and 8-bit
// BMP, as GIF (plain and interlaced) and as 8-bit PCX (ours only: the platform has
// no PCX decoder).
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <cstdio>  // before jpeglib.h, which wants FILE
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "bench/bench_clock.h"
#include "runtime/picture/decode.h"
#include "tests/runtime/picture/test_files.h"
#include "tests/support/png_writer.h"

using lw::testing::Bytes;

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kRounds = 31;

// ---------------------------------------------------------------- the pictures

uint32_t g_seed = 12345;
int noise(int amplitude) {
  g_seed = g_seed * 1103515245 + 12345;
  return int((g_seed >> 16) % (2 * amplitude + 1)) - amplitude;
}
uint8_t clamp8(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// Red, green, blue rows, top first.
std::vector<uint8_t> makePhoto() {
  std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      double dx = x - 420.0, dy = y - 200.0;
      bool disc = dx * dx + dy * dy < 120.0 * 120.0;
      bool box = x > 60 && x < 260 && y > 260 && y < 420;
      int r = x * 255 / kWidth, g = y * 255 / kHeight, b = int(128 + 100 * std::sin(x / 37.0 + y / 53.0));
      if (disc) r = 240, g = 200 - int(std::hypot(dx, dy)), b = 40;
      if (box) r = 30, g = 90 + (x - 60) / 4, b = 160;
      uint8_t* p = &rgb[(size_t(y) * kWidth + x) * 3];
      p[0] = clamp8(r + noise(6));
      p[1] = clamp8(g + noise(6));
      p[2] = clamp8(b + noise(6));
    }
  }
  return rgb;
}

// 256 colours: 8 levels of red and green, 4 of blue.
uint32_t paletteColour(int i) {
  return uint32_t((i >> 5) * 255 / 7) << 16 | uint32_t((i >> 2 & 7) * 255 / 7) << 8 | uint32_t((i & 3) * 85);
}
std::vector<uint8_t> makeIndices(const std::vector<uint8_t>& rgb) {
  std::vector<uint8_t> idx(size_t(kWidth) * kHeight);
  for (size_t i = 0; i < idx.size(); ++i)
    idx[i] = uint8_t((rgb[3 * i] >> 5) << 5 | (rgb[3 * i + 1] >> 5) << 2 | rgb[3 * i + 2] >> 6);
  return idx;
}
std::vector<uint32_t> fullPalette() {
  std::vector<uint32_t> p(256);
  for (int i = 0; i < 256; ++i) p[i] = paletteColour(i);
  return p;
}

Bytes makePng(const std::vector<uint8_t>& rgb) {
  std::string png = lw::testing::PngOf(rgb.data(), kWidth, kHeight, 3);
  return Bytes(png.begin(), png.end());
}

Bytes makeJpeg(const std::vector<uint8_t>& rgb) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = kWidth;
  cinfo.image_height = kHeight;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&rgb[size_t(cinfo.next_scanline) * kWidth * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  free(buffer);
  return out;
}

Bytes makeBmp24(const std::vector<uint8_t>& rgb) {
  std::vector<std::vector<uint32_t>> rows(kHeight, std::vector<uint32_t>(kWidth));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const uint8_t* p = &rgb[(size_t(y) * kWidth + x) * 3];
      rows[y][x] = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    }
  return lw::testing::makeBmp(rows, 24, {});
}

Bytes makeBmp8(const std::vector<uint8_t>& idx) {
  std::vector<std::vector<uint32_t>> rows(kHeight, std::vector<uint32_t>(kWidth));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) rows[y][x] = idx[size_t(y) * kWidth + x];
  return lw::testing::makeBmp(rows, 8, fullPalette());
}

Bytes makeGif(const std::vector<uint8_t>& idx, bool interlaced) {
  lw::testing::GifFrame f;
  f.width = kWidth;
  f.height = kHeight;
  f.pixels = idx;
  f.interlaced = interlaced;
  return lw::testing::makeGif(kWidth, kHeight, fullPalette(), {f});
}

Bytes makePcx(const std::vector<uint8_t>& idx) {
  Bytes b = lw::testing::pcxHeader(5, 8, kWidth, kHeight, kWidth);
  Bytes runs = lw::testing::pcxRuns(idx);
  b.insert(b.end(), runs.begin(), runs.end());
  b.push_back(12);
  for (uint32_t c : fullPalette()) b.insert(b.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
  return b;
}

// ---------------------------------------------------------------- the two decoders

// Decodes with the platform's imaging factory into `pixels`; false on failure.
bool decodeWithPlatform(IWICImagingFactory* factory, const Bytes& data, std::vector<uint8_t>* pixels) {
  bool ok = false;
  IWICStream* stream = nullptr;
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICBitmapSource* converted = nullptr;
  UINT width = 0, height = 0;
  if (SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromMemory(const_cast<BYTE*>(data.data()), DWORD(data.size()))) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetFrame(0, &frame)) &&
      SUCCEEDED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame, &converted)) &&
      SUCCEEDED(converted->GetSize(&width, &height))) {
    pixels->resize(size_t(width) * height * 4);
    ok = SUCCEEDED(converted->CopyPixels(nullptr, width * 4, UINT(pixels->size()), pixels->data()));
  }
  if (converted) converted->Release();
  if (frame) frame->Release();
  if (decoder) decoder->Release();
  if (stream) stream->Release();
  return ok;
}

// Largest difference of any colour channel between the two decodes.
int largestDifference(const lw::DecodedPicture* ours, const std::vector<uint8_t>& theirs) {
  if (!ours || theirs.size() != ours->size) return -1;
  int most = 0;
  for (size_t i = 0; i < theirs.size(); ++i)
    if (i % 4 != 3) most = std::max(most, std::abs(int(ours->pixels[i]) - int(theirs[i])));
  return most;
}

struct Case {
  const char* name;
  Bytes data;
};

}  // namespace

int main() {
  if (FAILED(CoInitialize(nullptr))) return 1;
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory)))) {
    printf("the platform's imaging factory is not available\n");
    return 1;
  }
  const std::vector<uint8_t> rgb = makePhoto();
  const std::vector<uint8_t> idx = makeIndices(rgb);
  const Case cases[] = {
      {"PNG", makePng(rgb)},          {"JPEG", makeJpeg(rgb)},           {"BMP 24-bit", makeBmp24(rgb)},
      {"BMP 8-bit", makeBmp8(idx)},   {"GIF", makeGif(idx, false)},      {"GIF interlaced", makeGif(idx, true)},
      {"PCX 8-bit", makePcx(idx)},
  };

  printf("picture decoding, %d x %d, median of %d rounds (ms per picture)\n", kWidth, kHeight, kRounds);
  printf("%-16s %9s %10s %10s %8s %9s\n", "format", "bytes", "ours", "platform", "ratio", "max diff");
  for (const Case& c : cases) {
    std::vector<double> oursMs, platformMs;
    std::vector<uint8_t> theirs;
    bool platformOk = decodeWithPlatform(factory, c.data, &theirs);
    lw::DecodedPicture* check = lw::DecodePicture(c.data.data(), c.data.size());
    const int difference = platformOk ? largestDifference(check, theirs) : -1;
    lw::FreePicture(check);
    for (int r = 0; r < kRounds; ++r) {
      double t0 = bench::NowMs();
      lw::DecodedPicture* p = lw::DecodePicture(c.data.data(), c.data.size());
      double t1 = bench::NowMs();
      if (!p) {
        printf("%-16s our decoder refused it\n", c.name);
        break;
      }
      lw::FreePicture(p);
      oursMs.push_back(t1 - t0);
      if (platformOk) {
        double t2 = bench::NowMs();
        decodeWithPlatform(factory, c.data, &theirs);
        platformMs.push_back(bench::NowMs() - t2);
      }
    }
    if (oursMs.empty()) continue;
    const double ours = bench::Median(oursMs);
    if (platformOk) {
      const double platform = bench::Median(platformMs);
      printf("%-16s %9u %10.3f %10.3f %8.2f %9d\n", c.name, unsigned(c.data.size()), ours, platform, ours / platform,
             difference);
    } else {
      printf("%-16s %9u %10.3f %10s %8s %9s\n", c.name, unsigned(c.data.size()), ours, "-", "-", "-");
    }
  }
  printf("ratio = ours / platform: below 1 means ours is faster\n");
  factory->Release();
  CoUninitialize();
  return 0;
}
