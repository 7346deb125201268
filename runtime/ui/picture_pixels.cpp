#include "runtime/ui/picture_pixels.h"

#include <cstring>
#include <new>
#include <vector>

#include "runtime/core/memory.h"

namespace lw {

PictureRect PictureDisplayRect(int mode, int32_t clientWidth, int32_t clientHeight, uint32_t pictureWidth,
                               uint32_t pictureHeight) {
  const int64_t cw = clientWidth > 0 ? clientWidth : 0, ch = clientHeight > 0 ? clientHeight : 0;
  const int64_t pw = pictureWidth, ph = pictureHeight;
  if (mode == 1) return {0, 0, int32_t(cw), int32_t(ch)};
  if (mode != 2 || pw == 0 || ph == 0) return {0, 0, int32_t(pw), int32_t(ph)};
  int64_t left = 0, top = 0, availWidth = cw, availHeight = ch;
  if (cw >= pw) {
    left = (cw - pw) / 2;
    availWidth = pw;
  }
  if (ch >= ph) {
    top = (ch - ph) / 2;
    availHeight = ph;
  }
  int64_t width = pw, height = ph;
  if (pw > availWidth || ph > availHeight) {
    // Scale by the smaller of the two ratios, worked out exactly so that the side
    // that limits comes out at the available size and the other is truncated.
    if (availWidth * ph <= availHeight * pw) {
      width = availWidth;
      height = ph * availWidth / pw;
    } else {
      height = availHeight;
      width = pw * availHeight / ph;
    }
    left += (availWidth - width) / 2;
    top += (availHeight - height) / 2;
  }
  return {int32_t(left), int32_t(top), int32_t(width), int32_t(height)};
}

void CompositeOverColour(const uint8_t* src, uint8_t* dst, size_t count, uint32_t colour) {
  const uint32_t background[3] = {colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF};  // blue, green, red
  for (size_t i = 0; i < count; ++i, src += 4, dst += 4) {
    const uint32_t a = src[3];
    for (int c = 0; c < 3; ++c) dst[c] = uint8_t((a * src[c] + (255 - a) * background[c]) / 255);
    dst[3] = 255;
  }
}

void StretchNearest(const uint8_t* src, uint32_t srcWidth, uint32_t srcHeight, uint8_t* dst, uint32_t dstWidth,
                    uint32_t dstHeight) {
  if (!srcWidth || !srcHeight) return;
  // The source index under the centre of destination index d.
  auto under = [](uint32_t d, uint32_t srcSize, uint32_t dstSize) {
    return uint32_t((2 * uint64_t(d) + 1) * srcSize / (2 * uint64_t(dstSize)));
  };
  std::vector<uint32_t> column(dstWidth);
  for (uint32_t x = 0; x < dstWidth; ++x) column[x] = under(x, srcWidth, dstWidth);
  for (uint32_t y = 0; y < dstHeight; ++y) {
    const uint32_t sy = under(y, srcHeight, dstHeight);
    const uint8_t* row = src + size_t(sy) * srcWidth * 4;
    uint8_t* o = dst + size_t(y) * dstWidth * 4;
    for (uint32_t x = 0; x < dstWidth; ++x) memcpy(o + 4 * x, row + 4 * size_t(column[x]), 4);
  }
}

namespace {

// For each destination index along one direction: the source pixels it takes and
// their weights, which add up to `divisor`.
struct Taps {
  std::vector<uint32_t> start;   // per destination index: first tap, one past the last at the end
  std::vector<uint32_t> source;  // per tap
  std::vector<uint32_t> weight;
  uint32_t divisor;
};

Taps makeTaps(uint32_t srcSize, uint32_t dstSize) {
  Taps t;
  t.start.reserve(dstSize + 1);
  if (dstSize >= srcSize) {
    t.divisor = 1;
    for (uint32_t d = 0; d < dstSize; ++d) {
      t.start.push_back(d);
      t.source.push_back(uint32_t((2 * uint64_t(d) + 1) * srcSize / (2 * uint64_t(dstSize))));
      t.weight.push_back(1);
    }
  } else {
    // In units of 1/dstSize source pixel, destination d covers [d·src, (d+1)·src)
    // and source s covers [s·dst, (s+1)·dst); a tap's weight is their overlap.
    t.divisor = srcSize;
    for (uint32_t d = 0; d < dstSize; ++d) {
      t.start.push_back(uint32_t(t.source.size()));
      const uint64_t from = uint64_t(d) * srcSize, to = from + srcSize;
      for (uint64_t s = from / dstSize; s * dstSize < to; ++s) {
        const uint64_t lo = s * dstSize > from ? s * dstSize : from;
        const uint64_t hi = (s + 1) * dstSize < to ? (s + 1) * dstSize : to;
        t.source.push_back(uint32_t(s));
        t.weight.push_back(uint32_t(hi - lo));
      }
    }
  }
  t.start.push_back(uint32_t(t.source.size()));
  return t;
}

// One source row stretched across into `dstWidth` pixels.
void stretchRow(const uint8_t* in, uint8_t* out, const Taps& taps, uint32_t dstWidth) {
  for (uint32_t d = 0; d < dstWidth; ++d, out += 4) {
    uint32_t sum[4] = {0, 0, 0, 0};
    for (uint32_t t = taps.start[d]; t < taps.start[d + 1]; ++t) {
      const uint8_t* p = in + size_t(taps.source[t]) * 4;
      for (int c = 0; c < 4; ++c) sum[c] += taps.weight[t] * p[c];
    }
    for (int c = 0; c < 4; ++c) out[c] = uint8_t((sum[c] + taps.divisor / 2) / taps.divisor);
  }
}

}  // namespace

bool StretchBox(const uint8_t* src, uint32_t srcWidth, uint32_t srcHeight, uint8_t* dst, uint32_t dstWidth,
                uint32_t dstHeight) {
  if (!srcWidth || !srcHeight || !dstWidth || !dstHeight) return true;
  // Across, then down, one destination row at a time: each source row the row
  // takes is stretched across into `across` and added into `sums` by its weight.
  // The memory needed is a row of the destination, whatever the picture's height.
  size_t rowBytes = 0, sumBytes = 0;
  if (!checkedMul(size_t(dstWidth), 4, &rowBytes) || !checkedMul(rowBytes, sizeof(uint32_t), &sumBytes)) return false;
  auto* across = static_cast<uint8_t*>(TryAllocMemory(rowBytes));
  auto* sums = static_cast<uint32_t*>(TryAllocMemory(sumBytes));
  bool done = false;
  if (across && sums) {
    try {
      const Taps horizontal = makeTaps(srcWidth, dstWidth), vertical = makeTaps(srcHeight, dstHeight);
      for (uint32_t y = 0; y < dstHeight; ++y) {
        memset(sums, 0, sumBytes);
        for (uint32_t t = vertical.start[y]; t < vertical.start[y + 1]; ++t) {
          stretchRow(src + size_t(vertical.source[t]) * srcWidth * 4, across, horizontal, dstWidth);
          for (size_t i = 0; i < rowBytes; ++i) sums[i] += vertical.weight[t] * across[i];
        }
        uint8_t* out = dst + size_t(y) * rowBytes;
        for (size_t i = 0; i < rowBytes; ++i) out[i] = uint8_t((sums[i] + vertical.divisor / 2) / vertical.divisor);
      }
      done = true;
    } catch (const std::bad_alloc&) {
      // The tap tables did not fit: nothing is drawn, and nothing is thrown into
      // the window procedure that paints.
    }
  }
  FreeMemory(sums);
  FreeMemory(across);
  return done;
}

}  // namespace lw
