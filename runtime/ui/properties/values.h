// The value rules of property access that do not touch the platform: kind classes,
// clamping of geometry, logical and choice conversion, and the elements of a font
// held as a 60-byte logical font record. Pure.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/ui/unit.h"

namespace lw {

// Geometry written through the common properties.
int32_t ClampPosition(int32_t v);  // -32627 .. 32627
int32_t ClampExtent(int32_t v);    // 0 .. 32627

// Logical values read as 1 only when the stored value is exactly 1; any non-zero
// written value stores 1. Choices store 0 for a negative value.
inline int32_t ReadLogical(int32_t stored) { return stored == 1 ? 1 : 0; }
inline int32_t WriteLogical(int32_t given) { return given != 0 ? 1 : 0; }
inline int32_t WriteChoice(int32_t given) { return given < 0 ? 0 : given; }

// The platform's logical font record as stored in font blocks: 60 bytes, face name
// at byte 28.
struct LogFontRecord {
  int32_t height;
  int32_t width;
  int32_t escapement;
  int32_t orientation;
  int32_t weight;
  uint8_t italic;
  uint8_t underline;
  uint8_t strikeOut;
  uint8_t charSet;
  uint8_t outPrecision;
  uint8_t clipPrecision;
  uint8_t quality;
  uint8_t pitchAndFamily;
  char faceName[32];
};
static_assert(sizeof(LogFontRecord) == 60, "a logical font record is 60 bytes");

// Font elements by index.
namespace font_element {
constexpr int Angle = 0;
constexpr int Bold = 1;
constexpr int Italic = 2;
constexpr int StrikeOut = 3;
constexpr int Underline = 4;
constexpr int Size = 5;
constexpr int FaceName = 6;
}  // namespace font_element

// The whole-font object application code reads and writes (element -1): seven
// 32-bit fields, the last a text pointer.
struct FontObject {
  int32_t angle;
  int32_t bold;
  int32_t italic;
  int32_t strikeOut;
  int32_t underline;
  int32_t size;
  char* faceName;
};

// Point size and record height convert through the screen's pixels per inch.
int32_t FontHeightFromPoints(int32_t points, int32_t pixelsPerInch);
int32_t FontPointsFromHeight(int32_t height, int32_t pixelsPerInch);

// Reads or writes one element of a font record. A face name that is empty or 32
// bytes or more becomes "宋体".
int32_t GetFontElement(const LogFontRecord& f, int element, int32_t pixelsPerInch);
void SetFontElement(LogFontRecord* f, int element, int32_t value, int32_t pixelsPerInch);
void SetFontFaceName(LogFontRecord* f, const char* name);

}  // namespace lw
