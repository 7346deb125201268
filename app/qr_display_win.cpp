// The QR display's handlers: the QR window shows the share address's QR image when
// it is created, and 显示二维码 opens it, or gives an open one the address shown now.
#include "app/controls_win.h"
#include "app/endpoints.h"
#include "app/link_conversion.h"
#include "app/page_text.h"
#include "app/program_state.h"
#include "app/qr_code.h"
#include "app/qr_display.h"
#include "app/share_escape.h"
#include "runtime/core/values/owned_block.h"
#include "runtime/core/values/values.h"
#include "runtime/picture/decode.h"

namespace app {

namespace {

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
  // bytes that do not decode) the tool draws itself, at the size the box shows one
  // to one, never stretched; the refused bytes go first.
  if (!isShowable(picture.get())) {
    picture.reset();
    picture.reset(qrPictureOfText(shown.get(), qrPictureSide()));
  }
  showQrPicture(picture.get());
  nameQrPicture(shown.get());
}

HandlerResult onQrWindowCreated(int, const uint32_t*) {
  // The picture box offers its picture to copy and save; saved, it is a QR image.
  offerQrPictureAs("二维码.png");
  showShareQr();
  return {0, 0};
}

// 显示二维码: opens the QR window (or brings it to the front) when an address is
// shown; the window fetches its image itself when it is created.
HandlerResult onQrTriggerClicked(int, const uint32_t*) {
  if (lw::IsEmptyText(shownAddress().get())) {
    setStatus(kCheckInput);
    return {0, 0};
  }
  // An open QR window is only brought forward by loading it, so it is first given
  // the picture of the address shown now; a new one fetches its own when created.
  if (isQrWindowOpen()) showShareQr();
  openQrWindow();
  return {0, 0};
}

}  // namespace app
