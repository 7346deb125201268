// Runtime values and VARIANTs: reading the commands' argument records, turning a
// runtime value into the VARIANT a component receives and a VARIANT back into a
// runtime value or variable, and the arrays a variant holds.
#include "runtime/core/automation/automation_internal_win.h"

#include <ole2.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/text/codepage.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"

namespace lw::automation::detail {
namespace {

// An object or variant argument: the block itself, or the block held by the
// variable a reference points at.
template <class Block>
Block* blockArg(int argc, const ArgRecord* args, int i, TypeWord kind) {
  if (i >= argc || type::base(args[i].type) != kind || type::isArray(args[i].type)) return nullptr;
  if (type::isByRef(args[i].type)) {
    auto** variable = reinterpret_cast<Block**>(args[i].low);
    return variable ? *variable : nullptr;
  }
  return reinterpret_cast<Block*>(args[i].low);
}

}  // namespace

// ---- Reading arguments ----

bool given(int argc, const ArgRecord* args, int i) { return i < argc && args[i].type != type::None; }

ObjectRef objectArg(int argc, const ArgRecord* args, int i) { return blockArg<ObjectBlock>(argc, args, i, type::Object); }
VariantRef variantArg(int argc, const ArgRecord* args, int i) {
  return blockArg<VariantBlock>(argc, args, i, type::Variant);
}

// An object variable to store into: a variable passed by reference that holds no
// block yet receives a fresh one.
ObjectRef objectTarget(int argc, ArgRecord* args, int i) {
  if (i >= argc || type::base(args[i].type) != type::Object || type::isArray(args[i].type)) return nullptr;
  if (!type::isByRef(args[i].type)) return reinterpret_cast<ObjectRef>(args[i].low);
  auto** variable = reinterpret_cast<ObjectRef*>(args[i].low);
  if (!variable) return nullptr;
  if (!*variable) *variable = NewObjectBlock();
  return *variable;
}

int32_t intArg(int argc, const ArgRecord* args, int i, int32_t fallback) {
  if (!given(argc, args, i)) return fallback;
  const ArgRecord& a = args[i];
  const void* p = type::isByRef(a.type) ? reinterpret_cast<const void*>(a.low) : nullptr;
  switch (type::base(a.type)) {
    case type::Byte: return p ? *static_cast<const uint8_t*>(p) : int32_t(uint8_t(a.low));
    case type::Short: return p ? *static_cast<const int16_t*>(p) : int32_t(int16_t(a.low));
    case type::Int: case type::Logical: case type::Long: return p ? *static_cast<const int32_t*>(p) : int32_t(a.low);
    case type::Single: {
      float f;
      uint32_t w = p ? *static_cast<const uint32_t*>(p) : uint32_t(a.low);
      memcpy(&f, &w, 4);
      return int32_t(f);
    }
    case type::Double: {
      double d;
      uint64_t w = p ? *static_cast<const uint64_t*>(p) : recordValue64(a);
      memcpy(&d, &w, 8);
      return d > -2147483649.0 && d < 2147483648.0 ? int32_t(d) : fallback;
    }
    default: return fallback;
  }
}

bool readValue(const ArgRecord& a, Value* v) {
  v->type = type::base(a.type);
  v->isArray = type::isArray(a.type);
  v->bits = 0;
  if (v->type == type::None) return false;
  // An array is always passed as its block, a reference or not.
  if (v->isArray || !type::isByRef(a.type)) {
    v->bits = v->isArray ? uint64_t(uintptr_t(a.low)) : recordValue64(a);
    return true;
  }
  const void* p = reinterpret_cast<const void*>(a.low);
  uint32_t size = type::valueSize(v->type);
  if (!p || size == 0) return false;
  memcpy(&v->bits, p, size);
  return true;
}

// ---- Texts and BSTRs ----

namespace {

BSTR bstrFromText(const char* s) {
  size_t n = s ? strlen(s) : 0;
  std::u16string w = GbkToWide(s, n);
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(w.data()), UINT(w.size()));
}

Text textFromBstr(BSTR b) {
  const auto* units = reinterpret_cast<const char16_t*>(b);
  size_t length = b ? SysStringLen(b) : 0;
  // A short text, such as each match a regular expression gives, is converted on
  // the stack and copied once into its block; a unit gives at most two GBK bytes.
  char room[512];
  if (length <= sizeof room / 2) return MakeText(room, WideToGbkInto(units, length, room, sizeof room));
  std::string s = WideToGbk(units, length);
  return MakeText(s.data(), s.size());
}

// ---- Runtime value to VARIANT ----

void objectToVariant(ObjectRef o, ObjectUse use, VARTYPE declared, VARIANT* out) {
  IUnknown* unk = ObjectInterface(o);
  V_VT(out) = VT_UNKNOWN;
  V_UNKNOWN(out) = nullptr;
  if (use == ObjectUse::Assign) {
    if (!unk) {
      V_VT(out) = VT_EMPTY;
      return;
    }
    unk->AddRef();
    V_UNKNOWN(out) = unk;
    return;
  }
  if (!unk) return;
  if (o->record) {
    // A structure value travels as a copy, so whatever the component does to the
    // argument leaves the variable's own data alone.
    auto* info = static_cast<IRecordInfo*>(unk);
    void* copy = nullptr;
    if (FAILED(info->RecordCreateCopy(o->record, &copy)) || !copy) return;
    info->AddRef();
    V_VT(out) = VT_RECORD;
    V_RECORDINFO(out) = info;
    V_RECORD(out) = copy;
    return;
  }
  // An object given to a VARIANT parameter, or to a member without declarations,
  // keeps its interface: as the automation interface when it has one.
  if (use == ObjectUse::Untyped || declared == VT_VARIANT) {
    IDispatch* disp = nullptr;
    if (SUCCEEDED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))) && disp) {
      V_VT(out) = VT_DISPATCH;
      V_DISPATCH(out) = disp;
    } else {
      unk->AddRef();
      V_UNKNOWN(out) = unk;
    }
    return;
  }
  if (declared == VT_UNKNOWN) {
    unk->AddRef();
    V_UNKNOWN(out) = unk;
  } else if (declared == VT_DISPATCH) {
    IDispatch* disp = nullptr;
    if (SUCCEEDED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))) && disp) {
      V_VT(out) = VT_DISPATCH;
      V_DISPATCH(out) = disp;
    }
  }
}

}  // namespace

