// Reading and writing a kind's property block by its table of rows: the version
// word, then each field the version holds, in block order. Pure.
#pragma once
#include <cstdint>

#include "runtime/ui/properties/table.h"

namespace lw {

// Reads the version word of a non-empty block and checks it against the kind's
// highest version.
inline bool ReadVersion(ByteReader& in, int32_t max, int32_t* version) {
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

}  // namespace lw
