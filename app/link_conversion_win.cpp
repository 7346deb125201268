// The conversion's handlers and builders: they read and write the start window's
// controls by property number and reach the clipboard and window loading through
// the core library's commands.
#include "app/link_conversion.h"

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/qr_display.h"
#include "runtime/core/core_commands_win.h"
#include "runtime/core/owned_block.h"
#include "runtime/core/values.h"
#include "runtime/core/service_table.h"
#include "runtime/ui/window_system_win.h"

namespace app {
namespace {

// Shows an address in 编辑框生成 (taking it over), puts exactly what the box then
// shows on the clipboard, and confirms in 标签_提示. When another program holds
// the clipboard the address stays shown and the user is told to copy it by hand.
void showAndCopy(lw::Text address, const char* copied, const char* notCopied) {
  writeStartText(ids::编辑框生成, address);
  lw::kServices.freeMemory(address);
  lw::OwnedText shown(readStartText(ids::编辑框生成));
  lw::ArgRecord text = {lw::Word(uintptr_t(shown.get())), 0, lw::type::Text};
  lw::ResultRecord put = lw::kServices.callLibraryCommand(&lw::core::SetClipboardText, 1, &text);
  writeStartText(ids::标签_提示, put.low ? copied : notCopied);
}

// The pasted address names no post: say so and show nothing; the clipboard keeps
// what it had.
void reportInputError() {
  writeStartText(ids::标签_提示, kInputError);
  writeStartText(ids::编辑框生成, nullptr);
}

}  // namespace

void buildBlogAddress() {
  showAndCopy(blogShareAddress(g_state.ownerNumber, g_state.postId), kBlogConverted, kBlogCopyFailed);
}

void buildMoodAddress() {
  showAndCopy(moodShareAddress(g_state.ownerNumber, g_state.postId), kMoodConverted, kMoodCopyFailed);
}

HandlerResult onConvertClicked(int, const uint32_t*) {
  PastedPost post = readPastedAddress(lw::OwnedText(readStartText(ids::链接框)).get());
  switch (post) {
    case PastedPost::Blog: buildBlogAddress(); break;
    case PastedPost::Mood: buildMoodAddress(); break;
    case PastedPost::InputError: reportInputError(); break;
  }
  return {0, 0};
}

// 生成链接: the blog share address of the row the list click picked, for the QQ
// number typed in 编辑框QQ (ownerNumber stays as it is).
HandlerResult onMenuItemChosen(int, const uint32_t*) {
  lw::OwnedText owner(readStartText(ids::编辑框QQ));
  if (lw::IsEmptyText(owner.get()) || lw::IsEmptyText(g_state.postId)) writeStartText(ids::标签_提示, kCheckInput);
  else showAndCopy(blogShareAddress(owner.get(), g_state.postId), kBlogConverted, kBlogCopyFailed);
  return {0, 0};
}

// 显示二维码: opens the QR window (or brings it to the front) when an address is
// shown; the window fetches its image itself when it is created.
HandlerResult onQrTriggerClicked(int, const uint32_t*) {
  if (lw::IsEmptyText(lw::OwnedText(readStartText(ids::编辑框生成)).get())) {
    writeStartText(ids::标签_提示, kCheckInput);
    return {0, 0};
  }
  lw::ArgRecord args[3] = {
      {ids::QrWindow, ids::QrWindowUnit, lw::type::WindowUnit},  // the window to load
      {0, 0, lw::type::None},                                    // no parent window
      {0, 0, lw::type::Logical},                                 // not modal
  };
  // An open QR window is only brought forward by loading it, so it is first given
  // the picture of the address shown now; a new one fetches its own when created.
  lw::ResultRecord open = lw::kServices.callLibraryCommand(&lw::commands::IsWindowLoaded, 1, args);
  if (open.low) showQrPicture();
  lw::kServices.callLibraryCommand(&lw::commands::LoadWindow, 3, args);
  return {0, 0};
}

}  // namespace app