// Makes the VARIANT of a scalar runtime value; false for a type outside the table.
bool valueToVariant(const Value& v, ObjectUse use, VARTYPE declared, VARIANT* out) {
  VariantInit(out);
  if (v.isArray) return false;
  uint32_t low = uint32_t(v.bits);
  switch (v.type) {
    case type::Logical: V_VT(out) = VT_BOOL; V_BOOL(out) = low ? VARIANT_TRUE : VARIANT_FALSE; return true;
    case type::DateTime: V_VT(out) = VT_DATE; memcpy(&V_DATE(out), &v.bits, 8); return true;
    case type::Text: V_VT(out) = VT_BSTR; V_BSTR(out) = bstrFromText(v.pointer<const char>()); return true;
    case type::Byte: V_VT(out) = VT_UI1; V_UI1(out) = uint8_t(low); return true;
    case type::Short: V_VT(out) = VT_I2; V_I2(out) = int16_t(low); return true;
    // A long goes as VT_I4 too (its low 32 bits); automation.cpp's type table says why.
    case type::Int: case type::Long: V_VT(out) = VT_I4; V_I4(out) = int32_t(low); return true;
    case type::Single: V_VT(out) = VT_R4; memcpy(&V_R4(out), &low, 4); return true;
    case type::Double: V_VT(out) = VT_R8; memcpy(&V_R8(out), &v.bits, 8); return true;
    case type::Object: objectToVariant(v.pointer<ObjectBlock>(), use, declared, out); return true;
    case type::Variant:
      if (VariantRef src = v.pointer<VariantBlock>()) return SUCCEEDED(VariantCopyInd(out, AsVariant(src)));
      return true;
    default: return false;
  }
}

// ---- VARIANT to runtime value ----

