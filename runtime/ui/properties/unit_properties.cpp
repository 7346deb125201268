#include "runtime/ui/properties/unit_properties.h"

#include <utility>


namespace lw {

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


}  // namespace lw
