// The conversion on the real start window: a pasted address, a click on
// 生成识别链接, and what the output box, the clipboard and the status line then hold;
// the QR trigger.
#include "app/link_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "app/endpoints.h"
#include "tests/support/object_counts_win.h"
#include "tests/support/program_dll_table_win.h"
#include "tests/support/share_addresses.h"
#include "tests/support/start_window_win.h"

namespace {

namespace ids = app::ids;
using lw::testing::ClipboardText;
using lw::testing::PutOnClipboard;

using lw::testing::kBlog12345_678;
using lw::testing::kMood12345_9ab;

struct Conversion : lw::testing::StartWindowTest {
  // Pastes an address and clicks 生成识别链接.
  void convert(const std::string& pasted) {
    Type(ids::链接框, pasted);
    Click(ids::按钮_转换);
  }
};

TEST_F(Conversion, StartsWithTheTemplatesCaptions) {
  EXPECT_EQ("提示：", Shown(ids::标签_提示));
  EXPECT_EQ("生成识别链接", Shown(ids::按钮_转换));
  EXPECT_EQ("", Shown(ids::编辑框生成));
}

TEST_F(Conversion, BlogAddressShownCopiedAndConfirmed) {
  convert("http://user.qzone.qq.com/12345/blog/678");
  EXPECT_EQ(kBlog12345_678, Shown(ids::编辑框生成));
  EXPECT_EQ(kBlog12345_678, ClipboardText());
  EXPECT_EQ(app::kBlogConverted, Shown(ids::标签_提示));
  EXPECT_EQ("已经转换您的日志链接，并复制到剪辑版，可直接粘贴！", Shown(ids::标签_提示));
}

TEST_F(Conversion, MoodAddressShownCopiedAndConfirmed) {
  convert("http://user.qzone.qq.com/12345/mood/9ab.1");
  EXPECT_EQ(kMood12345_9ab, Shown(ids::编辑框生成));
  EXPECT_EQ(kMood12345_9ab, ClipboardText());
  EXPECT_EQ("已经转换您的说说链接，并复制到剪辑版，可直接粘贴！", Shown(ids::标签_提示));

  // Without ".1" the mood id runs to the end of the address.
  convert("http://user.qzone.qq.com/12345/mood/9ab");
  EXPECT_EQ(kMood12345_9ab, Shown(ids::编辑框生成));
}

TEST_F(Conversion, InputErrorsEmptyTheOutputAndLeaveTheClipboard) {
  // One of each way to fail; the pure tests go through the rest.
  const char* const bad[] = {"", "http://user.qzone.qq.com/12345", "http://user.qzone.qq.com/12345/blog/"};
  for (const char* pasted : bad) {
    convert("http://user.qzone.qq.com/1/blog/2");  // something shown first
    ASSERT_TRUE(PutOnClipboard("kept"));
    convert(pasted);
    EXPECT_EQ("", Shown(ids::编辑框生成)) << "for " << pasted;
    EXPECT_EQ("您输入有误，请复制准确日志或说说的准确链接", Shown(ids::标签_提示)) << "for " << pasted;
    EXPECT_EQ("kept", ClipboardText()) << "for " << pasted;
  }
}

TEST_F(Conversion, OpeningAndClosingTheQrWindowLeavesNoObjectsBehind) {
  convert("http://user.qzone.qq.com/12345/blog/678");
  auto openAndClose = [&] {
    Click(ids::按钮_转换1);
    lw::Unit* qr = lw::FindLiveUnit(ids::QrWindow, 0);
    ASSERT_NE(nullptr, qr);
    SendMessageA(HWND(qr->hwnd), WM_CLOSE, 0, 0);
    ASSERT_EQ(nullptr, lw::FindLiveUnit(ids::QrWindow, 0));
  };
  for (int i = 0; i < 5; ++i) openAndClose();  // whatever is made once per process
  lw::testing::ObjectCounts before = lw::testing::CountObjects();
  for (int i = 0; i < 500; ++i) ASSERT_NO_FATAL_FAILURE(openAndClose());
  lw::testing::ObjectCounts after = lw::testing::CountObjects();
  EXPECT_EQ(500 + 5, lw::testing::g_qrWindowsCreated);
  // Flat: a leak would show once per window, 500 times; the system itself may keep
  // a cached object or two of its own.
  EXPECT_LE(after.gdi, before.gdi + 4) << "GDI objects before and after 500 QR windows";
  EXPECT_EQ(before.user, after.user) << "icons and cursors before and after 500 QR windows";
  printf("objects before: gdi %d user %d; after 500 QR windows: gdi %d user %d\n", before.gdi, before.user,
         after.gdi, after.user);
}

TEST_F(Conversion, QrTriggerOpensTheQrWindowOnlyWithAnAddressShown) {
  Click(ids::按钮_转换1);
  EXPECT_EQ("输入有误，请检查！", Shown(ids::标签_提示));
  EXPECT_EQ(nullptr, lw::FindLiveUnit(ids::QrWindow, 0));
  EXPECT_EQ(0, lw::testing::g_qrWindowsCreated);

  convert("http://user.qzone.qq.com/12345/blog/678");
  Click(ids::按钮_转换1);
  EXPECT_NE(nullptr, lw::FindLiveUnit(ids::QrWindow, 0));
  EXPECT_EQ(1, lw::testing::g_qrWindowsCreated);
  EXPECT_EQ(app::kBlogConverted, Shown(ids::标签_提示)) << "expected the status line untouched";
  // Open already: brought to the front, not created again (it fetches the picture
  // of the address shown once more; with no service reachable the picture is empty).
  lw::testing::InstallProgramDllTable();
  Click(ids::按钮_转换1);
  EXPECT_EQ(1, lw::testing::g_qrWindowsCreated);
  EXPECT_NE(nullptr, lw::FindLiveUnit(ids::QrWindow, 0));
}

}  // namespace