// Converts (a copy of) the VARIANT to the runtime type; new blocks for texts,
// objects and variants. False when no conversion exists.
bool variantToValue(const VARIANT* v, TypeWord t, ResultRecord* out) {
  out->low = 0;
  out->high = 0;
  if (t == type::Variant) {
    VariantRef block = NewVariantBlock();
    if (FAILED(VariantCopyInd(AsVariant(block), const_cast<VARIANT*>(v)))) {
      FreeMemory(block);
      return false;
    }
    setResultPointer(out, block);
    return true;
  }
  // A text that is already one needs neither the copy nor the conversion.
  if (t == type::Text && V_VT(v) == VT_BSTR) {
    setResultPointer(out, textFromBstr(V_BSTR(v)));
    return true;
  }
  // Nor does an object: the block takes its base interface, as the conversion to
  // VT_UNKNOWN would give it.
  if (t == type::Object && (V_VT(v) == VT_DISPATCH || V_VT(v) == VT_UNKNOWN)) {
    IUnknown* base = nullptr;
    if (IUnknown* u = V_UNKNOWN(v)) {
      if (V_VT(v) == VT_UNKNOWN) {
        base = u;
        base->AddRef();
      } else if (FAILED(u->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&base)))) {
        return false;
      }
    }
    ObjectRef o = NewObjectBlock();
    o->iface = base;
    setResultPointer(out, o);
    return true;
  }
  VARTYPE target = ResultVariantType(t);
  if (target == VT_EMPTY) return false;
  VARIANT src, conv;
  VariantInit(&src);
  VariantInit(&conv);
  if (FAILED(VariantCopyInd(&src, const_cast<VARIANT*>(v)))) return false;
  bool ok = V_VT(&src) != VT_RECORD && SUCCEEDED(VariantChangeType(&conv, &src, 0, target));
  VariantClear(&src);
  if (!ok) return false;
  switch (t) {
    case type::Logical: out->low = V_BOOL(&conv) ? 1 : 0; break;
    case type::DateTime: { uint64_t b; memcpy(&b, &V_DATE(&conv), 8); setResult64(out, b); break; }
    case type::Text: setResultPointer(out, textFromBstr(V_BSTR(&conv))); break;
    case type::Byte: out->low = V_UI1(&conv); break;
    case type::Short: out->low = Word(uint32_t(int32_t(V_I2(&conv)))); break;
    case type::Int: out->low = Word(uint32_t(V_I4(&conv))); break;
    case type::Long: setResult64(out, uint64_t(int64_t(V_I4(&conv)))); break;
    case type::Single: { uint32_t b; memcpy(&b, &V_R4(&conv), 4); out->low = b; break; }
    case type::Double: { uint64_t b; memcpy(&b, &V_R8(&conv), 8); setResult64(out, b); break; }
    case type::Object: {
      // The converted VARIANT's reference passes to the new block.
      ObjectRef o = NewObjectBlock();
      o->iface = V_UNKNOWN(&conv);
      V_UNKNOWN(&conv) = nullptr;
      setResultPointer(out, o);
      break;
    }
    default: VariantClear(&conv); return false;
  }
  VariantClear(&conv);
  return true;
}

// Writes a VARIANT back into the caller's variable of type t; the variable is left
// as it was when the VARIANT cannot be converted.
void storeIntoVariable(void* variable, TypeWord t, const VARIANT* v) {
  ResultRecord r = {0, 0, 0};
  if (!variable || !variantToValue(v, t, &r)) return;
  switch (t) {
    case type::Text: {
      Text* var = static_cast<Text*>(variable);
      FreeMemory(*var);
      *var = reinterpret_cast<Text>(r.low);
      return;
    }
    case type::Object: {
      auto** var = static_cast<ObjectRef*>(variable);
      ObjectRef fresh = reinterpret_cast<ObjectRef>(r.low);
      if (!*var) {
        *var = fresh;
        return;
      }
      ReleaseObjectBlock(*var);
      (*var)->iface = fresh->iface;
      FreeMemory(fresh);
      return;
    }
    case type::Variant: {
      auto** var = static_cast<VariantRef*>(variable);
      VariantRef fresh = reinterpret_cast<VariantRef>(r.low);
      if (!*var) {
        *var = fresh;
        return;
      }
      VariantClear(AsVariant(*var));
      memcpy(*var, fresh, sizeof(VariantBlock));
      FreeMemory(fresh);
      return;
    }
    default: {
      uint64_t bits = (uint64_t(uint32_t(r.high)) << 32) | uint32_t(r.low);
      memcpy(variable, &bits, type::valueSize(t));
    }
  }
}

// ---- Arrays ----

