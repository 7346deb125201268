// The object and variant commands of the core library over the platform's
// automation: creating objects, late binding by name at every call, converting
// runtime values to VARIANTs and back, and the variant commands.
#include "runtime/core/automation_win.h"

#include <ole2.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/codepage.h"
#include "runtime/core/core_commands.h"
#include "runtime/core/memory.h"
#include "runtime/core/service_table.h"
#include "runtime/core/values.h"

namespace lw {
namespace {

using namespace automation;

// ---- Reading arguments ----

bool given(int argc, const ArgRecord* args, int i) { return i < argc && args[i].type != type::None; }

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

// A runtime value: its base type and raw bits (pointers in the low word), read
// through the variable when the argument is a reference.
struct Value {
  TypeWord type = type::None;
  uint64_t bits = 0;
  bool isArray = false;
  template <class T> T* pointer() const { return reinterpret_cast<T*>(uintptr_t(bits)); }
};

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

BSTR bstrFromText(const char* s) {
  size_t n = s ? strlen(s) : 0;
  std::u16string w = AnsiToWide(s, n);
  return SysAllocStringLen(reinterpret_cast<const OLECHAR*>(w.data()), UINT(w.size()));
}

Text textFromBstr(BSTR b) {
  std::string s = WideToAnsi(reinterpret_cast<const char16_t*>(b), b ? SysStringLen(b) : 0);
  return MakeText(s.data(), s.size());
}

// ---- Runtime value to VARIANT ----

// Where the object goes: an argument of a declared type, an argument without a
// declaration, or a variant assignment.
enum class ObjectUse { Declared, Untyped, Assign };

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

// ---- Declared parameter types ----

struct ParamType {
  VARTYPE base = VT_VARIANT;
  bool byRef = false;
  bool isArray = false;
  bool out = false;
};

// What a user-defined type stands for; aliases are followed a bounded number of steps.
VARTYPE resolveUserDefined(ITypeInfo* owner, HREFTYPE ref, int depth, bool* isInterface);

VARTYPE resolveTypeDesc(ITypeInfo* owner, const TYPEDESC* td, int depth, ParamType* p) {
  while (td && depth < 16) {
    ++depth;
    switch (td->vt) {
      case VT_PTR: {
        // A pointer to an interface is the interface itself; any other pointer
        // makes the parameter a reference.
        const TYPEDESC* inner = td->lptdesc;
        bool isInterface = false;
        if (inner && inner->vt == VT_USERDEFINED) {
          VARTYPE vt = resolveUserDefined(owner, inner->hreftype, depth, &isInterface);
          if (isInterface) return vt;
        }
        if (p) p->byRef = true;
        td = inner;
        break;
      }
      case VT_SAFEARRAY:
      case VT_CARRAY:
        if (p) p->isArray = true;
        td = td->vt == VT_CARRAY ? (td->lpadesc ? &td->lpadesc->tdescElem : nullptr) : td->lptdesc;
        break;
      case VT_USERDEFINED: {
        bool isInterface = false;
        return resolveUserDefined(owner, td->hreftype, depth, &isInterface);
      }
      case VT_INT: return VT_I4;
      case VT_UINT: return VT_UI4;
      default: return td->vt;
    }
  }
  return VT_VARIANT;
}

VARTYPE resolveUserDefined(ITypeInfo* owner, HREFTYPE ref, int depth, bool* isInterface) {
  *isInterface = false;
  ITypeInfo* ti = nullptr;
  if (FAILED(owner->GetRefTypeInfo(ref, &ti)) || !ti) return VT_UNKNOWN;
  TYPEATTR* attr = nullptr;
  VARTYPE vt = VT_UNKNOWN;
  if (SUCCEEDED(ti->GetTypeAttr(&attr)) && attr) {
    switch (attr->typekind) {
      case TKIND_ENUM: vt = VT_I4; break;
      case TKIND_DISPATCH: vt = VT_DISPATCH; *isInterface = true; break;
      case TKIND_INTERFACE:
        vt = (attr->wTypeFlags & TYPEFLAG_FDISPATCHABLE) ? VT_DISPATCH : VT_UNKNOWN;
        *isInterface = true;
        break;
      case TKIND_COCLASS: vt = VT_UNKNOWN; *isInterface = true; break;
      case TKIND_ALIAS: vt = resolveTypeDesc(ti, &attr->tdescAlias, depth + 1, nullptr); break;
      default: vt = VT_UNKNOWN; break;
    }
    ti->ReleaseTypeAttr(attr);
  }
  ti->Release();
  return vt;
}

ParamType paramTypeOf(ITypeInfo* owner, const ELEMDESC& e) {
  ParamType p;
  p.base = resolveTypeDesc(owner, &e.tdesc, 0, &p);
  p.out = (e.paramdesc.wParamFlags & PARAMFLAG_FOUT) != 0;
  return p;
}

// ---- Binding ----

// What a name bound to.
struct Member {
  MEMBERID id = DISPID_UNKNOWN;
  WORD flags = 0;
  int params = 0;
  int optional = 0;  // -1: a variable argument list in the last parameter
  bool typed = false;
  std::vector<ParamType> types;
};

void memberFromFunc(ITypeInfo* owner, const FUNCDESC* f, Member* m) {
  m->id = f->memid;
  m->flags = WORD(f->invkind);
  m->optional = f->cParamsOpt;
  m->typed = true;
  for (int i = 0; i < f->cParams; ++i) {
    // A return-value or locale parameter of an interface's own description is not
    // passed through the automation interface.
    if (f->lprgelemdescParam[i].paramdesc.wParamFlags & (PARAMFLAG_FRETVAL | PARAMFLAG_FLCID)) continue;
    m->types.push_back(paramTypeOf(owner, f->lprgelemdescParam[i]));
  }
  m->params = int(m->types.size());
}

void memberFromVar(ITypeInfo* owner, const VARDESC* v, Use use, Member* m) {
  m->id = v->memid;
  m->typed = true;
  if (use != Use::Write) {
    m->flags = DISPATCH_PROPERTYGET;
    return;
  }
  ParamType p = paramTypeOf(owner, v->elemdescVar);
  bool byReference = p.isArray || p.base == VT_UNKNOWN || p.base == VT_DISPATCH;
  m->flags = byReference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  m->types.push_back(p);
  m->params = 1;
}

int32_t bindThroughTypeInfo(ITypeComp* comp, LPOLESTR name, Use use, Member* m) {
  ULONG hash = LHashValOfNameSys(SYS_WIN32, LOCALE_USER_DEFAULT, name);
  for (const uint16_t* kind = InvokeKindOrder(use); *kind; ++kind) {
    ITypeInfo* bound = nullptr;
    DESCKIND desc = DESCKIND_NONE;
    BINDPTR ptr;
    ptr.lpfuncdesc = nullptr;
    HRESULT hr = comp->Bind(name, hash, *kind, &bound, &desc, &ptr);
    if (FAILED(hr) || desc == DESCKIND_NONE) {
      if (bound) bound->Release();
      continue;
    }
    int32_t code = kOk;
    switch (desc) {
      case DESCKIND_FUNCDESC:
        memberFromFunc(bound, ptr.lpfuncdesc, m);
        bound->ReleaseFuncDesc(ptr.lpfuncdesc);
        break;
      case DESCKIND_VARDESC:
        memberFromVar(bound, ptr.lpvardesc, use, m);
        bound->ReleaseVarDesc(ptr.lpvardesc);
        break;
      case DESCKIND_IMPLICITAPPOBJ:
        if (bound && ptr.lpvardesc) bound->ReleaseVarDesc(ptr.lpvardesc);
        code = kUnknownName;
        break;
      case DESCKIND_TYPECOMP:
        if (ptr.lptcomp) ptr.lptcomp->Release();
        code = kUnknownName;
        break;
      default: code = kUnknownName; break;
    }
    if (bound) bound->Release();
    return code;
  }
  return kUnknownName;
}

// ---- Arguments ----

// One argument as the component receives it, with the holding VARIANT of a
// by-reference argument and what to write back after the call.
struct Slot {
  VARIANT arg;
  VARIANT hold;
  bool argIsView = false;  // arg points into (or copies) hold: only hold is cleared
  void* writeBackTo = nullptr;
  TypeWord writeBackType = type::None;
};

struct ArgumentList {
  std::vector<Slot> slots;        // in argument order
  std::vector<VARIANTARG> rgvarg;  // what Invoke receives: last argument first
  ~ArgumentList() {
    for (Slot& s : slots) {
      if (!s.argIsView) VariantClear(&s.arg);
      VariantClear(&s.hold);
    }
  }
};

void missing(VARIANT* v) {
  VariantInit(v);
  V_VT(v) = VT_ERROR;
  V_ERROR(v) = SCODE(kMissingArgument);
}

// The VARIANT of one runtime argument: kOk, or kBadArgumentType for a type that
// cannot be passed. An omitted argument, or one whose VARIANT is empty, becomes the
// missing-argument marker.
int32_t convertArgument(const ArgRecord& a, ObjectUse use, VARTYPE declared, VARIANT* out) {
  VariantInit(out);
  if (type::base(a.type) == type::None) {
    missing(out);
    return kOk;
  }
  Value v;
  if (!readValue(a, &v) || !valueToVariant(v, use, declared, out)) return kBadArgumentType;
  if (V_VT(out) == VT_EMPTY) missing(out);
  return kOk;
}

// A by-reference parameter: the value goes into the holding VARIANT and the
// component receives a reference to it where the declared type allows.
void passByReference(Slot& s, const ParamType& p) {
  VARIANT& h = s.hold;
  s.argIsView = true;
  if (V_VT(&h) == VT_ERROR && V_ERROR(&h) == SCODE(kMissingArgument)) {
    s.arg = h;
    return;
  }
  if (p.isArray) {
    if (V_VT(&h) & VT_ARRAY) {
      V_VT(&s.arg) = VARTYPE(V_VT(&h) | VT_BYREF);
      V_ARRAYREF(&s.arg) = &V_ARRAY(&h);
    } else {
      s.arg = h;
    }
    return;
  }
  if (p.base == VT_VARIANT) {
    V_VT(&s.arg) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&s.arg) = &h;
    return;
  }
  if (p.base != VT_RECORD && SUCCEEDED(VariantChangeType(&h, &h, 0, p.base))) {
    V_VT(&s.arg) = VARTYPE(p.base | VT_BYREF);
    V_BYREF(&s.arg) = (p.base == VT_DECIMAL) ? static_cast<void*>(&V_DECIMAL(&h)) : static_cast<void*>(&V_UI1(&h));
    return;
  }
  s.arg = h;
}

// Packs the arguments of a variable argument list into one SAFEARRAY of VARIANTs.
int32_t packVariableArguments(const ArgRecord* first, int count, VARIANT* out) {
  SAFEARRAY* sa = SafeArrayCreateVector(VT_VARIANT, 0, ULONG(count));
  if (!sa) return kOtherFailure;
  for (LONG i = 0; i < count; ++i) {
    VARIANT v;
    int32_t code = convertArgument(first[i], ObjectUse::Untyped, VT_VARIANT, &v);
    if (code != kOk) {
      SafeArrayDestroy(sa);
      return code;
    }
    SafeArrayPutElement(sa, &i, &v);
    VariantClear(&v);
  }
  VariantInit(out);
  V_VT(out) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(out) = sa;
  return kOk;
}

int32_t buildArguments(const Member& m, const ArgRecord* values, int given, ArgumentList* list) {
  // A variable argument list: the arguments from the last parameter on travel
  // together as one array in it, even when there are none.
  bool variable = m.typed && m.optional == -1 && m.params > 0 && given >= m.params - 1;
  int fixed = variable ? m.params - 1 : given;
  int count = variable ? fixed + 1 : given;
  list->slots.resize(size_t(count));
  for (Slot& s : list->slots) {
    VariantInit(&s.arg);
    VariantInit(&s.hold);
  }
  for (int i = 0; i < count; ++i) {
    Slot& s = list->slots[size_t(i)];
    if (variable && i == fixed) {
      int32_t code = packVariableArguments(values + fixed, given - fixed, &s.hold);
      if (code != kOk) return code;
      const ParamType& last = m.types[size_t(m.params - 1)];
      if (last.byRef) {
        passByReference(s, last);
      } else {
        s.arg = s.hold;
        s.argIsView = true;
      }
      continue;
    }
    const ArgRecord& a = values[i];
    if (!m.typed) {
      int32_t code = convertArgument(a, ObjectUse::Untyped, VT_VARIANT, &s.arg);
      if (code != kOk) return code;
      continue;
    }
    const ParamType& p = m.types[size_t(i)];
    if (!p.byRef) {
      int32_t code = convertArgument(a, ObjectUse::Declared, p.base, &s.arg);
      if (code != kOk) return code;
      continue;
    }
    int32_t code = convertArgument(a, ObjectUse::Declared, p.base, &s.hold);
    if (code != kOk) return code;
    passByReference(s, p);
    if (p.out && type::isByRef(a.type) && !type::isArray(a.type)) {
      s.writeBackTo = reinterpret_cast<void*>(a.low);
      s.writeBackType = type::base(a.type);
    }
  }
  list->rgvarg.resize(size_t(count));
  for (int i = 0; i < count; ++i) list->rgvarg[size_t(count - 1 - i)] = list->slots[size_t(i)].arg;
  return kOk;
}

HRESULT invoke(IDispatch* disp, const Member& m, WORD flags, ArgumentList& list, VARIANT* result) {
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS dp = {};
  dp.rgvarg = list.rgvarg.empty() ? nullptr : list.rgvarg.data();
  dp.cArgs = UINT(list.rgvarg.size());
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    dp.rgdispidNamedArgs = &putId;
    dp.cNamedArgs = 1;
  }
  VariantClear(result);
  return disp->Invoke(m.id, IID_NULL, LOCALE_USER_DEFAULT, flags, &dp, result, nullptr, nullptr);
}

