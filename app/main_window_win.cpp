// The application's handler table; the start window's creation, which gives its
// unlabelled controls the names the window definition holds and then checks for an
// update; and the start window's list click, which picks
// the post id of the selected row and pops up the menu "生成识别连接" right under
// the mouse cursor (or under the row, when the keyboard asked for the menu), and
// Enter on a selected row, which does what the menu's item does.
//
// The table sits with the platform side of the application so that the static
// link finds every handler it names, wherever that handler lives.
#include "app/controls_win.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/update_notice.h"
#include "runtime/core/values/owned_block.h"

namespace app {

namespace {
constexpr HandlerRow kHandlerRows[] = {
    Fill(slot::onStartWindowCreated, &onStartWindowCreated),
    Fill(slot::onQrWindowCreated, &onQrWindowCreated),
    Fill(slot::onConvertClicked, &onConvertClicked),
    Fill(slot::onQrTriggerClicked, &onQrTriggerClicked),
    Fill(slot::onFetchFeedClicked, &onFetchFeedClicked),
    Fill(slot::onListClicked, &onListClicked),
    Fill(slot::onMenuItemChosen, &onMenuItemChosen),
    Fill(slot::onListRowActivated, &onListRowActivated),
};
static_assert(EverySlotFilled(kHandlerRows), "every handler slot, in slot order, has a handler or is marked Empty");
}  // namespace

constexpr HandlerTable kHandlerTable = HandlerTableOf(kHandlerRows);
static_assert(sizeof kHandlerTable == app::kHandlerTableBytes, "the table is exactly its slots");
static_assert(sizeof(lw::EventHandler) == app::kHandlerSlotBytes, "a handler slot holds one routine address");

HandlerResult onStartWindowCreated(int, const uint32_t*) {
  nameUnlabelledControls();
  checkForUpdate();
  return {0, 0};
}

// A left click in 超级列表框日志, on a row or on empty space: the output box is
// cleared, postId becomes the "ID" of the selected row (empty when none is
// selected) and the menu opens at exactly the cursor's position. The menu key or
// Shift+F10 on a selected row comes the same way, with the point under the row
// where its menu opens instead.
HandlerResult onListClicked(int argc, const uint32_t* args) {
  showAddress(nullptr);
  lw::ReplaceBlock(&g_state.postId, rowId(selectedRow()).release());
  const bool fromKeyboard = argc >= 2 && args;
  popUpRowMenu(fromKeyboard ? ScreenPoint{int32_t(args[0]), int32_t(args[1])} : mousePosition());
  return {0, 0};
}

// Enter on a selected row of 超级列表框日志: what choosing 生成链接 from the row's
// menu does, without the menu.
HandlerResult onListRowActivated(int argc, const uint32_t* args) {
  lw::ReplaceBlock(&g_state.postId, rowId(selectedRow()).release());
  return onMenuItemChosen(argc, args);
}

}  // namespace app
