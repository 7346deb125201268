#include "runtime/ui/kinds/list_view_commands_win.h"
#include "runtime/core/text/wide_text_win.h"

#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <cstring>
#include <string>

#include "runtime/core/services/core_commands.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/runtime_error.h"
#include "runtime/core/values/values.h"
#include "runtime/ui/kinds/list_view_win.h"
#include "runtime/ui/windows/system_win.h"

namespace lw::commands {

namespace {

bool given(int argc, const ArgRecord* args, int i) { return i < argc && args[i].type != type::None; }

// An integer argument (a scalar passed by reference is read through its address);
// `fallback` when omitted or not a number.
int32_t intArg(int argc, const ArgRecord* args, int i, int32_t fallback) {
  if (!given(argc, args, i) || type::isArray(args[i].type)) return fallback;
  const ArgRecord& a = args[i];
  const TypeWord t = type::base(a.type);
  uint32_t bits = uint32_t(a.low);
  if (type::isByRef(a.type)) {
    const size_t size = type::valueSize(t);
    if (!a.low || size == 0 || size > 8) return fallback;
    uint64_t raw = 0;
    memcpy(&raw, reinterpret_cast<const void*>(a.low), size);
    bits = uint32_t(raw);
  }
  switch (t) {
    case type::Byte: return int32_t(uint8_t(bits));
    case type::Short: return int16_t(uint16_t(bits));
    case type::Int: case type::Long: case type::Logical: case type::SubPointer: return int32_t(bits);
    default: return fallback;
  }
}

// The live list view the first argument names.
Unit* listOf(int argc, const ArgRecord* args) {
  Unit* u = argc > 0 ? FindLiveUnit(uint32_t(args[0].low), uint32_t(args[0].high)) : nullptr;
  if (!ListViewWindowOf(u)) ReportFatalError(error_text::UnitNotLoaded, 0);
  return u;
}

void setInt(ResultRecord* r, int32_t v) {
  r->low = Word(uint32_t(v));
  r->high = 0;
}

}  // namespace

void InsertRow(ResultRecord* r, int argc, ArgRecord* args) {
  Unit* unit = listOf(argc, args);
  // Past the last row the list view appends, so the count need not be asked.
  int position = intArg(argc, args, 1, -1);
  if (position < 0) position = INT_MAX;
  const WideArgument text(given(argc, args, 2) ? core::TextArgument(args[2]) : "");
  int image = intArg(argc, args, 3, -1);
  if (image < -1) image = -1;

  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = position;
  item.pszText = text.get();
  if (image >= 0) {
    item.mask |= LVIF_IMAGE;
    item.iImage = image;
  }
  if (given(argc, args, 5)) {
    int indent = intArg(argc, args, 5, 0);
    item.mask |= LVIF_INDENT;
    item.iIndent = indent < 0 ? 0 : indent;
  }
  if (given(argc, args, 6)) {
    item.mask |= LVIF_PARAM;
    item.lParam = LPARAM(intArg(argc, args, 6, 0));
  }
  // Rows usually come in a burst from one handler: one repaint once it returns.
  HoldListViewRedraw(unit);
  int index = int(SendRowMessage(unit, LVM_INSERTITEMW, 0, LPARAM(&item)));
  if (index >= 0 && given(argc, args, 4)) SetListViewItemChecked(unit, index, intArg(argc, args, 4, 0) == 1);
  setInt(r, index);
}

void SetItemText(ResultRecord* r, int argc, ArgRecord* args) {
  Unit* unit = listOf(argc, args);
  const int index = intArg(argc, args, 1, -1);
  const WideArgument text(given(argc, args, 3) ? core::TextArgument(args[3]) : "");
  LVITEMW item = {};
  item.iSubItem = intArg(argc, args, 2, 0);
  item.pszText = text.get();
  if (index >= 0) SendRowMessage(unit, LVM_SETITEMTEXTW, WPARAM(index), LPARAM(&item));
  (void)r;
}

void GetItemText(ResultRecord* r, int argc, ArgRecord* args) {
  Unit* unit = listOf(argc, args);
  const int index = intArg(argc, args, 1, -1);
  std::wstring wide;
  if (index >= 0) {
    // Asks with a growing buffer until the text fits with room to spare.
    for (size_t size = 256; size <= (size_t(1) << 24); size *= 4) {
      wide.assign(size, L'\0');
      LVITEMW item = {};
      item.iSubItem = intArg(argc, args, 2, 0);
      item.pszText = &wide[0];
      item.cchTextMax = int(size);
      int n = int(SendRowMessage(unit, LVM_GETITEMTEXTW, WPARAM(index), LPARAM(&item)));
      if (n < 0) n = 0;
      wide.resize(wcsnlen(wide.c_str(), size_t(n) < size ? size_t(n) : size - 1));
      if (size_t(n) + 1 < size) break;
    }
  }
  const std::string text = Gbk(wide);
  setResultPointer(r, MakeText(text.data(), text.size()));
}

}  // namespace lw::commands