void setEmptyResult(TypeWord resultType, ResultRecord* r) {
  r->low = 0;
  r->high = 0;
  if (resultType == type::Object) setResultPointer(r, NewObjectBlock());
  if (resultType == type::Variant) setResultPointer(r, NewVariantBlock());
}

// The binding and the call, with everything acquired released on the way out.
int32_t invokeByName(Use use, int argc, ArgRecord* args, TypeWord resultType, ResultRecord* result) {
  ObjectRef o = objectArg(argc, args, 0);
  IUnknown* unk = ObjectInterface(o);
  if (!unk) return kEmptyObject;
  const char* nameText = argc > 1 ? core::TextArgument(args[1]) : "";
  std::u16string wideName = AnsiToWide(nameText, strlen(nameText));
  LPOLESTR name = const_cast<LPOLESTR>(reinterpret_cast<const OLECHAR*>(wideName.c_str()));

  IDispatch* disp = nullptr;
  if (FAILED(unk->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp))) || !disp) return kNoDispatch;

  int32_t code = kOk;
  Member m;
  ITypeInfo* info = nullptr;
  ITypeComp* comp = nullptr;
  if (SUCCEEDED(disp->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) && info &&
      SUCCEEDED(info->GetTypeComp(&comp)) && comp) {
    code = bindThroughTypeInfo(comp, name, use, &m);
  } else {
    // No type information: the object's own name lookup, trying the kinds in turn.
    HRESULT hr = disp->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &m.id);
    code = SUCCEEDED(hr) ? kOk : (hr == E_NOTIMPL ? kNoTypeInfo : kUnknownName);
  }
  int given = CountGivenArguments(argc, args);
  if (code == kOk && m.typed) code = CheckArgumentCount(given, m.params, m.optional);

  VARIANT res;
  VariantInit(&res);
  if (code == kOk) {
    ArgumentList list;
    code = buildArguments(m, args + 2, given, &list);
    HRESULT hr = E_FAIL;
    if (code == kOk && m.typed) {
      hr = invoke(disp, m, m.flags, list, &res);
    } else if (code == kOk) {
      for (const uint16_t* kind = InvokeKindOrder(use); *kind; ++kind) {
        hr = invoke(disp, m, *kind, list, &res);
        if (hr != DISP_E_MEMBERNOTFOUND) break;
      }
    }
    if (code == kOk) code = SUCCEEDED(hr) ? kOk : CodeForInvokeFailure(uint32_t(hr));
    if (code == kOk) {
      for (Slot& s : list.slots)
        if (s.writeBackTo) storeIntoVariable(s.writeBackTo, s.writeBackType, &s.hold);
      if (resultType != type::None && !variantToValue(&res, resultType, result)) code = kBadResultType;
    }
  }
  VariantClear(&res);
  if (comp) comp->Release();
  if (info) info->Release();
  disp->Release();
  return code;
}

