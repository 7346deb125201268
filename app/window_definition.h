// The program's two windows as the build tool sees them: their ids, the ids of
// their units and menu items, and the application routines their events are bound
// to. BuildProgramTemplate turns the definition into template records; the build
// writes them into the section that is embedded in the program image.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/ui/properties/template_format.h"

namespace app {

namespace ids {
// The QR window and its unit.
constexpr uint32_t QrWindow = 0x5201E9FF;
constexpr uint32_t QrWindowModule = 0x1901EA03;
constexpr uint32_t QrWindowUnit = 0x0601E9FE;
constexpr uint32_t 图片二维码 = 0x1601EA20;

// The start window, its controls and its menu items.
constexpr uint32_t StartWindow = 0x5201EA05;
constexpr uint32_t StartWindowModule = 0x1901EA0D;
constexpr uint32_t StartWindowUnit = 0x0601EA06;
constexpr uint32_t 标签1 = 0x1601EA5C;
constexpr uint32_t 获取 = 0x1601EA5D;
constexpr uint32_t 编辑框QQ = 0x1601EA5E;
constexpr uint32_t 超级列表框日志 = 0x1601EA5F;
constexpr uint32_t 分组框1 = 0x1601EA5A;
constexpr uint32_t 生成识别连接 = 0x2601EA52;  // hidden level-0 menu entry
constexpr uint32_t 生成链接 = 0x2601EA53;      // its one item
constexpr uint32_t 按钮_转换1 = 0x1601EA07;
constexpr uint32_t 标签_提示 = 0x1601EA08;
constexpr uint32_t 按钮_转换 = 0x1601EA09;
constexpr uint32_t 标签2 = 0x1601EA0A;
constexpr uint32_t 编辑框生成 = 0x1601EA0B;
constexpr uint32_t 链接框 = 0x1601EA0C;
}  // namespace ids

// What screen readers read for the controls no label names: their names, given when
// the start window is made, and the status line, which is read out each time an
// action sets it (a live region, with no name of its own). 图片二维码 is named
// kQrPictureReaderName, with the address it shows as its value.
struct ReaderNaming {
  uint32_t window;
  uint32_t unit;
  const char* name;  // null: the unit is a live region
};
extern const ReaderNaming kReaderNamings[];
extern const size_t kReaderNamingCount;
extern const char kQrPictureReaderName[];

// 图片二维码's width and height, in 96-DPI units: the tool's own QR code is drawn
// for a box of this side.
constexpr int32_t kQrPictureBoxSide = 270;

// The application routines the templates bind, in the order of the application's
// handler table. The table's address is the code base of the program information
// block; a stored handler entry is the byte offset of the routine's slot in it, so
// the first routine's entry is 0. Each slot carries the name of the handler that
// fills it.
namespace slot {
enum HandlerSlot : int32_t {
  onStartWindowCreated,  // start window created: the update check
  onQrWindowCreated,     // QR window created: the QR display
  onConvertClicked,      // 按钮_转换 clicked
  onQrTriggerClicked,    // 按钮_转换1 clicked
  onFetchFeedClicked,    // 获取 clicked
  onListClicked,         // 超级列表框日志 clicked
  onMenuItemChosen,      // 生成链接 chosen
  onListRowActivated,    // Enter on a selected row of 超级列表框日志
  kCount
};
}  // namespace slot
using slot::HandlerSlot;
constexpr int32_t kHandlerSlotCount = slot::kCount;

// One slot holds a routine address of the 32-bit program.
constexpr int32_t kHandlerSlotBytes = 4;
constexpr int32_t HandlerEntry(HandlerSlot slot) { return slot * kHandlerSlotBytes; }
constexpr int32_t kHandlerTableBytes = kHandlerSlotCount * kHandlerSlotBytes;

// The caption of the start window.
constexpr const char* kStartCaption = "Linkwright";

// Both windows as template records, the QR window first. The start window's
// caption is a parameter so that the section's size can be checked against
// other captions.
lw::WindowTemplate BuildProgramTemplate(const char* startCaption = kStartCaption);

}  // namespace app
