#include "runtime/ui/properties/unit_properties.h"

#include <utility>

#include "runtime/ui/properties/kind_tables.h"

namespace lw {

namespace {

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

// The row at a place in the block; null past the last place.
template <class P>
const PropertyRow<P>* RowAtPlace(const PropertyTable<P>& table, int place) {
  for (size_t i = 0; i < table.count; ++i)
    if (table.rows[i].place == place) return &table.rows[i];
  return nullptr;
}

// Reads one field. A list view's column list is kept in `columns` and read after
// the whole block, so that a block running short is reported as that first.
template <class P>
void ReadField(ByteReader& in, const FieldOf<P>& f, P& p, Bytes* columns) {
  switch (f.type) {
    case FieldType::Int: p.*f.integer = in.i32(); break;
    case FieldType::Colour: f.word(p) = in.u32(); break;
    case FieldType::Char16: p.*f.char16 = in.u16(); break;
    case FieldType::Block: p.*f.block = in.byteBlock(); break;
    case FieldType::Text: p.*f.text = in.countedText(); break;
    case FieldType::Columns: *columns = in.byteBlock(); break;
    case FieldType::None: break;
  }
}

template <class P>
void WriteField(ByteWriter& out, const FieldOf<P>& f, const P& p) {
  switch (f.type) {
    case FieldType::Int: out.i32(p.*f.integer); break;
    case FieldType::Colour: out.u32(f.word(p)); break;
    case FieldType::Char16: out.u16(p.*f.char16); break;
    case FieldType::Block: out.byteBlock(p.*f.block); break;
    case FieldType::Text: out.countedText(p.*f.text); break;
    case FieldType::Columns: {
      Bytes block;
      if (!EncodeListViewColumns(p.*f.columns, &block)) out.fail("column header holds a 0 byte");
      out.byteBlock(block);
      break;
    }
    case FieldType::None: break;
  }
}

// Starts from the defaults; reads the fields in block order that the block's
// version holds.
template <class P>
bool DecodeByTable(const PropertyTable<P>& table, ByteReader& in, P* out) {
  *out = P{};
  if (in.remaining() == 0) return in.ok();
  int32_t version = 0;
  if (!ReadVersion(in, table.version, &version)) return false;
  Bytes columns;
  bool hasColumns = false;
  for (int place = 0; const PropertyRow<P>* row = RowAtPlace(table, place); ++place) {
    if (version < row->since) continue;
    ReadField(in, row->field, *out, &columns);
    hasColumns = hasColumns || row->field.type == FieldType::Columns;
  }
  if (!in.ok()) return false;
  for (size_t i = 0; hasColumns && i < table.count; ++i)
    if (table.rows[i].field.type == FieldType::Columns && !DecodeListViewColumns(columns, &(out->*table.rows[i].field.columns))) {
      in.fail("list view column list is damaged");
      return false;
    }
  return true;
}

// Writes the kind's highest version, every field in block order.
template <class P>
void EncodeByTable(const PropertyTable<P>& table, const P& p, ByteWriter& out) {
  out.i32(table.version);
  for (int place = 0; const PropertyRow<P>* row = RowAtPlace(table, place); ++place) WriteField(out, row->field, p);
}

}  // namespace

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

bool DecodeWindowProps(ByteReader& in, WindowProps* out) { return DecodeByTable(kWindowTable, in, out); }
void EncodeWindowProps(const WindowProps& p, ByteWriter& out) { EncodeByTable(kWindowTable, p, out); }
bool DecodeLabelProps(ByteReader& in, LabelProps* out) { return DecodeByTable(kLabelTable, in, out); }
void EncodeLabelProps(const LabelProps& p, ByteWriter& out) { EncodeByTable(kLabelTable, p, out); }
bool DecodeEditProps(ByteReader& in, EditProps* out) { return DecodeByTable(kEditTable, in, out); }
void EncodeEditProps(const EditProps& p, ByteWriter& out) { EncodeByTable(kEditTable, p, out); }
bool DecodePicBoxProps(ByteReader& in, PicBoxProps* out) { return DecodeByTable(kPicBoxTable, in, out); }
void EncodePicBoxProps(const PicBoxProps& p, ByteWriter& out) { EncodeByTable(kPicBoxTable, p, out); }
bool DecodeGroupBoxProps(ByteReader& in, GroupBoxProps* out) { return DecodeByTable(kGroupBoxTable, in, out); }
void EncodeGroupBoxProps(const GroupBoxProps& p, ByteWriter& out) { EncodeByTable(kGroupBoxTable, p, out); }
bool DecodeButtonProps(ByteReader& in, ButtonProps* out) { return DecodeByTable(kButtonTable, in, out); }
void EncodeButtonProps(const ButtonProps& p, ByteWriter& out) { EncodeByTable(kButtonTable, p, out); }
bool DecodeListViewProps(ByteReader& in, ListViewProps* out) { return DecodeByTable(kListViewTable, in, out); }
void EncodeListViewProps(const ListViewProps& p, ByteWriter& out) { EncodeByTable(kListViewTable, p, out); }

const UnitKind* FindUnitKind(uint32_t typeId) {
  for (size_t i = 0; i < kUnitKindCount; ++i)
    if (kUnitKinds[i].typeId == typeId) return &kUnitKinds[i];
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
