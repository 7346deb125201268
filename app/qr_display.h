// The QR display: the QR window shows the QR image of the share address, fetched
// from the QR image service when the window is created, and again when the user
// asks for it (显示二维码) while the window is open. When the service gives nothing
// to show, or the build names no service, the tool draws the code itself. Both
// handlers, onQrWindowCreated and onQrTriggerClicked, live in qr_display_win.cpp.
#pragma once
#include <cstdint>

#include "app/handlers.h"

namespace app {

// Escapes the current text of 编辑框生成 into qrValue, fetches the image of it and
// puts the bytes into 图片二维码; when they are no picture, the tool's own QR code
// of the text (an empty picture when no QR code holds it). A screen reader then
// reads the picture as 二维码 with the text as its value.
void showShareQr();

}  // namespace app
