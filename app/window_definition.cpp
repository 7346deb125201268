#include "app/window_definition.h"

#include <utility>
#include <vector>

#include "runtime/ui/kinds/table.h"

namespace app {

using namespace lw;

namespace {

struct Geometry {
  int32_t left, top, width, height;
};

constexpr uint32_t kNoParent = 0;
constexpr uint32_t kShown = unit_state::Visible;
constexpr uint32_t kShownTab = unit_state::Visible | unit_state::TabStop;
const Bytes kDefaults;  // an empty block: every property at its default

EventBinding On(int32_t event, HandlerSlot slot) {
  EventBinding e;
  e.event = event;
  e.entry = HandlerEntry(slot);
  return e;
}

// A unit as every unit of this program is stored: event source 0, no remark, no
// tag, and a pointer block holding pointer number 0 (the class cursor).
UnitRecord Unit(uint32_t id, uint32_t typeId, const char* name, Geometry g, uint32_t parentId, uint32_t state,
                std::vector<EventBinding> events, Bytes properties, std::vector<uint32_t> children = {}) {
  UnitRecord u;
  u.id = id;
  u.typeId = typeId;
  u.name = name;
  u.left = g.left;
  u.top = g.top;
  u.width = g.width;
  u.height = g.height;
  u.parentId = parentId;
  u.children = std::move(children);
  u.mousePointer = {0, 0, 0, 0};
  u.state = state;
  u.events = std::move(events);
  u.properties = std::move(properties);
  return u;
}

UnitRecord MenuItem(uint32_t id, int32_t level, uint32_t state, const char* caption, int32_t entry) {
  UnitRecord u;
  u.id = id;
  u.typeId = unit_type::MenuItem;
  u.menuItem = true;
  u.menu.level = level;
  u.menu.state = state;
  u.menu.caption = caption;
  u.menu.entry = entry;
  return u;
}

// A property block written by the kind's own encoder.
Bytes Block(uint32_t typeId, UnitProps props) {
  Bytes b;
  EncodeUnitProperties(typeId, props, &b);
  return b;
}

WindowRecord Window(uint32_t id, uint32_t moduleId) {
  WindowRecord w;
  w.id = id;
  w.reserved = id & 0xFFFFFF;  // the window's serial; nothing reads it
  w.moduleId = moduleId;
  return w;
}

// The three labels share everything but caption and text colour.
Bytes LabelBlock(const char* caption, uint32_t textColour = 0x000000) {
  LabelProps p;  // no effect or border, picture mode 1, left and vertically centred
  p.caption = caption;
  p.textColour = textColour;
  return Block(unit_type::Label, p);
}

// The three buttons: not default, caption centred both ways, no picture.
Bytes ButtonBlock(const char* caption) {
  ButtonProps p;
  p.defaultButton = 0;
  p.hAlign = 1;
  p.vAlign = 1;
  p.caption = caption;
  return Block(unit_type::Button, p);
}

WindowRecord QrWindow() {
  PicBoxProps picture;
  picture.border = 0;
  picture.displayMode = 1;  // stretched
  picture.animate = 1;

  WindowRecord w = Window(ids::QrWindow, ids::QrWindowModule);
  w.units = {
      Unit(ids::QrWindowUnit, unit_type::Window, "", {50, 50, 309, 312}, kNoParent, kShown,
           {On(window_event::Created, slot::onQrWindowCreated)}, kDefaults),
      Unit(ids::图片二维码, unit_type::PicBox, "图片二维码", {11, 4, kQrPictureBoxSide, kQrPictureBoxSide}, kNoParent, kShown, {},
           Block(unit_type::PicBox, picture)),
  };
  return w;
}

WindowRecord StartWindow(const char* caption) {
  WindowProps window;
  window.caption = caption;

  ListViewProps list;  // report view, headers shown and clickable, single selection
  list.border = 1;
  list.viewType = 3;
  list.currentItem = -1;
  list.columns = {
      {false, -1, 0, 250, "日志"},
      {false, -1, 0, 150, "ID"},
  };

  EditProps generated;
  generated.multiLine = 1;

  const uint32_t group = ids::分组框1;
  WindowRecord w = Window(ids::StartWindow, ids::StartWindowModule);
  w.units = {
      Unit(ids::StartWindowUnit, unit_type::Window, "", {50, 50, 400, 504}, kNoParent, kShown,
           {On(window_event::Created, slot::onStartWindowCreated)}, Block(unit_type::Window, window)),
      Unit(ids::标签1, unit_type::Label, "标签1", {16, 181, 32, 32}, group, kShown, {}, LabelBlock("QQ号：")),
      Unit(ids::获取, unit_type::Button, "获取", {237, 183, 104, 24}, group, kShownTab,
           {On(button_event::Clicked, slot::onFetchFeedClicked)}, ButtonBlock("获取")),
      Unit(ids::编辑框QQ, unit_type::EditBox, "编辑框QQ", {60, 182, 156, 24}, group, kShownTab, {}, kDefaults),
      Unit(ids::超级列表框日志, unit_type::ListView, "超级列表框日志", {8, 8, 368, 168}, group, kShownTab,
           {On(list_view_event::Clicked, slot::onListClicked), On(list_view_event::ItemActivated, slot::onListRowActivated)},
           Block(unit_type::ListView, list)),
      Unit(ids::分组框1, unit_type::GroupBox, "分组框1", {0, 232, 384, 216}, kNoParent, kShown, {}, kDefaults,
           {ids::标签1, ids::获取, ids::编辑框QQ, ids::超级列表框日志}),
      MenuItem(ids::生成识别连接, 0, menu_state::Hidden, "生成识别连接", kNoHandler),
      MenuItem(ids::生成链接, 1, 0, "生成链接", HandlerEntry(slot::onMenuItemChosen)),
      Unit(ids::按钮_转换1, unit_type::Button, "按钮_转换1", {192, 39, 144, 32}, kNoParent, kShownTab,
           {On(button_event::Clicked, slot::onQrTriggerClicked)}, ButtonBlock("显示二维码")),
      Unit(ids::标签_提示, unit_type::Label, "标签_提示", {24, 208, 320, 32}, kNoParent, kShown, {},
           LabelBlock("提示：", 0x0000FF)),
      Unit(ids::按钮_转换, unit_type::Button, "按钮_转换", {24, 38, 144, 32}, kNoParent, kShownTab,
           {On(button_event::Clicked, slot::onConvertClicked)}, ButtonBlock("生成识别链接")),
      Unit(ids::标签2, unit_type::Label, "标签2", {3, 7, 98, 24}, kNoParent, kShown, {},
           LabelBlock("说说或者日志地址")),
      Unit(ids::编辑框生成, unit_type::EditBox, "编辑框生成", {8, 80, 368, 128}, kNoParent, kShownTab, {},
           Block(unit_type::EditBox, generated)),
      Unit(ids::链接框, unit_type::EditBox, "链接框", {108, 8, 272, 24}, kNoParent, kShownTab, {}, kDefaults),
  };
  return w;
}

}  // namespace

WindowTemplate BuildProgramTemplate(const char* startCaption) {
  WindowTemplate t;
  t.windows.push_back(QrWindow());
  t.windows.push_back(StartWindow(startCaption ? startCaption : ""));
  return t;
}

const ReaderNaming kReaderNamings[] = {
    {ids::StartWindow, ids::编辑框生成, "识别链接"},
    {ids::StartWindow, ids::超级列表框日志, "日志列表"},
    {ids::StartWindow, ids::标签_提示, nullptr},
};
const size_t kReaderNamingCount = sizeof kReaderNamings / sizeof kReaderNamings[0];
const char kQrPictureReaderName[] = "二维码";

}  // namespace app