namespace {

SAFEARRAY* arrayOf(const VARIANT* v) {
  if (!(V_VT(v) & VT_ARRAY)) return nullptr;
  if (V_VT(v) & VT_BYREF) return V_ARRAYREF(v) ? *V_ARRAYREF(v) : nullptr;
  return V_ARRAY(v);
}

// Extents and lower bounds, first dimension first.
bool arrayShape(SAFEARRAY* sa, std::vector<uint32_t>* extents, std::vector<int32_t>* lower) {
  UINT dims = SafeArrayGetDim(sa);
  extents->clear();
  lower->clear();
  for (UINT d = 1; d <= dims; ++d) {
    LONG lb = 0, ub = -1;
    if (FAILED(SafeArrayGetLBound(sa, d, &lb)) || FAILED(SafeArrayGetUBound(sa, d, &ub))) return false;
    int64_t extent = int64_t(ub) - int64_t(lb) + 1;
    if (extent < 0 || extent > UINT32_MAX) return false;
    extents->push_back(uint32_t(extent));
    lower->push_back(lb);
  }
  return dims > 0;
}

// The element at a 1-based index, fetched into a VARIANT of the array's element type.
bool fetchElement(const VARIANT* v, int64_t index, VARIANT* out) {
  VariantInit(out);
  SAFEARRAY* sa = arrayOf(v);
  VARTYPE et = VARTYPE(V_VT(v) & VT_TYPEMASK);
  std::vector<uint32_t> extents;
  std::vector<int32_t> lower;
  std::vector<int32_t> subs;
  if (!sa || et == VT_RECORD || !arrayShape(sa, &extents, &lower) || !ElementSubscripts(index, extents, lower, &subs))
    return false;
  LONG* at = reinterpret_cast<LONG*>(subs.data());
  if (et == VT_VARIANT) return SUCCEEDED(SafeArrayGetElement(sa, at, out));
  if (et == VT_DECIMAL) {
    if (FAILED(SafeArrayGetElement(sa, at, &V_DECIMAL(out)))) return false;
  } else if (FAILED(SafeArrayGetElement(sa, at, &V_UI1(out)))) {
    return false;
  }
  V_VT(out) = et;
  return true;
}

ByteSet bytesOfByteArray(const VARIANT* v) {
  VARTYPE et = VARTYPE(V_VT(v) & VT_TYPEMASK);
  SAFEARRAY* sa = arrayOf(v);
  if (!sa || (et != VT_UI1 && et != VT_I1) || SafeArrayGetElemsize(sa) != 1) return nullptr;
  std::vector<uint32_t> extents;
  std::vector<int32_t> lower;
  size_t size = 0;
  if (!arrayShape(sa, &extents, &lower) || !ByteArraySize(extents, &size) || size == 0) return nullptr;
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(sa, &data))) return nullptr;
  ByteSet b = MakeByteSet(data, size);
  SafeArrayUnaccessData(sa);
  return b;
}

// The value of a non-array VARIANT as the requested type (text or byte set).
void convertScalar(const VARIANT* v, TypeWord want, ResultRecord* r) {
  if (want == type::Text) {
    if (V_VT(v) == VT_BSTR) return setResultPointer(r, textFromBstr(V_BSTR(v)));
    VARIANT copy, conv;
    VariantInit(&copy);
    VariantInit(&conv);
    if (SUCCEEDED(VariantCopyInd(&copy, const_cast<VARIANT*>(v))) &&
        SUCCEEDED(VariantChangeType(&conv, &copy, 0, VT_BSTR)))
      setResultPointer(r, textFromBstr(V_BSTR(&conv)));
    VariantClear(&conv);
    VariantClear(&copy);
    return;
  }
  VARIANT copy, conv;
  VariantInit(&copy);
  VariantInit(&conv);
  if (SUCCEEDED(VariantCopyInd(&copy, const_cast<VARIANT*>(v)))) {
    if (V_VT(&copy) & VT_ARRAY) {
      setResultPointer(r, bytesOfByteArray(&copy));
    } else if (SUCCEEDED(VariantChangeType(&conv, &copy, 0, VT_ARRAY | VT_UI1))) {
      setResultPointer(r, bytesOfByteArray(&conv));
    }
  }
  VariantClear(&conv);
  VariantClear(&copy);
}

}  // namespace

void variantToType(int argc, ArgRecord* args, TypeWord want, ResultRecord* r) {
  r->low = 0;
  r->high = 0;
  VariantRef block = variantArg(argc, args, 0);
  if (!block) return;
  const VARIANT* v = AsVariant(block);
  if (!(V_VT(v) & VT_ARRAY)) return convertScalar(v, want, r);
  if (given(argc, args, 1)) {
    VARIANT element;
    if (fetchElement(v, intArg(argc, args, 1, 0), &element)) convertScalar(&element, want, r);
    VariantClear(&element);
    return;
  }
  if (want == type::ByteSet) setResultPointer(r, bytesOfByteArray(v));
}

