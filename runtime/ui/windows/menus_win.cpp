#include "runtime/ui/windows/menus_win.h"
#include "runtime/core/text/wide_text_win.h"

#include <string>
#include <vector>

#include "runtime/ui/kinds/window_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/table.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

// The shortcut keys a menu item may name by number, 1 first: modifiers, key and the
// name shown after the caption.
struct ShortcutKey {
  BYTE modifiers;
  WORD key;
  const char* name;
};

constexpr BYTE kPlain = FVIRTKEY, kCtrl = FVIRTKEY | FCONTROL, kShift = FVIRTKEY | FSHIFT, kAlt = FVIRTKEY | FALT;
const ShortcutKey kShortcutKeys[] = {
    {kCtrl, 'A', "Ctrl+A"}, {kCtrl, 'B', "Ctrl+B"}, {kCtrl, 'C', "Ctrl+C"}, {kCtrl, 'D', "Ctrl+D"},
    {kCtrl, 'E', "Ctrl+E"}, {kCtrl, 'F', "Ctrl+F"}, {kCtrl, 'G', "Ctrl+G"}, {kCtrl, 'H', "Ctrl+H"},
    {kCtrl, 'I', "Ctrl+I"}, {kCtrl, 'J', "Ctrl+J"}, {kCtrl, 'K', "Ctrl+K"}, {kCtrl, 'L', "Ctrl+L"},
    {kCtrl, 'M', "Ctrl+M"}, {kCtrl, 'N', "Ctrl+N"}, {kCtrl, 'O', "Ctrl+O"}, {kCtrl, 'P', "Ctrl+P"},
    {kCtrl, 'Q', "Ctrl+Q"}, {kCtrl, 'R', "Ctrl+R"}, {kCtrl, 'S', "Ctrl+S"}, {kCtrl, 'T', "Ctrl+T"},
    {kCtrl, 'U', "Ctrl+U"}, {kCtrl, 'V', "Ctrl+V"}, {kCtrl, 'W', "Ctrl+W"}, {kCtrl, 'X', "Ctrl+X"},
    {kCtrl, 'Y', "Ctrl+Y"}, {kCtrl, 'Z', "Ctrl+Z"},
    {kPlain, VK_F1, "F1"}, {kPlain, VK_F2, "F2"}, {kPlain, VK_F3, "F3"}, {kPlain, VK_F4, "F4"},
    {kPlain, VK_F5, "F5"}, {kPlain, VK_F6, "F6"}, {kPlain, VK_F7, "F7"}, {kPlain, VK_F8, "F8"},
    {kPlain, VK_F9, "F9"}, {kPlain, VK_F10, "F10"}, {kPlain, VK_F11, "F11"}, {kPlain, VK_F12, "F12"},
    {kCtrl, VK_F1, "Ctrl+F1"}, {kCtrl, VK_F2, "Ctrl+F2"}, {kCtrl, VK_F3, "Ctrl+F3"}, {kCtrl, VK_F4, "Ctrl+F4"},
    {kCtrl, VK_F5, "Ctrl+F5"}, {kCtrl, VK_F6, "Ctrl+F6"}, {kCtrl, VK_F7, "Ctrl+F7"}, {kCtrl, VK_F8, "Ctrl+F8"},
    {kCtrl, VK_F9, "Ctrl+F9"}, {kCtrl, VK_F10, "Ctrl+F10"}, {kCtrl, VK_F11, "Ctrl+F11"}, {kCtrl, VK_F12, "Ctrl+F12"},
    {kShift, VK_F1, "Shift+F1"}, {kShift, VK_F2, "Shift+F2"}, {kShift, VK_F3, "Shift+F3"},
    {kShift, VK_F4, "Shift+F4"}, {kShift, VK_F5, "Shift+F5"}, {kShift, VK_F6, "Shift+F6"},
    {kShift, VK_F7, "Shift+F7"}, {kShift, VK_F8, "Shift+F8"}, {kShift, VK_F9, "Shift+F9"},
    {kShift, VK_F10, "Shift+F10"}, {kShift, VK_F11, "Shift+F11"}, {kShift, VK_F12, "Shift+F12"},
    {kPlain, VK_INSERT, "Ins"}, {kPlain, VK_DELETE, "Del"}, {kCtrl, VK_INSERT, "Ctrl+Ins"},
    {kCtrl, VK_DELETE, "Ctrl+Del"}, {kShift, VK_INSERT, "Shift+Ins"}, {kShift, VK_DELETE, "Shift+Del"},
    {kAlt, VK_BACK, "Alt+Backspace"},
    {kCtrl, '0', "Ctrl+0"}, {kCtrl, '1', "Ctrl+1"}, {kCtrl, '2', "Ctrl+2"}, {kCtrl, '3', "Ctrl+3"},
    {kCtrl, '4', "Ctrl+4"}, {kCtrl, '5', "Ctrl+5"}, {kCtrl, '6', "Ctrl+6"}, {kCtrl, '7', "Ctrl+7"},
};
static_assert(sizeof kShortcutKeys / sizeof kShortcutKeys[0] == size_t(kShortcutKeyCount), "a row per number");

