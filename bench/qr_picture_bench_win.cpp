// The QR window's picture: the tool's own code against the service's answer.
// Baseline: fetching the service's picture of a share address from a loopback
// server with webPageRequest (a 270 × 270 PNG of the same code, as a QR service
// answers), then decoding and drawing it into a 270 × 270 memory bitmap the way
// the picture box does. Measured: making the own code of the same address (GBK to
// UTF-8, encoding, the BMP bytes), then decoding and drawing it the same way.
// Run by hand: wine qr_picture_bench_win.exe
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/qr_code.h"
#include "bench/bench_clock.h"
#include "runtime/core/values/memory.h"
#include "runtime/ui/pictures/draw_win.h"
#include "tests/support/http_server_win.h"
#include "tests/support/png_writer.h"
#include "tests/support/program_dll_table_win.h"
#include "tests/support/share_addresses.h"
#include "web/web_request_win.h"

namespace {

constexpr int kRounds = 31;
constexpr int kSide = int(app::kQrPictureSide);

// The own picture of `text` re-written as a grey PNG: what the service sends.
std::string servicePng(const std::string& text) {
  lw::ByteSet bmp = app::qrPictureOfText(text.c_str());
  lw::DecodedPicture* p = lw::DecodePicture(lw::byteSetData(bmp), lw::byteSetLength(bmp));
  lw::FreeMemory(bmp);
  std::vector<uint8_t> grey(size_t(kSide) * kSide);
  for (size_t i = 0; i < grey.size(); ++i) grey[i] = p->pixels[i * 4];
  lw::FreePicture(p);
  return lw::testing::PngOf(grey.data(), kSide, kSide);
}

// Decodes the bytes and draws them as the picture box does; false when nothing shows.
bool draw(HDC dc, lw::ByteSet bytes) {
  const uint8_t* data = lw::byteSetData(bytes);
  std::vector<uint8_t> copy(data, data + lw::byteSetLength(bytes));
  lw::UnitPicture picture;
  bool shown = lw::SetUnitPicture(&picture, copy);
  RECT client = {0, 0, kSide, kSide};
  if (shown) lw::DisplayPicture(dc, picture, 0, client, 0xFFFFFF);
  lw::ClearUnitPicture(&picture);
  return shown;
}

bool fetchAndDraw(HDC dc, const std::string& address) {
  lw::Text a = static_cast<lw::Text>(lw::AllocMemory(address.size() + 1));
  memcpy(a, address.c_str(), address.size() + 1);
  lw::ByteSet body = web::webPageRequest(&a);
  bool shown = draw(dc, body);
  lw::FreeMemory(body);
  lw::FreeMemory(a);
  return shown;
}

bool makeAndDraw(HDC dc, const std::string& text) {
  lw::ByteSet bmp = app::qrPictureOfText(text.c_str());
  bool shown = draw(dc, bmp);
  lw::FreeMemory(bmp);
  return shown;
}

}  // namespace

int main() {
  lw::testing::InstallProgramDllTable();
  lw::testing::HttpServer server;
  if (!server.Start()) {
    fprintf(stderr, "no loopback server\n");
    return 1;
  }
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, kSide, kSide);
  HGDIOBJ old = SelectObject(dc, target);

  const std::string texts[] = {lw::testing::kBlog12345_678, lw::testing::kMood12345_9ab};
  for (const std::string& text : texts) {
    const std::string png = servicePng(text);
    server.Serve("/qr.php", lw::testing::HttpResponse("200 OK", "Content-Type: image/png\r\n", png));
    const std::string address = server.Address("/qr.php?value=x");
    std::vector<double> service, own;
    bool ok = true;
    for (int r = 0; r < kRounds; ++r) {
      for (int k = 0; k < 2; ++k) {  // alternating which goes first keeps the order out of it
        double t0 = bench::NowMs();
        if ((k == 0) == (r % 2 == 0)) {
          ok &= fetchAndDraw(dc, address);
          service.push_back(bench::NowMs() - t0);
        } else {
          ok &= makeAndDraw(dc, text);
          own.push_back(bench::NowMs() - t0);
        }
      }
    }
    app::QrCode code;
    app::encodeQrCode(text.c_str(), &code);
    printf("%zu-byte address (%d modules, PNG %zu bytes): service fetch+draw median %.3f ms, own make+draw median %.3f ms%s\n",
           text.size(), qrcodegen_getSize(code.bits), png.size(), bench::Median(service), bench::Median(own),
           ok ? "" : "  (SOME ROUND SHOWED NOTHING)");
  }
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  server.Stop();
  return 0;
}