// ---- Arrays ----

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

void setLogical(ResultRecord* r, bool v) {
  r->low = v ? 1 : 0;
  r->high = 0;
}

// One of the read, call and write commands: InvokeByName with its use and result type.
void invokeCommand(Use use, TypeWord resultType, ResultRecord* r, int argc, ArgRecord* args) {
  InvokeByName(use, argc, args, resultType, r);
}

// ---- Creating objects ----

// The type-library branch: the name looked up as a type in the library file.
IUnknown* createFromTypeLibrary(const char* name, const char* file) {
  std::u16string wideFile = AnsiToWide(file, strlen(file));
  std::u16string wideName = AnsiToWide(name, strlen(name));
  ITypeLib* lib = nullptr;
  if (FAILED(LoadTypeLib(reinterpret_cast<LPCOLESTR>(wideFile.c_str()), &lib)) || !lib) return nullptr;
  std::vector<OLECHAR> buffer(wideName.begin(), wideName.end());
  buffer.push_back(0);
  ITypeInfo* found[2] = {nullptr, nullptr};
  MEMBERID ids[2] = {0, 0};
  USHORT count = 2;
  IUnknown* unk = nullptr;
  ULONG hash = LHashValOfNameSys(SYS_WIN32, LOCALE_USER_DEFAULT, buffer.data());
  if (SUCCEEDED(lib->FindName(buffer.data(), hash, found, ids, &count)) && count == 1 && found[0]) {
    if (SUCCEEDED(found[0]->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&unk))) && unk &&
        strchr(file, '\\')) {
      RegisterTypeLib(lib, const_cast<LPOLESTR>(reinterpret_cast<LPCOLESTR>(wideFile.c_str())), nullptr);
    }
  }
  for (USHORT i = 0; i < count && i < 2; ++i)
    if (found[i]) found[i]->Release();
  lib->Release();
  return unk;
}

