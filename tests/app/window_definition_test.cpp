#include "app/window_definition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/ui/kinds/table.h"

namespace app {
using namespace lw;
namespace {

std::vector<uint8_t> Written(const char* caption) {
  std::vector<uint8_t> section;
  const char* reason = nullptr;
  EXPECT_TRUE(WriteWindowSection(BuildProgramTemplate(caption), &section, &reason)) << reason;
  return section;
}

TEST(WindowDefinition, TheCaptionIsWrittenOnceCountedAndUnpadded) {
  // Each byte of the start window's caption adds one byte to the section.
  const size_t bare = Written("").size();
  for (const std::string& caption : {std::string("Linkwright"), std::string(39, 'x')})
    EXPECT_EQ(Written(caption.c_str()).size(), bare + caption.size()) << "caption of " << caption.size() << " bytes";
}

TEST(WindowDefinition, RecordsServeWindowCreation) {
  WindowTemplate t = BuildProgramTemplate();
  const char* reason = nullptr;
  EXPECT_TRUE(CheckPropertyBlocks(t, &reason)) << reason;
  ASSERT_TRUE(FixUpHandlers(&t, 0x10000, kHandlerTableBytes, kHandlerSlotBytes, &reason)) << reason;

  WindowRecord* start = FindWindowRecord(t, ids::StartWindow);
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->units[0].id, ids::StartWindowUnit);
  EXPECT_EQ(start->units[0].events[0].handler, 0x10000u) << "the update check is the table's first slot";

  // The hidden menu entry and its item are found by id for the pop-up menu.
  UnitRecord* menu = FindUnitRecord(*start, ids::生成识别连接);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->menuItem);
  EXPECT_EQ(menu->menu.state & menu_state::Hidden, menu_state::Hidden);
  EXPECT_EQ(menu->menu.handler, 0u);
  UnitRecord* item = FindUnitRecord(*start, ids::生成链接);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->menu.handler, 0x10000u + HandlerEntry(slot::onMenuItemChosen));

  // The group box holds exactly the units that name it as parent.
  UnitRecord* group = FindUnitRecord(*start, ids::分组框1);
  ASSERT_NE(group, nullptr);
  std::vector<uint32_t> parented;
  for (const UnitRecord& u : start->units)
    if (!u.menuItem && u.parentId == ids::分组框1) parented.push_back(u.id);
  EXPECT_EQ(group->children, parented);

  // The caption the program reads back through the window kind's decoder.
  UnitProps props;
  const UnitRecord& own = start->units[0];
  ASSERT_TRUE(DecodeUnitProperties(own.typeId, own.properties.data(), own.properties.size(), &props, &reason));
  EXPECT_EQ(std::get<WindowProps>(props).caption, "Linkwright");

  WindowRecord* qr = FindWindowRecord(t, ids::QrWindow);
  ASSERT_NE(qr, nullptr);
  ASSERT_NE(FindUnitRecord(*qr, ids::图片二维码), nullptr);
  EXPECT_EQ(FindUnitRecord(*qr, ids::链接框), nullptr);
}

}  // namespace
}  // namespace app
