// A test window for the control kinds: one window built from unit records (as the
// template writer would store them), loaded through the real loader, with a
// handler table whose slots count the events they receive.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"
#include "runtime/ui/properties/access_win.h"
#include "runtime/ui/windows/events.h"
#include "runtime/ui/windows/loader_win.h"
#include "runtime/ui/windows/system_win.h"
#include "runtime/ui/windows/table.h"
#include "runtime/ui/windows/units_win.h"
#include "tests/runtime/ui/window_capture_win.h"
#include "tests/support/template_builder.h"

namespace lw::testing {

constexpr uint32_t kHostWindow = 0x52000100, kHostOwnUnit = 0x06000101;
constexpr int kHandlerSlots = 8;

// What each handler slot has seen.
struct HandlerLog {
  int calls[kHandlerSlots] = {};
  std::vector<uint32_t> lastArgs[kHandlerSlots];
  int32_t answer[kHandlerSlots] = {};  // result given back when answerPresent
  bool answerPresent[kHandlerSlots] = {};
};
inline HandlerLog& Log() {
  static HandlerLog log;
  return log;
}

template <int Slot>
HandlerResult countingHandler(int argc, const uint32_t* args) {
  HandlerLog& log = Log();
  ++log.calls[Slot];
  log.lastArgs[Slot].assign(args, args + argc);
  return {log.answerPresent[Slot] ? 1 : 0, log.answer[Slot]};
}

inline const EventHandler* HandlerTable() {
  static const EventHandler table[kHandlerSlots] = {
      &countingHandler<0>, &countingHandler<1>, &countingHandler<2>, &countingHandler<3>,
      &countingHandler<4>, &countingHandler<5>, &countingHandler<6>, &countingHandler<7>};
  return table;
}

struct ControlHost : ::testing::Test {
  void SetUp() override {
    InstallWindowSystem();
    Log() = HandlerLog{};
  }
  void TearDown() override {
    DestroyAllWindows();
    ClearLoadedWindows();
    PumpMessages(2);
  }

  // Loads a 460 × 340 window holding `units` (record order: front to back).
  HWND Load(std::vector<UnitRecord> units, int width = 460, int height = 340) {
    // A window of an earlier load goes first: left alive without its record, it
    // would raise events for a window the table no longer has.
    DestroyAllWindows();
    ClearLoadedWindows();
    WindowRecord w = MakeWindow(kHostWindow, kHostOwnUnit, "control host");
    w.units[0].width = width;
    w.units[0].height = height;
    for (auto& u : units) w.units.push_back(std::move(u));
    section = WriteSection({w});
    if (!ReadLoadedWindows(section.data(), section.size(), uintptr_t(HandlerTable()), kHandlerSlots * sizeof(EventHandler))) return nullptr;
    if (!LoadWindowById(kHostWindow, nullptr, false)) return nullptr;
    HWND h = Hwnd(kHostOwnUnit);
    SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PumpMessages(4);
    return h;
  }

  static Unit* UnitOf(uint32_t unitId) { return FindLiveUnit(kHostWindow, unitId); }
  static HWND Hwnd(uint32_t unitId) {
    Unit* u = UnitOf(unitId);
    return u ? HWND(u->hwnd) : nullptr;
  }

  // Property services as application code calls them.
  static int32_t ReadInt(uint32_t unitId, int number) {
    return int32_t(ReadUnitProperty(kHostWindow, unitId, number, -1));
  }
  static std::string ReadText(uint32_t unitId, int number) {
    auto* t = reinterpret_cast<char*>(uintptr_t(ReadUnitProperty(kHostWindow, unitId, number, -1)));
    std::string s = t ? t : "";
    FreeMemory(t);
    return s;
  }
  static void WriteInt(uint32_t unitId, int number, int32_t v) {
    WriteUnitProperty(kHostWindow, unitId, number, -1, Word(uint32_t(v)), 0);
  }
  static void WriteText(uint32_t unitId, int number, const char* text) {
    WriteUnitProperty(kHostWindow, unitId, number, -1, reinterpret_cast<Word>(text), 0);
  }
  static void WriteBytes(uint32_t unitId, int number, const std::vector<uint8_t>& bytes) {
    ByteSet b = MakeByteSet(bytes.data(), bytes.size());
    WriteUnitProperty(kHostWindow, unitId, number, -1, reinterpret_cast<Word>(b), 0);
    FreeMemory(b);
  }

  std::vector<uint8_t> section;
};

}  // namespace lw::testing