IUnknown* createFromClass(const char* text) {
  std::u16string wide = AnsiToWide(text, strlen(text));
  LPCOLESTR w = reinterpret_cast<LPCOLESTR>(wide.c_str());
  CLSID clsid;
  HRESULT hr = text[0] == '{' ? CLSIDFromString(const_cast<LPOLESTR>(w), &clsid) : CLSIDFromProgID(w, &clsid);
  if (FAILED(hr)) return nullptr;
  IUnknown* unk = nullptr;
  hr = CoCreateInstance(clsid, nullptr, 0x17, IID_IUnknown, reinterpret_cast<void**>(&unk));
  if (hr == E_INVALIDARG) hr = CoCreateInstance(clsid, nullptr, 0x7, IID_IUnknown, reinterpret_cast<void**>(&unk));
  return SUCCEEDED(hr) ? unk : nullptr;
}

}  // namespace

int32_t InvokeByName(Use use, int argc, ArgRecord* args, TypeWord resultType, ResultRecord* result) {
  result->low = 0;
  result->high = 0;
  result->type = resultType;
  int32_t code = invokeByName(use, argc, args, resultType, result);
  if (code != kOk) setEmptyResult(resultType, result);
  SetLastResult(code);
  return code;
}

void ReleaseObjectBlock(ObjectRef o) {
  if (!o) return;
  if (IUnknown* unk = ObjectInterface(o)) {
    if (o->record) {
      static_cast<IRecordInfo*>(unk)->RecordDestroy(o->record);
      o->record = nullptr;
    }
    unk->Release();
    o->iface = nullptr;
  } else if (o->record) {
    FreeMemory(o->record);
    o->record = nullptr;
  }
}

