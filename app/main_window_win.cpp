// The application's handler table, and the start window's list click, which picks
// the post id of the selected row and pops up the menu "生成识别连接" right under
// the mouse cursor.
//
// The table sits with the platform side of the application so that the static
// link finds every handler it names, wherever that handler lives.
#include "app/main_window.h"
#include "app/program_state.h"
#include "runtime/core/core_commands_win.h"
#include "runtime/core/owned_block.h"
#include "runtime/core/service_table.h"
#include "runtime/ui/list_view_commands_win.h"
#include "runtime/ui/window_system_win.h"

namespace app {

namespace {
namespace slot = lw::program;
constexpr HandlerRow kHandlerRows[] = {
    Fill(slot::kUpdateCheckHandler, &onStartWindowCreated),
    Fill(slot::kQrDisplayHandler, &onQrWindowCreated),
    Fill(slot::kConvertHandler, &onConvertClicked),
    Fill(slot::kQrTriggerHandler, &onQrTriggerClicked),
    Fill(slot::kFeedListHandler, &onFetchFeedClicked),
    Fill(slot::kListClickHandler, &onListClicked),
    Fill(slot::kMenuItemHandler, &onMenuItemChosen),
};
static_assert(EverySlotFilled(kHandlerRows), "every handler slot, in slot order, has a handler or is marked Empty");
}  // namespace

constexpr HandlerTable kHandlerTable = HandlerTableOf(kHandlerRows);
static_assert(sizeof kHandlerTable == lw::program::kHandlerTableBytes, "the table is exactly its slots");
static_assert(sizeof(lw::EventHandler) == lw::program::kHandlerSlotBytes, "a handler slot holds one routine address");

namespace {

// Column 1 of the list holds the post id ("ID").
constexpr int32_t kIdColumn = 1;

int32_t mouseCoordinate(lw::LibraryCommand command) {
  return int32_t(lw::kServices.callLibraryCommand(command, 0, nullptr).low);
}

}  // namespace

// A left click in 超级列表框日志, on a row or on empty space: the output box is
// cleared, postId becomes the "ID" of the selected row (empty when none is
// selected) and the menu opens at exactly the cursor's position.
HandlerResult onListClicked(int, const uint32_t*) {
  writeStartText(ids::编辑框生成, nullptr);
  int32_t row =
      int32_t(lw::kServices.readProperty(ids::StartWindow, ids::超级列表框日志, lw::list_view_prop::CurrentItem, -1));
  lw::ArgRecord item[3] = {
      {ids::StartWindow, ids::超级列表框日志, lw::type::ListViewUnit},
      {lw::Word(row), 0, lw::type::Int},
      {lw::Word(kIdColumn), 0, lw::type::Int},
  };
  lw::ResultRecord id = lw::kServices.callUnitCommand(&lw::commands::GetItemText, 3, item, 2);
  lw::ReplaceBlock(&g_state.postId, reinterpret_cast<lw::Text>(id.low));

  int32_t x = mouseCoordinate(&lw::core::MouseX);
  int32_t y = mouseCoordinate(&lw::core::MouseY);
  lw::ArgRecord menu[4] = {
      {ids::StartWindow, ids::StartWindowUnit, lw::type::WindowUnit},
      {ids::StartWindow, ids::生成识别连接, lw::type::MenuUnit},
      {lw::Word(x), 0, lw::type::Int},
      {lw::Word(y), 0, lw::type::Int},
  };
  lw::kServices.callLibraryCommand(&lw::commands::PopupMenu, 4, menu);
  return {0, 0};
}

}  // namespace app
