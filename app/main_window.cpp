#include "app/main_window.h"

namespace app {

const lw::EventHandler kHandlerTable[lw::program::kHandlerSlotCount] = {
    &onStartWindowCreated,  // kUpdateCheckHandler
    &onQrWindowCreated,     // kQrDisplayHandler
    &onConvertClicked,      // kConvertHandler
    &onQrTriggerClicked,    // kQrTriggerHandler
    &onFetchFeedClicked,    // kFeedListHandler
    &onListClicked,         // kListClickHandler
    &onMenuItemChosen,      // kMenuItemHandler
};

}  // namespace app

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(lw::EventHandler) == lw::program::kHandlerSlotBytes, "a handler slot holds one routine address");
#endif