namespace core {

void CreateObject(ResultRecord* r, int argc, ArgRecord* args) {
  setLogical(r, false);
  ObjectRef target = objectTarget(argc, args, 0);
  const char* text = argc > 1 ? TextArgument(args[1]) : "";
  if (!target || !*text) return;
  IUnknown* unk = nullptr;
  if (text[0] != '{' && argc > 2 && given(argc, args, 2)) {
    const char* file = TextArgument(args[2]);
    if (*file) unk = createFromTypeLibrary(text, file);
  }
  if (!unk) unk = createFromClass(text);
  if (!unk) return;
  if (FAILED(OleRun(unk))) {
    unk->Release();
    return;
  }
  ReleaseObjectBlock(target);
  target->iface = unk;
  setLogical(r, true);
}

void ReleaseObject(ResultRecord*, int argc, ArgRecord* args) { ReleaseObjectBlock(objectArg(argc, args, 0)); }

void AssignObject(ResultRecord*, int argc, ArgRecord* args) {
  ObjectRef target = objectTarget(argc, args, 0);
  if (!target) return;
  ObjectRef source = objectArg(argc, args, 1);
  target->iface = nullptr;
  target->record = nullptr;
  if (IUnknown* unk = ObjectInterface(source)) {
    unk->AddRef();
    target->iface = unk;
  }
}

void IsObjectEmpty(ResultRecord* r, int argc, ArgRecord* args) {
  setLogical(r, ObjectInterface(objectArg(argc, args, 0)) == nullptr);
}

void ReadTextProperty(ResultRecord* r, int argc, ArgRecord* args) { invokeCommand(Use::Read, type::Text, r, argc, args); }
void ReadNumberProperty(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Read, type::Double, r, argc, args);
}
void ReadObjectProperty(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Read, type::Object, r, argc, args);
}
void ReadVariantProperty(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Read, type::Variant, r, argc, args);
}
void CallTextMethod(ResultRecord* r, int argc, ArgRecord* args) { invokeCommand(Use::Call, type::Text, r, argc, args); }
void CallNumberMethod(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Call, type::Double, r, argc, args);
}
void CallObjectMethod(ResultRecord* r, int argc, ArgRecord* args) {
  invokeCommand(Use::Call, type::Object, r, argc, args);
}

