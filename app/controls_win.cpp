#include "app/controls_win.h"

#include "app/window_definition.h"
#include "runtime/core/automation/automation.h"
#include "runtime/core/libraries/library_positions.h"
#include "runtime/core/services/core_commands.h"
#include "runtime/core/services/core_commands_win.h"
#include "runtime/core/services/service_table.h"
#include "runtime/ui/accessibility/accessible_name_win.h"
#include "runtime/ui/kinds/list_view_commands_win.h"
#include "runtime/ui/kinds/picture_box_win.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/system_win.h"

namespace app {
namespace {

namespace arg = lw::arg;

// What a screen reader calls the controls that no label names.

// Column 1 of the list holds the post id ("ID").
constexpr int32_t kIdColumn = 1;

// The text of the start window's edit boxes and the caption of its labels: one
// number for both kinds.
constexpr int kTextProperty = lw::edit_prop::Text;
static_assert(lw::label_prop::Caption == kTextProperty, "a label's caption has the number of an edit box's text");

lw::OwnedText readStartText(uint32_t unitId) {
  uint64_t value = lw::kServices.readProperty(ids::StartWindow, unitId, kTextProperty, -1);
  return lw::OwnedText(reinterpret_cast<lw::Text>(uintptr_t(value)));
}
void writeStartText(uint32_t unitId, const char* text) {
  lw::kServices.writeProperty(ids::StartWindow, unitId, kTextProperty, -1, lw::Word(uintptr_t(text)), 0);
}

// A text argument passed as it is: a null text stays null.
lw::ArgRecord lentText(const char* text) { return {lw::Word(uintptr_t(text)), 0, lw::type::Text}; }
lw::ArgRecord windowUnit(uint32_t windowId, uint32_t unitId) { return {windowId, unitId, lw::type::WindowUnit}; }
const lw::ArgRecord kList = {ids::StartWindow, ids::超级列表框日志, lw::type::ListViewUnit};

// A command of the core or window libraries, or of the list view's library; the
// argument count is the length of the record array.
template <int N> lw::ResultRecord call(lw::LibraryCommand command, lw::ArgRecord (&args)[N]) {
  return lw::kServices.callLibraryCommand(command, N, args);
}
lw::ResultRecord call(lw::LibraryCommand command) { return lw::kServices.callLibraryCommand(command, 0, nullptr); }
template <int N> lw::ResultRecord callList(lw::LibraryCommand command, lw::ArgRecord (&args)[N]) {
  return lw::kServices.callUnitCommand(command, N, args, lw::library_position::ListView);
}

}  // namespace

void setStatus(const char* text) { writeStartText(ids::标签_提示, text); }
lw::OwnedText typedQqNumber() { return readStartText(ids::编辑框QQ); }
lw::OwnedText pastedAddress() { return readStartText(ids::链接框); }
void showAddress(const char* address) { writeStartText(ids::编辑框生成, address); }
lw::OwnedText shownAddress() { return readStartText(ids::编辑框生成); }

void appendFeedRow(const char* title, const char* id) {
  lw::ArgRecord row[] = {kList, arg::integer(-1), arg::text(title)};
  int32_t at = int32_t(callList(&lw::commands::InsertRow, row).low);
  lw::ArgRecord cell[] = {kList, arg::integer(at), arg::integer(kIdColumn), arg::text(id)};
  callList(&lw::commands::SetItemText, cell);
}

int32_t selectedRow() {
  return int32_t(
      lw::kServices.readProperty(ids::StartWindow, ids::超级列表框日志, lw::list_view_prop::CurrentItem, -1));
}

lw::OwnedText rowId(int32_t row) {
  lw::ArgRecord item[] = {kList, arg::integer(row), arg::integer(kIdColumn)};
  return lw::OwnedText(reinterpret_cast<lw::Text>(callList(&lw::commands::GetItemText, item).low));
}

ScreenPoint mousePosition() {
  int32_t x = int32_t(call(&lw::core::MouseX).low);
  int32_t y = int32_t(call(&lw::core::MouseY).low);
  return {x, y};
}

void popUpRowMenu(ScreenPoint at) {
  lw::ArgRecord menu[] = {windowUnit(ids::StartWindow, ids::StartWindowUnit),
                          {ids::StartWindow, ids::生成识别连接, lw::type::MenuUnit},
                          arg::integer(at.x),
                          arg::integer(at.y)};
  call(&lw::commands::PopupMenu, menu);
}

bool copyToClipboard(const char* text) {
  lw::ArgRecord args[] = {lentText(text)};
  return call(&lw::core::SetClipboardText, args).low != 0;
}

void openAddress(const char* address) {
  lw::ArgRecord args[] = {lentText(address)};
  call(&lw::core::OpenAddress, args);
}

void showMessage(const char* text) {
  lw::ArgRecord args[] = {lentText(text), arg::integer(0)};
  call(&lw::core::ShowMessageBox, args);
}

lw::Text textCopy(const char* text) {
  lw::ArgRecord args[] = {arg::text(text)};
  return reinterpret_cast<lw::Text>(call(&lw::core::ToText, args).low);
}

bool isQrWindowOpen() {
  lw::ArgRecord args[] = {windowUnit(ids::QrWindow, ids::QrWindowUnit)};
  return call(&lw::commands::IsWindowLoaded, args).low != 0;
}

void openQrWindow() {
  lw::ArgRecord args[] = {windowUnit(ids::QrWindow, ids::QrWindowUnit), arg::omitted(), arg::logical(false)};
  call(&lw::commands::LoadWindow, args);
}

void showQrPicture(const lw::ByteSetHeader* picture) {
  lw::kServices.writeProperty(ids::QrWindow, ids::图片二维码, lw::pic_box_prop::Picture, -1,
                              lw::Word(uintptr_t(picture)), 0);
}

void nameQrPicture(const char* address) {
  lw::ArgRecord args[] = {windowUnit(ids::QrWindow, ids::图片二维码), lentText(kQrPictureReaderName), lentText(address)};
  call(&lw::commands::SetAccessibleName, args);
}

void offerQrPictureAs(const char* fileName) {
  lw::SetPictureBoxSaveName(lw::FindLiveUnit(ids::QrWindow, ids::图片二维码), fileName);
}

uint32_t qrPictureSide() {
  return uint32_t(lw::UnitPixels(ids::QrWindow, ids::图片二维码, app::kQrPictureBoxSide));
}

void nameUnlabelledControls() {
  for (size_t i = 0; i < kReaderNamingCount; ++i) {
    const ReaderNaming& n = kReaderNamings[i];
    if (n.name) {
      lw::ArgRecord args[] = {windowUnit(n.window, n.unit), lentText(n.name)};
      call(&lw::commands::SetAccessibleName, args);
    } else {
      lw::ArgRecord args[] = {windowUnit(n.window, n.unit)};
      call(&lw::commands::MarkLiveRegion, args);
    }
  }
}

}  // namespace app