// A SAFEARRAY (lower bound 0) made from a byte set or an array of a basic type,
// object or variant. False for element types without a VARIANT form.
bool arrayToVariant(const Value& value, VARIANT* out) {
  VariantInit(out);
  if (value.type == type::ByteSet && !value.isArray) {
    const ByteSetHeader* b = value.pointer<const ByteSetHeader>();
    ULONG n = byteSetLength(b);
    SAFEARRAY* sa = SafeArrayCreateVector(VT_UI1, 0, n);
    if (!sa) return false;
    if (n) memcpy(sa->pvData, byteSetData(b), n);
    V_VT(out) = VT_ARRAY | VT_UI1;
    V_ARRAY(out) = sa;
    return true;
  }
  VARTYPE et = ArrayElementVariantType(value.type);
  if (et == VT_EMPTY) return false;
  auto* block = value.pointer<uint32_t>();
  size_t count = 0;
  if (block && block[0] == 0) block = nullptr;
  if (!ArrayElementCount(block, &count) || count > 0x7FFFFFFF) return false;
  SAFEARRAY* sa = SafeArrayCreateVector(et, 0, ULONG(count));
  if (!sa) return false;
  const uint8_t* elements = block ? static_cast<const uint8_t*>(ArrayElements(block)) : nullptr;
  size_t size = ArrayElementSize(value.type);
  for (size_t i = 0; i < count; ++i) {
    Value element;
    element.type = value.type;
    memcpy(&element.bits, elements + i * size, size);
    VARIANT v;
    valueToVariant(element, ObjectUse::Assign, VT_EMPTY, &v);
    LONG at = LONG(i);
    HRESULT hr;
    if (et == VT_VARIANT) hr = SafeArrayPutElement(sa, &at, &v);
    else if (et == VT_BSTR) hr = SafeArrayPutElement(sa, &at, V_BSTR(&v));
    else if (et == VT_UNKNOWN) hr = SafeArrayPutElement(sa, &at, V_VT(&v) == VT_UNKNOWN ? V_UNKNOWN(&v) : nullptr);
    else hr = SafeArrayPutElement(sa, &at, &V_UI1(&v));
    VariantClear(&v);
    if (FAILED(hr)) {
      SafeArrayDestroy(sa);
      return false;
    }
  }
  V_VT(out) = VARTYPE(VT_ARRAY | et);
  V_ARRAY(out) = sa;
  return true;
}

// Stores a value into one element of the array the variant holds.
bool putElement(VARIANT* target, const Value& value, int64_t index) {
  SAFEARRAY* sa = arrayOf(target);
  VARTYPE et = VARTYPE(V_VT(target) & VT_TYPEMASK);
  std::vector<uint32_t> extents;
  std::vector<int32_t> lower;
  std::vector<int32_t> subs;
  if (!sa || et == VT_RECORD || !arrayShape(sa, &extents, &lower) || !ElementSubscripts(index, extents, lower, &subs))
    return false;
  VARIANT v;
  bool isBlock = value.isArray || value.type == type::ByteSet;
  if (isBlock ? (et != VT_VARIANT || !arrayToVariant(value, &v)) : !valueToVariant(value, ObjectUse::Assign, VT_EMPTY, &v))
    return false;
  if (et != VT_VARIANT && FAILED(VariantChangeType(&v, &v, 0, et))) {
    VariantClear(&v);
    return false;
  }
  LONG* at = reinterpret_cast<LONG*>(subs.data());
  HRESULT hr;
  switch (et) {
    case VT_VARIANT: hr = SafeArrayPutElement(sa, at, &v); break;
    case VT_BSTR: hr = SafeArrayPutElement(sa, at, V_BSTR(&v)); break;
    case VT_UNKNOWN: case VT_DISPATCH: hr = SafeArrayPutElement(sa, at, V_UNKNOWN(&v)); break;
    case VT_DECIMAL: hr = SafeArrayPutElement(sa, at, &V_DECIMAL(&v)); break;
    default: hr = SafeArrayPutElement(sa, at, &V_UI1(&v)); break;
  }
  VariantClear(&v);
  return SUCCEEDED(hr);
}

}  // namespace lw::automation::detail