void WriteObjectProperty(ResultRecord* r, int argc, ArgRecord* args) {
  ResultRecord ignored = {0, 0, 0};
  InvokeByName(Use::Write, argc, args, type::None, &ignored);
  setLogical(r, LastResult() == kOk);
}

void CopyVariant(ResultRecord*, int argc, ArgRecord* args) {
  VariantRef target = variantArg(argc, args, 0);
  if (!target) return;
  memset(target, 0, sizeof(VariantBlock));
  if (VariantRef source = variantArg(argc, args, 1)) VariantCopy(AsVariant(target), AsVariant(source));
}

void ClearVariant(ResultRecord*, int argc, ArgRecord* args) {
  VariantRef v = variantArg(argc, args, 0);
  if (!v) return;
  VariantClear(AsVariant(v));
  memset(v, 0, sizeof(VariantBlock));
}

void SetVariantValue(ResultRecord* r, int argc, ArgRecord* args) {
  setLogical(r, false);
  VariantRef block = variantArg(argc, args, 0);
  Value value;
  if (!block || argc < 2 || !readValue(args[1], &value)) return;
  VARIANT* v = AsVariant(block);
  if (given(argc, args, 2)) return setLogical(r, putElement(v, value, intArg(argc, args, 2, 0)));
  VariantClear(v);
  memset(block, 0, sizeof(VariantBlock));
  VARIANT made;
  bool ok = (value.isArray || value.type == type::ByteSet) ? arrayToVariant(value, &made)
                                                           : valueToVariant(value, ObjectUse::Assign, VT_EMPTY, &made);
  if (!ok) return;
  *v = made;
  setLogical(r, true);
}

