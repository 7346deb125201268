// The QR window of the program itself, with its manifest, at the display scale of
// the prefix the tests run in: the tool's own QR code is drawn for the box's side
// at that scale, with whole-pixel modules and no grey edge. Runs at every scale;
// the prefix's scale is named by LINKWRIGHT_EXPECT_DPI (96 when unset).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/qr_code.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/scale/display_scale.h"
#include "tests/support/http_server_win.h"
#include "tests/support/message_box_win.h"  // BesideTests
#include "tests/support/program_driver_win.h"
#include "tests/support/screen_capture_win.h"

namespace {

using lw::ScaleToDpi;

int expectedDpi() {
  const char* v = getenv("LINKWRIGHT_EXPECT_DPI");
  return v && atoi(v) > 0 ? atoi(v) : lw::kBaseDpi;
}

TEST(DisplayScaleProgram, OwnQrCodeHasWholePixelModulesAtTheBoxsScale) {
  lw::testing::HttpServer server;
  ASSERT_TRUE(lw::testing::WaitUntil([&] { return server.Start(LINKWRIGHT_LOOPBACK_PORT); }, 60000));
  server.Serve("/notice.txt", lw::testing::HttpResponse("200 OK", "Content-Type: text/plain; charset=utf-8\r\n",
                                                        u8"版本：3.1#"));
  lw::testing::ProgramUnderTest program;
  ASSERT_TRUE(program.Start(L"\"" + lw::Wide(lw::testing::BesideTests("linkwright_loopback_no_qr.exe")) + L"\""));
  HWND main = program.WaitForWindowOfProgram(L"Linkwright");
  ASSERT_NE(nullptr, main);
  // A mood post's address converted (链接框, 按钮_转换); its share address in
  // 编辑框生成 is what the code must read back as.
  lw::testing::TypeInto(lw::testing::FindControl(main, 100), L"http://user.qzone.qq.com/12345/mood/9ab.1");
  ASSERT_TRUE(lw::testing::Press(lw::testing::FindControl(main, 130)));
  const std::string text = lw::Gbk(lw::testing::WindowText(lw::testing::FindControl(main, 110)));
  ASSERT_EQ(0u, text.find("http://")) << text;
  const std::string artifacts = lw::testing::BesideTests("..\\artifacts");
  CreateDirectoryA(artifacts.c_str(), nullptr);
  const std::string scale = "_" + std::to_string(expectedDpi()) + "dpi.bmp";
  lw::testing::SaveBmp(lw::testing::CaptureWindow(main), artifacts + "\\start_window" + scale);
  ASSERT_TRUE(lw::testing::Press(lw::testing::FindControl(main, 150)));  // 按钮_转换1
  HWND qr = program.WaitForWindowOfProgram(nullptr, 100);
  ASSERT_NE(nullptr, qr);
  HWND box = GetDlgItem(qr, 100);
  const int side = ScaleToDpi(int(app::kQrPictureSide), expectedDpi());
  RECT client = {};
  GetClientRect(box, &client);
  EXPECT_NEAR(side, client.right, 2) << "the box's width at this scale";

  app::QrCode code;
  ASSERT_TRUE(app::encodeQrCode(text.c_str(), &code));
  const app::QrLayout layout = app::qrLayout(code, uint32_t(side));
  const int q = app::kQrQuietZone, modules = qrcodegen_getSize(code.bits) + 2 * q;
  const int at96 = app::qrLayout(code, app::kQrPictureSide).scale;
  EXPECT_GE(layout.scale, at96) << "modules never shrink at a larger scale";
  if (expectedDpi() >= 2 * lw::kBaseDpi) EXPECT_GT(layout.scale, at96) << "modules grow at 200 %";
  // Every pixel of the code, not only each module's centre: whole-pixel modules
  // leave no grey edge, so every pixel has its module's colour.
  auto wrongPixels = [&] {
    MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const lw::testing::ScreenPixels p = lw::testing::CaptureScreen(client);
    GetClientRect(box, &client);
    int wrong = 0;
    for (int y = 0; y < modules * layout.scale; ++y)
      for (int x = 0; x < modules * layout.scale; ++x) {
        const bool black = qrcodegen_getModule(code.bits, x / layout.scale - q, y / layout.scale - q);
        const uint32_t c = p.At(layout.offset + x, layout.offset + y);
        wrong += black ? c != 0 : c != 0xFFFFFF;
      }
    return wrong;
  };
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return wrongPixels() == 0; })) << wrongPixels() << " pixels wrong";
  lw::testing::SaveBmp(lw::testing::CaptureWindow(qr), artifacts + "\\qr_window" + scale);
  PostMessageA(qr, WM_CLOSE, 0, 0);
  PostMessageA(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(0u, program.WaitForExit());
}

}  // namespace
