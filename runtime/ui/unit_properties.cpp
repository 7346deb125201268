#include "runtime/ui/unit_properties.h"

#include <utility>

namespace lw {

namespace {

constexpr int32_t kWindowVersion = 6;
constexpr int32_t kLabelVersion = 2;
constexpr int32_t kEditVersion = 2;
constexpr int32_t kPicBoxVersion = 2;
constexpr int32_t kGroupBoxVersion = 1;
constexpr int32_t kButtonVersion = 1;
constexpr int32_t kListViewVersion = 1;

// Reads the version word of a non-empty block and checks it against the kind's
// highest version.
bool ReadVersion(ByteReader& in, int32_t max, int32_t* version) {
  int32_t v = in.i32();
  if (!in.ok()) return false;
  if (v < 0) {
    in.fail("negative property block version");
    return false;
  }
  if (v > max) {
    in.fail("property block version too high");
    return false;
  }
  *version = v;
  return true;
}

}  // namespace

// ---- Window -------------------------------------------------------------------------

bool DecodeWindowProps(ByteReader& in, WindowProps* out) {
  *out = WindowProps{};
  if (in.remaining() == 0) return in.ok();
  int32_t v = 0;
  if (!ReadVersion(in, kWindowVersion, &v)) return false;
  WindowProps& p = *out;
  p.border = in.i32();
  p.wordA = in.i32();
  p.backColour = in.u32();
  p.maxButton = in.i32();
  p.minButton = in.i32();
  p.controlBox = in.i32();
  p.startPosition = in.i32();
  p.closable = in.i32();
  p.wordF = in.i32();
  p.wordG = in.i32();
  p.wordH = in.i32();
  p.wordI = in.i32();
  p.wordJ = in.i32();
  if (v >= 2) p.wordK = in.i32();
  if (v >= 3) {
    p.wordL = in.i32();
    p.wordM = in.i32();
  }
  if (v >= 4) p.alwaysOnTop = in.i32();
  if (v >= 5) p.wordO = in.i32();
  if (v >= 6) p.className = in.countedText();
  p.backPicture = in.byteBlock();
  p.blockU = in.byteBlock();
  p.blockV = in.byteBlock();
  p.caption = in.countedText();
  p.textW = in.countedText();
  return in.ok();
}

void EncodeWindowProps(const WindowProps& p, ByteWriter& out) {
  out.i32(kWindowVersion);
  out.i32(p.border);
  out.i32(p.wordA);
  out.u32(p.backColour);
  out.i32(p.maxButton);
  out.i32(p.minButton);
  out.i32(p.controlBox);
  out.i32(p.startPosition);
  out.i32(p.closable);
  out.i32(p.wordF);
  out.i32(p.wordG);
  out.i32(p.wordH);
  out.i32(p.wordI);
  out.i32(p.wordJ);
  out.i32(p.wordK);
  out.i32(p.wordL);
  out.i32(p.wordM);
  out.i32(p.alwaysOnTop);
  out.i32(p.wordO);
  out.countedText(p.className);
  out.byteBlock(p.backPicture);
  out.byteBlock(p.blockU);
  out.byteBlock(p.blockV);
  out.countedText(p.caption);
  out.countedText(p.textW);
}

// ---- Label --------------------------------------------------------------------------

bool DecodeLabelProps(ByteReader& in, LabelProps* out) {
  *out = LabelProps{};
  if (in.remaining() == 0) return in.ok();
  int32_t v = 0;
  if (!ReadVersion(in, kLabelVersion, &v)) return false;
  LabelProps& p = *out;
  p.textEffect = in.i32();
  p.gradientBorderWidth = in.i32();
  p.border = in.i32();
  for (uint32_t& c : p.gradientBorderColours) c = in.u32();
  p.textColour = in.u32();
  p.backColour = in.u32();
  p.pictureMode = in.i32();
  p.gradientBackground = in.i32();
  for (uint32_t& c : p.gradientColours) c = in.u32();
  p.hAlign = in.i32();
  p.vAlign = in.i32();
  p.wordWrap = in.i32();
  p.font = in.byteBlock();
  p.picture = in.byteBlock();
  p.caption = in.countedText();
  if (v >= 2) {
    p.extraText1 = in.countedText();
    p.extraText2 = in.countedText();
  }
  return in.ok();
}

void EncodeLabelProps(const LabelProps& p, ByteWriter& out) {
  out.i32(kLabelVersion);
  out.i32(p.textEffect);
  out.i32(p.gradientBorderWidth);
  out.i32(p.border);
  for (uint32_t c : p.gradientBorderColours) out.u32(c);
  out.u32(p.textColour);
  out.u32(p.backColour);
  out.i32(p.pictureMode);
  out.i32(p.gradientBackground);
  for (uint32_t c : p.gradientColours) out.u32(c);
  out.i32(p.hAlign);
  out.i32(p.vAlign);
  out.i32(p.wordWrap);
  out.byteBlock(p.font);
  out.byteBlock(p.picture);
  out.countedText(p.caption);
  out.countedText(p.extraText1);
  out.countedText(p.extraText2);
}

// ---- Edit box -----------------------------------------------------------------------

bool DecodeEditProps(ByteReader& in, EditProps* out) {
  *out = EditProps{};
  if (in.remaining() == 0) return in.ok();
  int32_t v = 0;
  if (!ReadVersion(in, kEditVersion, &v)) return false;
  EditProps& p = *out;
  p.border = in.i32();
  p.textColour = in.u32();
  p.backColour = in.u32();
  p.hideSelection = in.i32();
  p.maxLength = in.i32();
  p.multiLine = in.i32();
  p.scrollBars = in.i32();
  p.alignment = in.i32();
  p.inputMode = in.i32();
  p.maskChar = in.u16();
  p.caseConversion = in.i32();
  p.spinMode = in.i32();
  p.spinLower = in.i32();
  p.spinUpper = in.i32();
  p.selStart = in.i32();
  p.selLength = in.i32();
  p.font = in.byteBlock();
  p.text = in.countedText();
  if (v >= 2) {
    p.extraText1 = in.countedText();
    p.extraText2 = in.countedText();
  }
  return in.ok();
}

void EncodeEditProps(const EditProps& p, ByteWriter& out) {
  out.i32(kEditVersion);
  out.i32(p.border);
  out.u32(p.textColour);
  out.u32(p.backColour);
  out.i32(p.hideSelection);
  out.i32(p.maxLength);
  out.i32(p.multiLine);
  out.i32(p.scrollBars);
  out.i32(p.alignment);
  out.i32(p.inputMode);
  out.u16(p.maskChar);
  out.i32(p.caseConversion);
  out.i32(p.spinMode);
  out.i32(p.spinLower);
  out.i32(p.spinUpper);
  out.i32(p.selStart);
  out.i32(p.selLength);
  out.byteBlock(p.font);
  out.countedText(p.text);
  out.countedText(p.extraText1);
  out.countedText(p.extraText2);
}

// ---- Picture box --------------------------------------------------------------------

bool DecodePicBoxProps(ByteReader& in, PicBoxProps* out) {
  *out = PicBoxProps{};
  if (in.remaining() == 0) return in.ok();
  int32_t v = 0;
  if (!ReadVersion(in, kPicBoxVersion, &v)) return false;
  PicBoxProps& p = *out;
  p.border = in.i32();
  p.backColour = in.u32();
  p.displayMode = in.i32();
  p.animate = in.i32();
  p.picture = in.byteBlock();
  if (v >= 2) {
    p.extraText1 = in.countedText();
    p.extraText2 = in.countedText();
  }
  return in.ok();
}

void EncodePicBoxProps(const PicBoxProps& p, ByteWriter& out) {
  out.i32(kPicBoxVersion);
  out.i32(p.border);
  out.u32(p.backColour);
  out.i32(p.displayMode);
  out.i32(p.animate);
  out.byteBlock(p.picture);
  out.countedText(p.extraText1);
  out.countedText(p.extraText2);
}

// ---- Group box ----------------------------------------------------------------------

bool DecodeGroupBoxProps(ByteReader& in, GroupBoxProps* out) {
  *out = GroupBoxProps{};
  if (in.remaining() == 0) return in.ok();
  int32_t v = 0;
  if (!ReadVersion(in, kGroupBoxVersion, &v)) return false;
  GroupBoxProps& p = *out;
  p.captionAlign = in.i32();
  p.textColour = in.u32();
  p.backColour = in.u32();
  p.font = in.byteBlock();
  p.caption = in.countedText();
  return in.ok();
}

void EncodeGroupBoxProps(const GroupBoxProps& p, ByteWriter& out) {
  out.i32(kGroupBoxVersion);
  out.i32(p.captionAlign);
  out.u32(p.textColour);
  out.u32(p.backColour);
  out.byteBlock(p.font);
  out.countedText(p.caption);
}

// ---- Button -------------------------------------------------------------------------

bool DecodeButtonProps(ByteReader& in, ButtonProps* out) {
  *out = ButtonProps{};
  if (in.remaining() == 0) return in.ok();
  int32_t v = 0;
  if (!ReadVersion(in, kButtonVersion, &v)) return false;
  ButtonProps& p = *out;
  p.defaultButton = in.i32();
  p.hAlign = in.i32();
  p.vAlign = in.i32();
  p.picture = in.byteBlock();
  p.font = in.byteBlock();
  p.caption = in.countedText();
  return in.ok();
}

void EncodeButtonProps(const ButtonProps& p, ByteWriter& out) {
  out.i32(kButtonVersion);
  out.i32(p.defaultButton);
  out.i32(p.hAlign);
  out.i32(p.vAlign);
  out.byteBlock(p.picture);
  out.byteBlock(p.font);
  out.countedText(p.caption);
}

// ---- List view ----------------------------------------------------------------------

bool DecodeListViewColumns(const Bytes& block, std::vector<ListViewColumn>* out) {
  out->clear();
  ByteReader in(block.data(), block.size());
  while (in.ok() && in.remaining() > 0) {
    ListViewColumn c;
    c.imageRight = in.u8() != 0;
    c.image = in.i32();
    c.alignment = in.i32();
    c.width = in.i32();
    c.header = in.terminatedText();
    if (in.ok()) out->push_back(std::move(c));
  }
  if (!in.ok()) out->clear();
  return in.ok();
}

bool EncodeListViewColumns(const std::vector<ListViewColumn>& columns, Bytes* block) {
  ByteWriter out;
  for (const ListViewColumn& c : columns) {
    out.u8(c.imageRight ? 1 : 0);
    out.i32(c.image);
    out.i32(c.alignment);
    out.i32(c.width);
    out.terminatedText(c.header);
  }
  if (!out.ok()) return false;
  *block = out.release();
  return true;
}

bool DecodeListViewProps(ByteReader& in, ListViewProps* out) {
  *out = ListViewProps{};
  if (in.remaining() == 0) return in.ok();
  int32_t v = 0;
  if (!ReadVersion(in, kListViewVersion, &v)) return false;
  ListViewProps& p = *out;
  p.border = in.i32();
  p.textColour = in.u32();
  p.textBackColour = in.u32();
  p.backColour = in.u32();
  for (int32_t* w : {&p.viewType, &p.iconAlign, &p.autoArrange, &p.labelWrap, &p.hideHeaders, &p.clickableHeaders,
                     &p.fullRowSelect, &p.gridLines, &p.headerDragDrop, &p.hotTracking, &p.handCursor,
                     &p.underlineCold, &p.underlineHot, &p.labelEdit, &p.sorting, &p.checkBoxes, &p.flatScrollBars,
                     &p.singleSelection, &p.currentItem, &p.alwaysShowSelection})
    *w = in.i32();
  p.font = in.byteBlock();
  p.headerImages = in.byteBlock();
  p.itemImages = in.byteBlock();
  Bytes columns = in.byteBlock();
  p.stateImages = in.byteBlock();
  p.reserved37 = in.byteBlock();
  if (!in.ok()) return false;
  if (!DecodeListViewColumns(columns, &p.columns)) {
    in.fail("list view column list is damaged");
    return false;
  }
  return true;
}

void EncodeListViewProps(const ListViewProps& p, ByteWriter& out) {
  out.i32(kListViewVersion);
  out.i32(p.border);
  out.u32(p.textColour);
  out.u32(p.textBackColour);
  out.u32(p.backColour);
  for (int32_t w : {p.viewType, p.iconAlign, p.autoArrange, p.labelWrap, p.hideHeaders, p.clickableHeaders,
                    p.fullRowSelect, p.gridLines, p.headerDragDrop, p.hotTracking, p.handCursor, p.underlineCold,
                    p.underlineHot, p.labelEdit, p.sorting, p.checkBoxes, p.flatScrollBars, p.singleSelection,
                    p.currentItem, p.alwaysShowSelection})
    out.i32(w);
  out.byteBlock(p.font);
  out.byteBlock(p.headerImages);
  out.byteBlock(p.itemImages);
  Bytes columns;
  if (!EncodeListViewColumns(p.columns, &columns)) out.fail("column header holds a 0 byte");
  out.byteBlock(columns);
  out.byteBlock(p.stateImages);
  out.byteBlock(p.reserved37);
}

// ---- The table of kinds ---------------------------------------------------------------

namespace {

// Adapters from the kind's own record to the common form of the table.
template <class P, bool (*Decode)(ByteReader&, P*)>
bool DecodeAs(ByteReader& in, UnitProps* out) {
  P p;
  bool ok = Decode(in, &p);
  *out = std::move(p);
  return ok;
}

template <class P, void (*Encode)(const P&, ByteWriter&)>
void EncodeAs(const UnitProps& v, ByteWriter& out) {
  if (const P* p = std::get_if<P>(&v))
    Encode(*p, out);
  else
    out.fail("properties of another kind");
}

}  // namespace

const UnitKind kUnitKinds[] = {
    {unit_type::Window, "窗口", "window", 0x800000D0, kWindowVersion,
     DecodeAs<WindowProps, DecodeWindowProps>, EncodeAs<WindowProps, EncodeWindowProps>},
    {unit_type::MenuItem, "菜单", "menu", 0x80000004, -1, nullptr, nullptr},
    {unit_type::EditBox, "编辑框", "EditBox", 0x80000040, kEditVersion,
     DecodeAs<EditProps, DecodeEditProps>, EncodeAs<EditProps, EncodeEditProps>},
    {unit_type::PicBox, "图片框", "PicBox", 0x840100C0, kPicBoxVersion,
     DecodeAs<PicBoxProps, DecodePicBoxProps>, EncodeAs<PicBoxProps, EncodePicBoxProps>},
    {unit_type::GroupBox, "分组框", "GroupBox", 0x840140C0, kGroupBoxVersion,
     DecodeAs<GroupBoxProps, DecodeGroupBoxProps>, EncodeAs<GroupBoxProps, EncodeGroupBoxProps>},
    {unit_type::Label, "标签", "Label", 0x84012040, kLabelVersion,
     DecodeAs<LabelProps, DecodeLabelProps>, EncodeAs<LabelProps, EncodeLabelProps>},
    {unit_type::Button, "按钮", "Button", 0x80000840, kButtonVersion,
     DecodeAs<ButtonProps, DecodeButtonProps>, EncodeAs<ButtonProps, EncodeButtonProps>},
    {unit_type::ListView, "超级列表框", "ListView", 0x00000040, kListViewVersion,
     DecodeAs<ListViewProps, DecodeListViewProps>, EncodeAs<ListViewProps, EncodeListViewProps>},
};
const size_t kUnitKindCount = sizeof kUnitKinds / sizeof kUnitKinds[0];

const UnitKind* FindUnitKind(uint32_t typeId) {
  for (const UnitKind& k : kUnitKinds)
    if (k.typeId == typeId) return &k;
  return nullptr;
}

bool DecodeUnitProperties(uint32_t typeId, const uint8_t* data, size_t size, UnitProps* out, const char** reason,
                          size_t* used) {
  *out = std::monostate{};
  if (used) *used = 0;
  const UnitKind* kind = FindUnitKind(typeId);
  if (!kind || !kind->decode) {
    if (reason) *reason = "unit type without a property block";
    return false;
  }
  ByteReader in(data, data ? size : 0);
  if (!kind->decode(in, out)) {
    if (reason) *reason = in.failure() ? in.failure() : "property block is damaged";
    return false;
  }
  if (used) *used = in.consumed();
  return true;
}

bool EncodeUnitProperties(uint32_t typeId, const UnitProps& p, Bytes* out, const char** reason) {
  const UnitKind* kind = FindUnitKind(typeId);
  if (!kind || !kind->encode) {
    if (reason) *reason = "unit type without a property block";
    return false;
  }
  ByteWriter w;
  kind->encode(p, w);
  if (!w.ok()) {
    if (reason) *reason = w.failure();
    return false;
  }
  *out = w.release();
  return true;
}

}  // namespace lw
