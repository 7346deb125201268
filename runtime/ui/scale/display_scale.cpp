#include "runtime/ui/scale/display_scale.h"

namespace lw {
namespace {

int effective(int dpi) { return dpi > 0 ? dpi : kBaseDpi; }

// a * b / c rounded to nearest, halves away from zero, in 64 bits.
int mulDiv(int a, int b, int c) {
  int64_t n = int64_t(a) * b;
  int64_t q = (n < 0 ? n - c / 2 : n + c / 2) / c;
  return int(q);
}

}  // namespace

int ScaleToDpi(int units, int dpi) { return mulDiv(units, effective(dpi), kBaseDpi); }

int ScaleFromDpi(int pixels, int dpi) { return mulDiv(pixels, kBaseDpi, effective(dpi)); }

int RescaleBetween(int pixels, int fromDpi, int toDpi) {
  return ScaleToDpi(ScaleFromDpi(pixels, fromDpi), toDpi);
}

ScaledBox ScaleBoxToDpi(const ScaledBox& u, int dpi) {
  return {ScaleToDpi(u.left, dpi), ScaleToDpi(u.top, dpi), ScaleToDpi(u.width, dpi), ScaleToDpi(u.height, dpi)};
}

ScaledBox ScaleBoxFromDpi(const ScaledBox& p, int dpi) {
  return {ScaleFromDpi(p.left, dpi), ScaleFromDpi(p.top, dpi), ScaleFromDpi(p.width, dpi),
          ScaleFromDpi(p.height, dpi)};
}

int32_t ScaleFontHeight(int32_t units, int dpi) {
  if (units == 0) return 0;
  int32_t h = ScaleToDpi(units, dpi);
  if (h == 0) h = units < 0 ? -1 : 1;
  return h;
}

}  // namespace lw
