// The shape of a unit kind's property table: one row per own property with its
// number, name, value kind, place in the property block and the field that keeps
// it, and how the property services read and write it when that is plain storing.
// The block reader and writer, the kinds' get and set routines and the property
// descriptors all go by the rows (the rows themselves are in kind_tables.h).
// Pure.
#pragma once
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/ui/unit.h"

namespace lw {

// How a field is kept in the record and on the wire.
enum class FieldType : uint8_t {
  None,     // not in the record: the live window answers it
  Int,      // integer
  Colour,   // 32-bit unsigned word
  Char16,   // 16-bit word
  Block,    // byte block
  Text,     // counted text
  Columns,  // a list view's columns, as a byte block of entries
};

// How the property services write a property. Hand: the kind's own code does,
// because writing it does more than store a value.
enum class SetRule : uint8_t {
  Store,  // the value as given
  Clamp,  // an integer held within low..high
  Flag,   // any non-zero integer stores 1
  Hand,
};

// How the property services read a property: from its field, or by the kind's own
// code (the live window holds the truth).
enum class GetRule : uint8_t { Field, Hand };

// Where one property is kept in the kind's record `P`.
template <class P>
struct FieldOf {
  FieldType type = FieldType::None;
  int32_t P::*integer = nullptr;
  uint32_t P::*colour = nullptr;
  uint32_t (P::*colours)[3] = nullptr;  // one of three colours, at `element`
  int element = 0;
  uint16_t P::*char16 = nullptr;
  std::vector<uint8_t> P::*block = nullptr;
  std::string P::*text = nullptr;
  std::vector<ListViewColumn> P::*columns = nullptr;

  constexpr FieldOf() = default;
  constexpr FieldOf(int32_t P::*m) : type(FieldType::Int), integer(m) {}
  constexpr FieldOf(uint32_t P::*m) : type(FieldType::Colour), colour(m) {}
  constexpr FieldOf(uint32_t (P::*m)[3], int at) : type(FieldType::Colour), colours(m), element(at) {}
  constexpr FieldOf(uint16_t P::*m) : type(FieldType::Char16), char16(m) {}
  constexpr FieldOf(std::vector<uint8_t> P::*m) : type(FieldType::Block), block(m) {}
  constexpr FieldOf(std::string P::*m) : type(FieldType::Text), text(m) {}
  constexpr FieldOf(std::vector<ListViewColumn> P::*m) : type(FieldType::Columns), columns(m) {}

  uint32_t& word(P& p) const { return colours ? (p.*colours)[element] : p.*colour; }
  uint32_t word(const P& p) const { return colours ? (p.*colours)[element] : p.*colour; }
};

// Column values that stand for "not in the block" and "no limit".
constexpr int8_t kNotInBlock = -1;
constexpr int32_t kNoLimit = INT32_MAX;

template <class P>
struct PropertyRow {
  int32_t number;
  const char* name;
  uint16_t kind;  // value kind (value_kind)
  int8_t place;   // place in the block after the version word, from 0; kNotInBlock
  int8_t since;   // the first block version that holds it
  FieldOf<P> field;
  GetRule get;
  SetRule set;
  int32_t low = INT32_MIN, high = kNoLimit;  // SetRule::Clamp
};

// A kind's rows in number order, from kFirstOwnProperty on, and the block version
// its writer writes (the highest its reader accepts).
template <class P>
struct PropertyTable {
  const PropertyRow<P>* rows;
  size_t count;
  int32_t version;

  const PropertyRow<P>* row(int32_t number) const {
    const int32_t at = OwnPropertyIndex(number);
    return at >= 0 && size_t(at) < count ? &rows[at] : nullptr;
  }
};

// Checks a table at compile time: rows numbered from kFirstOwnProperty without a
// gap up to `last`, and block places that run from 0 without a gap or a repeat.
template <class P, size_t N>
constexpr bool IsWellFormed(const PropertyRow<P> (&rows)[N], int32_t last) {
  if (OwnPropertyNumber(int32_t(N) - 1) != last) return false;
  size_t inBlock = 0;
  for (size_t i = 0; i < N; ++i) {
    if (rows[i].number != OwnPropertyNumber(int32_t(i))) return false;
    if (rows[i].place == kNotInBlock) continue;
    if ((rows[i].field.type == FieldType::None) || rows[i].place < 0) return false;
    ++inBlock;
  }
  for (size_t place = 0; place < inBlock; ++place) {
    size_t holders = 0;
    for (size_t i = 0; i < N; ++i) holders += size_t(rows[i].place) == place && rows[i].place != kNotInBlock;
    if (holders != 1) return false;
  }
  return true;
}

// ---- Plain reading and writing by the property services ------------------------------

// Writes a plain property into its field. False when the kind has no such property
// or writes it by hand. `changed` (optional): the field now holds another value.
template <class P>
bool StorePlainProperty(const PropertyTable<P>& table, P* p, int32_t number, const PropertyValue& v,
                        bool* changed = nullptr) {
  const PropertyRow<P>* row = table.row(number);
  if (!row || row->set == SetRule::Hand) return false;
  const FieldOf<P>& f = row->field;
  int32_t given = v.i;
  if (row->set == SetRule::Clamp) given = given < row->low ? row->low : (given > row->high ? row->high : given);
  if (row->set == SetRule::Flag) given = given ? 1 : 0;
  bool differs = false;
  switch (f.type) {
    case FieldType::Int:
      differs = p->*f.integer != given;
      p->*f.integer = given;
      break;
    case FieldType::Colour:
      differs = f.word(*p) != uint32_t(given);
      f.word(*p) = uint32_t(given);
      break;
    case FieldType::Block:
      differs = p->*f.block != v.data;
      p->*f.block = v.data;
      break;
    case FieldType::Text:
      differs = p->*f.text != v.text;
      p->*f.text = v.text;
      break;
    default: return false;  // 16-bit words and columns are written by hand
  }
  if (changed) *changed = differs;
  return true;
}

// Reads a plain property from its field; false when the kind has no such property or
// reads it by hand.
template <class P>
bool LoadPlainProperty(const PropertyTable<P>& table, const P& p, int32_t number, PropertyValue* v) {
  const PropertyRow<P>* row = table.row(number);
  if (!row || row->get == GetRule::Hand) return false;
  const FieldOf<P>& f = row->field;
  switch (f.type) {
    case FieldType::Int: v->i = p.*f.integer; return true;
    case FieldType::Colour: v->i = int32_t(f.word(p)); return true;
    case FieldType::Block: v->data = p.*f.block; return true;
    case FieldType::Text: v->text = p.*f.text; return true;
    default: return false;
  }
}

// The short names the kinds' tables of rows are written with.
namespace unit_rows {
using namespace value_kind;
// Named here, so that no like-named type of another floor (a Text, say) competes.
using value_kind::Choice, value_kind::Colour, value_kind::Data, value_kind::Font, value_kind::Integer,
    value_kind::Logical, value_kind::Picture, value_kind::Text;
constexpr int8_t none = kNotInBlock;
constexpr GetRule field = GetRule::Field, getByHand = GetRule::Hand;
constexpr SetRule store = SetRule::Store, clamp = SetRule::Clamp, flag = SetRule::Flag, setByHand = SetRule::Hand;
constexpr int32_t noLimit = kNoLimit;

}  // namespace unit_rows

}  // namespace lw
