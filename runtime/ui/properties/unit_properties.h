// The property blocks of the unit kinds: each kind's own properties as a record,
// with their defaults, and one routine pair per kind that reads and writes the
// block. The template writer, the creation of a unit and a unit's serialise
// operation all go through these same routines. Next to each record are the
// numbers of the kind's properties and events, as handlers and the property
// services name them. Pure.
//
// A block begins with a version word; a version above the kind's maximum, or
// fields that run past the block's end, reject the block. An empty block leaves
// every property at its default.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "runtime/ui/properties/template_format.h"

namespace lw {

// Colour value standing for the system's button-face colour.
constexpr uint32_t kDefaultColour = 0xFF000000;

using Bytes = std::vector<uint8_t>;

// ---- Property and event numbers every kind shares -----------------------------------
//
// A property is named by its number. Numbers 0-7 mean the same for every kind with
// a window of its own and are answered by the property services themselves; a
// kind's own properties are numbered from kFirstOwnProperty on, and its get and set
// routines receive them as an own index counted from there (own index 0 is
// property 8). Menu items have a numbering of their own from 0.
//
// An event is named by its number as well: the focus events below are raised by
// every kind with a window, the others are each kind's own (next to its record).

namespace unit_prop {
enum : int32_t {
  Left = 0,
  Top = 1,
  Width = 2,
  Height = 3,
  Tag = 4,
  Visible = 5,
  Disabled = 6,
  MousePointer = 7,
};
}  // namespace unit_prop

constexpr int32_t kFirstOwnProperty = 8;
// The property number of a kind's own index, and back.
constexpr int32_t OwnPropertyNumber(int32_t ownIndex) { return kFirstOwnProperty + ownIndex; }
constexpr int32_t OwnPropertyIndex(int32_t number) { return number - kFirstOwnProperty; }

namespace menu_item_prop {
enum : int32_t {
  Caption = 0,
  Checked = 1,
  Disabled = 2,
  Visible = 3,
};
}  // namespace menu_item_prop

namespace unit_event {
enum : int32_t {
  FocusGained = -7,
  FocusLost = -8,
};
}  // namespace unit_event

// A menu item raises one event; its handler is the item's own, whatever the number.
namespace menu_item_event {
enum : int32_t {
  Chosen = 0,
};
}  // namespace menu_item_event

// ---- The kinds -------------------------------------------------------------------------
//
// Each field's property number, place in the block and first version are in the
// kind's table (kind_tables.h). A property marked "stored" has no effect in
// this program: it is kept so that a block reads back as written, and a
// handler reads back what it wrote. A stored field whose meaning is not known is
// named by its place in the block, counted from 0 after the version word (the place
// column of the kind's table): `wordAt1` is the integer at place 1.

struct WindowProps {
  int32_t border = 2;                 // 0-6, 2 fixed frame
  int32_t wordAt1 = 1;                // stored
  uint32_t backColour = kDefaultColour;
  int32_t maxButton = 0;
  int32_t minButton = 1;
  int32_t controlBox = 1;
  int32_t startPosition = 1;          // 0 stored, 1 centred, 2 minimised, 3 maximised
  int32_t closable = 1;
  int32_t wordAt8 = 0;                // stored
  int32_t wordAt9 = 0;                // stored
  int32_t wordAt10 = 1;               // stored
  int32_t wordAt11 = 0;               // stored
  int32_t wordAt12 = 0;               // stored
  int32_t wordAt13 = 1;               // stored
  int32_t wordAt14 = 0;               // stored
  int32_t wordAt15 = 0;               // stored
  int32_t alwaysOnTop = 0;
  int32_t wordAt17 = 0;               // stored
  std::string className;              // empty: "JVWindow"
  Bytes backPicture;
  Bytes blockAt20;                    // stored
  Bytes blockAt21;                    // stored
  std::string caption;
  std::string textAt23;               // stored
};

namespace window_prop {
enum : int32_t {
  Caption = 8,
  Border = 9,
  BackColour = 10,
  BackPicture = 11,
  WordAt1 = 12,
  BlockAt21 = 13,
  WordAt8 = 14,
  ControlBox = 15,
  MaxButton = 16,
  MinButton = 17,
  StartPosition = 18,
  Closable = 19,
  BlockAt20 = 20,
  WordAt9 = 21,
  WordAt10 = 22,
  WordAt11 = 23,
  TextAt23 = 24,
  WordAt12 = 25,
  WordAt13 = 26,
  WordAt14 = 27,
  WordAt15 = 28,
  AlwaysOnTop = 29,
  WordAt17 = 30,
  ClassName = 31,
  Last = ClassName,
};
}  // namespace window_prop

namespace window_event {
enum : int32_t {
  Created = 0,     // after creation, before the first showing
  QueryClose = 1,  // may the window close? a present 0 says no; also when the session ends
  Destroying = 2,
  Moved = 3,
  Resized = 4,
  Idle = 7,               // argument: milliseconds idle; a non-zero answer asks for more
  QueryWindowClose = 12,  // asked before QueryClose when the window itself is closed
};
}  // namespace window_event

struct LabelProps {
  int32_t textEffect = 0;             // 0-3
  int32_t gradientBorderWidth = 8;    // at least 5
  int32_t border = 0;                 // 0-6, 6 gradient border
  uint32_t gradientBorderColours[3] = {0x808080, 0xFFFFFF, 0x808080};
  uint32_t textColour = 0;
  uint32_t backColour = kDefaultColour;
  int32_t pictureMode = 1;            // 0-2
  int32_t gradientBackground = 0;     // 0 none, 1-8 a style
  uint32_t gradientColours[3] = {0x808080, 0xFFFFFF, 0x808080};
  int32_t hAlign = 0;                 // 0 left, 1 centre, 2 right
  int32_t vAlign = 1;                 // 0 top, 1 centre, 2 bottom
  int32_t wordWrap = 0;
  Bytes font;                         // 60-byte logical font, empty default
  Bytes picture;
  std::string caption;
  std::string extraText1;             // stored
  std::string extraText2;             // stored
};

namespace label_prop {
enum : int32_t {
  Caption = 8,
  TextEffect = 9,
  Border = 10,
  GradientBorderWidth = 11,
  GradientBorderColour1 = 12,
  GradientBorderColour2 = 13,
  GradientBorderColour3 = 14,
  Font = 15,
  TextColour = 16,
  BackColour = 17,
  Picture = 18,
  PictureMode = 19,
  GradientBackground = 20,
  GradientColour1 = 21,
  GradientColour2 = 22,
  GradientColour3 = 23,
  HAlign = 24,
  WordWrap = 25,
  VAlign = 26,
  ExtraText1 = 27,
  ExtraText2 = 28,
  Last = ExtraText2,
};
}  // namespace label_prop

struct EditProps {
  int32_t border = 1;                 // 0-5
  uint32_t textColour = 0;
  uint32_t backColour = 0xFFFFFF;
  int32_t hideSelection = 1;
  int32_t maxLength = 0;              // 0 platform default
  int32_t multiLine = 0;
  int32_t scrollBars = 0;             // 0 none, 1 h, 2 v, 3 both
  int32_t alignment = 0;
  int32_t inputMode = 0;              // 0 normal, 1 read-only, 2 password, 3-11
  uint16_t maskChar = '*';            // a 16-bit field
  int32_t caseConversion = 0;
  int32_t spinMode = 0;
  int32_t spinLower = 0;
  int32_t spinUpper = 100;
  int32_t selStart = 0;
  int32_t selLength = 0;
  Bytes font;
  std::string text;
  std::string extraText1;             // stored
  std::string extraText2;             // stored
};

namespace edit_prop {
enum : int32_t {
  Text = 8,
  Border = 9,
  TextColour = 10,
  BackColour = 11,
  Font = 12,
  HideSelection = 13,
  MaxLength = 14,
  MultiLine = 15,
  ScrollBars = 16,
  Alignment = 17,
  InputMode = 18,
  MaskChar = 19,
  CaseConversion = 20,
  SpinMode = 21,
  SpinLower = 22,
  SpinUpper = 23,
  SelStart = 24,
  SelLength = 25,
  SelText = 26,  // the selected text; writing it replaces the selection
  ExtraText1 = 27,
  ExtraText2 = 28,
  Last = ExtraText2,
};
}  // namespace edit_prop

namespace edit_event {
enum : int32_t {
  Changed = 0,  // the content changed: typed by the user or written as Text
};
}  // namespace edit_event

struct PicBoxProps {
  int32_t border = 0;                 // 0-5
  uint32_t backColour = kDefaultColour;
  int32_t displayMode = 0;            // 0 natural, 1 stretched, 2 fitted and centred
  int32_t animate = 0;
  Bytes picture;
  std::string extraText1;             // stored
  std::string extraText2;             // stored
};

namespace pic_box_prop {
enum : int32_t {
  Border = 8,
  BackColour = 9,
  Picture = 10,
  DisplayMode = 11,
  Animate = 12,
  ExtraText1 = 13,
  ExtraText2 = 14,
  Last = ExtraText2,
};
}  // namespace pic_box_prop

struct GroupBoxProps {
  int32_t captionAlign = 0;
  uint32_t textColour = 0;
  uint32_t backColour = kDefaultColour;
  Bytes font;
  std::string caption;
};

namespace group_box_prop {
enum : int32_t {
  Caption = 8,
  CaptionAlign = 9,
  TextColour = 10,
  BackColour = 11,
  Font = 12,
  Last = Font,
};
}  // namespace group_box_prop

struct ButtonProps {
  int32_t defaultButton = 0;
  int32_t hAlign = 1;
  int32_t vAlign = 1;
  Bytes picture;
  Bytes font;
  std::string caption;
};

namespace button_prop {
enum : int32_t {
  Picture = 8,
  DefaultButton = 9,
  Caption = 10,
  HAlign = 11,
  VAlign = 12,
  Font = 13,
  Last = Font,
};
}  // namespace button_prop

namespace button_event {
enum : int32_t {
  Clicked = 0,
};
}  // namespace button_event

struct ListViewColumn {
  bool imageRight = false;  // the column image drawn right of the header text
  int32_t image = -1;       // -1 none
  int32_t alignment = 0;    // 0 left, 1 centre, 2 right
  int32_t width = 0;
  std::string header;
};

struct ListViewProps {
  int32_t border = 1;
  uint32_t textColour = 0;
  uint32_t textBackColour = 0xFFFFFF;
  uint32_t backColour = 0xFFFFFF;
  int32_t viewType = 3;               // 0 icons, 1 small icons, 2 list, 3 report
  int32_t iconAlign = 0;
  int32_t autoArrange = 1;
  int32_t labelWrap = 1;
  int32_t hideHeaders = 0;
  int32_t clickableHeaders = 1;
  int32_t fullRowSelect = 0;
  int32_t gridLines = 0;
  int32_t headerDragDrop = 0;
  int32_t hotTracking = 0;
  int32_t handCursor = 1;
  int32_t underlineCold = 1;
  int32_t underlineHot = 1;
  int32_t labelEdit = 0;
  int32_t sorting = 0;
  int32_t checkBoxes = 0;
  int32_t flatScrollBars = 0;
  int32_t singleSelection = 1;
  int32_t currentItem = -1;
  int32_t alwaysShowSelection = 0;
  Bytes font;
  Bytes headerImages;
  Bytes itemImages;
  std::vector<ListViewColumn> columns;  // stored as a byte block
  Bytes stateImages;
  Bytes reserved37;                   // a byte block whose meaning is unknown; stored only
};

namespace list_view_prop {
enum : int32_t {
  Border = 8,
  TextColour = 9,
  TextBackColour = 10,
  BackColour = 11,
  Font = 12,
  ViewType = 13,
  IconAlign = 14,
  AutoArrange = 15,
  LabelWrap = 16,
  Columns = 17,
  HideHeaders = 18,
  HeaderImages = 19,
  ClickableHeaders = 20,
  FullRowSelect = 21,
  GridLines = 22,
  HeaderDragDrop = 23,
  ItemImages = 24,
  StateImages = 25,
  HotTracking = 26,
  HandCursor = 27,
  UnderlineCold = 28,
  UnderlineHot = 29,
  LabelEdit = 30,
  Sorting = 31,
  CheckBoxes = 32,
  FlatScrollBars = 33,
  SingleSelection = 34,
  CurrentItem = 35,  // the first selected item, -1 none
  AlwaysShowSelection = 36,
  Reserved37 = 37,
  Last = Reserved37,
};
}  // namespace list_view_prop

// Arguments in parentheses, in the order the handler receives them.
namespace list_view_event {
enum : int32_t {
  CurrentItemChanged = 0,  // an item became the focused item
  ItemActivated = 1,
  ColumnClicked = 2,  // (column)
  KeyDown = 3,        // (virtual key)
  Clicked = 4,  // (); from the menu key or Shift+F10 on a selected row: (x, y) for its menu
  RightClicked = 5,
  LabelEditStarting = 6,  // (item); a present 0 keeps editing from beginning
  LabelEditEnded = 7,     // (item); a present 0 rejects the new text
  CheckToggled = 8,       // (item, 1 checked or 0)
};
}  // namespace list_view_event

// Per-kind routines. Decode starts from the defaults and reads the block that `in`
// spans (empty: defaults); false with the failure in `in`. Encode writes the
// kind's highest version.
bool DecodeWindowProps(ByteReader& in, WindowProps* out);
void EncodeWindowProps(const WindowProps& p, ByteWriter& out);
bool DecodeLabelProps(ByteReader& in, LabelProps* out);
void EncodeLabelProps(const LabelProps& p, ByteWriter& out);
bool DecodeEditProps(ByteReader& in, EditProps* out);
void EncodeEditProps(const EditProps& p, ByteWriter& out);
bool DecodePicBoxProps(ByteReader& in, PicBoxProps* out);
void EncodePicBoxProps(const PicBoxProps& p, ByteWriter& out);
bool DecodeGroupBoxProps(ByteReader& in, GroupBoxProps* out);
void EncodeGroupBoxProps(const GroupBoxProps& p, ByteWriter& out);
bool DecodeButtonProps(ByteReader& in, ButtonProps* out);
void EncodeButtonProps(const ButtonProps& p, ByteWriter& out);
bool DecodeListViewProps(ByteReader& in, ListViewProps* out);
void EncodeListViewProps(const ListViewProps& p, ByteWriter& out);

// The column list byte block of a list view: entries until the block ends.
bool DecodeListViewColumns(const Bytes& block, std::vector<ListViewColumn>* out);
bool EncodeListViewColumns(const std::vector<ListViewColumn>& columns, Bytes* block);

// Any kind's properties.
using UnitProps = std::variant<std::monostate, WindowProps, LabelProps, EditProps, PicBoxProps, GroupBoxProps,
                               ButtonProps, ListViewProps>;

// Type flags of the kinds' type records.
namespace type_flag {
constexpr uint32_t MenuItem = 0x04;
constexpr uint32_t IsWindow = 0x10;       // never re-created
constexpr uint32_t HasWindow = 0x40;      // the unit has a window of its own
constexpr uint32_t MovesChildren = 0x80;  // re-creation moves the child windows
constexpr uint32_t Container = 0x100;
constexpr uint32_t NeverVisible = 0x8000;
constexpr uint32_t NotifiesParent = 0x100000;  // a kind whose parent would hear of its re-creation; no kind here has it
}  // namespace type_flag

struct PropertyDescriptor;
struct UnitKindRoutines;

// One row per unit kind, in the one table of kinds (runtime/ui/kinds/table.cpp):
// how its type is named and flagged, its block routines, its own properties'
// descriptors and, in the Windows build, the routines of its windows.
struct UnitKind {
  uint32_t typeId;
  const char* typeName;     // name in its library's type table
  const char* englishName;
  uint32_t flags;
  int32_t maxVersion;       // highest block version accepted; -1: the kind has no block
  bool (*decode)(ByteReader& in, UnitProps* out);         // null: no block
  void (*encode)(const UnitProps& p, ByteWriter& out);    // null: no block
  const PropertyDescriptor* properties;                   // own properties, by number
  uint32_t propertyCount;
  const UnitKindRoutines* routines;                       // null in the native build
};

extern const UnitKind kUnitKinds[];
extern const size_t kUnitKindCount;
const UnitKind* FindUnitKind(uint32_t typeId);

// Decodes a unit's block by its type id. `used` (optional) tells how many bytes of
// the block the fields took.
bool DecodeUnitProperties(uint32_t typeId, const uint8_t* data, size_t size, UnitProps* out, const char** reason,
                          size_t* used = nullptr);
// Encodes properties as a block of the kind `typeId`; false when the kind has no
// block or `p` holds another kind's properties.
bool EncodeUnitProperties(uint32_t typeId, const UnitProps& p, Bytes* out, const char** reason = nullptr);

}  // namespace lw
