#include "runtime/core/automation/automation.h"

#include <cstring>

#include "runtime/core/values/memory.h"

namespace lw {

namespace {
thread_local int32_t t_lastResult = 0;
}  // namespace

namespace automation {

int32_t LastResult() { return t_lastResult; }
void SetLastResult(int32_t code) { t_lastResult = code; }

namespace {

struct FailureRow {
  uint32_t hresult;
  int32_t code;
};
// The component's dispatch failures and the codes they become.
const FailureRow kInvokeFailures[] = {
    {0x8002000E, kBadParamCount},     // DISP_E_BADPARAMCOUNT
    {0x80020008, kBadVarType},        // DISP_E_BADVARTYPE
    {0x80020009, kException},         // DISP_E_EXCEPTION
    {0x80020003, kMemberNotFound},    // DISP_E_MEMBERNOTFOUND
    {0x80020007, kNoNamedArgs},       // DISP_E_NONAMEDARGS
    {0x8002000A, kOverflow},          // DISP_E_OVERFLOW
    {0x80020004, kParamNotFound},     // DISP_E_PARAMNOTFOUND
    {0x80020005, kTypeMismatch},      // DISP_E_TYPEMISMATCH
    {0x8002000F, kParamNotOptional},  // DISP_E_PARAMNOTOPTIONAL
};

const uint16_t kReadOrder[] = {kInvokePropertyGet, kInvokeFunc, 0};
const uint16_t kWriteOrder[] = {kInvokePropertyPut, kInvokePropertyPutRef, kInvokeFunc, 0};
const uint16_t kCallOrder[] = {kInvokeFunc, kInvokePropertyGet, kInvokePropertyPut, kInvokePropertyPutRef, 0};

struct TypeRow {
  TypeWord runtime;
  uint16_t variant;
};
// Runtime value to VARIANT, for arguments and variant assignment. A long integer
// travels as VT_I4, not VT_I8: many Automation servers (the script components among
// them) refuse VT_I8 arguments, so a long goes as its low 32 bits and a VT_I4
// result comes back sign-extended.
const TypeRow kArgumentTypes[] = {
    {type::Logical, vt::Bool}, {type::DateTime, vt::Date}, {type::Text, vt::Bstr},  {type::Byte, vt::UI1},
    {type::Short, vt::I2},     {type::Int, vt::I4},        {type::Long, vt::I4},    {type::Single, vt::R4},
    {type::Double, vt::R8},    {type::Object, vt::Unknown}, {type::Variant, vt::Variant},
};

}  // namespace

int32_t CodeForInvokeFailure(uint32_t hresult) {
  for (const FailureRow& row : kInvokeFailures)
    if (row.hresult == hresult) return row.code;
  return kOtherFailure;
}

const uint16_t* InvokeKindOrder(Use use) {
  switch (use) {
    case Use::Read: return kReadOrder;
    case Use::Write: return kWriteOrder;
    case Use::Call: return kCallOrder;
  }
  return kCallOrder;
}

int CountGivenArguments(int argc, const ArgRecord* args) {
  int n = argc - 2;
  while (n > 0 && args[2 + n - 1].type == type::None) --n;
  return n > 0 ? n : 0;
}

int32_t CheckArgumentCount(int given, int params, int optional) {
  if (given <= params) return kOk;
  return optional == -1 && params > 0 ? kOk : kTooManyArguments;
}

uint16_t VariantTypeFor(TypeWord runtimeType) {
  TypeWord t = type::base(runtimeType);
  for (const TypeRow& row : kArgumentTypes)
    if (row.runtime == t) return row.variant;
  return vt::Empty;
}

uint16_t ResultVariantType(TypeWord runtimeType) { return VariantTypeFor(runtimeType); }

uint16_t ArrayElementVariantType(TypeWord elementType) {
  if (type::base(elementType) == type::ByteSet) return vt::Empty;
  return VariantTypeFor(elementType);
}

bool ElementSubscripts(int64_t index, const std::vector<uint32_t>& extents, const std::vector<int32_t>& lowerBounds,
                       std::vector<int32_t>* subscripts) {
  subscripts->clear();
  if (index < 1 || extents.empty() || extents.size() != lowerBounds.size()) return false;
  uint64_t rest = uint64_t(index - 1);
  for (size_t d = 0; d < extents.size(); ++d) {
    if (extents[d] == 0) return false;
    int64_t sub = int64_t(rest % extents[d]) + lowerBounds[d];
    if (sub > INT32_MAX) return false;
    subscripts->push_back(int32_t(sub));
    rest /= extents[d];
  }
  // Whatever is left over lies beyond the last dimension.
  return rest == 0;
}

bool ByteArraySize(const std::vector<uint32_t>& extents, size_t* size) {
  size_t n = extents.empty() ? 0 : 1;
  for (uint32_t e : extents)
    if (!checkedMul(n, e, &n)) return false;
  *size = n;
  return true;
}

}  // namespace automation

namespace arg {
ArgRecord number(double v) {
  uint64_t bits;
  memcpy(&bits, &v, sizeof bits);
  return {Word(uint32_t(bits)), Word(uint32_t(bits >> 32)), type::Double};
}
}  // namespace arg

ObjectRef NewObjectBlock() {
  auto* o = static_cast<ObjectRef>(AllocMemory(sizeof(ObjectBlock)));
  memset(o, 0, sizeof(ObjectBlock));
  return o;
}

VariantRef NewVariantBlock() {
  auto* v = static_cast<VariantRef>(AllocMemory(sizeof(VariantBlock)));
  memset(v, 0, sizeof(VariantBlock));
  return v;
}

}  // namespace lw
