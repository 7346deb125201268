// The conversion's handlers and builders: they read and write the start window's
// controls and the clipboard in the application's own words.
#include "app/link_conversion.h"

#include "app/controls_win.h"
#include "app/handlers.h"
#include "app/program_state.h"
#include "runtime/core/values/owned_block.h"
#include "runtime/core/values/values.h"

namespace app {
namespace {

// Shows an address in 编辑框生成 (taking it over), puts exactly what the box then
// shows on the clipboard, and confirms in 标签_提示. When another program holds
// the clipboard the address stays shown and the user is told to copy it by hand.
void showAndCopy(lw::Text address, const char* copied, const char* notCopied) {
  showAddress(lw::OwnedText(address).get());
  setStatus(copyToClipboard(shownAddress().get()) ? copied : notCopied);
}

// The pasted address names no post: say so and show nothing; the clipboard keeps
// what it had.
void reportInputError() {
  setStatus(kInputError);
  showAddress(nullptr);
}

}  // namespace

void buildBlogAddress() {
  showAndCopy(blogShareAddress(g_state.ownerNumber, g_state.postId), kBlogConverted, kBlogCopyFailed);
}

void buildMoodAddress() {
  showAndCopy(moodShareAddress(g_state.ownerNumber, g_state.postId), kMoodConverted, kMoodCopyFailed);
}

HandlerResult onConvertClicked(int, const uint32_t*) {
  PastedPost post = readPastedAddress(pastedAddress().get());
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
  lw::OwnedText owner(typedQqNumber());
  if (lw::IsEmptyText(owner.get()) || lw::IsEmptyText(g_state.postId)) setStatus(kCheckInput);
  else showAndCopy(blogShareAddress(owner.get(), g_state.postId), kBlogConverted, kBlogCopyFailed);
  return {0, 0};
}

}  // namespace app
