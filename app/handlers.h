// The application's event handlers, one per binding in the window templates. Each
// is called with the event's arguments and gives back no result.
#pragma once
#include "runtime/ui/windows/events.h"

namespace app {

using lw::HandlerResult;

HandlerResult onStartWindowCreated(int argc, const uint32_t* args);  // the update check
HandlerResult onQrWindowCreated(int argc, const uint32_t* args);     // the QR display
HandlerResult onConvertClicked(int argc, const uint32_t* args);      // 按钮_转换
HandlerResult onQrTriggerClicked(int argc, const uint32_t* args);    // 按钮_转换1
HandlerResult onFetchFeedClicked(int argc, const uint32_t* args);    // 获取
HandlerResult onListClicked(int argc, const uint32_t* args);         // 超级列表框日志
HandlerResult onMenuItemChosen(int argc, const uint32_t* args);      // 生成链接
HandlerResult onListRowActivated(int argc, const uint32_t* args);    // Enter on a row of 超级列表框日志

}  // namespace app
