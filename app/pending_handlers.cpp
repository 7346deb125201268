// Handlers whose behaviour is still being built: each answers nothing for now and
// moves to its own unit when that unit is written.
#include "app/handlers.h"

namespace app {

HandlerResult onStartWindowCreated(int, const uint32_t*) { return {0, 0}; }
HandlerResult onQrWindowCreated(int, const uint32_t*) { return {0, 0}; }
HandlerResult onFetchFeedClicked(int, const uint32_t*) { return {0, 0}; }

}  // namespace app
