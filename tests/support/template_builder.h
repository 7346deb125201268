// Small synthetic window templates for tests: windows, units and menu items built
// in memory and written with the section writer, as the build tool would.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/ui/kinds/table.h"
#include "runtime/ui/properties/template_format.h"

namespace lw::testing {

// A binding of `event` to slot `slot` of a handler table of routine pointers.
inline EventBinding Bind(int32_t event, int slot) {
  EventBinding b;
  b.event = event;
  b.entry = slot < 0 ? kNoHandler : int32_t(slot * sizeof(void*));
  return b;
}

inline std::vector<uint8_t> PropsBlock(uint32_t typeId, const UnitProps& props) {
  std::vector<uint8_t> block;
  EncodeUnitProperties(typeId, props, &block);
  return block;
}

inline UnitRecord MakeUnit(uint32_t id, uint32_t typeId, int left, int top, int width, int height,
                           std::vector<EventBinding> events = {}, std::vector<uint8_t> props = {},
                           uint32_t state = unit_state::Visible, uint32_t parentId = 0) {
  UnitRecord u;
  u.id = id;
  u.typeId = typeId;
  u.left = left;
  u.top = top;
  u.width = width;
  u.height = height;
  u.events = std::move(events);
  u.properties = std::move(props);
  u.state = state;
  u.parentId = parentId;
  u.mousePointer = {0, 0, 0, 0};
  return u;
}

inline UnitRecord MakeMenuItem(uint32_t id, int32_t level, uint32_t state, const char* caption, int slot) {
  UnitRecord u;
  u.id = id;
  u.typeId = unit_type::MenuItem;
  u.menuItem = true;
  u.menu.level = level;
  u.menu.state = state;
  u.menu.caption = caption;
  u.menu.entry = slot < 0 ? kNoHandler : int32_t(slot * sizeof(void*));
  return u;
}

// A window whose own unit is a window with the given caption.
inline WindowRecord MakeWindow(uint32_t windowId, uint32_t ownUnitId, const char* caption,
                               std::vector<EventBinding> events = {}, uint32_t state = unit_state::Visible) {
  WindowRecord w;
  w.id = windowId;
  w.moduleId = 0x19000000 | (windowId & 0xFFFFFF);
  WindowProps p;
  p.caption = caption;
  p.startPosition = 0;
  w.units.push_back(MakeUnit(ownUnitId, unit_type::Window, 40, 40, 300, 200, std::move(events),
                             PropsBlock(unit_type::Window, UnitProps(p)), state));
  return w;
}

inline std::vector<uint8_t> WriteSection(std::initializer_list<WindowRecord> windows) {
  WindowTemplate t;
  t.windows.assign(windows.begin(), windows.end());
  std::vector<uint8_t> out;
  const char* reason = nullptr;
  WriteWindowSection(t, &out, &reason);
  return out;
}

}  // namespace lw::testing
