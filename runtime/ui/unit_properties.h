// The property blocks of the unit kinds: each kind's own properties as a record,
// with their defaults, and one routine pair per kind that reads and writes the
// block. The template writer, the creation of a unit and a unit's serialise
// operation all go through these same routines. Pure.
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

#include "runtime/ui/template_format.h"

namespace lw {

// Colour value standing for the system's button-face colour.
constexpr uint32_t kDefaultColour = 0xFF000000;

using Bytes = std::vector<uint8_t>;

// Window (property numbers in comments). Words named by letter have no effect in
// this program; they are kept so that a block reads back as written.
struct WindowProps {
  int32_t border = 2;                 // 9: 0-6, 2 fixed frame
  int32_t wordA = 1;                  // 12
  uint32_t backColour = kDefaultColour;  // 10
  int32_t maxButton = 0;              // 16
  int32_t minButton = 1;              // 17
  int32_t controlBox = 1;             // 15
  int32_t startPosition = 1;          // 18: 0 stored, 1 centred, 2 minimised, 3 maximised
  int32_t closable = 1;               // 19
  int32_t wordF = 0;                  // 14
  int32_t wordG = 0;                  // 21
  int32_t wordH = 1;                  // 22
  int32_t wordI = 0;                  // 23
  int32_t wordJ = 0;                  // 25
  int32_t wordK = 1;                  // 26, version 2 on
  int32_t wordL = 0;                  // 27, version 3 on
  int32_t wordM = 0;                  // 28, version 3 on
  int32_t alwaysOnTop = 0;            // 29, version 4 on
  int32_t wordO = 0;                  // 30, version 5 on
  std::string className;              // 31, version 6; empty: "JVWindow"
  Bytes backPicture;                  // 11
  Bytes blockU;                       // 20
  Bytes blockV;                       // 13
  std::string caption;                // 8
  std::string textW;                  // 24
};

struct LabelProps {
  int32_t textEffect = 0;             // 9: 0-3
  int32_t gradientBorderWidth = 8;    // 11: at least 5
  int32_t border = 0;                 // 10: 0-6, 6 gradient border
  uint32_t gradientBorderColours[3] = {0x808080, 0xFFFFFF, 0x808080};  // 12-14
  uint32_t textColour = 0;            // 16
  uint32_t backColour = kDefaultColour;  // 17
  int32_t pictureMode = 1;            // 19: 0-2
  int32_t gradientBackground = 0;     // 20: 0 none, 1-8 a style
  uint32_t gradientColours[3] = {0x808080, 0xFFFFFF, 0x808080};  // 21-23
  int32_t hAlign = 0;                 // 24: 0 left, 1 centre, 2 right
  int32_t vAlign = 1;                 // 26: 0 top, 1 centre, 2 bottom
  int32_t wordWrap = 0;               // 25
  Bytes font;                         // 15: 60-byte logical font, empty default
  Bytes picture;                      // 18
  std::string caption;                // 8
  std::string text27, text28;         // version 2
};

struct EditProps {
  int32_t border = 1;                 // 9: 0-5
  uint32_t textColour = 0;            // 10
  uint32_t backColour = 0xFFFFFF;     // 11
  int32_t hideSelection = 1;          // 13
  int32_t maxLength = 0;              // 14: 0 platform default
  int32_t multiLine = 0;              // 15
  int32_t scrollBars = 0;             // 16: 0 none, 1 h, 2 v, 3 both
  int32_t alignment = 0;              // 17
  int32_t inputMode = 0;              // 18: 0 normal, 1 read-only, 2 password, 3-11
  uint16_t maskChar = '*';            // 19: a 16-bit field
  int32_t caseConversion = 0;         // 20
  int32_t spinMode = 0;               // 21
  int32_t spinLower = 0;              // 22
  int32_t spinUpper = 100;            // 23
  int32_t selStart = 0;               // 24
  int32_t selLength = 0;              // 25
  Bytes font;                         // 12
  std::string text;                   // 8
  std::string text27, text28;         // version 2
};

struct PicBoxProps {
  int32_t border = 0;                 // 8: 0-5
  uint32_t backColour = kDefaultColour;  // 9
  int32_t displayMode = 0;            // 11: 0 natural, 1 stretched, 2 fitted and centred
  int32_t animate = 0;                // 12
  Bytes picture;                      // 10
  std::string text13, text14;         // version 2
};

struct GroupBoxProps {
  int32_t captionAlign = 0;           // 9
  uint32_t textColour = 0;            // 10
  uint32_t backColour = kDefaultColour;  // 11
  Bytes font;                         // 12
  std::string caption;                // 8
};

struct ButtonProps {
  int32_t defaultButton = 0;          // 9
  int32_t hAlign = 1;                 // 11
  int32_t vAlign = 1;                 // 12
  Bytes picture;                      // 8
  Bytes font;                         // 13
  std::string caption;                // 10
};

struct ListViewColumn {
  bool imageRight = false;  // the column image drawn right of the header text
  int32_t image = -1;       // -1 none
  int32_t alignment = 0;    // 0 left, 1 centre, 2 right
  int32_t width = 0;
  std::string header;
};

struct ListViewProps {
  int32_t border = 1;                 // 8
  uint32_t textColour = 0;            // 9
  uint32_t textBackColour = 0xFFFFFF; // 10
  uint32_t backColour = 0xFFFFFF;     // 11
  int32_t viewType = 3;               // 13: 0 icons, 1 small icons, 2 list, 3 report
  int32_t iconAlign = 0;              // 14
  int32_t autoArrange = 1;            // 15
  int32_t labelWrap = 1;              // 16
  int32_t hideHeaders = 0;            // 18
  int32_t clickableHeaders = 1;       // 20
  int32_t fullRowSelect = 0;          // 21
  int32_t gridLines = 0;              // 22
  int32_t headerDragDrop = 0;         // 23
  int32_t hotTracking = 0;            // 26
  int32_t handCursor = 1;             // 27
  int32_t underlineCold = 1;          // 28
  int32_t underlineHot = 1;           // 29
  int32_t labelEdit = 0;              // 30
  int32_t sorting = 0;                // 31
  int32_t checkBoxes = 0;             // 32
  int32_t flatScrollBars = 0;         // 33
  int32_t singleSelection = 1;        // 34
  int32_t currentItem = -1;           // 35
  int32_t alwaysShowSelection = 0;    // 36
  Bytes font;                         // 12
  Bytes headerImages;                 // 19
  Bytes itemImages;                   // 24
  std::vector<ListViewColumn> columns;  // 17, stored as a byte block
  Bytes stateImages;                  // 25
  Bytes block4;                       // 37
};

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
}  // namespace type_flag

// One row per unit kind: how its type is named and flagged, and its block routines.
struct UnitKind {
  uint32_t typeId;
  const char* typeName;     // name in its library's type table
  const char* englishName;
  uint32_t flags;
  int32_t maxVersion;       // highest block version accepted; -1: the kind has no block
  bool (*decode)(ByteReader& in, UnitProps* out);         // null: no block
  void (*encode)(const UnitProps& p, ByteWriter& out);    // null: no block
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
