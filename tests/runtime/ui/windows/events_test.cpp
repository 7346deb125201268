// Event lookup and delivery through the window records.
#include "runtime/ui/windows/events.h"

#include <gtest/gtest.h>

#include "runtime/ui/windows/table.h"
#include "tests/support/fatal_trap.h"
#include "tests/support/template_builder.h"

namespace lw {
namespace {

using testing::Bind;
using testing::MakeMenuItem;
using testing::MakeUnit;
using testing::MakeWindow;

constexpr uint32_t kWin = 0x52000001, kOwn = 0x06000001, kButton = 0x16000002, kButton2 = 0x16000003,
                   kEdit = 0x16000004, kMenu = 0x26000005, kLabel = 0x16000006;

// Numbers that are no kind's event, for the lookup alone: one bound to no handler,
// one bound to nothing, and any number at all (a menu item's handler takes every
// event; a label raises none).
constexpr int32_t kBoundToNoHandler = 5, kUnboundEvent = 7, kAnyEvent = 99;

int g_calls[4];
uint32_t g_lastArgs[5];
int g_lastArgc;
EventContext g_seenContext;

HandlerResult handler0(int argc, const uint32_t* args) {
  ++g_calls[0];
  g_lastArgc = argc;
  for (int i = 0; i < argc && i < 5; ++i) g_lastArgs[i] = args[i];
  g_seenContext = CurrentEvent();
  return {0, 0};
}
HandlerResult handler1(int, const uint32_t*) {
  ++g_calls[1];
  return {1, 0};  // a cancelling answer
}
HandlerResult handler2(int, const uint32_t*) {
  ++g_calls[2];
  return {1, 42};
}
// Raises another event from inside its own and notes the context it then reads.
EventContext g_contextAfterNested;
HandlerResult handler3(int, const uint32_t*) {
  FireUnitEvent(kWin, kEdit, edit_event::Changed);
  g_contextAfterNested = CurrentEvent();
  return {0, 0};
}
const EventHandler kHandlers[] = {&handler0, &handler1, &handler2, &handler3};
constexpr int32_t kSlot = int32_t(sizeof(EventHandler));
constexpr int32_t kSlots = int32_t(sizeof kHandlers / kSlot);

struct Events : ::testing::Test {
  void SetUp() override {
    memset(g_calls, 0, sizeof g_calls);
    WindowRecord w = MakeWindow(
        kWin, kOwn, "events",
        {Bind(window_event::Created, 0), Bind(window_event::QueryClose, 1), Bind(window_event::Destroying, 3)});
    // Two bindings for the click: only the first counts.
    w.units.push_back(
        MakeUnit(kButton, unit_type::Button, 0, 0, 10, 10,
                 {Bind(button_event::Clicked, 2), Bind(button_event::Clicked, 0), Bind(kBoundToNoHandler, -1)}));
    UnitRecord usesOther = MakeUnit(kButton2, unit_type::Button, 0, 0, 10, 10, {Bind(button_event::Clicked, 0)});
    usesOther.eventSource = kButton;  // same type: takes kButton's bindings
    w.units.push_back(usesOther);
    UnitRecord otherType = MakeUnit(kEdit, unit_type::EditBox, 0, 0, 10, 10, {Bind(edit_event::Changed, 0)});
    otherType.eventSource = kButton;  // another type: keeps its own
    w.units.push_back(otherType);
    w.units.push_back(MakeMenuItem(kMenu, 0, 0, "item", 1));
    UnitRecord label = MakeUnit(kLabel, unit_type::Label, 0, 0, 10, 10, {Bind(kAnyEvent, 0)});
    w.units.push_back(label);
    std::vector<uint8_t> section = testing::WriteSection({w});
    ASSERT_TRUE(ReadLoadedWindows(section.data(), section.size(), uintptr_t(kHandlers), sizeof kHandlers));
  }
  void TearDown() override {
    ClearLoadedWindows();
    while (EventSuspension() > 0) ResumeEvents();
  }
};

TEST_F(Events, FirstOfTwoBindingsIsCalledWithItsResult) {
  int32_t result = 0;
  EXPECT_TRUE(FireUnitEvent(kWin, kButton, button_event::Clicked, &result));
  EXPECT_EQ(result, 42);
  EXPECT_EQ(g_calls[2], 1);
  EXPECT_EQ(g_calls[0], 0);
}

TEST_F(Events, UnboundEventsAndNoHandlerAreSilent) {
  EventRequest r = {kWin, kButton, kUnboundEvent, 0, {}, 0, 0};
  EXPECT_EQ(RaiseEvent(&r), 0);
  r.event = kBoundToNoHandler;  // stored -1
  EXPECT_EQ(RaiseEvent(&r), 0);
  EXPECT_EQ(r.resultPresent, 0u);
}

TEST_F(Events, OwnUnitAsZeroArgumentsAndContext) {
  EventRequest r = {kWin, 0, window_event::Created, 2, {7, 9}, 0, 0};
  EXPECT_EQ(RaiseEvent(&r), 1);
  EXPECT_EQ(r.resultPresent, 0u) << "the handler returned no result";
  EXPECT_EQ(g_lastArgc, 2);
  EXPECT_EQ(g_lastArgs[1], 9u);
  EXPECT_EQ(g_seenContext.windowId, kWin);
  EXPECT_EQ(g_seenContext.unitId, kOwn) << "unit id 0 stands for the window's own unit";
  EXPECT_EQ(CurrentEvent().windowId, 0u) << "cleared once the handler returned";
}

TEST_F(Events, ANestedEventLeavesTheOuterHandlersContext) {
  g_contextAfterNested = {};
  FireUnitEvent(kWin, kOwn, window_event::Destroying);
  EXPECT_EQ(g_calls[0], 1) << "expected the nested event delivered";
  EXPECT_EQ(g_seenContext.unitId, kEdit);
  EXPECT_EQ(g_contextAfterNested.windowId, kWin) << "expected the outer event back after the nested one";
  EXPECT_EQ(g_contextAfterNested.unitId, kOwn);
  EXPECT_EQ(CurrentEvent().windowId, 0u);
}

TEST_F(Events, CancellableEventCountsAsCancelledOnlyForAPresentZero) {
  EXPECT_TRUE(FireCancellableEvent(kWin, kOwn, window_event::QueryClose));
  EXPECT_FALSE(FireCancellableEvent(kWin, kOwn, window_event::Created));
  EXPECT_FALSE(FireCancellableEvent(kWin, kButton, button_event::Clicked)) << "42 does not cancel";
}

TEST_F(Events, EventSourceChainOnlyWithinTheSameType) {
  FireUnitEvent(kWin, kButton2, button_event::Clicked);
  EXPECT_EQ(g_calls[2], 1) << "kButton2 uses kButton's bindings";
  FireUnitEvent(kWin, kEdit, edit_event::Changed);
  EXPECT_EQ(g_calls[0], 1) << "an edit box keeps its own bindings";
}

TEST_F(Events, MenuItemHasOneHandlerForAnyEvent) {
  FireUnitEvent(kWin, kMenu, menu_item_event::Chosen);
  FireUnitEvent(kWin, kMenu, kAnyEvent);
  EXPECT_EQ(g_calls[1], 2);
}

TEST_F(Events, SuspensionKeepsEveryEventAwayAndNeverGoesNegative) {
  SuspendEvents();
  SuspendEvents();
  ResumeEvents();
  EXPECT_FALSE(FireUnitEvent(kWin, kButton, button_event::Clicked));
  ResumeEvents();
  ResumeEvents();
  EXPECT_EQ(EventSuspension(), 0);
  EXPECT_TRUE(FireUnitEvent(kWin, kButton, button_event::Clicked));
}

TEST_F(Events, TypedArgumentsBecomeWordsBySlotRules) {
  TypedEventRequest r = {};
  r.windowId = kWin;
  r.unitId = kOwn;
  r.event = window_event::Created;
  r.argc = 4;
  r.args[0] = {0x1FF, 0x80000101, 0};               // byte: low 8 bits
  r.args[1] = {0xFFFF, 0x80000201, 0};              // short: sign-extended
  r.args[2] = {0x0000000200000001ull, 0x80000601, 0};  // double: both words
  r.args[3] = {0x0000000500000004ull, 0x80000301, 1};  // by reference: first word
  EXPECT_EQ(RaiseTypedEvent(&r), 1);
  ASSERT_EQ(g_lastArgc, 5);
  EXPECT_EQ(g_lastArgs[0], 0xFFu);
  EXPECT_EQ(g_lastArgs[1], 0xFFFFFFFFu);
  EXPECT_EQ(g_lastArgs[2], 1u);
  EXPECT_EQ(g_lastArgs[3], 2u);
  EXPECT_EQ(g_lastArgs[4], 4u);
}

TEST_F(Events, UnknownWindowUnitAndInvalidUnitAreFatal) {
  testing::FatalTrap trap;
  EventRequest r = {0x52FFFFFF, 0, window_event::Created, 0, {}, 0, 0};
  try {
    RaiseEvent(&r);
    ADD_FAILURE();
  } catch (const testing::FatalError& e) {
    EXPECT_STREQ(e.what(), "未找到引发事件的窗口");
  }
  r.windowId = kWin;
  r.unitId = 0x16FFFFFF;
  try {
    RaiseEvent(&r);
    ADD_FAILURE();
  } catch (const testing::FatalError& e) {
    EXPECT_STREQ(e.what(), "未找到引发事件的窗口组件");
  }
}

}  // namespace
}  // namespace lw