ShortcutKey shortcutAt(int index) {
  return index >= 1 && index <= kShortcutKeyCount ? kShortcutKeys[index - 1] : ShortcutKey{0, 0, nullptr};
}

struct MenuEntry {
  const UnitRecord* record;
  UINT command;
};

std::vector<MenuEntry> menuEntries(const WindowRecord& w) {
  std::vector<MenuEntry> out;
  UINT n = 0;
  for (const UnitRecord& u : w.units)
    if (u.menuItem) out.push_back({&u, kFirstMenuCommand + n++});
  return out;
}

std::string captionOf(const UnitRecord& u) {
  std::string text = u.menu.caption;
  ShortcutKey key = shortcutAt(u.menu.shortcut);
  if (key.name) text += std::string("\t") + key.name;
  return text;
}

// Appends entries[i..] deeper than `level` to `menu`; returns the index after them.
size_t fill(HMENU menu, const std::vector<MenuEntry>& entries, size_t i, int level, bool includeHidden,
            std::vector<ACCEL>* accels) {
  while (i < entries.size() && entries[i].record->menu.level > level) {
    const UnitRecord& u = *entries[i].record;
    size_t next = i + 1;
    bool hasChildren = next < entries.size() && entries[next].record->menu.level > u.menu.level;
    bool hidden = (u.menu.state & menu_state::Hidden) && !includeHidden;
    UINT flags = MF_STRING;
    if (u.menu.state & menu_state::Disabled) flags |= MF_GRAYED;
    if (u.menu.state & menu_state::Checked) flags |= MF_CHECKED;
    if (hasChildren) {
      HMENU sub = CreatePopupMenu();
      next = fill(sub, entries, next, u.menu.level, includeHidden, hidden ? nullptr : accels);
      if (hidden)
        DestroyMenu(sub);
      else
        AppendMenuW(menu, flags | MF_POPUP, UINT_PTR(sub), Wide(captionOf(u)).c_str());
    } else if (!hidden) {
      AppendMenuW(menu, flags, entries[i].command, Wide(captionOf(u)).c_str());
    }
    ShortcutKey key = shortcutAt(u.menu.shortcut);
    if (!hidden && key.name && accels) accels->push_back({key.modifiers, key.key, WORD(entries[i].command)});
    i = next;
  }
  return i;
}

}  // namespace

void BuildMenuBar(const WindowRecord& w, HMENU* bar, HACCEL* accelerators) {
  *bar = nullptr;
  *accelerators = nullptr;
  std::vector<MenuEntry> entries = menuEntries(w);
  if (entries.empty()) return;
  std::vector<ACCEL> accels;
  HMENU menu = CreateMenu();
  // Level-0 entries are the bar's items; fill() takes every entry deeper than -1.
  fill(menu, entries, 0, -1, false, &accels);
  if (GetMenuItemCount(menu) > 0) {
    *bar = menu;
  } else {
    DestroyMenu(menu);
  }
  if (!accels.empty()) *accelerators = CreateAcceleratorTableW(accels.data(), int(accels.size()));
}

HMENU BuildPopupMenu(const WindowRecord& w, uint32_t itemId) {
  std::vector<MenuEntry> entries = menuEntries(w);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].record->id != itemId) continue;
    HMENU popup = CreatePopupMenu();
    fill(popup, entries, i + 1, entries[i].record->menu.level, true, nullptr);
    return popup;
  }
  return nullptr;
}

void DeliverMenuCommand(uint32_t windowId, UINT command) {
  WindowRecord* w = FindLoadedWindow(windowId);
  if (!w) return;
  std::vector<MenuEntry> entries = menuEntries(*w);
  for (const MenuEntry& e : entries)
    if (e.command == command) {
      FireUnitEvent(windowId, e.record->id, menu_item_event::Chosen);
      return;
    }
}

void RefreshMenuBar(uint32_t windowId) {
  WindowRecord* w = FindLoadedWindow(windowId);
  if (!w || w->units.empty()) return;
  Unit* unit = LiveUnit(&w->units[0]);
  WindowUnitState* s = WindowStateOf(unit);
  if (!s) return;
  HMENU bar;
  HACCEL accel;
  BuildMenuBar(*w, &bar, &accel);
  HWND hwnd = HWND(unit->hwnd);
  HMENU old = GetMenu(hwnd);
  SetMenu(hwnd, bar);
  if (old) DestroyMenu(old);
  if (s->accelerators) DestroyAcceleratorTable(s->accelerators);
  s->menuBar = bar;
  s->accelerators = accel;
  DrawMenuBar(hwnd);
}

}  // namespace lw
