#include "runtime/ui/properties/values.h"

#include <cstring>

namespace lw {

ValueClass ClassOfValueKind(uint16_t kind) {
  switch (kind) {
    case value_kind::Integer: case value_kind::Integer2: return ValueClass::Integer;
    case value_kind::Wide: case value_kind::Wide2: return ValueClass::Wide;
    case value_kind::Logical: return ValueClass::Logical;
    case value_kind::Choice: return ValueClass::Choice;
    case value_kind::Colour: case value_kind::Colour2: case value_kind::Colour3: return ValueClass::Colour;
    case value_kind::Data: case value_kind::Picture: case value_kind::Data2: case value_kind::Data3:
    case value_kind::Data4: return ValueClass::Data;
    case value_kind::MousePointer: return ValueClass::MousePointer;
    case value_kind::Font: return ValueClass::Font;
    default: return ValueClass::Text;
  }
}

int32_t ClampPosition(int32_t v) { return v < -32627 ? -32627 : v > 32627 ? 32627 : v; }
int32_t ClampExtent(int32_t v) { return v < 0 ? 0 : v > 32627 ? 32627 : v; }

int32_t FontHeightFromPoints(int32_t points, int32_t ppi) {
  // The platform's rule: a negative height asks for the character height.
  return -int32_t((int64_t(points) * ppi + 36) / 72);
}

int32_t FontPointsFromHeight(int32_t height, int32_t ppi) {
  if (ppi <= 0) return 0;
  int64_t h = height < 0 ? -int64_t(height) : int64_t(height);
  return int32_t((h * 72 + ppi / 2) / ppi);
}

void SetFontFaceName(LogFontRecord* f, const char* name) {
  size_t n = name ? strlen(name) : 0;
  memset(f->faceName, 0, sizeof f->faceName);
  if (n == 0 || n >= sizeof f->faceName)
    strcpy(f->faceName, "宋体");
  else
    memcpy(f->faceName, name, n);
}

int32_t GetFontElement(const LogFontRecord& f, int element, int32_t ppi) {
  switch (element) {
    case font_element::Angle: return f.escapement;
    case font_element::Bold: return f.weight >= 700 ? 1 : 0;
    case font_element::Italic: return f.italic ? 1 : 0;
    case font_element::StrikeOut: return f.strikeOut ? 1 : 0;
    case font_element::Underline: return f.underline ? 1 : 0;
    case font_element::Size: return FontPointsFromHeight(f.height, ppi);
    default: return 0;
  }
}

void SetFontElement(LogFontRecord* f, int element, int32_t value, int32_t ppi) {
  switch (element) {
    case font_element::Angle: {
      int32_t a = value % 3600;
      f->escapement = f->orientation = a;
      break;
    }
    case font_element::Bold: f->weight = value ? 700 : 0; break;
    case font_element::Italic: f->italic = value ? 1 : 0; break;
    case font_element::StrikeOut: f->strikeOut = value ? 1 : 0; break;
    case font_element::Underline: f->underline = value ? 1 : 0; break;
    case font_element::Size: f->height = FontHeightFromPoints(value, ppi); break;
    default: break;
  }
}

}  // namespace lw