namespace lw {
namespace {

TEST(EventTable, AHandlerEntryThatIsNoWholeSlotOfTheTableRejectsTheSection) {
  struct Case {
    int32_t entry;
    bool accepted;
    const char* why;
  };
  const Case cases[] = {
      {0, true, "the first slot"},
      {(kSlots - 1) * kSlot, true, "the last slot"},
      {kSlots * kSlot, false, "just past the table"},
      {kSlot / 2, false, "between two slots: an address of two halves"},
      {kSlots * kSlot - 1, false, "the table's last byte: a slot would run past it"},
      {-2, false, "negative, and not the no-handler mark"},
  };
  for (const Case& c : cases) {
    WindowRecord w = testing::MakeWindow(kWin, kOwn, "entry", {testing::Bind(window_event::Created, 0)});
    w.units[0].events[0].entry = c.entry;
    std::vector<uint8_t> section = testing::WriteSection({w});
    ClearLoadedWindows();
    EXPECT_EQ(c.accepted, ReadLoadedWindows(section.data(), section.size(), uintptr_t(kHandlers), sizeof kHandlers))
        << c.why;
    EXPECT_EQ(c.accepted, !LoadedWindows().windows.empty()) << c.why;
  }
  // A table too small for one slot holds no handler at all.
  WindowRecord w = testing::MakeWindow(kWin, kOwn, "entry", {testing::Bind(window_event::Created, 0)});
  std::vector<uint8_t> section = testing::WriteSection({w});
  EXPECT_FALSE(ReadLoadedWindows(section.data(), section.size(), uintptr_t(kHandlers), kSlot - 1));
  ClearLoadedWindows();
}

}  // namespace
}  // namespace lw
