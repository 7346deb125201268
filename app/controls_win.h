// The application's words for what its handlers do to the windows, the clipboard,
// the browser and the message box. Each names a control by what it is for; below
// them sit the property numbers, the library commands with their argument records
// and counts, and the list view's library position, each written once. Texts given
// are lent; texts returned belong to the caller.
#pragma once
#include <cstdint>

#include "runtime/core/values/owned_block.h"
#include "runtime/core/values/types.h"

namespace app {

// 标签_提示: what the program tells the user.
void setStatus(const char* text);
// 编辑框QQ: the QQ number as typed.
lw::OwnedText typedQqNumber();
// 链接框: the address the user pasted.
lw::OwnedText pastedAddress();
// 编辑框生成: shows a share address (null empties the box), and reads what it shows.
void showAddress(const char* address);
lw::OwnedText shownAddress();

// 超级列表框日志: a new last row, the title in its first column and the post id
// in its "ID" column; the selected row (-1 when none); a row's post id; and the
// row menu 生成识别连接 popped up at a screen point: right under the mouse cursor,
// or where the list asked for it when the keyboard asked for the menu.
void appendFeedRow(const char* title, const char* id);
int32_t selectedRow();
lw::OwnedText rowId(int32_t row);
struct ScreenPoint {
  int32_t x, y;
};
ScreenPoint mousePosition();
void popUpRowMenu(ScreenPoint at);

// What assistive technology calls the start window's controls that have no label
// beside them to be named after: 编辑框生成 and 超级列表框日志; and 标签_提示 made
// a live region, read out each time it is set.
void nameUnlabelledControls();

// Puts a text on the clipboard; false when another program holds it.
bool copyToClipboard(const char* text);
// Opens an address in the browser.
void openAddress(const char* address);
// An OK box with no icon, the default caption and no owner.
void showMessage(const char* text);
// A copy of a text made by the core library's text conversion (null when empty).
lw::Text textCopy(const char* text);

// The QR window: whether it is open; opening it (or bringing it to the front) with
// no parent and not modal; the picture of 图片二维码 (the bytes are lent); what
// assistive technology reads of the picture: its name, with the address it shows;
// and the file name the box offers its picture under, to copy and save.
bool isQrWindowOpen();
void openQrWindow();
void showQrPicture(const lw::ByteSetHeader* picture);
void nameQrPicture(const char* address);
void offerQrPictureAs(const char* fileName);
// How many pixels square a picture of 图片二维码 is shown one to one: the box's
// side at its window's display scale. A picture of that side is never stretched.
uint32_t qrPictureSide();

}  // namespace app
