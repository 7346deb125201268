#include "runtime/picture/pixels.h"

#include <cstring>
#include <new>
#include <vector>

#include "runtime/core/values/memory.h"

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

// The taps of destination indices [first, first + count) of a stretch from
// srcSize to dstSize.
Taps makeTaps(uint32_t srcSize, uint32_t dstSize, uint32_t first, uint32_t count) {
  Taps t;
  t.start.reserve(size_t(count) + 1);
  if (dstSize >= srcSize) {
    t.divisor = 1;
    for (uint32_t d = first; d - first < count; ++d) {
      t.start.push_back(d - first);
      t.source.push_back(uint32_t((2 * uint64_t(d) + 1) * srcSize / (2 * uint64_t(dstSize))));
      t.weight.push_back(1);
    }
  } else {
    // In units of 1/dstSize source pixel, destination d covers [d·src, (d+1)·src)
    // and source s covers [s·dst, (s+1)·dst); a tap's weight is their overlap.
    t.divisor = srcSize;
    for (uint32_t d = first; d - first < count; ++d) {
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

bool StretchBoxPart(const uint8_t* src, uint32_t srcWidth, uint32_t srcHeight, const StretchPart& part, uint8_t* dst,
                    const uint32_t* background) {
  if (!srcWidth || !srcHeight || !part.width || !part.height) return true;
  if (uint64_t(part.left) + part.width > part.fullWidth || uint64_t(part.top) + part.height > part.fullHeight)
    return false;
  // Across, then down, one destination row at a time: each source row the row
  // takes is stretched across into `across` and added into `sums` by its weight.
  // The memory needed is a row of the part and, when compositing, the span of a
  // source row the part takes, whatever the picture's size.
  size_t rowBytes = 0, sumBytes = 0;
  if (!checkedMul(size_t(part.width), 4, &rowBytes) || !checkedMul(rowBytes, sizeof(uint32_t), &sumBytes)) return false;
  auto* across = static_cast<uint8_t*>(TryAllocMemory(rowBytes));
  auto* sums = static_cast<uint32_t*>(TryAllocMemory(sumBytes));
  uint8_t* composited = nullptr;
  bool done = false;
  if (across && sums) {
    try {
      Taps horizontal = makeTaps(srcWidth, part.fullWidth, part.left, part.width);
      const Taps vertical = makeTaps(srcHeight, part.fullHeight, part.top, part.height);
      // Only the source columns the part takes are read; taps count from the first.
      const uint32_t firstColumn = horizontal.source.front();
      const size_t span = size_t(horizontal.source.back()) - firstColumn + 1;
      for (uint32_t& s : horizontal.source) s -= firstColumn;
      if (background) composited = static_cast<uint8_t*>(TryAllocMemory(span * 4));
      if (!background || composited) {
        for (uint32_t y = 0; y < part.height; ++y) {
          memset(sums, 0, sumBytes);
          for (uint32_t t = vertical.start[y]; t < vertical.start[y + 1]; ++t) {
            const uint8_t* row = src + (size_t(vertical.source[t]) * srcWidth + firstColumn) * 4;
            if (composited) {
              CompositeOverColour(row, composited, span, *background);
              row = composited;
            }
            stretchRow(row, across, horizontal, part.width);
            for (size_t i = 0; i < rowBytes; ++i) sums[i] += vertical.weight[t] * across[i];
          }
          uint8_t* out = dst + size_t(y) * rowBytes;
          for (size_t i = 0; i < rowBytes; ++i) out[i] = uint8_t((sums[i] + vertical.divisor / 2) / vertical.divisor);
        }
        done = true;
      }
    } catch (const std::bad_alloc&) {
      // The tap tables did not fit: nothing is drawn, and nothing is thrown into
      // the window procedure that paints.
    }
  }
  FreeMemory(composited);
  FreeMemory(sums);
  FreeMemory(across);
  return done;
}

bool StretchBox(const uint8_t* src, uint32_t srcWidth, uint32_t srcHeight, uint8_t* dst, uint32_t dstWidth,
                uint32_t dstHeight) {
  if (!dstWidth || !dstHeight) return true;
  return StretchBoxPart(src, srcWidth, srcHeight, {dstWidth, dstHeight, 0, 0, dstWidth, dstHeight}, dst, nullptr);
}

}  // namespace lw
