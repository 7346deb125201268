// The application's frame: the handler table the window templates bind to, and the
// ids of both windows' units.
#pragma once
#include <array>
#include <cstdint>

#include "app/handlers.h"
#include "app/window_definition.h"

namespace app {


// The handler table, in the slot order of the window definition. Its address is the
// code base of the program information block.
using HandlerTable = std::array<lw::EventHandler, app::kHandlerSlotCount>;
extern const HandlerTable kHandlerTable;

// One row of the handler table as it is written: the slot it fills and the handler
// that fills it, or Empty(slot) for a slot left empty on purpose. A row without a
// handler that is not marked Empty, or a slot without a row, does not compile
// (EverySlotFilled, asserted where the table is written).
struct HandlerRow {
  app::HandlerSlot slot;
  lw::EventHandler handler;
  bool empty;
};
constexpr HandlerRow Fill(app::HandlerSlot slot, lw::EventHandler handler) { return {slot, handler, false}; }
constexpr HandlerRow Empty(app::HandlerSlot slot) { return {slot, nullptr, true}; }

// True when row k fills slot k, for every slot, with a handler or marked Empty.
template <size_t N> constexpr bool EverySlotFilled(const HandlerRow (&rows)[N]) {
  if (N != size_t(app::kHandlerSlotCount)) return false;
  for (size_t k = 0; k < N; ++k)
    if (size_t(rows[k].slot) != k || (rows[k].handler == nullptr && !rows[k].empty)) return false;
  return true;
}

// The table the rows describe.
template <size_t N> constexpr HandlerTable HandlerTableOf(const HandlerRow (&rows)[N]) {
  HandlerTable table{};
  for (size_t k = 0; k < N && k < table.size(); ++k) table[k] = rows[k].handler;
  return table;
}

}  // namespace app
