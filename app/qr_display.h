// The QR display: the QR window shows the QR image of the share address, fetched
// from the QR image service when the window is created, and again when the user
// asks for it while the window is open.
#pragma once
#include <cstdint>

#include "app/handlers.h"

namespace app {

// Escapes the current text of 编辑框生成 into qrValue, fetches the image of it and
// puts the bytes into 图片二维码 (an empty picture when the fetch fails).
void showQrPicture();

}  // namespace app
