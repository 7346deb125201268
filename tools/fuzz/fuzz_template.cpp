// libFuzzer entry for the window template reader and the kinds' property block
// decoders; built and run by tools/fuzz_template.sh. Besides not crashing, a
// section that reads must write back to bytes that read and write the same again,
// and a block that decodes must encode to a block that decodes to the same.
#include <cstdlib>
#include <vector>

#include "runtime/ui/kinds/table.h"
#include "runtime/ui/properties/template_format.h"

namespace {

void Require(bool holds) {
  if (!holds) std::abort();
}

void CheckBlock(uint32_t typeId, const uint8_t* data, size_t size) {
  lw::UnitProps props;
  if (!lw::DecodeUnitProperties(typeId, data, size, &props, nullptr)) return;
  std::vector<uint8_t> once, twice;
  Require(lw::EncodeUnitProperties(typeId, props, &once));
  lw::UnitProps back;
  Require(lw::DecodeUnitProperties(typeId, once.data(), once.size(), &back, nullptr));
  Require(lw::EncodeUnitProperties(typeId, back, &twice));
  Require(once == twice);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lw::WindowTemplate t;
  lw::TemplateFailure failure;
  if (lw::ReadWindowSection(data, size, &t, &failure)) {
    lw::CheckPropertyBlocks(t, nullptr);
    for (const lw::WindowRecord& w : t.windows)
      for (const lw::UnitRecord& u : w.units)
        if (!u.menuItem) CheckBlock(u.typeId, u.properties.data(), u.properties.size());
    lw::FixUpHandlers(&t, 0x1000, 64, 4, nullptr);

    std::vector<uint8_t> once, twice;
    if (lw::WriteWindowSection(t, &once, nullptr)) {
      lw::WindowTemplate again;
      size_t consumed = 0;
      Require(lw::ReadWindowSection(once.data(), once.size(), &again, &failure, &consumed));
      Require(consumed == once.size());
      Require(lw::WriteWindowSection(again, &twice, nullptr));
      Require(once == twice);
    }
  }
  // The same bytes as one property block of each kind.
  for (size_t i = 0; i < lw::kUnitKindCount; ++i) CheckBlock(lw::kUnitKinds[i].typeId, data, size);
  return 0;
}
