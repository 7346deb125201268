// ReadProperty and WriteProperty: a property named by window id, unit id and
// number, answered from the live window or from the record, and converted by the
// property's value kind.
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/runtime_error.h"
#include "runtime/core/values/values.h"
#include "runtime/ui/kinds/look_win.h"
#include "runtime/ui/kinds/window_win.h"
#include "runtime/ui/properties/access_win.h"
#include "runtime/ui/properties/values.h"
#include "runtime/ui/scale/display_scale.h"
#include "runtime/ui/scale/display_scale_win.h"
#include "runtime/ui/windows/cursors_win.h"
#include "runtime/ui/windows/loader_win.h"
#include "runtime/ui/windows/menus_win.h"
#include "runtime/ui/windows/table.h"
#include "runtime/ui/windows/units_win.h"

namespace lw {
namespace {

struct Target {
  WindowRecord* window;
  UnitRecord* unit;
};

Target find(uint32_t windowId, uint32_t unitId) {
  WindowRecord* w = FindLoadedWindow(windowId);
  if (!w) ReportFatalError(error_text::WindowOfUnitNotLoaded, 0);
  UnitRecord* u = unitId == 0 ? UnitRecordAt(*w, 0) : FindUnitRecord(*w, unitId);
  if (!u) ReportFatalError(error_text::UnitNotLoaded, 0);
  return {w, u};
}

uint64_t pointerResult(const void* p) { return uint64_t(uintptr_t(p)); }

Text newText(const std::string& s) { return s.empty() ? nullptr : MakeText(s.data(), s.size()); }

// Font blocks keep their pixel heights in 96-DPI units (the unit's window scales
// them when it makes the font), so points and heights convert at 96 at every scale.
constexpr int32_t kFontPixelsPerInch = kBaseDpi;

LogFontRecord fontOf(const std::vector<uint8_t>& block) {
  LogFontRecord f;
  if (block.size() >= sizeof f) {
    memcpy(&f, block.data(), sizeof f);
  } else {
    // The default font's record, its face name as a GBK text. The font was made
    // for the screen's scale at start; its record is in 96-DPI units like any other.
    LOGFONTW lf = {};
    GetObjectW(DefaultUnitFont(), sizeof lf, &lf);
    memcpy(&f, &lf, offsetof(LOGFONTW, lfFaceName));
    f.height = DefaultFontPixelsToUnits(lf.lfHeight);
    f.width = DefaultFontPixelsToUnits(lf.lfWidth);
    memset(f.faceName, 0, sizeof f.faceName);
    const std::string face = Gbk(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
    memcpy(f.faceName, face.data(), face.size() < sizeof f.faceName ? face.size() : sizeof f.faceName - 1);
  }
  f.faceName[31] = 0;
  return f;
}

// The window rectangle of a live unit in its parent's client coordinates (screen
// coordinates for a top-level window), in 96-DPI units as the program sees it.
RECT placement(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  HWND parent = (GetWindowLongW(h, GWL_STYLE) & WS_CHILD) ? GetParent(h) : nullptr;
  if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const ScaledBox b = BoxToUnits(h, {r.left, r.top, r.right - r.left, r.bottom - r.top});
  return {b.left, b.top, b.left + b.width, b.top + b.height};
}

// Moves and sizes a live unit to a rectangle of 96-DPI units.
void place(HWND h, const RECT& r, UINT flags) {
  const ScaledBox b = BoxToPixels(h, {r.left, r.top, r.right - r.left, r.bottom - r.top});
  SetWindowPos(h, nullptr, b.left, b.top, b.width, b.height, flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

uint64_t readCommon(UnitRecord* u, Unit* live, int number) {
  HWND h = live ? HWND(live->hwnd) : nullptr;
  switch (number) {
    case unit_prop::Left: case unit_prop::Top: case unit_prop::Width: case unit_prop::Height: {
      // The four numbers run in this order, so the number indexes the geometry.
      if (!h) {
        int32_t v[] = {u->left, u->top, u->width, u->height};
        return uint32_t(v[number - unit_prop::Left]);
      }
      RECT r = placement(h);
      int32_t v[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
      return uint32_t(v[number - unit_prop::Left]);
    }
    case unit_prop::Tag: return pointerResult(newText(u->tag));
    case unit_prop::Visible: return h ? (IsWindowVisible(h) ? 1 : 0) : ((u->state & unit_state::Visible) ? 1 : 0);
    case unit_prop::Disabled: return h ? (IsWindowEnabled(h) ? 0 : 1) : ((u->state & unit_state::Disabled) ? 1 : 0);
    case unit_prop::MousePointer: return pointerResult(MakeByteSet(u->mousePointer.data(), u->mousePointer.size()));
    default: return 0;
  }
}

void setFlag(uint32_t* state, uint32_t bit, bool on) { *state = on ? (*state | bit) : (*state & ~bit); }

void writeCommon(WindowRecord* w, UnitRecord* u, Unit* live, int number, Word low) {
  HWND h = live ? HWND(live->hwnd) : nullptr;
  int32_t v = int32_t(low);
  switch (number) {
    case unit_prop::Left: case unit_prop::Top: {
      v = ClampPosition(v);
      (number == unit_prop::Left ? u->left : u->top) = v;
      if (h) {
        RECT r = placement(h);
        int x = number == unit_prop::Left ? v : r.left, y = number == unit_prop::Top ? v : r.top;
        place(h, {x, y, x, y}, SWP_NOSIZE);
      }
      break;
    }
    case unit_prop::Width: case unit_prop::Height: {
      v = ClampExtent(v);
      (number == unit_prop::Width ? u->width : u->height) = v;
      if (h) {
        RECT r = placement(h);
        int cx = number == unit_prop::Width ? v : r.right - r.left;
        int cy = number == unit_prop::Height ? v : r.bottom - r.top;
        place(h, {0, 0, cx, cy}, SWP_NOMOVE);
      }
      break;
    }
    case unit_prop::Tag: {
      const char* t = reinterpret_cast<const char*>(low);
      u->tag = t ? t : "";
      break;
    }
    case unit_prop::Visible: {
      bool on = v != 0;
      setFlag(&u->state, unit_state::Visible, on);
      if (!h) break;
      if (!on) {
        ShowWindow(h, SW_HIDE);
      } else if (u == &w->units[0]) {
        CompleteFirstShowing(w);
      } else {
        const UnitTypeInfo* type = FindUnitType(u->typeId);
        if (!(type && (type->flags & type_flag::NeverVisible))) ShowWindow(h, SW_SHOWNOACTIVATE);
      }
      break;
    }
    case unit_prop::Disabled:
      setFlag(&u->state, unit_state::Disabled, v != 0);
      if (h) EnableWindow(h, v == 0);
      break;
    case unit_prop::MousePointer: {
      auto* b = reinterpret_cast<const ByteSetHeader*>(low);
      if (b)
        u->mousePointer.assign(byteSetData(b), byteSetData(b) + b->length);
      else
        u->mousePointer.clear();
      ReleaseUnitCursor(&u->cursor);
      u->cursor = MakeUnitCursor(u->mousePointer.data(), u->mousePointer.size());
      if (h) {
        POINT p;
        GetCursorPos(&p);
        SetCursorPos(p.x, p.y);
      }
      break;
    }
    default: break;
  }
}

uint64_t readMenuItem(UnitRecord* u, int number) {
  switch (number) {
    case menu_item_prop::Caption: return pointerResult(newText(u->menu.caption));
    case menu_item_prop::Checked: return (u->menu.state & menu_state::Checked) ? 1 : 0;
    case menu_item_prop::Disabled: return (u->menu.state & menu_state::Disabled) ? 1 : 0;
    case menu_item_prop::Visible: return (u->menu.state & menu_state::Hidden) ? 0 : 1;
    default: return 0;
  }
}

void writeMenuItem(WindowRecord* w, UnitRecord* u, int number, Word low) {
  bool changed = false;
  uint32_t before = u->menu.state;
  switch (number) {
    case menu_item_prop::Caption: {
      const char* t = reinterpret_cast<const char*>(low);
      std::string text = t ? t : "";
      if (text != u->menu.caption) {
        u->menu.caption = text;
        changed = true;
      }
      break;
    }
    case menu_item_prop::Checked: setFlag(&u->menu.state, menu_state::Checked, low != 0); break;
    case menu_item_prop::Disabled: setFlag(&u->menu.state, menu_state::Disabled, low != 0); break;
    case menu_item_prop::Visible: setFlag(&u->menu.state, menu_state::Hidden, low == 0); break;
    default: break;
  }
  if (changed || before != u->menu.state) RefreshMenuBar(w->id);
}

}  // namespace

uint64_t ReadUnitProperty(uint32_t windowId, uint32_t unitId, int number, int element) {
  Target t = find(windowId, unitId);
  if (t.unit->menuItem) return readMenuItem(t.unit, number);
  Unit* live = LiveUnit(t.unit);
  if (number >= 0 && number < kFirstOwnProperty) return readCommon(t.unit, live, number);
  if (!live) ReportFatalError(error_text::WindowNotLoaded, 0);
  int own = OwnPropertyIndex(number);
  uint16_t kind = OwnPropertyKind(live->type, own);
  UnitGetProperty get = RoutinesOf(live->type).getProperty;
  PropertyValue v;
  if (!get || !get(live, own, &v)) return 0;
  switch (ClassOfValueKind(kind)) {
    case ValueClass::Integer: case ValueClass::Choice: case ValueClass::Colour: return uint32_t(v.i);
    case ValueClass::Wide: return v.wide;
    case ValueClass::Logical: return uint32_t(ReadLogical(v.i));
    case ValueClass::Data: case ValueClass::MousePointer:
      return pointerResult(MakeByteSet(v.data.data(), v.data.size()));
    case ValueClass::Font: {
      LogFontRecord f = fontOf(v.data);
      const int32_t ppi = kFontPixelsPerInch;
      if (element == font_element::FaceName) return pointerResult(newText(f.faceName));
      if (element >= 0) return uint32_t(GetFontElement(f, element, ppi));
      auto* obj = static_cast<FontObject*>(AllocMemory(sizeof(FontObject)));
      obj->angle = f.escapement;
      obj->bold = GetFontElement(f, font_element::Bold, ppi);
      obj->italic = f.italic ? 1 : 0;
      obj->strikeOut = f.strikeOut ? 1 : 0;
      obj->underline = f.underline ? 1 : 0;
      obj->size = GetFontElement(f, font_element::Size, ppi);
      obj->faceName = newText(f.faceName);
      return pointerResult(obj);
    }
    case ValueClass::Text: return pointerResult(newText(v.text));
  }
  return 0;
}

void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int number, int element, Word low, Word high) {
  Target t = find(windowId, unitId);
  if (t.unit->menuItem) return writeMenuItem(t.window, t.unit, number, low);
  Unit* live = LiveUnit(t.unit);
  if (number >= 0 && number < kFirstOwnProperty) return writeCommon(t.window, t.unit, live, number, low);
  if (!live) ReportFatalError(error_text::WindowNotLoaded, 0);
  int own = OwnPropertyIndex(number);
  uint16_t kind = OwnPropertyKind(live->type, own);
  PropertyValue v;
  switch (ClassOfValueKind(kind)) {
    case ValueClass::Integer: case ValueClass::Colour: v.i = int32_t(low); break;
    case ValueClass::Wide: v.wide = (uint64_t(uint32_t(high)) << 32) | uint32_t(low); break;
    case ValueClass::Logical: v.i = WriteLogical(int32_t(low)); break;
    case ValueClass::Choice: v.i = WriteChoice(int32_t(low)); break;
    case ValueClass::Data: case ValueClass::MousePointer: {
      auto* b = reinterpret_cast<const ByteSetHeader*>(low);
      if (b) v.data.assign(byteSetData(b), byteSetData(b) + b->length);
      break;
    }
    case ValueClass::Font: {
      // A single element changes the current font; element -1 replaces it whole.
      UnitGetProperty get = RoutinesOf(live->type).getProperty;
      PropertyValue current;
      if (get) get(live, own, &current);
      LogFontRecord f = fontOf(current.data);
      const int32_t ppi = kFontPixelsPerInch;
      if (element == font_element::FaceName) {
        SetFontFaceName(&f, reinterpret_cast<const char*>(low));
      } else if (element >= 0) {
        SetFontElement(&f, element, int32_t(low), ppi);
      } else {
        auto* obj = reinterpret_cast<const FontObject*>(low);
        if (!obj) return;
        SetFontElement(&f, font_element::Angle, obj->angle, ppi);
        SetFontElement(&f, font_element::Bold, obj->bold, ppi);
        SetFontElement(&f, font_element::Italic, obj->italic, ppi);
        SetFontElement(&f, font_element::StrikeOut, obj->strikeOut, ppi);
        SetFontElement(&f, font_element::Underline, obj->underline, ppi);
        SetFontElement(&f, font_element::Size, obj->size, ppi);
        SetFontFaceName(&f, obj->faceName);
      }
      v.data.assign(reinterpret_cast<const uint8_t*>(&f), reinterpret_cast<const uint8_t*>(&f) + sizeof f);
      break;
    }
    case ValueClass::Text: {
      const char* text = reinterpret_cast<const char*>(low);
      v.text = text ? text : "";
      break;
    }
  }
  UnitSetProperty set = RoutinesOf(live->type).setProperty;
  if (!set) return;
  if (set(live, own, v) == 1 && t.unit != &t.window->units[0]) {
    live = LiveUnit(t.unit);
    if (live) RecreateUnit(t.window, t.unit, live);
  }
}

}  // namespace lw
