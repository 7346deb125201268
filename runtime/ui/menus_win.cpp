#include "runtime/ui/menus_win.h"

#include <string>
#include <vector>

#include "runtime/ui/events.h"
#include "runtime/ui/units_win.h"
#include "runtime/ui/window_table.h"
#include "runtime/ui/window_unit_win.h"

namespace lw {
namespace {

// The 77 shortcut keys a menu item may name: key, modifiers and the name shown
// after the caption.
struct ShortcutKey {
  BYTE modifiers;
  WORD key;
  const char* name;
};

ShortcutKey shortcutAt(int index) {
  static ShortcutKey table[78];
  static bool made = false;
  if (!made) {
    static char names[78][16];
    int i = 1;
    auto add = [&](BYTE mod, WORD key, const char* prefix, const char* keyName) {
      snprintf(names[i], sizeof names[i], "%s%s", prefix, keyName);
      table[i] = {BYTE(FVIRTKEY | mod), key, names[i]};
      ++i;
    };
    char k[8];
    for (char c = 'A'; c <= 'Z'; ++c) snprintf(k, sizeof k, "%c", c), add(FCONTROL, WORD(c), "Ctrl+", k);
    for (int f = 1; f <= 12; ++f) snprintf(k, sizeof k, "F%d", f), add(0, WORD(VK_F1 + f - 1), "", k);
    for (int f = 1; f <= 12; ++f) snprintf(k, sizeof k, "F%d", f), add(FCONTROL, WORD(VK_F1 + f - 1), "Ctrl+", k);
    for (int f = 1; f <= 12; ++f) snprintf(k, sizeof k, "F%d", f), add(FSHIFT, WORD(VK_F1 + f - 1), "Shift+", k);
    add(0, VK_INSERT, "", "Ins");
    add(0, VK_DELETE, "", "Del");
    add(FCONTROL, VK_INSERT, "Ctrl+", "Ins");
    add(FCONTROL, VK_DELETE, "Ctrl+", "Del");
    add(FSHIFT, VK_INSERT, "Shift+", "Ins");
    add(FSHIFT, VK_DELETE, "Shift+", "Del");
    add(FALT, VK_BACK, "Alt+", "Backspace");
    for (char c = '0'; c <= '7'; ++c) snprintf(k, sizeof k, "%c", c), add(FCONTROL, WORD(c), "Ctrl+", k);
    made = true;
  }
  return index >= 1 && index <= 77 ? table[index] : ShortcutKey{0, 0, nullptr};
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
        AppendMenuA(menu, flags | MF_POPUP, UINT_PTR(sub), captionOf(u).c_str());
    } else if (!hidden) {
      AppendMenuA(menu, flags, entries[i].command, captionOf(u).c_str());
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
  if (!accels.empty()) *accelerators = CreateAcceleratorTableA(accels.data(), int(accels.size()));
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
