#include "app/controls_win.h"
#include "app/endpoints.h"
#include "app/main_window.h"
#include "app/page_text.h"
#include "app/program_state.h"
#include "app/qr_code.h"
#include "app/qr_display.h"
#include "app/share_escape.h"
#include "runtime/core/owned_block.h"
#include "runtime/ui/display_scale.h"
#include "runtime/ui/display_scale_win.h"
#include "runtime/ui/picture_decode.h"
#include "runtime/ui/unit.h"
#include "runtime/ui/unit_picture_box_win.h"
#include "runtime/ui/window_system_win.h"

namespace app {

namespace {

// The picture box's side in device pixels at its window's scale: the tool's own
// code is drawn at that size, never stretched from the 96-DPI side.
uint32_t qrBoxSide() {
  lw::Unit* box = lw::FindLiveUnit(ids::QrWindow, ids::图片二维码);
  const int dpi = lw::WindowDpi(box ? HWND(box->hwnd) : nullptr);
  return uint32_t(lw::ScaleToDpi(int(kQrPictureSide), dpi));
}

// True when the picture box can show the bytes: they decode as a picture.
bool isShowable(lw::ByteSet bytes) {
  lw::DecodedPicture* decoded = lw::DecodePicture(lw::byteSetData(bytes), lw::byteSetLength(bytes));
  const bool showable = decoded != nullptr;
  lw::FreePicture(decoded);
  return showable;
}

}  // namespace

void showShareQr() {
  lw::OwnedText shown(shownAddress());
  lw::OwnedText escaped(escapeShareValue(shown.get()));
  // qrValue keeps a copy of the escaped value.
  lw::ReplaceBlock(&g_state.qrValue, textCopy(escaped.get()));
  lw::OwnedByteSet picture;
  if (endpoints::kQrHost[0]) {  // an empty host: no service, the own code always
    picture.reset(fetchBody(lw::OwnedText(qrImageAddress(g_state.qrValue)).get()));
  }
  // Whatever the service could not give (no answer, an error page, an empty body,
  // bytes that do not decode) the tool draws itself; the refused bytes go first.
  if (!isShowable(picture.get())) {
    picture.reset();
    picture.reset(qrPictureOfText(shown.get(), qrBoxSide()));
  }
  showQrPicture(picture.get());
  nameQrPicture(shown.get());
}

HandlerResult onQrWindowCreated(int, const uint32_t*) {
  // The picture box offers its picture to copy and save; saved, it is a QR image.
  lw::SetPictureBoxSaveName(lw::FindLiveUnit(ids::QrWindow, ids::图片二维码), "二维码.png");
  showShareQr();
  return {0, 0};
}

}  // namespace app
