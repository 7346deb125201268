// The start window's controls as the window definition places them: id, name, the
// rectangle in 96-DPI units within the container, and the container (0: the
// window), in record order. One table for every test that checks the layout, as
// stored in the section or as loaded into windows.
#pragma once
#include <cstdint>

namespace lw::testing {

struct PlacedControl {
  uint32_t id;
  const char* name;
  int32_t left, top, width, height;
  uint32_t parent;
};

constexpr uint32_t kStartGroupBox = 0x1601EA5A;

inline constexpr PlacedControl kStartControls[] = {
    {0x1601EA5C, "标签1", 16, 181, 32, 32, kStartGroupBox},
    {0x1601EA5D, "获取", 237, 183, 104, 24, kStartGroupBox},
    {0x1601EA5E, "编辑框QQ", 60, 182, 156, 24, kStartGroupBox},
    {0x1601EA5F, "超级列表框日志", 8, 8, 368, 168, kStartGroupBox},
    {kStartGroupBox, "分组框1", 0, 232, 384, 216, 0},
    {0x1601EA07, "按钮_转换1", 192, 39, 144, 32, 0},
    {0x1601EA08, "标签_提示", 24, 208, 320, 32, 0},
    {0x1601EA09, "按钮_转换", 24, 38, 144, 32, 0},
    {0x1601EA0A, "标签2", 3, 7, 98, 24, 0},
    {0x1601EA0B, "编辑框生成", 8, 80, 368, 128, 0},
    {0x1601EA0C, "链接框", 108, 8, 272, 24, 0},
};

// The placed control of an id; the tests ask only for ids the table holds.
constexpr const PlacedControl& PlacedControlOf(uint32_t id) {
  for (const PlacedControl& c : kStartControls)
    if (c.id == id) return c;
  return kStartControls[0];
}

}  // namespace lw::testing