void VariantToText(ResultRecord* r, int argc, ArgRecord* args) { variantToType(argc, args, type::Text, r); }
void VariantToByteSet(ResultRecord* r, int argc, ArgRecord* args) { variantToType(argc, args, type::ByteSet, r); }

}  // namespace core

// ---- Thin helpers through the service table ----
namespace automation {
namespace {

ResultRecord call(LibraryCommand cmd, std::vector<ArgRecord> records) {
  return kServices.callLibraryCommand(cmd, int(records.size()), records.empty() ? nullptr : records.data());
}

std::vector<ArgRecord> named(ObjectRef o, const char* name, Args args) {
  std::vector<ArgRecord> records = {arg::object(o), arg::text(name)};
  records.insert(records.end(), args.begin(), args.end());
  return records;
}

double numberOf(const ResultRecord& r) {
  uint64_t bits = (uint64_t(uint32_t(r.high)) << 32) | uint32_t(r.low);
  double d;
  memcpy(&d, &bits, 8);
  return d;
}

ArgRecord indexArg(int32_t index) { return index ? arg::integer(index) : arg::omitted(); }

}  // namespace

bool createObject(ObjectRef target, const char* progId, const char* typeLibrary) {
  std::vector<ArgRecord> records = {arg::object(target), arg::text(progId)};
  if (typeLibrary) records.push_back(arg::text(typeLibrary));
  return call(&core::CreateObject, records).low != 0;
}
void releaseObject(ObjectRef o) { call(&core::ReleaseObject, {arg::object(o)}); }
void assignObject(ObjectRef target, ObjectRef source) { call(&core::AssignObject, {arg::object(target), arg::object(source)}); }
bool isObjectEmpty(ObjectRef o) { return call(&core::IsObjectEmpty, {arg::object(o)}).low != 0; }
void freeObject(ObjectRef o) {
  if (!o) return;
  releaseObject(o);
  FreeMemory(o);
}
Text readText(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<Text>(call(&core::ReadTextProperty, named(o, name, args)).low);
}
double readNumber(ObjectRef o, const char* name, Args args) {
  return numberOf(call(&core::ReadNumberProperty, named(o, name, args)));
}
ObjectRef readObject(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<ObjectRef>(call(&core::ReadObjectProperty, named(o, name, args)).low);
}
VariantRef readVariant(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<VariantRef>(call(&core::ReadVariantProperty, named(o, name, args)).low);
}
Text callText(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<Text>(call(&core::CallTextMethod, named(o, name, args)).low);
}
double callNumber(ObjectRef o, const char* name, Args args) {
  return numberOf(call(&core::CallNumberMethod, named(o, name, args)));
}
ObjectRef callObject(ObjectRef o, const char* name, Args args) {
  return reinterpret_cast<ObjectRef>(call(&core::CallObjectMethod, named(o, name, args)).low);
}
bool writeProperty(ObjectRef o, const char* name, Args argsAndValue) {
  return call(&core::WriteObjectProperty, named(o, name, argsAndValue)).low != 0;
}
void copyVariant(VariantRef target, VariantRef source) {
  call(&core::CopyVariant, {arg::variant(target), arg::variant(source)});
}
void clearVariant(VariantRef v) { call(&core::ClearVariant, {arg::variant(v)}); }
void freeVariant(VariantRef v) {
  if (!v) return;
  clearVariant(v);
  FreeMemory(v);
}
bool setVariantValue(VariantRef v, ArgRecord value, int32_t elementIndex) {
  return call(&core::SetVariantValue, {arg::variant(v), value, indexArg(elementIndex)}).low != 0;
}
Text variantToText(VariantRef v, int32_t elementIndex) {
  return reinterpret_cast<Text>(call(&core::VariantToText, {arg::variant(v), indexArg(elementIndex)}).low);
}
ByteSet variantToByteSet(VariantRef v, int32_t elementIndex) {
  return reinterpret_cast<ByteSet>(call(&core::VariantToByteSet, {arg::variant(v), indexArg(elementIndex)}).low);
}

}  // namespace automation
}  // namespace lw
